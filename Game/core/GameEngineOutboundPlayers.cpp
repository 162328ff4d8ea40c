// Outbound operations of the player managers, parties, gold and bonuses.
#include "Engine/Engine.h"
#include "Game/core/GameEngineOutboundInterface.h"

namespace GAME {

void GameEngineOutboundInterface::GiveGoldToPlayer(std::uint32_t player, int amount) {
    gEngine->Log(1, "GameEngineOutboundInterface: GiveGoldToPlayer (%u, %d) has no packet yet", player, amount);
}

void GameEngineOutboundInterface::StoC_AllPlayersHeartbeat(const std::vector<PlayerNetHeartbeatInfo>&) {
    gEngine->Log(1, "GameEngineOutboundInterface: StoC_AllPlayersHeartbeat has no packet yet");
}

void GameEngineOutboundInterface::CtoS_SinglePlayerHeartbeat(const PlayerNetHeartbeatInfo&) {
    gEngine->Log(1, "GameEngineOutboundInterface: CtoS_SinglePlayerHeartbeat has no packet yet");
}

void GameEngineOutboundInterface::StoC_AllPlayersUpdate(const std::vector<PlayerNetBasicInfo>&) {
    gEngine->Log(1, "GameEngineOutboundInterface: StoC_AllPlayersUpdate has no packet yet");
}

void GameEngineOutboundInterface::CtoS_AddNewPlayer(const PlayerNetBasicInfo&) {
    gEngine->Log(1, "GameEngineOutboundInterface: CtoS_AddNewPlayer has no packet yet");
}

void GameEngineOutboundInterface::HandleBonusToClient(const Bonus&, const std::uint32_t&) {
    gEngine->Log(1, "GameEngineOutboundInterface: HandleBonusToClient has no packet yet");
}

void GameEngineOutboundInterface::HandleBonusToServer(const Bonus&, const WorldVec3&, const std::uint32_t&) {
    gEngine->Log(1, "GameEngineOutboundInterface: HandleBonusToServer has no packet yet");
}

void GameEngineOutboundInterface::AddPlayerToParty(std::uint32_t player, int party) {
    gEngine->Log(1, "GameEngineOutboundInterface: AddPlayerToParty (%u, %d) has no packet yet", player, party);
}

void GameEngineOutboundInterface::InvitePlayerToParty(std::uint32_t player, int party) {
    gEngine->Log(1, "GameEngineOutboundInterface: InvitePlayerToParty (%u, %d) has no packet yet", player, party);
}

}  // namespace GAME
