#include "Game/items/inventory/PlayerInventoryCtrl.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/InventorySack.h"
#include "Game/items/oneshot/OneShot.h"

namespace GAME {

namespace {
Item* FindItem(std::uint32_t id) {
    return id != 0 ? Singleton<ObjectManager>::Get().GetObject<Item>(id) : nullptr;
}
}  // namespace

PlayerInventoryCtrl::PlayerInventoryCtrl() {
    AddSack();
    mFocusedSack = 0;
    mSelectedSack = 0;
}

PlayerInventoryCtrl::~PlayerInventoryCtrl() = default;

// Sacks.

bool PlayerInventoryCtrl::AddSack() {
    if (mSacks.size() >= kMaxSacks)
        return false;
    const int number = static_cast<int>(mSacks.size());
    const Vec2 dims = gGameEngine ? gGameEngine->GetInventorySackDims(number) : Vec2(12.0f, 5.0f);
    auto sack = std::make_unique<InventorySack>();
    sack->SetDims(dims.x, dims.y, InventorySack::SearchVertical);
    mSacks.push_back(std::move(sack));
    if (mSacks.size() == 2)
        mSelectedSack = 1;
    return true;
}

void PlayerInventoryCtrl::RestoreNumberOfSacks(std::uint32_t count) {
    while (mSacks.size() < count && AddSack()) {
    }
}

void PlayerInventoryCtrl::SetFocusSackNumber(std::uint32_t number) {
    mFocusedSack = number < GetNumberOfSacks() ? number : GetNumberOfSacks() - 1;
}

void PlayerInventoryCtrl::SetSelectedSackNumber(std::uint32_t number) {
    mSelectedSack = number < GetNumberOfSacks() ? number : GetNumberOfSacks() - 1;
}

InventorySack* PlayerInventoryCtrl::SackAt(int index) const {
    const std::uint32_t number = index < 0 ? mFocusedSack : static_cast<std::uint32_t>(index);
    return number < mSacks.size() ? mSacks[number].get() : nullptr;
}

InventorySack* PlayerInventoryCtrl::GetSack(int index) const {
    return SackAt(index);
}

const std::map<std::uint32_t, Rect>& PlayerInventoryCtrl::GetInventoryInSack(int index) const {
    static const std::map<std::uint32_t, Rect> kNone;
    const InventorySack* sack = SackAt(index);
    return sack ? sack->GetInventory() : kNone;
}

std::uint32_t PlayerInventoryCtrl::GetItemUnderPoint(const Vec2& point, int index) const {
    const InventorySack* sack = SackAt(index);
    return sack ? sack->GetItemUnderPoint(point) : 0;
}

Rect PlayerInventoryCtrl::GetRectUnderPoint(const Vec2& point, int index) const {
    const InventorySack* sack = SackAt(index);
    return sack ? sack->GetRectUnderPoint(point) : Rect();
}

void PlayerInventoryCtrl::AlignRect(Rect& rect, int index) const {
    if (const InventorySack* sack = SackAt(index))
        sack->AlignRect(rect);
}

bool PlayerInventoryCtrl::IsItemAddedWhileNotTheCurrentlySelectedInventoryTab(int index) const {
    const InventorySack* sack = SackAt(index);
    return sack && sack->IsNewItemAdded();
}

void PlayerInventoryCtrl::SetItemAddedWhileNotTheCurrentlySelectedInventoryTab(bool added,
                                                                               int index) {
    if (InventorySack* sack = SackAt(index))
        sack->SetNewItemAdded(added);
}

bool PlayerInventoryCtrl::IsSpaceAvailable(Item& item) const {
    for (const auto& sack : mSacks)
        if (sack->IsSpaceForItem(item))
            return true;
    return false;
}

bool PlayerInventoryCtrl::GetConflicts(const Vec2& point, std::uint32_t itemId,
                                       std::vector<Rect>& conflicts, Rect& placed,
                                       int index) const {
    Item* item = FindItem(itemId);
    const InventorySack* sack = SackAt(index);
    if (!item || !sack)
        return true;
    sack->GetConflicts(point, *item, conflicts, placed);
    return !conflicts.empty();
}

// Items.

bool PlayerInventoryCtrl::PlaceInSacks(Item& item, bool tryOtherSacks, InventorySack*& elsewhere) {
    elsewhere = nullptr;
    if (mSacks[0]->AddItem(item, true))
        return true;
    if (!tryOtherSacks || mSelectedSack == 0)
        return false;
    if (mSacks[mSelectedSack]->AddItem(item, true))
        return true;
    for (std::uint32_t i = 0; i < mSacks.size(); ++i) {
        if (i == mSelectedSack || !mSacks[i]->AddItem(item, true))
            continue;
        elsewhere = mSacks[i].get();
        return true;
    }
    return false;
}

bool PlayerInventoryCtrl::AddItem(std::uint32_t itemId, bool tryOtherSacks) {
    Item* item = FindItem(itemId);
    if (!item)
        return false;
    auto* potion = dynamic_cast<OneShot_Potion*>(item);
    if (item->IsA<OneShot_Sack>()) {
        if (!AddSack()) {
            if (mController)
                mController->SendRemoveItemFromInventory(itemId);
            return true;
        }
        if (mController)
            mController->UseItem(itemId, true);
        return true;
    }
    if (item->IsA<OneShot_Gold>() || item->IsA<OneShot_InstantReward>()) {
        if (mController)
            mController->UseItem(itemId, true);
        return true;
    }
    if (potion) {
        potion->SetStackCount(0);
        if (StackOnExistingPile(*potion))
            return true;
    }
    InventorySack* elsewhere = nullptr;
    if (!PlaceInSacks(*item, tryOtherSacks, elsewhere))
        return false;
    bool newKind = true;
    if (potion) {
        newKind = AddToOneShotMap(*potion);
        if (mPlayer)
            mPlayer->GetPlayerHotSlotCtrl().SetDefaultPotionHotSlots(
                NormalizePotionName(potion->GetObjectName()), potion);
    }
    // Another pile of a known kind is no news.
    if (elsewhere && newKind)
        elsewhere->SetNewItemAdded(true);
    return true;
}

bool PlayerInventoryCtrl::AddItem(const Vec2& point, std::uint32_t itemId, int index) {
    Item* item = FindItem(itemId);
    InventorySack* sack = SackAt(index);
    if (!item || !sack || item->GetBitmap().empty())
        return false;
    if (auto* potion = dynamic_cast<OneShot_Potion*>(item))
        AddToOneShotMap(*potion);
    return sack->AddItem(point, *item, false);
}

void PlayerInventoryCtrl::AddStackedItem(const Vec2& point, std::uint32_t itemId,
                                         const std::vector<std::uint32_t>& hiddenIds, int index) {
    if (!AddItem(point, itemId, index))
        return;
    if (PotionStack* stack = FindStackOf(itemId))
        for (std::uint32_t id : hiddenIds)
            stack->PushStack(id);
}

bool PlayerInventoryCtrl::RemoveItem(std::uint32_t itemId,
                                     std::vector<std::uint32_t>& removedHidden) {
    bool removed = false;
    for (const auto& sack : mSacks)
        if (sack->RemoveItem(itemId)) {
            removed = true;
            break;
        }
    if (!removed)
        return false;
    auto* potion = Singleton<ObjectManager>::Get().GetObject<OneShot_Potion>(itemId);
    if (!potion)
        return true;
    potion->SetStackCount(0);
    PotionKind* kind = nullptr;
    if (PotionStack* stack = FindStackOf(itemId, &kind)) {
        std::uint32_t visible = 0;
        stack->GetPotions(visible, removedHidden);
        kind->stacks.erase(kind->stacks.begin() + (stack - kind->stacks.data()));
    }
    return true;
}

void PlayerInventoryCtrl::UseOneShot(std::uint32_t itemId) {
    Item* item = FindItem(itemId);
    if (!item)
        return;
    if (item->IsA<OneShot_Potion>()) {
        UsePotionOfType(NormalizePotionName(item->GetObjectName()));
        return;
    }
    std::vector<std::uint32_t> hidden;
    RemoveItem(itemId, hidden);
    if (mController)
        mController->UseItem(itemId, true);
}

}  // namespace GAME
