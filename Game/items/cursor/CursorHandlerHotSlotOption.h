#pragma once
// The cursor dragging a skill (or another hot-slot option) to the hot-slot bar. The host puts
// the carried option into the slot clicked and then empties the cursor (SetOption(nullptr)).
#include <memory>
#include <string>

#include "Game/items/cursor/CursorHandler.h"
#include "Game/items/hotslots/HotSlotOption.h"

namespace GAME {

class CursorHandlerHotSlotOption : public CursorHandler {
public:
    bool IsHotSlotCapable() override { return true; }
    bool IsInventoryCapable() override { return false; }
    bool IsMarketCapable() override { return false; }
    bool IsEquipCapable() override { return false; }
    bool IsTradeCapable() override { return false; }
    void Render(GraphicsCanvas& canvas) override;
    bool IsComplete() override { return option == nullptr; }
    void ActivateWorld() override { SetOption(nullptr); }
    bool Cancel() override;
    // A skill id becomes a skill option of the player.
    void SetId(std::uint32_t id) override;
    void SetOption(std::unique_ptr<HotSlotOption> next) override;
    HotSlotOption* GetOption() override { return option.get(); }

private:
    std::unique_ptr<HotSlotOption> option;
    std::string bitmap;
};

}  // namespace GAME
