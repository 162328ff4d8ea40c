#pragma once
// The cursor carrying an item (and, for a potion, the hidden potions piled behind it): dropped
// in a sack, put on, offered in the trade window, sold, dropped in the world or given back.
#include <cstdint>
#include <vector>

#include "Game/items/cursor/CursorHandler.h"

namespace GAME {

class CursorHandlerItemMove : public CursorHandler {
public:
    bool IsHotSlotCapable() override { return false; }
    bool IsInventoryCapable() override { return true; }
    bool IsMarketCapable() override { return true; }
    bool IsEquipCapable() override { return true; }
    bool IsTradeCapable() override { return true; }
    void Render(GraphicsCanvas& canvas) override;
    bool IsComplete() override { return carried == 0; }
    void ActivateWorld() override;
    // Gives everything carried back to the player; false (the rest stays on the cursor) at the
    // first item that finds no place.
    bool Cancel() override;
    void SecondaryInitialize() override;
    // Takes the item out of its sack (a potion with its hidden pile).
    void SetId(std::uint32_t id) override;
    std::uint32_t GetId() override { return carried; }
    void GetInventoryHighlights(std::vector<Rect>& placeRects, std::vector<Rect>& swapRects,
                                std::vector<Rect>& blockedRects,
                                std::uint32_t& itemUnderCursor) override;
    bool PrimaryInventoryActivate() override;
    bool SecondaryInventoryActivate() override;
    // Takes the item off the character.
    void SetEquipId(EquipmentCtrlLocation location, std::uint32_t id) override;
    bool IsEquipConflict(EquipmentCtrlLocation location, bool& flag) override;
    bool PrimaryEquipActivate(EquipmentCtrlLocation location) override;
    bool SecondaryEquipActivate(EquipmentCtrlLocation location) override;
    bool PrimaryTradeActivate() override;
    bool PrimaryMarketActivate() override;
    bool SecondaryMarketActivate() override { return PrimaryMarketActivate(); }

    const std::vector<std::uint32_t>& GetCarriedStack() const { return stack; }

private:
    // Sells the carried item (already asked of the merchant) and its pile; empties the cursor.
    void SellCarried();
    // Back into the bag while the player still carries it (the sale is not yet, or never, made).
    void KeepUnsold(std::uint32_t id);
    // With a merchant's window open and option 0 on, sells what is carried; false otherwise.
    bool TryQuickSale();

    std::uint32_t carried = 0;
    std::vector<std::uint32_t> stack;
};

}  // namespace GAME
