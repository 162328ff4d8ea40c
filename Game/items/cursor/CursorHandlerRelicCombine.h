#pragma once
// The cursor of a relic or charm about to be combined with an item: the relic stays where it
// lies; a click on another item combines them, after the player confirms when the relic goes
// into a piece of equipment.
#include <cstdint>
#include <string>

#include "Game/items/cursor/CursorHandler.h"

namespace GAME {

class ItemRelic;

class CursorHandlerRelicCombine : public CursorHandler {
public:
    CursorHandlerRelicCombine();

    bool IsHotSlotCapable() override { return false; }
    bool IsInventoryCapable() override { return true; }
    bool IsMarketCapable() override { return false; }
    bool IsEquipCapable() override { return true; }
    bool IsTradeCapable() override { return false; }
    void Render(GraphicsCanvas& canvas) override;
    // Takes the player's answer to the confirmation.
    void Update() override;
    bool IsComplete() override { return relic == 0; }
    void ActivateWorld() override { relic = 0; }
    // Also withdraws a confirmation still waiting, so a late answer combines nothing.
    bool Cancel() override;
    bool Escape() override;
    WidgetCursorType GetGameCursorType() override { return WidgetCursor_RelicCombine; }
    void SetId(std::uint32_t id) override;
    void GetInventoryHighlights(std::vector<Rect>& placeRects, std::vector<Rect>& swapRects,
                                std::vector<Rect>& blockedRects,
                                std::uint32_t& itemUnderCursor) override;
    bool PrimaryInventoryActivate() override;
    bool SecondaryInventoryActivate() override { return PrimaryInventoryActivate(); }
    void SetEquipId(EquipmentCtrlLocation location, std::uint32_t id) override;
    bool IsEquipConflict(EquipmentCtrlLocation location, bool& flag) override;
    bool PrimaryEquipActivate(EquipmentCtrlLocation location) override;
    bool SecondaryEquipActivate(EquipmentCtrlLocation location) override {
        return PrimaryEquipActivate(location);
    }
    virtual void CreateBitmap();

    std::uint32_t GetTargetId() const { return target; }

private:
    // The relic, or null (and forgotten) when it is none.
    ItemRelic* FindRelic();
    bool Combine(std::uint32_t targetId, bool inInventory);

    std::uint32_t relic = 0;
    std::string bitmap;
    std::uint32_t target = 0;
};

}  // namespace GAME
