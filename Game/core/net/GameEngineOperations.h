#pragma once
// The operations of the game-wide network interfaces, declared once. From this table come the
// interface's pure virtuals, the overrides of the outbound and inbound interfaces, the outbound
// senders, the packets an interface owns, the receive dispatch and the kinds it handles.
//
//   X(Operation, PacketKind, packet member, Route, (type, name, packet field)...)
//
// A parameter written (type, name) without a field is not sent: the receiver passes the type's
// default value (0, null). A type holding a comma needs an alias first.
//
// Routes: Plain goes to the other side (a client's to the server, a server's to every client).
// ToServer is a request for the server: a client's goes there, a server's own runs at once on
// the server and reaches no client. FromServer goes to every client, and on the server runs here
// too, for the server's own player (the player lists, bonuses and balance level that a server
// sends are run here by their senders); a client's goes to the server, which refuses it or (the
// portals) carries it out and sends it on as its own. Message goes to the machine of the packet's
// `receiver` (the server's own player reads it at once); a server passes a client's message on to
// that machine. Invitation is Plain, and a server notes its own invitations and passes a client's
// accepted one to the invitee's machine. PartyChange is Plain, and a server passes a client's
// accepted change to every other client. Trade goes to the machine of the packet's `receiver`
// as a Message does, and a server first vets and records it in its `TradeBook` (its own steps
// too); a step it refuses goes nowhere.
#include <cstdint>

namespace GAME {

enum class OperationRoute { Plain, ToServer, FromServer, Message, Invitation, PartyChange, Trade };

// Whether a received packet of the route just runs on the receiving machine.
constexpr bool RunsOnArrival(OperationRoute route) {
    return route == OperationRoute::Plain || route == OperationRoute::ToServer ||
           route == OperationRoute::FromServer;
}

}  // namespace GAME

