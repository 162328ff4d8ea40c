#include "Game/world/proxies/ProxyAmbush.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/world/proxies/ProxyPool.h"

namespace GAME {

RTTI_IMPLEMENT(ProxyAmbush, Proxy)

namespace {

constexpr const char* kInvalidObject = "InvalidProxyObjectSaved";

// Whether the record makes an entity; asked before anything is made, so a save that names
// another class never builds (and loads) one.
bool RecordMakesEntity(const std::string& name) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (name.empty() || !objects.LoadTableFile(name))
        return false;
    const RTTI_ClassInfo* info =
        Object::classInfo.FindByName(objects.GetLoadTable(name).GetString("Class").c_str());
    return info && info->IsA(Entity::classInfo);
}

}  // namespace

ProxyAmbush::~ProxyAmbush() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mWaiting)
        if (Object* object = objects.GetObject(id))
            objects.DestroyObjectEx(object, "Game/ProxyAmbush", __LINE__);
}

void ProxyAmbush::Load(const LoadTable& record) {
    Proxy::Load(record);
    mAlertArea = record.GetFloat("alertArea", 0.0f);
    mMinSpawnTime = static_cast<int>(record.GetFloat("minSpawnTime", 0.0f) * 1000.0f);
    mMaxSpawnTime = static_cast<int>(record.GetFloat("maxSpawnTime", 0.0f) * 1000.0f);
    mMinProxyPopulation = record.GetInt("minProxyPopulation", 0);
    mMaxProxyPopulation = record.GetInt("maxProxyPopulation", 0);
    // Read, not drawn: the load's own draws stay as they were.
    if (gGameEngine)
        mRandom.Seed(gGameEngine->GetRandomGen().GetState() ^ GetObjectId());
}

void ProxyAmbush::PoolComplete(ProxyPool* pool, const std::vector<WorldCoords>&) {
    mWaiting = pool->GetObjects();
    pool->GetObjects().clear();
}

void ProxyAmbush::UpdateSelf(int elapsedMs) {
    Proxy::UpdateSelf(elapsedMs);
    mSpawnTimer -= elapsedMs;
    if (mWaiting.empty() || !gGameEngine)
        return;
    if (mSpawnTimer < 1 && IsAlert()) {
        RandomUniform& random = mRandom;
        const int cap = random.IGenerate(mMinProxyPopulation, mMaxProxyPopulation);
        if (cap == 0 || mActive.size() < static_cast<unsigned int>(cap)) {
            PlaceNextObject();
            mSpawnTimer = random.IGenerate(mMinSpawnTime, mMaxSpawnTime);
        } else {
            mSpawnTimer = mMinSpawnTime;
        }
    }
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::erase_if(mActive, [&objects](std::uint32_t id) {
        const Character* character = objects.GetObject<Character>(id);
        return !character || !character->IsAlive();
    });
}

bool ProxyAmbush::IsAlert() {
    if (!GetRegion())
        return false;
    mNearby.clear();
    World::Get().GetEntitiesInSphere(mNearby, GetRegion(),
                                     Sphere{GetCoords().coords.origin, mAlertArea},
                                     EntityListType::Actors);
    for (const Entity* entity : mNearby)
        if (entity->GetClassInfo().IsA(Player::classInfo))
            return true;
    return false;
}

void ProxyAmbush::PlaceNextObject() {
    const std::uint32_t id = mWaiting.front();
    mWaiting.erase(mWaiting.begin());
    if (Entity* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(id)) {
        World::Get().AddEntity(entity, GetCoords(), true);
        mActive.push_back(id);
    }
}

void ProxyAmbush::SaveState(BinaryWriter& writer) {
    Proxy::SaveState(writer);
    writer.WriteUInt32(static_cast<std::uint32_t>(mWaiting.size()));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : mWaiting) {
        const Object* object = objects.GetObject(id);
        writer.WriteString(object ? object->GetObjectName() : std::string(kInvalidObject));
    }
}

void ProxyAmbush::RestoreState(BinaryReader& reader) {
    Proxy::RestoreState(reader);
    std::uint32_t count = 0;
    if (!reader.ReadUInt32(count))
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (!reader.ReadString(name)) {
            // The reader failed for good: the rest of the list cannot be read either.
            gEngine->Log(1, "ProxyAmbush: Unable to create and restore file (%s)", name.c_str());
            return;
        }
        // Only what an ambush keeps waiting: entities, never any other class a file names.
        Entity* entity =
            RecordMakesEntity(name) ? objects.CreateObjectFromFile<Entity>(name) : nullptr;
        if (!entity) {
            gEngine->Log(1, "ProxyAmbush: Unable to create and restore file (%s)", name.c_str());
            continue;
        }
        mWaiting.push_back(entity->GetObjectId());
    }
}

}  // namespace GAME
