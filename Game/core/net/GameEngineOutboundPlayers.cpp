// Outbound operations of the player managers, parties, gold and bonuses.
#include "Engine/Engine.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/players/PartyManager.h"

namespace GAME {

void GameEngineOutboundInterface::GiveGoldToPlayer(std::uint32_t player, int amount) {
    auto& packet = packets->giveGold;
    packet.playerId = player;
    packet.amount = amount;
    Send(packet);
}

void GameEngineOutboundInterface::StoC_AllPlayersHeartbeat(
    const std::vector<PlayerNetHeartbeatInfo>& heartbeats) {
    auto& packet = packets->allPlayersHeartbeat;
    packet.infos = heartbeats;
    Send(packet);
}

void GameEngineOutboundInterface::CtoS_SinglePlayerHeartbeat(
    const PlayerNetHeartbeatInfo& heartbeat) {
    auto& packet = packets->singlePlayerHeartbeat;
    packet.info = heartbeat;
    Send(packet);
}

void GameEngineOutboundInterface::StoC_AllPlayersUpdate(
    const std::vector<PlayerNetBasicInfo>& players) {
    auto& packet = packets->allPlayersBasicInfo;
    packet.infos = players;
    Send(packet);
}

void GameEngineOutboundInterface::CtoS_AddNewPlayer(const PlayerNetBasicInfo& player) {
    auto& packet = packets->singlePlayerBasicInfo;
    packet.info = player;
    Send(packet);
}

void GameEngineOutboundInterface::HandleBonusToClient(const Bonus& bonus, const std::uint32_t&) {
    auto& packet = packets->bonusToClient;
    packet.bonus.CopyValues(bonus);
    Send(packet);
}

void GameEngineOutboundInterface::HandleBonusToServer(const Bonus& bonus, const WorldVec3& where,
                                                      const std::uint32_t& activePlayer) {
    auto& packet = packets->bonusToServer;
    packet.bonus.CopyValues(bonus);
    packet.where = where;
    packet.activePlayer = activePlayer;
    Send(packet);
}

void GameEngineOutboundInterface::AddPlayerToParty(std::uint32_t player, int party) {
    auto& packet = packets->joinPartyConfigCmd;
    packet.playerId = player;
    packet.party = party;
    Send(packet);
}

void GameEngineOutboundInterface::InvitePlayerToParty(std::uint32_t player, int party) {
    // A server's own invitation is one its clients may take up.
    PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    if (parties && gEngine->IsServer())
        parties->NoteInvitation(player, static_cast<std::uint32_t>(party));
    auto& packet = packets->invitePartyConfigCmd;
    packet.playerId = player;
    packet.party = party;
    Send(packet);
}

}  // namespace GAME