// clang-format off
#define GAME_NETWORK_OPERATIONS(X)                                                              \
    X(TradeInitiate, TradeInitiatePacket, tradeInitiate, Trade,                                 \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver))                     \
    X(TradeCancel, TradeCancelPacket, tradeCancel, Trade,                                       \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver))                     \
    X(TradeFinalize, TradeFinalizePacket, tradeFinalize, Trade,                                 \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver))                     \
    X(TradeAddItem, TradeAddItemPacket, tradeAddItem, Trade,                                    \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver),                     \
      (const Vec2&, slot, slot), (const ItemReplicaInfo&, item, item))                          \
    X(TradeRemoveItem, TradeRemoveItemPacket, tradeRemoveItem, Trade,                           \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver),                     \
      (std::uint32_t, item, itemId))                                                            \
    X(TradeSetGoldAmount, TradeSetGoldPacket, tradeSetGold, Trade,                              \
      (std::uint32_t, sender, sender), (std::uint32_t, receiver, receiver),                     \
      (unsigned int, amount, goldAmount))                                                       \
    X(GiveGoldToPlayer, GiveGoldPacket, giveGold, Plain,                                        \
      (std::uint32_t, player, playerId), (int, amount, amount))                                 \
    X(CreateItem, CreateItemPacket, createItem, FromServer,                                     \
      (std::uint32_t, character, characterId), (const WorldCoords&, where, placement),          \
      (const ItemReplicaInfo&, item, item), (std::wstring*, nameOut))                           \
    X(CreateEntity, CreateEntityPacket, createEntity, Plain,                                    \
      (const WorldCoords&, where, placement), (const std::string&, record, recordName),         \
      (std::uint32_t, objectId, objectId))                                                      \
    X(CreateFixedItemTeleport, CreateItemTeleportPacket, createItemTeleport, FromServer,        \
      (const WorldCoords&, where, placement), (std::uint32_t, owner, owner),                    \
      (std::uint32_t, portal, objectId), (const std::string&, sectorTag, sectorTag),            \
      (std::uint32_t, target))                                                                  \
    X(DestroyFixedItemTeleport, DestroyItemTeleportPacket, destroyItemTeleport, FromServer,     \
      (std::uint32_t, portal, objectId))                                                        \
    X(StoC_AllPlayersHeartbeat, AllPlayersHeartbeatPacket, allPlayersHeartbeat, Plain,          \
      (const std::vector<PlayerNetHeartbeatInfo>&, heartbeats, infos))                          \
    X(CtoS_SinglePlayerHeartbeat, SinglePlayerHeartbeatPacket, singlePlayerHeartbeat, ToServer, \
      (const PlayerNetHeartbeatInfo&, heartbeat, info))                                         \
    X(StoC_AllPlayersUpdate, AllPlayersBasicInfoPacket, allPlayersBasicInfo, Plain,             \
      (const std::vector<PlayerNetBasicInfo>&, players, infos))                                 \
    X(CtoS_AddNewPlayer, SinglePlayerBasicInfoPacket, singlePlayerBasicInfo, ToServer,          \
      (const PlayerNetBasicInfo&, player, info))                                                \
    X(HandleBonusToClient, BonusToClientPacket, bonusToClient, Plain,                           \
      (const Bonus&, bonus, bonus), (const std::uint32_t&, player))                             \
    X(HandleBonusToServer, BonusToServerPacket, bonusToServer, ToServer,                        \
      (const Bonus&, bonus, bonus), (const WorldVec3&, where, where),                           \
      (const std::uint32_t&, activePlayer, activePlayer))                                       \
    X(HandleQuestMessagePacket, QuestMessagePacket, questMessage, Plain,                        \
      (std::uint32_t, sender, sender), (bool, conditionSet, conditionSet),                      \
      (const std::vector<unsigned int>&, words, words), (std::uint32_t, receiver, receiver))    \
    X(AddPlayerToParty, JoinPartyConfigCmdPacket, joinPartyConfigCmd, PartyChange,              \
      (std::uint32_t, player, playerId), (int, party, party))                                   \
    X(InvitePlayerToParty, InvitePartyConfigCmdPacket, invitePartyConfigCmd, Invitation,        \
      (std::uint32_t, player, playerId), (int, party, party))                                   \
    X(GameBalanceUpdate, GameBalanceUpdatePacket, gameBalanceUpdate, Plain,                     \
      (int, level, gameBalanceLevel))                                                           \
    X(S2C_MarketUpdate, MarketS2CUpdatePacket, marketS2CUpdate, FromServer,                     \
      (std::uint32_t, market, marketId), (const std::string&, marketName, marketName),          \
      (unsigned int, level, level), (unsigned int, seed, seed),                                 \
      (const std::vector<unsigned int>&, soldIndices, soldIndices))                             \
    X(S2C_MarketPurchaseConfirmation, MarketS2CPurchaseConfirmationPacket,                      \
      marketS2CPurchaseConfirmation, FromServer,                                                \
      (std::uint32_t, market, marketId), (unsigned int, itemIndex, itemIndex),                  \
      (std::uint32_t, buyer, buyerId))                                                          \
    X(S2C_MarketPurchaseDenied, MarketS2CPurchaseDeniedPacket, marketS2CPurchaseDenied,         \
      FromServer,                                                                               \
      (std::uint32_t, market, marketId), (unsigned int, itemIndex, itemIndex),                  \
      (std::uint32_t, buyer, buyerId), (MarketItemStatus, status, status))                      \
    X(S2C_MarketItemStatusUpdate, MarketS2CStatusUpdatePacket, marketS2CStatusUpdate,           \
      FromServer,                                                                               \
      (std::uint32_t, market, marketId), (unsigned int, itemIndex, itemIndex),                  \
      (MarketItemStatus, status, status))                                                       \
    X(C2S_MarketPurchaseRequest, MarketC2SPurchaseRequestPacket, marketC2SPurchaseRequest,      \
      ToServer,                                                                                 \
      (std::uint32_t, market, marketId), (unsigned int, level, level),                          \
      (unsigned int, seed, seed), (unsigned int, itemIndex, itemIndex),                         \
      (std::uint32_t, buyer, buyerId))                                                          \
    X(C2S_MarketSellBack, MarketC2SSellBackPacket, marketC2SSellBack, ToServer,                 \
      (std::uint32_t, market, marketId), (unsigned int, level, level),                          \
      (unsigned int, seed, seed), (unsigned int, itemIndex, itemIndex),                         \
      (std::uint32_t, buyer, buyerId))                                                          \
    X(C2S_MarketUpdateRequest, MarketC2SUpdateRequestPacket, marketC2SUpdateRequest, ToServer,  \
      (std::uint32_t, market, marketId))                                                        \
    X(DisplayMessageRemote, RemoteMessagePacket, remoteMessage, Message,                        \
      (std::uint32_t, receiver, receiver), (std::uint32_t, insertPlayer, optionalInsert),       \
      (bool, asBubble, asBubble), (const std::string&, tag, textTag))                           \
    X(DisplayWMessageRemote, RemoteWMessagePacket, remoteWMessage, Message,                     \
      (std::uint32_t, receiver, receiver), (bool, asBubble, asBubble),                          \
      (const std::wstring&, text, text))                                                        \
    X(HandleChatMessage, ChatPacket, chat, Plain,                                               \
      (const std::wstring&, from, from), (const std::wstring&, text, text),                     \
      (unsigned char, channel, channel), (std::vector<unsigned int>, recipients, recipients))   \
    X(QuestCommandMove, QuestCommandMovePacket, questCommandMove, Plain,                        \
      (std::uint32_t, character, characterId), (std::uint32_t, target, targetId),               \
      (WorldVec3, position, targetPosition), (bool, allowInterruptions, allowInterruptions))    \
    X(QuestCommandWalk, QuestCommandWalkPacket, questCommandWalk, Plain,                        \
      (std::uint32_t, character, characterId), (std::uint32_t, target, targetId),               \
      (WorldVec3, position, targetPosition), (bool, allowInterruptions, allowInterruptions))    \
    X(QuestCommandPlayAnimation, QuestCommandPlayAnimationPacket, questCommandPlayAnimation,    \
      Plain,                                                                                    \
      (std::uint32_t, character, characterId), (unsigned int, animation, animation),            \
      (bool, looping, looping), (bool, allowInterruptions, allowInterruptions))                 \
    X(QuestCommandUseSkill, QuestCommandUseSkillPacket, questCommandUseSkill, Plain,            \
      (std::uint32_t, character, characterId), (std::string&, skill, skillName),                \
      (std::uint32_t, target, targetId), (bool, allowInterruptions, allowInterruptions))        \
    X(QuestCommandLockFixedItem, QuestCommandLockFixedItemPacket, questCommandLockFixedItem,    \
      Plain,                                                                                    \
      (std::uint32_t, fixedItem, objectId), (bool, locked, locked))                         \
    X(HandleNRLoaderStateChange, NRLoaderStatePacket, nrLoaderState, Plain,                     \
      (std::uint32_t, player, playerId), (int, state, state))                                   \
    X(CtoS_StartServerRespawn, StartServerRespawnPacket, startServerRespawn, ToServer,          \
      (std::uint32_t, player, playerId), (const WorldVec3&, where, location))                   \
    X(StartTeleport, StartTeleportPacket, startTeleport, Plain,                                 \
      (std::uint32_t, player, playerId), (float, x, x), (float, y, y), (float, z, z))
