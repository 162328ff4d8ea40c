#pragma once
// Carries each game-wide operation out on this machine: a packet received from another machine
// comes here (ReceivePacket), and in single player every call does. Requests that would let a
// client act for another player are refused on a server; the party requests of the game's own
// flows (joining on an invitation, the inviter taking the lead, the leader's kick) are let
// through and passed on to the clients they concern.
#include "Game/core/net/GameEngineNetworkInterface.h"

namespace GAME {

class NetPacket;

class GameEngineInboundInterface : public GameEngineNetworkInterface {
public:
    GameEngineInboundInterface() = default;
    ~GameEngineInboundInterface() override = default;
    GameEngineInboundInterface(const GameEngineInboundInterface&) = default;
    GameEngineInboundInterface& operator=(const GameEngineInboundInterface&) = default;

    void TradeInitiate(std::uint32_t sender, std::uint32_t receiver) override;
    void TradeCancel(std::uint32_t sender, std::uint32_t receiver) override;
    void TradeFinalize(std::uint32_t sender, std::uint32_t receiver) override;
    void TradeAddItem(std::uint32_t sender, std::uint32_t receiver, const Vec2& slot,
                      const ItemReplicaInfo& item) override;
    void TradeRemoveItem(std::uint32_t sender, std::uint32_t receiver, std::uint32_t item) override;
    void TradeSetGoldAmount(std::uint32_t sender, std::uint32_t receiver,
                            unsigned int amount) override;
    void GiveGoldToPlayer(std::uint32_t player, int amount) override;
    void CreateItem(std::uint32_t character, const WorldCoords& where, const ItemReplicaInfo& item,
                    std::wstring* nameOut) override;
    void CreateEntity(const WorldCoords& where, const std::string& record,
                      std::uint32_t objectId) override;
    void CreateFixedItemTeleport(const WorldCoords& where, std::uint32_t owner,
                                 std::uint32_t portal, const std::string& sectorTag,
                                 std::uint32_t target) override;
    void DestroyFixedItemTeleport(std::uint32_t portal) override;
    void StoC_AllPlayersHeartbeat(const std::vector<PlayerNetHeartbeatInfo>& heartbeats) override;
    void CtoS_SinglePlayerHeartbeat(const PlayerNetHeartbeatInfo& heartbeat) override;
    void StoC_AllPlayersUpdate(const std::vector<PlayerNetBasicInfo>& players) override;
    void CtoS_AddNewPlayer(const PlayerNetBasicInfo& player) override;
    void HandleBonusToClient(const Bonus& bonus, const std::uint32_t& player) override;
    void HandleBonusToServer(const Bonus& bonus, const WorldVec3& where,
                             const std::uint32_t& activePlayer) override;
    void HandleQuestMessagePacket(std::uint32_t sender, bool conditionSet,
                                  const std::vector<unsigned int>& words,
                                  std::uint32_t receiver) override;
    void AddPlayerToParty(std::uint32_t player, int party) override;
    void InvitePlayerToParty(std::uint32_t player, int party) override;
    void GameBalanceUpdate(int level) override;
    void S2C_MarketUpdate(std::uint32_t market, const std::string& marketName, unsigned int level,
                          unsigned int seed, const std::vector<unsigned int>& soldIndices) override;
    void S2C_MarketPurchaseConfirmation(std::uint32_t market, unsigned int itemIndex,
                                        std::uint32_t buyer) override;
    void S2C_MarketPurchaseDenied(std::uint32_t market, unsigned int itemIndex, std::uint32_t buyer,
                                  MarketItemStatus status) override;
    void S2C_MarketItemStatusUpdate(std::uint32_t market, unsigned int itemIndex,
                                    MarketItemStatus status) override;
    void C2S_MarketPurchaseRequest(std::uint32_t market, unsigned int level, unsigned int seed,
                                   unsigned int itemIndex, std::uint32_t buyer) override;
    void C2S_MarketSellBack(std::uint32_t market, unsigned int level, unsigned int seed,
                            unsigned int itemIndex, std::uint32_t buyer) override;
    void C2S_MarketUpdateRequest(std::uint32_t market) override;
    void DisplayMessageRemote(std::uint32_t receiver, std::uint32_t insertPlayer, bool asBubble,
                              const std::string& tag) override;
    void DisplayWMessageRemote(std::uint32_t receiver, bool asBubble,
                               const std::wstring& text) override;
    void HandleChatMessage(const std::wstring& from, const std::wstring& text,
                           unsigned char channel, std::vector<unsigned int> recipients) override;
    void QuestCommandMove(std::uint32_t character, std::uint32_t target, WorldVec3 position,
                          bool allowInterruptions) override;
    void QuestCommandWalk(std::uint32_t character, std::uint32_t target, WorldVec3 position,
                          bool allowInterruptions) override;
    void QuestCommandPlayAnimation(std::uint32_t character, unsigned int animation, bool looping,
                                   bool allowInterruptions) override;
    void QuestCommandUseSkill(std::uint32_t character, std::string& skill, std::uint32_t target,
                              bool allowInterruptions) override;
    void QuestCommandLockFixedItem(std::uint32_t fixedItem, bool locked) override;

    // The machine a received packet came from while its operation runs (-1: this machine).
    void SetSourceHost(int host) { sourceHost = host; }
    int GetSourceHost() const { return sourceHost; }

    // The receive path: runs a decoded packet on this machine's root; false when the packet
    // is not one of the interface's kinds or no root exists.
    static bool ReceivePacket(NetPacket& packet);
    // Installs ReceivePacket as this machine's handler of every kind the interface carries.
    static void InstallPacketHandlers();

private:
    // A server's request that came from one of its clients.
    bool FromRemoteClient() const;
    // Whether the player id belongs to the machine the request came from.
    bool SourceOwnsPlayer(std::uint32_t player) const;
    bool Refuse(const char* operation) const;
    // Whether the request's source may move that player to that party (always, unless it is a
    // server's request from a client).
    bool MayChangeParty(std::uint32_t player, int party) const;
    // Whether the request's source may invite for that party (the inviter's id).
    bool MayInvite(int party) const;
    // On a server: passes a client's message on to its receiver's machine (true), unless the
    // receiver is this machine's.
    static bool PassOnToReceiver(const GameEngineInboundInterface& in, std::uint32_t receiver,
                                 NetPacket& packet);

    int sourceHost = -1;
};

}  // namespace GAME
