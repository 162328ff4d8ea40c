// The receive path: a packet decoded by the connection manager runs as the matching operation
// of the receiving machine's inbound interface.
#include <utility>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"

namespace GAME {

namespace {
// Keeps the source host of the packet being run, restoring the previous one afterwards.
class SourceHostScope {
public:
    SourceHostScope(GameEngineInboundInterface& inbound, int host)
        : mInbound(inbound), mPrevious(inbound.GetSourceHost()) {
        mInbound.SetSourceHost(host);
    }
    ~SourceHostScope() { mInbound.SetSourceHost(mPrevious); }

private:
    GameEngineInboundInterface& mInbound;
    int mPrevious;
};

template <class Kind>
Kind& As(NetPacket& packet) {
    return static_cast<Kind&>(packet);
}

constexpr PACKET_TYPE kInboundKinds[] = {
    PacketType::CreateItemPacket,
    PacketType::CreateEntityPacket,
    PacketType::CreateItemTeleportPacket,
    PacketType::DestroyItemTeleportPacket,
    PacketType::QuestMessagePacket,
    PacketType::AllPlayersHeartbeatPacket,
    PacketType::SinglePlayerHeartbeatPacket,
    PacketType::SinglePlayerBasicInfoPacket,
    PacketType::AllPlayersBasicInfoPacket,
    PacketType::InvitePartyConfigCmdPacket,
    PacketType::BonusToClientPacket,
    PacketType::BonusToServerPacket,
    PacketType::JoinPartyConfigCmdPacket,
    PacketType::GameBalanceUpdatePacket,
    PacketType::MarketS2CUpdatePacket,
    PacketType::MarketS2CStatusUpdatePacket,
    PacketType::MarketS2CPurchaseConfirmationPacket,
    PacketType::MarketS2CPurchaseDeniedPacket,
    PacketType::MarketC2SUpdateRequestPacket,
    PacketType::MarketC2SSellBackPacket,
    PacketType::MarketC2SPurchaseRequestPacket,
    PacketType::QuestCommandMovePacket,
    PacketType::QuestCommandWalkPacket,
    PacketType::QuestCommandPlayAnimationPacket,
    PacketType::QuestCommandUseSkillPacket,
    PacketType::QuestCommandLockFixedItemPacket,
    PacketType::TradeInitiatePacket,
    PacketType::TradeFinalizePacket,
    PacketType::TradeCancelPacket,
    PacketType::TradeAddItemPacket,
    PacketType::TradeRemoveItemPacket,
    PacketType::TradeSetGoldPacket,
    PacketType::GiveGoldPacket,
    PacketType::RemoteMessagePacket,
    PacketType::RemoteWMessagePacket,
    PacketType::ChatPacket,
};
}  // namespace

bool GameEngineInboundInterface::PassOnToReceiver(const GameEngineInboundInterface& in,
                                                  std::uint32_t receiver, NetPacket& packet) {
    // A client's message for a player of another machine is that machine's to show.
    const int host = static_cast<int>(receiver >> 28);
    if (!in.FromRemoteClient() || host == kServerHostId)
        return false;
    gEngine->GetNetworkConnectionManager()->SendToHost(host, &packet);
    return true;
}

bool GameEngineInboundInterface::ReceivePacket(NetPacket& packet) {
    GameEngine* root = gGameEngine;
    if (!root)
        return false;
    GameEngineInboundInterface& in = *root->GetInboundNetworkInterface();
    SourceHostScope scope(in, packet.GetHeader().sourceHost);
    switch (packet.GetType()) {
        case PacketType::CreateItemPacket: {
            auto& p = As<CreateItemPacket>(packet);
            in.CreateItem(p.characterId, p.placement, p.item, nullptr);
            return true;
        }
        case PacketType::CreateEntityPacket: {
            auto& p = As<CreateEntityPacket>(packet);
            in.CreateEntity(p.placement, p.recordName, p.objectId);
            return true;
        }
        case PacketType::CreateItemTeleportPacket: {
            auto& p = As<CreateItemTeleportPacket>(packet);
            in.CreateFixedItemTeleport(p.placement, p.owner, p.objectId, p.sectorTag, 0);
            return true;
        }
        case PacketType::DestroyItemTeleportPacket:
            in.DestroyFixedItemTeleport(As<DestroyItemTeleportPacket>(packet).objectId);
            return true;
        case PacketType::QuestMessagePacket: {
            auto& p = As<QuestMessagePacket>(packet);
            in.HandleQuestMessagePacket(p.sender, p.conditionSet, p.words, p.receiver);
            return true;
        }
        case PacketType::AllPlayersHeartbeatPacket:
            in.StoC_AllPlayersHeartbeat(As<AllPlayersHeartbeatPacket>(packet).infos);
            return true;
        case PacketType::SinglePlayerHeartbeatPacket:
            in.CtoS_SinglePlayerHeartbeat(As<SinglePlayerHeartbeatPacket>(packet).info);
            return true;
        case PacketType::SinglePlayerBasicInfoPacket:
            in.CtoS_AddNewPlayer(As<SinglePlayerBasicInfoPacket>(packet).info);
            return true;
        case PacketType::AllPlayersBasicInfoPacket:
            in.StoC_AllPlayersUpdate(As<AllPlayersBasicInfoPacket>(packet).infos);
            return true;
        case PacketType::InvitePartyConfigCmdPacket: {
            auto& p = As<InvitePartyConfigCmdPacket>(packet);
            const bool passOn = in.FromRemoteClient() && in.MayInvite(p.party);
            in.InvitePlayerToParty(p.playerId, p.party);
            // The invitation is for the invitee's machine, which opens the dialog.
            const int invitee = static_cast<int>(p.playerId >> 28);
            if (passOn && invitee != kServerHostId)
                gEngine->GetNetworkConnectionManager()->SendToHost(invitee, &packet);
            return true;
        }
        case PacketType::BonusToClientPacket:
            in.HandleBonusToClient(As<BonusToClientPacket>(packet).bonus, 0);
            return true;
        case PacketType::BonusToServerPacket: {
            auto& p = As<BonusToServerPacket>(packet);
            in.HandleBonusToServer(p.bonus, p.where, p.activePlayer);
            return true;
        }
        case PacketType::JoinPartyConfigCmdPacket: {
            auto& p = As<JoinPartyConfigCmdPacket>(packet);
            const bool passOn = in.FromRemoteClient() && in.MayChangeParty(p.playerId, p.party);
            in.AddPlayerToParty(p.playerId, p.party);
            // Every machine keeps the parties: the other clients take the change as well.
            if (passOn)
                gEngine->GetNetworkConnectionManager()->SendToAllClientsExcept(
                    packet.GetHeader().sourceHost, &packet);
            return true;
        }
        case PacketType::GiveGoldPacket: {
            auto& p = As<GiveGoldPacket>(packet);
            in.GiveGoldToPlayer(p.playerId, p.amount);
            return true;
        }
        case PacketType::GameBalanceUpdatePacket:
            in.GameBalanceUpdate(As<GameBalanceUpdatePacket>(packet).gameBalanceLevel);
            return true;
        case PacketType::MarketS2CUpdatePacket: {
            auto& p = As<MarketS2CUpdatePacket>(packet);
            in.S2C_MarketUpdate(p.marketId, p.marketName, p.level, p.seed, p.soldIndices);
            return true;
        }
        case PacketType::MarketS2CStatusUpdatePacket: {
            auto& p = As<MarketS2CStatusUpdatePacket>(packet);
            in.S2C_MarketItemStatusUpdate(p.marketId, p.itemIndex, p.status);
            return true;
        }
        case PacketType::MarketS2CPurchaseConfirmationPacket: {
            auto& p = As<MarketS2CPurchaseConfirmationPacket>(packet);
            in.S2C_MarketPurchaseConfirmation(p.marketId, p.itemIndex, p.buyerId);
            return true;
        }
        case PacketType::MarketS2CPurchaseDeniedPacket: {
            auto& p = As<MarketS2CPurchaseDeniedPacket>(packet);
            in.S2C_MarketPurchaseDenied(p.marketId, p.itemIndex, p.buyerId, p.status);
            return true;
        }
        case PacketType::MarketC2SUpdateRequestPacket:
            in.C2S_MarketUpdateRequest(As<MarketC2SUpdateRequestPacket>(packet).marketId);
            return true;
        case PacketType::MarketC2SSellBackPacket: {
            auto& p = As<MarketC2SSellBackPacket>(packet);
            in.C2S_MarketSellBack(p.marketId, p.level, p.seed, p.itemIndex, p.buyerId);
            return true;
        }
        case PacketType::MarketC2SPurchaseRequestPacket: {
            auto& p = As<MarketC2SPurchaseRequestPacket>(packet);
            in.C2S_MarketPurchaseRequest(p.marketId, p.level, p.seed, p.itemIndex, p.buyerId);
            return true;
        }
        case PacketType::QuestCommandMovePacket: {
            auto& p = As<QuestCommandMovePacket>(packet);
            in.QuestCommandMove(p.characterId, p.targetId, p.targetPosition, p.allowInterruptions);
            return true;
        }
        case PacketType::QuestCommandWalkPacket: {
            auto& p = As<QuestCommandWalkPacket>(packet);
            in.QuestCommandWalk(p.characterId, p.targetId, p.targetPosition, p.allowInterruptions);
            return true;
        }
        case PacketType::QuestCommandPlayAnimationPacket: {
            auto& p = As<QuestCommandPlayAnimationPacket>(packet);
            in.QuestCommandPlayAnimation(p.characterId, p.animation, p.looping,
                                         p.allowInterruptions);
            return true;
        }
        case PacketType::QuestCommandUseSkillPacket: {
            auto& p = As<QuestCommandUseSkillPacket>(packet);
            in.QuestCommandUseSkill(p.characterId, p.skillName, p.targetId, p.allowInterruptions);
            return true;
        }
        case PacketType::QuestCommandLockFixedItemPacket: {
            auto& p = As<QuestCommandLockFixedItemPacket>(packet);
            in.QuestCommandLockFixedItem(p.objectId, p.locked);
            return true;
        }
        case PacketType::TradeInitiatePacket: {
            auto& p = As<TradeInitiatePacket>(packet);
            in.TradeInitiate(p.sender, p.receiver);
            return true;
        }
        case PacketType::TradeFinalizePacket: {
            auto& p = As<TradeFinalizePacket>(packet);
            in.TradeFinalize(p.sender, p.receiver);
            return true;
        }
        case PacketType::TradeCancelPacket: {
            auto& p = As<TradeCancelPacket>(packet);
            in.TradeCancel(p.sender, p.receiver);
            return true;
        }
        case PacketType::TradeAddItemPacket: {
            auto& p = As<TradeAddItemPacket>(packet);
            in.TradeAddItem(p.sender, p.receiver, p.slot, p.item);
            return true;
        }
        case PacketType::TradeRemoveItemPacket: {
            auto& p = As<TradeRemoveItemPacket>(packet);
            in.TradeRemoveItem(p.sender, p.receiver, p.itemId);
            return true;
        }
        case PacketType::TradeSetGoldPacket: {
            auto& p = As<TradeSetGoldPacket>(packet);
            in.TradeSetGoldAmount(p.sender, p.receiver, p.goldAmount);
            return true;
        }
        case PacketType::RemoteMessagePacket: {
            auto& p = As<RemoteMessagePacket>(packet);
            if (!PassOnToReceiver(in, p.receiver, packet))
                in.DisplayMessageRemote(p.receiver, p.optionalInsert, p.asBubble, p.textTag);
            return true;
        }
        case PacketType::RemoteWMessagePacket: {
            auto& p = As<RemoteWMessagePacket>(packet);
            if (!PassOnToReceiver(in, p.receiver, packet))
                in.DisplayWMessageRemote(p.receiver, p.asBubble, p.text);
            return true;
        }
        case PacketType::ChatPacket: {
            auto& p = As<ChatPacket>(packet);
            in.HandleChatMessage(
                p.from, p.text, p.channel,
                std::vector<unsigned int>(p.recipients.begin(), p.recipients.end()));
            return true;
        }
        default:
            return false;
    }
}

void GameEngineInboundInterface::InstallPacketHandlers() {
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    if (!connections)
        return;
    for (PACKET_TYPE type : kInboundKinds)
        connections->SetPacketHandler(type, [](NetPacket& packet) {
            if (!ReceivePacket(packet))
                gEngine->Log(1, "GameEngineInboundInterface: no game root to run packet %u",
                             static_cast<unsigned>(packet.GetType()));
        });
}

}  // namespace GAME
