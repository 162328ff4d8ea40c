#include "Game/items/cursor/CursorHandlerItemMove.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Options.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipmentCtrl.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Game/items/market/TradeManager.h"

namespace GAME {

namespace {
constexpr int kQuickSaleOption = 0;

Item* FindItem(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Item>(id) : nullptr;
}
}  // namespace

void CursorHandlerItemMove::Render(GraphicsCanvas& canvas) {
    if (Item* item = FindItem(carried))
        RenderCentred(canvas, item->GetBitmap());
}

void CursorHandlerItemMove::ActivateWorld() {
    if (ControllerPlayer* controller = GetPlayerCtrl()) {
        if (carried != 0)
            controller->SendDropItemRandom(carried);
        for (std::uint32_t id : stack)
            controller->SendDropItemRandom(id);
    }
    carried = 0;
    stack.clear();
}

bool CursorHandlerItemMove::Cancel() {
    ControllerPlayer* controller = GetPlayerCtrl();
    if (!controller)
        return false;
    if (carried != 0) {
        if (!controller->GiveItemToPlayer(carried))
            return false;
        carried = 0;
    }
    while (!stack.empty()) {
        if (!controller->GiveItemToPlayer(stack.front()))
            return false;
        stack.erase(stack.begin());
    }
    return true;
}

void CursorHandlerItemMove::SetId(std::uint32_t id) {
    carried = id;
    stack.clear();
    if (id != 0)
        if (PlayerInventoryCtrl* bag = GetInventoryCtrl())
            bag->RemoveItem(id, stack);
}

void CursorHandlerItemMove::GetInventoryHighlights(std::vector<Rect>& placeRects,
                                                   std::vector<Rect>& swapRects,
                                                   std::vector<Rect>& blockedRects,
                                                   std::uint32_t& itemUnderCursor) {
    PlayerInventoryCtrl* bag = GetInventoryCtrl();
    if (!bag || !FindItem(carried))
        return;
    std::vector<Rect> conflicts;
    Rect placed;
    bag->GetConflicts(relativePosition, carried, conflicts, placed,
                      PlayerInventoryCtrl::kFocusedSack);
    itemUnderCursor = bag->GetItemUnderPoint(relativePosition, PlayerInventoryCtrl::kFocusedSack);
    if (conflicts.size() < 2) {
        swapRects.insert(swapRects.end(), conflicts.begin(), conflicts.end());
        placeRects.push_back(placed);
    } else {
        blockedRects.insert(blockedRects.end(), conflicts.begin(), conflicts.end());
    }
}

bool CursorHandlerItemMove::PrimaryInventoryActivate() {
    PlayerInventoryCtrl* bag = GetInventoryCtrl();
    if (!bag || !FindItem(carried))
        return false;
    std::vector<Rect> conflicts;
    Rect placed;
    bag->GetConflicts(relativePosition, carried, conflicts, placed,
                      PlayerInventoryCtrl::kFocusedSack);
    if (conflicts.size() >= 2)
        return false;
    const std::uint32_t previous = carried;
    const std::vector<std::uint32_t> previousStack = std::move(stack);
    // The one item overlapped comes onto the cursor (a swap); else what lies under the cursor.
    const Vec2 pick =
        conflicts.empty() ? relativePosition : Vec2{conflicts.front().left, conflicts.front().top};
    SetId(bag->GetItemUnderPoint(pick, PlayerInventoryCtrl::kFocusedSack));
    const Vec2 at{placed.left, placed.top};
    if (!previousStack.empty())
        bag->AddStackedItem(at, previous, previousStack, PlayerInventoryCtrl::kFocusedSack);
    else
        bag->AddItem(at, previous, PlayerInventoryCtrl::kFocusedSack);
    return true;
}

bool CursorHandlerItemMove::SecondaryInventoryActivate() {
    if (!TryQuickSale())
        Cancel();
    return true;
}

void CursorHandlerItemMove::SetEquipId(EquipmentCtrlLocation, std::uint32_t id) {
    carried = id;
    stack.clear();
    if (EquipmentCtrl* equipment = GetEquipmentCtrl())
        equipment->RemoveItem(id);
}

bool CursorHandlerItemMove::IsEquipConflict(EquipmentCtrlLocation location, bool& flag) {
    flag = false;
    EquipmentCtrl* equipment = GetEquipmentCtrl();
    return !equipment || !equipment->CanItemBePlaced(location, carried);
}

bool CursorHandlerItemMove::PrimaryEquipActivate(EquipmentCtrlLocation location) {
    EquipmentCtrl* equipment = GetEquipmentCtrl();
    if (!equipment || carried == 0 || !equipment->CanItemBePlaced(location, carried))
        return false;
    // The item goes on; what the location held comes onto the cursor.
    std::uint32_t id = carried;
    equipment->PlaceItem(location, id);
    carried = id;
    stack.clear();
    return true;
}

bool CursorHandlerItemMove::SecondaryEquipActivate(EquipmentCtrlLocation location) {
    return TryQuickSale() || PrimaryEquipActivate(location);
}

bool CursorHandlerItemMove::PrimaryTradeActivate() {
    TradeManager* trade = gGameEngine ? gGameEngine->GetTradeManager() : nullptr;
    if (!trade || !trade->HandleAddItemOutbound(Vec2(), carried)) {
        Cancel();
        return false;
    }
    carried = 0;
    while (!stack.empty()) {
        carried = stack.back();
        stack.pop_back();
        if (!trade->HandleAddItemOutbound(Vec2(), carried)) {
            Cancel();
            return true;
        }
        carried = 0;
    }
    return true;
}

bool CursorHandlerItemMove::PrimaryMarketActivate() {
    if (!gGameEngine || !gGameEngine->PlayerSaleRequest(marketId, carried, false)) {
        Cancel();
        return false;
    }
    SellCarried();
    return true;
}

void CursorHandlerItemMove::SecondaryInitialize() {
    TryQuickSale();
}

void CursorHandlerItemMove::SellCarried() {
    for (std::uint32_t id : stack)
        gGameEngine->PlayerSaleRequest(marketId, id, true);
    // The market takes what it buys, on every machine at the server's word (in single play it
    // has already). Until then, and for good when the server says no, the goods stay in the bag.
    KeepUnsold(carried);
    for (std::uint32_t id : stack)
        KeepUnsold(id);
    carried = 0;
    stack.clear();
}

void CursorHandlerItemMove::KeepUnsold(std::uint32_t id) {
    PlayerInventoryCtrl* bag = GetInventoryCtrl();
    if (bag && player && player->GetInventory().IsItemInInventory(id))
        bag->AddItem(id, true);
}

bool CursorHandlerItemMove::TryQuickSale() {
    if (marketId == 0 || !Options::GetBool(kQuickSaleOption) || carried == 0 || !gGameEngine ||
        !gGameEngine->PlayerSaleRequest(marketId, carried, false))
        return false;
    SellCarried();
    return true;
}

}  // namespace GAME
