#pragma once
// The packets a network interface owns, one per kind, built once and reused by every call; they
// are built in this order and destroyed in the reverse order.
#include "Engine/net/ChatPacket.h"
#include "Game/core/net/GameBalancePackets.h"
#include "Game/core/net/ItemPackets.h"
#include "Game/core/net/WorldPackets.h"
#include "Game/core/players/GoldPartyBonusPackets.h"
#include "Game/core/players/PlayerPackets.h"

namespace GAME {

struct NetworkInterfacePackets {
    CreateItemPacket createItem;
    CreateEntityPacket createEntity;
    CreateItemTeleportPacket createItemTeleport;
    DestroyItemTeleportPacket destroyItemTeleport;
    QuestMessagePacket questMessage;
    AllPlayersHeartbeatPacket allPlayersHeartbeat;
    SinglePlayerHeartbeatPacket singlePlayerHeartbeat;
    SinglePlayerBasicInfoPacket singlePlayerBasicInfo;
    AllPlayersBasicInfoPacket allPlayersBasicInfo;
    InvitePartyConfigCmdPacket invitePartyConfigCmd;
    BonusToClientPacket bonusToClient;
    BonusToServerPacket bonusToServer;
    JoinPartyConfigCmdPacket joinPartyConfigCmd;
    GameBalanceUpdatePacket gameBalanceUpdate;
    MarketS2CUpdatePacket marketS2CUpdate;
    MarketS2CStatusUpdatePacket marketS2CStatusUpdate;
    MarketS2CPurchaseConfirmationPacket marketS2CPurchaseConfirmation;
    MarketS2CPurchaseDeniedPacket marketS2CPurchaseDenied;
    MarketC2SUpdateRequestPacket marketC2SUpdateRequest;
    MarketC2SSellBackPacket marketC2SSellBack;
    MarketC2SPurchaseRequestPacket marketC2SPurchaseRequest;
    QuestCommandMovePacket questCommandMove;
    QuestCommandWalkPacket questCommandWalk;
    QuestCommandPlayAnimationPacket questCommandPlayAnimation;
    QuestCommandUseSkillPacket questCommandUseSkill;
    QuestCommandLockFixedItemPacket questCommandLockFixedItem;
    TradeInitiatePacket tradeInitiate;
    TradeFinalizePacket tradeFinalize;
    TradeCancelPacket tradeCancel;
    TradeAddItemPacket tradeAddItem;
    TradeRemoveItemPacket tradeRemoveItem;
    TradeSetGoldPacket tradeSetGold;
    GiveGoldPacket giveGold;
    RemoteMessagePacket remoteMessage;
    RemoteWMessagePacket remoteWMessage;
    ChatPacket chat;
};

}  // namespace GAME
