// The bag's section of the character file: the sacks, and in each its items by id with their
// cells; a potion's hidden pile follows it as records without a cell.
#include <cmath>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/items/Item.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/InventorySack.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {

constexpr const char* kBagBlock = "playerInventoryCtrl";
constexpr const char* kSackBlock = "inventorySack";
constexpr const char* kItemBlock = "inventoryItem";

// False when a reader finds no further record.
bool StreamRecord(IOStream& stream, ItemReplicaInfo& replica, std::uint32_t& x, std::uint32_t& y) {
    if (!stream.BeginBlock(kItemBlock) && stream.IsReading()) {
        stream.EndBlock();  // pairs with the missing begin
        return false;
    }
    replica.StreamProperties(stream);
    stream.StreamUInt("pointX", x);
    stream.StreamUInt("pointY", y);
    stream.EndBlock();
    return true;
}

void WriteItem(IOStream& stream, const Item& item, std::uint32_t x, std::uint32_t y) {
    ItemReplicaInfo replica;
    item.GetItemReplicaInfo(replica);
    replica.objectId = 0;
    StreamRecord(stream, replica, x, y);
}

std::uint32_t CellOf(float value) {
    const float cell = std::floor(value);
    return cell > 0.0f ? static_cast<std::uint32_t>(cell) : 0u;
}

}  // namespace

void PlayerInventoryCtrl::StreamProperties(IOStream& stream) {
    const bool reading = stream.IsReading();
    stream.BeginBlock(kBagBlock);
    bool gridCoords = !reading;
    stream.StreamBool("itemPositionsSavedAsGridCoords", gridCoords);
    auto sacks = static_cast<std::int32_t>(GetNumberOfSacks());
    stream.StreamInt("numberOfSacks", sacks);
    if (reading && sacks > 0)
        RestoreNumberOfSacks(static_cast<std::uint32_t>(sacks));
    auto focused = static_cast<std::int32_t>(mFocusedSack);
    auto selected = static_cast<std::int32_t>(mSelectedSack);
    stream.StreamInt("currentlyFocusedSackNumber", focused);
    stream.StreamInt("currentlySelectedSackNumber", selected);
    if (reading) {
        SetFocusSackNumber(static_cast<std::uint32_t>(focused));
        SetSelectedSackNumber(static_cast<std::uint32_t>(selected));
    }
    // A hidden potion of the file belongs to the last potion placed before it, in any sack.
    std::uint32_t lastPotion = 0;
    for (const auto& sack : mSacks) {
        if (reading)
            ReadSack(stream, *sack, gridCoords, lastPotion);
        else
            WriteSack(stream, *sack);
    }
    stream.EndBlock();
}

void PlayerInventoryCtrl::WriteSack(IOStream& stream, InventorySack& sack) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    stream.BeginBlock(kSackBlock);
    bool added = sack.IsNewItemAdded();
    stream.StreamBool("tempBool", added);
    std::int32_t size = 0;
    for (const auto& [id, rect] : sack.GetInventory())
        if (objects.GetObject<Item>(id)) {
            const PotionStack* stack = FindStackOf(id);
            size += static_cast<std::int32_t>(stack ? stack->GetTotalPotions() : 1);
        }
    stream.StreamInt("size", size);
    for (const auto& [id, rect] : sack.GetInventory()) {
        const Item* item = objects.GetObject<Item>(id);
        if (!item)
            continue;
        const Vec2 cell = sack.PixelsToGrid(Vec2(rect.left, rect.top));
        WriteItem(stream, *item, CellOf(cell.x), CellOf(cell.y));
        const PotionStack* stack = FindStackOf(id);
        if (!stack)
            continue;
        std::uint32_t visible = 0;
        std::vector<std::uint32_t> hidden;
        stack->GetPotions(visible, hidden);
        for (std::uint32_t hiddenId : hidden)
            if (const Item* potion = objects.GetObject<Item>(hiddenId))
                WriteItem(stream, *potion, kHiddenPoint, kHiddenPoint);
    }
    stream.EndBlock();
}

void PlayerInventoryCtrl::ReadSack(IOStream& stream, InventorySack& sack, bool gridCoords,
                                   std::uint32_t& lastPotion) {
    stream.BeginBlock(kSackBlock);
    bool added = false;
    stream.StreamBool("tempBool", added);
    sack.SetNewItemAdded(added);
    std::int32_t size = 0;
    stream.StreamInt("size", size);
    // The count only bounds the records read: the section was checked whole before (a load's
    // trial read passes over it), so a bad count must not fail the stream half-way.
    for (std::int32_t i = 0; i < size && !stream.Failed(); ++i) {
        ItemReplicaInfo replica;
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        if (!StreamRecord(stream, replica, x, y))
            break;
        const bool hidden = x == kHiddenPoint || y == kHiddenPoint;
        PotionStack* pile = hidden ? FindStackOf(lastPotion) : nullptr;
        // A hidden potion with no potion placed before it has no pile to join: a file is
        // untrusted, so it is passed over rather than put anywhere.
        if (hidden && !pile) {
            gEngine->Log(1, "%s: hidden potion %s has no placed potion before it; skipped",
                         stream.GetName().c_str(), replica.baseName.c_str());
            continue;
        }
        Item* item = replica.baseName.empty() ? nullptr : Item::CreateItem(replica);
        if (!item) {
            gEngine->Log(1, "%s: saved item \"%s\" makes no item; skipped",
                         stream.GetName().c_str(), replica.baseName.c_str());
            continue;
        }
        const std::uint32_t id = item->GetObjectId();
        if (mPlayer)
            mPlayer->GetInventory().AddItemToInventory(id, true);
        if (hidden) {
            pile->PushStack(id);
            continue;
        }
        const Vec2 cell(static_cast<float>(x), static_cast<float>(y));
        const bool placed = sack.AddItem(gridCoords ? sack.GridToPixels(cell) : cell, *item, true);
        if (auto* potion = dynamic_cast<OneShot_Potion*>(item); placed && potion) {
            AddToOneShotMap(*potion);
            lastPotion = id;
        }
    }
    stream.EndBlock();
}

}  // namespace GAME
