#pragma once
// Sends each game-wide operation to the other machines: the call's arguments go into the packet
// this interface owns for the operation, which the connection manager writes out at once.
#include "Game/core/net/GameEngineNetworkInterface.h"

namespace GAME {

class NetPacket;

class GameEngineOutboundInterface : public GameEngineNetworkInterface {
public:
    GameEngineOutboundInterface() = default;
    ~GameEngineOutboundInterface() override = default;
    GameEngineOutboundInterface(const GameEngineOutboundInterface&) = default;
    GameEngineOutboundInterface& operator=(const GameEngineOutboundInterface&) = default;

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

private:
    static void Send(NetPacket& packet);
    // Sends a message to the machine of its receiver (a player id: host in the top four bits);
    // false when that is this machine.
    static bool SendToReceiver(std::uint32_t receiver, NetPacket& packet);
};

}  // namespace GAME
