#include "Game/world/proxies/ProxyAccessoryPool.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/GameEngine.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

ProxyAccessoryPool::~ProxyAccessoryPool() {
    RemoveObjectsNotPlaced();
}

void ProxyAccessoryPool::LoadFromFile(const std::string& name) {
    mFileName = name;
    if (name.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(name);
    const LoadTable record = objects.GetLoadTable(name);
    mFixedItemChance = record.GetInt("fixedItemChance", 0);
    LoadFixedItemSelections(record);
}

void ProxyAccessoryPool::LoadFixedItemSelections(const LoadTable& record) {
    for (int i = 1; i <= kSelectionCount; ++i) {
        const std::string number = std::to_string(i);
        Proxy::ProxySelection selection;
        selection.name = record.GetString(("fixedItemName" + number).c_str());
        if (selection.name.empty())
            continue;
        const int weight = record.GetInt(("fixedItemWeight" + number).c_str(), 0);
        if (weight < 0)
            gEngine->Log(1, "Proxy Pool (%s): \"fixedItemWeight%s\" is below 0; taken as 0",
                         mFileName.c_str(), number.c_str());
        selection.weight = weight < 0 ? 0u : static_cast<std::uint32_t>(weight);
        mSelections.push_back(std::move(selection));
    }
}

void ProxyAccessoryPool::RunPool(int level) {
    mProxyLevel = level;
    if (!gGameEngine)
        return;
    if (gGameEngine->GetRandomGen().IGenerate(0, 100) > mFixedItemChance)
        return;
    std::string name;
    GetFixedItemSelection(name);
    CreateAddToOtherList(name);
}

void ProxyAccessoryPool::GetFixedItemSelection(std::string& out) {
    std::uint32_t total = 0;
    for (const Proxy::ProxySelection& selection : mSelections)
        total += selection.weight;
    const auto r = static_cast<std::uint32_t>(
        gGameEngine->GetRandomGen().IGenerate(0, static_cast<int>(total)));
    std::uint32_t sum = 0;
    for (const Proxy::ProxySelection& selection : mSelections) {
        sum += selection.weight;
        if (sum >= r) {
            out = selection.name;
            return;
        }
    }
}

bool ProxyAccessoryPool::CreateAddToOtherList(const std::string& name) {
    if (name.empty())
        return false;
    Entity* object = Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(name);
    if (!object) {
        gEngine->Log(1, "Proxy Pool (%s) could not create object (%s)", mFileName.c_str(),
                     name.c_str());
        return false;
    }
    mObjects.push_back(object->GetObjectId());
    if (auto* item = dynamic_cast<FixedItem*>(object))
        item->SetProxyLevel(mProxyLevel < 0 ? 0u : static_cast<unsigned int>(mProxyLevel));
    return true;
}

void ProxyAccessoryPool::PreLoad(bool now) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mObjects)
        if (Entity* entity = objects.GetObject<Entity>(id))
            entity->PreLoad(now);
}

void ProxyAccessoryPool::RemoveObjectsNotPlaced() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mObjects)
        if (Object* object = objects.GetObject(id))
            objects.DestroyObjectEx(object, "Game/ProxyAccessoryPool", __LINE__);
    mObjects.clear();
}

}  // namespace GAME
