#pragma once
// The cursor of a potion or dye right-clicked in the bag: used at once, then done.
#include <cstdint>

#include "Game/items/cursor/CursorHandler.h"

namespace GAME {

class CursorHandlerOneShotUse : public CursorHandler {
public:
    bool IsHotSlotCapable() override { return false; }
    bool IsInventoryCapable() override { return true; }
    bool IsMarketCapable() override { return false; }
    bool IsEquipCapable() override { return false; }
    bool IsTradeCapable() override { return false; }
    void Render(GraphicsCanvas&) override {}
    bool IsComplete() override { return item == 0; }
    void ActivateWorld() override {}
    bool Cancel() override { return false; }
    void SecondaryInitialize() override;
    void SetId(std::uint32_t id) override { item = id; }

private:
    std::uint32_t item = 0;
};

}  // namespace GAME
