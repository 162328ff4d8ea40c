#include "Game/items/inventory/Inventory.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/core/GameEngine.h"
#include "Game/core/util/StringUtil.h"
#include "Game/items/Item.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/inventory/ItemEvents.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {
constexpr unsigned int kInventoryPotionPage = 13;
constexpr unsigned int kInventorySackPage = 24;
constexpr unsigned int kInventoryRelicPage = 18;
}  // namespace

Inventory::~Inventory() {
    DestroyAllObjects();
}

void Inventory::AddItemToInventory(std::uint32_t id, bool flag) {
    Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id);
    GameEngine* game = gGameEngine;
    if (game && (game->GetPlayerId() == mOwner || game->GetPlayerId() == 0)) {
        const bool potion = dynamic_cast<OneShot_PotionHealth*>(item) != nullptr ||
                            dynamic_cast<OneShot_PotionMana*>(item) != nullptr;
        game->NoteInventoryAddition(potion);
        if (potion)
            game->UnlockTutorialPage(kInventoryPotionPage, true);
        else if (dynamic_cast<OneShot_Sack*>(item))
            game->UnlockTutorialPage(kInventorySackPage, true);
        else if (dynamic_cast<ItemRelic*>(item))
            game->UnlockTutorialPage(kInventoryRelicPage, true);
    }
    if (item)
        item->SetGender(mGender);
    if (id == 0 || IsItemInInventory(id))
        return;
    GameEvent_ItemAdd event;
    event.ownerId = mOwner;
    event.itemId = id;
    event.flag = flag;
    SendGameEvent(event, "ItemAdd");
    mItems.push_back(id);
}

void Inventory::RemoveItemFromInventory(std::uint32_t id) {
    if (id != 0)
        std::erase(mItems, id);
}

std::uint32_t Inventory::PopInventoryItem() {
    if (mItems.empty())
        return 0;
    const std::uint32_t id = mItems.front();
    mItems.erase(mItems.begin());
    return id;
}

bool Inventory::IsItemInInventory(std::uint32_t id) const {
    return std::find(mItems.begin(), mItems.end(), id) != mItems.end();
}

bool Inventory::IsItemInInventory(const std::string& recordName) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // An id whose item is gone is passed over: the items after it are still carried.
    for (std::uint32_t id : mItems)
        if (const Object* item = objects.GetObject(id);
            item && PathEqualsNoCaseStr(item->GetObjectName(), recordName))
            return true;
    return false;
}

void Inventory::DestroyAllObjects() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> items;
    items.swap(mItems);
    for (std::uint32_t id : items)
        if (Object* item = objects.GetObject(id))
            objects.DestroyObjectEx(item, "Game/Inventory", 96);
}

}  // namespace GAME
