#pragma once
// Every game-wide operation that must reach the other machines, as one call. The outbound
// implementation fills the packet it owns for the operation and sends it; the inbound one carries
// the operation out on this machine. Both own one packet of each of the 36 kinds.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

struct WorldVec3;
struct WorldCoords;
struct PlayerNetHeartbeatInfo;
struct PlayerNetBasicInfo;
class Bonus;
struct NetworkInterfacePackets;

using MarketItemStatus = int;

class GameEngineNetworkInterface {
public:
    GameEngineNetworkInterface();
    virtual ~GameEngineNetworkInterface();
    GameEngineNetworkInterface(const GameEngineNetworkInterface& other);
    GameEngineNetworkInterface& operator=(const GameEngineNetworkInterface& other);

    virtual void TradeInitiate(std::uint32_t sender, std::uint32_t receiver) = 0;
    virtual void TradeCancel(std::uint32_t sender, std::uint32_t receiver) = 0;
    virtual void TradeFinalize(std::uint32_t sender, std::uint32_t receiver) = 0;
    virtual void TradeAddItem(std::uint32_t sender, std::uint32_t receiver, const Vec2& slot,
                              const ItemReplicaInfo& item) = 0;
    virtual void TradeRemoveItem(std::uint32_t sender, std::uint32_t receiver,
                                 std::uint32_t item) = 0;
    virtual void TradeSetGoldAmount(std::uint32_t sender, std::uint32_t receiver,
                                    unsigned int amount) = 0;
    virtual void GiveGoldToPlayer(std::uint32_t player, int amount) = 0;
    virtual void CreateItem(std::uint32_t character, const WorldCoords& where,
                            const ItemReplicaInfo& item, std::wstring* nameOut) = 0;
    virtual void CreateEntity(const WorldCoords& where, const std::string& record,
                              std::uint32_t objectId) = 0;
    virtual void CreateFixedItemTeleport(const WorldCoords& where, std::uint32_t owner,
                                         std::uint32_t portal, const std::string& sectorTag,
                                         std::uint32_t target) = 0;
    virtual void DestroyFixedItemTeleport(std::uint32_t portal) = 0;
    virtual void StoC_AllPlayersHeartbeat(
        const std::vector<PlayerNetHeartbeatInfo>& heartbeats) = 0;
    virtual void CtoS_SinglePlayerHeartbeat(const PlayerNetHeartbeatInfo& heartbeat) = 0;
    virtual void StoC_AllPlayersUpdate(const std::vector<PlayerNetBasicInfo>& players) = 0;
    virtual void CtoS_AddNewPlayer(const PlayerNetBasicInfo& player) = 0;
    virtual void HandleBonusToClient(const Bonus& bonus, const std::uint32_t& player) = 0;
    virtual void HandleBonusToServer(const Bonus& bonus, const WorldVec3& where,
                                     const std::uint32_t& activePlayer) = 0;
    virtual void HandleQuestMessagePacket(std::uint32_t sender, bool conditionSet,
                                          const std::vector<unsigned int>& words,
                                          std::uint32_t receiver) = 0;
    virtual void AddPlayerToParty(std::uint32_t player, int party) = 0;
    virtual void InvitePlayerToParty(std::uint32_t player, int party) = 0;
    virtual void GameBalanceUpdate(int level) = 0;
    virtual void S2C_MarketUpdate(std::uint32_t market, const std::string& marketName,
                                  unsigned int level, unsigned int seed,
                                  const std::vector<unsigned int>& soldIndices) = 0;
    virtual void S2C_MarketPurchaseConfirmation(std::uint32_t market, unsigned int itemIndex,
                                                std::uint32_t buyer) = 0;
    virtual void S2C_MarketPurchaseDenied(std::uint32_t market, unsigned int itemIndex,
                                          std::uint32_t buyer, MarketItemStatus status) = 0;
    virtual void S2C_MarketItemStatusUpdate(std::uint32_t market, unsigned int itemIndex,
                                            MarketItemStatus status) = 0;
    virtual void C2S_MarketPurchaseRequest(std::uint32_t market, unsigned int level,
                                           unsigned int seed, unsigned int itemIndex,
                                           std::uint32_t buyer) = 0;
    virtual void C2S_MarketSellBack(std::uint32_t market, unsigned int level, unsigned int seed,
                                    unsigned int itemIndex, std::uint32_t buyer) = 0;
    virtual void C2S_MarketUpdateRequest(std::uint32_t market) = 0;
    virtual void DisplayMessageRemote(std::uint32_t receiver, std::uint32_t insertPlayer,
                                      bool asBubble, const std::string& tag) = 0;
    virtual void DisplayWMessageRemote(std::uint32_t receiver, bool asBubble,
                                       const std::wstring& text) = 0;
    virtual void HandleChatMessage(const std::wstring& from, const std::wstring& text,
                                   unsigned char channel, std::vector<unsigned int> recipients) = 0;
    virtual void QuestCommandMove(std::uint32_t character, std::uint32_t target, WorldVec3 position,
                                  bool allowInterruptions) = 0;
    virtual void QuestCommandWalk(std::uint32_t character, std::uint32_t target, WorldVec3 position,
                                  bool allowInterruptions) = 0;
    virtual void QuestCommandPlayAnimation(std::uint32_t character, unsigned int animation,
                                           bool looping, bool allowInterruptions) = 0;
    virtual void QuestCommandUseSkill(std::uint32_t character, std::string& skill,
                                      std::uint32_t target, bool allowInterruptions) = 0;
    virtual void QuestCommandLockFixedItem(std::uint32_t fixedItem, bool locked) = 0;

    // The packets this interface owns (one per kind, reused by every call).
    NetworkInterfacePackets& GetPackets() { return *packets; }
    const NetworkInterfacePackets& GetPackets() const { return *packets; }

protected:
    std::unique_ptr<NetworkInterfacePackets> packets;
};

}  // namespace GAME
