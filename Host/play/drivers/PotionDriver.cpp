#include "Host/play/drivers/PotionDriver.h"

#include <string>
#include <vector>

#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/player/ControllerPlayer.h"
#include "Game/characters/Player.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/items/inventory/PlayerInventoryCtrl.h"
#include "Host/play/PlayEventLog.h"

namespace GAME {

void PotionDriver::DrinkIfLow(Player& player) {
    PlayerHotSlotCtrl& slots = player.GetPlayerHotSlotCtrl();
    const auto* controller = FindController<ControllerPlayer>(player);
    // A player whose life is not up yet (before its first frame) is not low on it.
    if (!controller || !player.IsAlive() || player.GetCurrentLife() <= 0.0f ||
        player.GetCurrentLife() >= player.GetLifeLimit() * kLowLifeShare ||
        slots.GetSlotStatus(PlayerHotSlotCtrl::kHealthPotionSlot) != HotSlotStatus_Ready)
        return;
    const PlayerInventoryCtrl& bag = controller->GetInventoryCtrl();
    std::vector<std::string> kinds;
    bag.GetPotionNames(kinds);
    std::vector<std::uint32_t> before;
    for (const std::string& kind : kinds)
        before.push_back(bag.GetTotalPotions(kind));
    const int life = player.GetCurrentLifeInt();
    slots.ActivateHotSlot(PlayerHotSlotCtrl::kHealthPotionSlot);
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (bag.GetTotalPotions(kinds[i]) < before[i]) {
            mLog.OnPotionDrunk(bag.GetPotionText(kinds[i]), life,
                               static_cast<int>(player.GetLifeLimit()),
                               bag.GetTotalPotions(PotionType::Health));
            return;
        }
}

}  // namespace GAME