// clang-format on

// Expanding a row's parameters: each (type, name[, field]) through a macro, joined by commas
// (LIST) or by nothing (EACH). The rescans allow 16 parameters; a row with more fails
// to compile rather than losing any.
#define GAME_NETOP_PARENS ()
#define GAME_NETOP_EXPAND(...) GAME_NETOP_EXPAND3(GAME_NETOP_EXPAND3(__VA_ARGS__))
#define GAME_NETOP_EXPAND3(...) GAME_NETOP_EXPAND2(GAME_NETOP_EXPAND2(__VA_ARGS__))
#define GAME_NETOP_EXPAND2(...) GAME_NETOP_EXPAND1(GAME_NETOP_EXPAND1(__VA_ARGS__))
#define GAME_NETOP_EXPAND1(...) __VA_ARGS__

#define GAME_NETOP_LIST(macro, ...) \
    __VA_OPT__(GAME_NETOP_EXPAND(GAME_NETOP_LIST_STEP(macro, __VA_ARGS__)))
#define GAME_NETOP_LIST_STEP(macro, first, ...) \
    macro first __VA_OPT__(, GAME_NETOP_LIST_AGAIN GAME_NETOP_PARENS(macro, __VA_ARGS__))
#define GAME_NETOP_LIST_AGAIN() GAME_NETOP_LIST_STEP

#define GAME_NETOP_EACH(macro, ...) \
    __VA_OPT__(GAME_NETOP_EXPAND(GAME_NETOP_EACH_STEP(macro, __VA_ARGS__)))
#define GAME_NETOP_EACH_STEP(macro, first, ...) \
    macro first __VA_OPT__(GAME_NETOP_EACH_AGAIN GAME_NETOP_PARENS(macro, __VA_ARGS__))
#define GAME_NETOP_EACH_AGAIN() GAME_NETOP_EACH_STEP

#define GAME_NETOP_PARAMETER(type, name, ...) type name
#define GAME_NETOP_ARGUMENT(type, name, ...) name

// `virtual void Operation(parameters) = 0;` and `void Operation(parameters) override;`.
#define GAME_NETOP_DECLARE_PURE(Operation, Kind, member, Route, ...) \
    virtual void Operation(GAME_NETOP_LIST(GAME_NETOP_PARAMETER, __VA_ARGS__)) = 0;
#define GAME_NETOP_DECLARE_OVERRIDE(Operation, Kind, member, Route, ...) \
    void Operation(GAME_NETOP_LIST(GAME_NETOP_PARAMETER, __VA_ARGS__)) override;
