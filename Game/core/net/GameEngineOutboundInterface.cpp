#include "Game/core/net/GameEngineOutboundInterface.h"

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"

namespace GAME {

void GameEngineOutboundInterface::Send(NetPacket& packet) {
    if (NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager())
        connections->SendPacket(&packet);
}

bool GameEngineOutboundInterface::SendToReceiver(std::uint32_t receiver, NetPacket& packet) {
    NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager();
    if (!connections)
        return true;
    // A client's message goes by way of the server, which passes it on.
    if (!gEngine->IsServer()) {
        connections->SendPacket(&packet);
        return true;
    }
    // No receiver (id 0 names no object): every client gets it, as any other request.
    if (receiver == 0) {
        connections->SendPacket(&packet);
        return true;
    }
    const int host = static_cast<int>(receiver >> 28);
    if (host == connections->GetLocalHostId())
        return false;
    connections->SendToHost(host, &packet);
    return true;
}

void GameEngineOutboundInterface::TradeInitiate(std::uint32_t sender, std::uint32_t receiver) {
    auto& packet = packets->tradeInitiate;
    packet.sender = sender;
    packet.receiver = receiver;
    Send(packet);
}

void GameEngineOutboundInterface::TradeCancel(std::uint32_t sender, std::uint32_t receiver) {
    auto& packet = packets->tradeCancel;
    packet.sender = sender;
    packet.receiver = receiver;
    Send(packet);
}

void GameEngineOutboundInterface::TradeFinalize(std::uint32_t sender, std::uint32_t receiver) {
    auto& packet = packets->tradeFinalize;
    packet.sender = sender;
    packet.receiver = receiver;
    Send(packet);
}

void GameEngineOutboundInterface::TradeAddItem(std::uint32_t sender, std::uint32_t receiver,
                                               const Vec2& slot, const ItemReplicaInfo& item) {
    auto& packet = packets->tradeAddItem;
    packet.item = item;
    packet.slot = slot;
    packet.sender = sender;
    packet.receiver = receiver;
    Send(packet);
}

void GameEngineOutboundInterface::TradeRemoveItem(std::uint32_t sender, std::uint32_t receiver,
                                                  std::uint32_t item) {
    auto& packet = packets->tradeRemoveItem;
    packet.itemId = item;
    packet.sender = sender;
    packet.receiver = receiver;
    Send(packet);
}

void GameEngineOutboundInterface::TradeSetGoldAmount(std::uint32_t sender, std::uint32_t receiver,
                                                     unsigned int amount) {
    auto& packet = packets->tradeSetGold;
    packet.sender = sender;
    packet.receiver = receiver;
    packet.goldAmount = amount;
    Send(packet);
}

void GameEngineOutboundInterface::CreateItem(std::uint32_t character, const WorldCoords& where,
                                             const ItemReplicaInfo& item, std::wstring*) {
    auto& packet = packets->createItem;
    packet.characterId = character;
    packet.placement = where;
    packet.item = item;
    Send(packet);
}

void GameEngineOutboundInterface::CreateEntity(const WorldCoords& where, const std::string& record,
                                               std::uint32_t objectId) {
    auto& packet = packets->createEntity;
    packet.objectId = objectId;
    packet.placement = where;
    packet.recordName = record;
    Send(packet);
}

void GameEngineOutboundInterface::CreateFixedItemTeleport(const WorldCoords& where,
                                                          std::uint32_t owner, std::uint32_t portal,
                                                          const std::string& sectorTag,
                                                          std::uint32_t) {
    auto& packet = packets->createItemTeleport;
    packet.objectId = portal;
    packet.placement = where;
    packet.owner = owner;
    packet.sectorTag = sectorTag;
    Send(packet);
}

void GameEngineOutboundInterface::DestroyFixedItemTeleport(std::uint32_t portal) {
    auto& packet = packets->destroyItemTeleport;
    packet.objectId = portal;
    Send(packet);
}

void GameEngineOutboundInterface::HandleQuestMessagePacket(std::uint32_t sender, bool conditionSet,
                                                           const std::vector<unsigned int>& words,
                                                           std::uint32_t receiver) {
    auto& packet = packets->questMessage;
    packet.sender = sender;
    packet.receiver = receiver;
    packet.words = words;
    packet.conditionSet = conditionSet;
    Send(packet);
}

void GameEngineOutboundInterface::GameBalanceUpdate(int level) {
    auto& packet = packets->gameBalanceUpdate;
    packet.gameBalanceLevel = level;
    Send(packet);
}

void GameEngineOutboundInterface::S2C_MarketUpdate(std::uint32_t market,
                                                   const std::string& marketName,
                                                   unsigned int level, unsigned int seed,
                                                   const std::vector<unsigned int>& soldIndices) {
    auto& packet = packets->marketS2CUpdate;
    packet.marketId = market;
    packet.marketName = marketName;
    packet.level = level;
    packet.seed = seed;
    packet.soldIndices = soldIndices;
    Send(packet);
}

void GameEngineOutboundInterface::S2C_MarketPurchaseConfirmation(std::uint32_t market,
                                                                 unsigned int itemIndex,
                                                                 std::uint32_t buyer) {
    auto& packet = packets->marketS2CPurchaseConfirmation;
    packet.marketId = market;
    packet.itemIndex = itemIndex;
    packet.buyerId = buyer;
    Send(packet);
}

void GameEngineOutboundInterface::S2C_MarketPurchaseDenied(std::uint32_t market,
                                                           unsigned int itemIndex,
                                                           std::uint32_t buyer,
                                                           MarketItemStatus status) {
    auto& packet = packets->marketS2CPurchaseDenied;
    packet.marketId = market;
    packet.itemIndex = itemIndex;
    packet.buyerId = buyer;
    packet.status = status;
    Send(packet);
}

void GameEngineOutboundInterface::S2C_MarketItemStatusUpdate(std::uint32_t market,
                                                             unsigned int itemIndex,
                                                             MarketItemStatus status) {
    auto& packet = packets->marketS2CStatusUpdate;
    packet.marketId = market;
    packet.itemIndex = itemIndex;
    packet.status = status;
    Send(packet);
}

void GameEngineOutboundInterface::C2S_MarketPurchaseRequest(std::uint32_t market,
                                                            unsigned int level, unsigned int seed,
                                                            unsigned int itemIndex,
                                                            std::uint32_t buyer) {
    auto& packet = packets->marketC2SPurchaseRequest;
    packet.marketId = market;
    packet.level = level;
    packet.seed = seed;
    packet.itemIndex = itemIndex;
    packet.buyerId = buyer;
    Send(packet);
}

void GameEngineOutboundInterface::C2S_MarketSellBack(std::uint32_t market, unsigned int level,
                                                     unsigned int seed, unsigned int itemIndex,
                                                     std::uint32_t buyer) {
    auto& packet = packets->marketC2SSellBack;
    packet.marketId = market;
    packet.level = level;
    packet.seed = seed;
    packet.itemIndex = itemIndex;
    packet.buyerId = buyer;
    Send(packet);
}

void GameEngineOutboundInterface::C2S_MarketUpdateRequest(std::uint32_t market) {
    auto& packet = packets->marketC2SUpdateRequest;
    packet.marketId = market;
    Send(packet);
}

void GameEngineOutboundInterface::DisplayMessageRemote(std::uint32_t receiver,
                                                       std::uint32_t insertPlayer, bool asBubble,
                                                       const std::string& tag) {
    auto& packet = packets->remoteMessage;
    packet.receiver = receiver;
    packet.optionalInsert = insertPlayer;
    packet.asBubble = asBubble;
    packet.textTag = tag;
    // A message is for the receiver's machine only; the server's own player reads it here.
    if (!SendToReceiver(receiver, packet))
        if (GameEngineInboundInterface* local =
                gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr)
            local->DisplayMessageRemote(receiver, insertPlayer, asBubble, tag);
}

void GameEngineOutboundInterface::DisplayWMessageRemote(std::uint32_t receiver, bool asBubble,
                                                        const std::wstring& text) {
    auto& packet = packets->remoteWMessage;
    packet.receiver = receiver;
    packet.asBubble = asBubble;
    packet.text = text;
    if (!SendToReceiver(receiver, packet))
        if (GameEngineInboundInterface* local =
                gGameEngine ? gGameEngine->GetInboundNetworkInterface() : nullptr)
            local->DisplayWMessageRemote(receiver, asBubble, text);
}

void GameEngineOutboundInterface::HandleChatMessage(const std::wstring& from,
                                                    const std::wstring& text, unsigned char channel,
                                                    std::vector<unsigned int> recipients) {
    auto& packet = packets->chat;
    packet.from = from;
    packet.text = text;
    packet.channel = channel;
    packet.recipients.assign(recipients.begin(), recipients.end());
    Send(packet);
}

void GameEngineOutboundInterface::QuestCommandMove(std::uint32_t character, std::uint32_t target,
                                                   WorldVec3 position, bool allowInterruptions) {
    auto& packet = packets->questCommandMove;
    packet.characterId = character;
    packet.targetId = target;
    packet.targetPosition = position;
    packet.allowInterruptions = allowInterruptions;
    Send(packet);
}

void GameEngineOutboundInterface::QuestCommandWalk(std::uint32_t character, std::uint32_t target,
                                                   WorldVec3 position, bool allowInterruptions) {
    auto& packet = packets->questCommandWalk;
    packet.characterId = character;
    packet.targetId = target;
    packet.targetPosition = position;
    packet.allowInterruptions = allowInterruptions;
    Send(packet);
}

void GameEngineOutboundInterface::QuestCommandPlayAnimation(std::uint32_t character,
                                                            unsigned int animation, bool looping,
                                                            bool allowInterruptions) {
    auto& packet = packets->questCommandPlayAnimation;
    packet.characterId = character;
    packet.animation = animation;
    packet.looping = looping;
    packet.allowInterruptions = allowInterruptions;
    Send(packet);
}

void GameEngineOutboundInterface::QuestCommandUseSkill(std::uint32_t character, std::string& skill,
                                                       std::uint32_t target,
                                                       bool allowInterruptions) {
    auto& packet = packets->questCommandUseSkill;
    packet.characterId = character;
    packet.targetId = target;
    packet.skillName = skill;
    packet.allowInterruptions = allowInterruptions;
    Send(packet);
}

void GameEngineOutboundInterface::QuestCommandLockFixedItem(std::uint32_t fixedItem, bool locked) {
    auto& packet = packets->questCommandLockFixedItem;
    packet.objectId = fixedItem;
    packet.locked = locked;
    Send(packet);
}

}  // namespace GAME
