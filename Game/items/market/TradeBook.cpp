#include "Game/items/market/TradeBook.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/GameEngineNetworkInterfacePackets.h"
#include "Game/core/net/GameEngineOutboundInterface.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/items/market/TradeManager.h"

namespace GAME {

namespace {

// A grid place in the trade window; anything else is no place a window has.
constexpr float kMaxGridCell = 64.0f;

Player* FindPlayer(std::uint32_t id) {
    return id ? Singleton<ObjectManager>::Get().GetObject<Player>(id) : nullptr;
}

// Carried, and not worn: what a player can lay in the trade window.
bool Holds(const Player& player, std::uint32_t item) {
    return player.GetInventory().IsItemInInventory(item) && !player.GetEquipManager().HasItem(item);
}

const char* PartiesRefusal(std::uint32_t sender, std::uint32_t receiver, int host) {
    if (HostOfPlayer(sender) != host)
        return "the sender is not the machine's own player";
    if (sender == receiver)
        return "a trade with oneself";
    if (!FindPlayer(sender) || !FindPlayer(receiver))
        return "no such player in the game";
    return nullptr;
}

}  // namespace

const char* TradeBook::Vet(NetPacket& packet, int host) {
    switch (packet.GetType()) {
        case PacketType::TradeInitiatePacket: {
            auto& step = static_cast<TradeInitiatePacket&>(packet);
            const char* refusal = PartiesRefusal(step.sender, step.receiver, host);
            return refusal ? refusal : Initiate(step.sender, step.receiver);
        }
        case PacketType::TradeCancelPacket: {
            // A cancel needs no open trade: it also withdraws or refuses a question.
            auto& step = static_cast<TradeCancelPacket&>(packet);
            if (HostOfPlayer(step.sender) != host)
                return "the sender is not the machine's own player";
            Cancel(step.sender, step.receiver);
            return nullptr;
        }
        default:
            break;
    }
    // The offer steps: within an open trade only.
    std::uint32_t sender = 0, receiver = 0;
    switch (packet.GetType()) {
        case PacketType::TradeFinalizePacket:
            sender = static_cast<TradeFinalizePacket&>(packet).sender;
            receiver = static_cast<TradeFinalizePacket&>(packet).receiver;
            break;
        case PacketType::TradeSetGoldPacket:
            sender = static_cast<TradeSetGoldPacket&>(packet).sender;
            receiver = static_cast<TradeSetGoldPacket&>(packet).receiver;
            break;
        case PacketType::TradeAddItemPacket:
            sender = static_cast<TradeAddItemPacket&>(packet).sender;
            receiver = static_cast<TradeAddItemPacket&>(packet).receiver;
            break;
        case PacketType::TradeRemoveItemPacket:
            sender = static_cast<TradeRemoveItemPacket&>(packet).sender;
            receiver = static_cast<TradeRemoveItemPacket&>(packet).receiver;
            break;
        default:
            return "not a trade step";
    }
    if (const char* refusal = PartiesRefusal(sender, receiver, host))
        return refusal;
    Trade* trade = Find(sender, receiver);
    if (!trade)
        return "no open trade between the two";
    if (packet.GetType() == PacketType::TradeFinalizePacket)
        return Finalize(*trade, sender);

    Offer& offer = OfferOf(*trade, sender);
    const Player& player = *FindPlayer(sender);
    switch (packet.GetType()) {
        case PacketType::TradeSetGoldPacket: {
            const std::uint32_t amount = static_cast<TradeSetGoldPacket&>(packet).goldAmount;
            if (amount > player.GetMoney())
                return "more gold than the player has";
            offer.gold = amount;
            break;
        }
        case PacketType::TradeAddItemPacket: {
            auto& step = static_cast<TradeAddItemPacket&>(packet);
            const std::uint32_t id = step.item.objectId;
            const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(id);
            if (!item || !Holds(player, id))
                return "an item the player does not carry";
            if (offer.items.count(id))
                return "an item offered already";
            const Vec2& slot = step.slot;
            if (!IsFinite(slot.x) || !IsFinite(slot.y) || slot.x < 0.0f || slot.y < 0.0f ||
                slot.x > kMaxGridCell || slot.y > kMaxGridCell)
                return "a place outside the trade window";
            // The partner sees the item as the server has it, whatever the record said.
            item->GetItemReplicaInfo(step.item);
            offer.items.insert(id);
            break;
        }
        case PacketType::TradeRemoveItemPacket:
            if (offer.items.erase(static_cast<TradeRemoveItemPacket&>(packet).itemId) == 0)
                return "an item not in the offer";
            break;
        default:
            break;
    }
    // Any change of either offer takes back both acceptances.
    trade->firstOffer.accepted = false;
    trade->secondOffer.accepted = false;
    return nullptr;
}

const char* TradeBook::Initiate(std::uint32_t sender, std::uint32_t receiver) {
    if (Find(sender, receiver))
        return nullptr;
    const auto question = asked.find(receiver);
    if (question == asked.end() || question->second != sender) {
        // A new question; an earlier one of the asker is withdrawn.
        asked[sender] = receiver;
        return nullptr;
    }
    // The answer to the receiver's question (or both asked each other): the trade opens,
    // unless one of them trades already (that machine answers busy).
    asked.erase(question);
    if (asked.count(sender) && asked[sender] == receiver)
        asked.erase(sender);
    if (FindOf(sender) || FindOf(receiver))
        return nullptr;
    Trade trade;
    trade.first = std::min(sender, receiver);
    trade.second = std::max(sender, receiver);
    trades[{trade.first, trade.second}] = trade;
    return nullptr;
}

void TradeBook::Cancel(std::uint32_t sender, std::uint32_t receiver) {
    for (const auto& [asker, askee] : {std::pair{sender, receiver}, std::pair{receiver, sender}}) {
        const auto question = asked.find(asker);
        if (question != asked.end() && question->second == askee)
            asked.erase(question);
    }
    trades.erase({std::min(sender, receiver), std::max(sender, receiver)});
}

const char* TradeBook::Finalize(Trade& trade, std::uint32_t sender) {
    OfferOf(trade, sender).accepted = true;
    if (!trade.firstOffer.accepted || !trade.secondOffer.accepted)
        return nullptr;
    const char* missing = CheckOffer(trade.first, trade.firstOffer);
    if (!missing)
        missing = CheckOffer(trade.second, trade.secondOffer);
    if (missing) {
        gEngine->Log(1, "TradeBook: the trade between players %u and %u cannot complete: %s",
                     trade.first, trade.second, missing);
        TellCancelled(trade);
        Close(trade);
        return "the trade cannot complete";
    }
    MoveItems(trade.first, trade.firstOffer, trade.second);
    MoveItems(trade.second, trade.secondOffer, trade.first);
    const std::int64_t firstGain =
        static_cast<std::int64_t>(trade.secondOffer.gold) - trade.firstOffer.gold;
    ChangeGold(trade.first, firstGain);
    ChangeGold(trade.second, -firstGain);
    ++completed;
    Close(trade);
    return nullptr;
}

TradeBook::Trade* TradeBook::Find(std::uint32_t sender, std::uint32_t receiver) {
    const auto found = trades.find({std::min(sender, receiver), std::max(sender, receiver)});
    return found == trades.end() ? nullptr : &found->second;
}

const TradeBook::Trade* TradeBook::FindOf(std::uint32_t player) const {
    for (const auto& [key, trade] : trades)
        if (key.first == player || key.second == player)
            return &trade;
    return nullptr;
}

TradeBook::Offer& TradeBook::OfferOf(Trade& trade, std::uint32_t player) {
    return player == trade.first ? trade.firstOffer : trade.secondOffer;
}

bool TradeBook::IsOpen(std::uint32_t a, std::uint32_t b) const {
    return trades.count({std::min(a, b), std::max(a, b)}) != 0;
}

bool TradeBook::HasAccepted(std::uint32_t player) const {
    const Trade* trade = FindOf(player);
    return trade && (player == trade->first ? trade->firstOffer : trade->secondOffer).accepted;
}

std::uint32_t TradeBook::GetOfferedGold(std::uint32_t player) const {
    const Trade* trade = FindOf(player);
    return trade ? (player == trade->first ? trade->firstOffer : trade->secondOffer).gold : 0;
}

const std::set<std::uint32_t>* TradeBook::GetOfferedItems(std::uint32_t player) const {
    const Trade* trade = FindOf(player);
    return trade ? &(player == trade->first ? trade->firstOffer : trade->secondOffer).items
                 : nullptr;
}

const char* TradeBook::CheckOffer(std::uint32_t player, const Offer& offer) {
    const Player* owner = FindPlayer(player);
    if (!owner)
        return "a trader left the game";
    for (std::uint32_t item : offer.items)
        if (!Holds(*owner, item))
            return "an offered item is no longer carried";
    if (offer.gold > owner->GetMoney())
        return "the offered gold is no longer there";
    return nullptr;
}

void TradeBook::MoveItems(std::uint32_t giver, const Offer& offer, std::uint32_t taker) {
    Player* from = FindPlayer(giver);
    const Player* to = FindPlayer(taker);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : offer.items) {
        const Item* item = objects.GetObject<Item>(id);
        if (!item)
            continue;
        ItemReplicaInfo replica;
        item->GetItemReplicaInfo(replica);
        replica.objectId = CreateServerObjectId(ServerIdBand::Drops);
        from->Enqueue(std::make_unique<RemoveInventoryItemConfigCmd>(giver, id));
        // Made by the server's word on every machine (the client never makes one).
        if (replica.objectId != 0)
            gGameEngine->CreateItemForCharacter(taker, to->GetCoords(), replica, nullptr);
    }
}

void TradeBook::ChangeGold(std::uint32_t player, std::int64_t amount) {
    if (amount == 0)
        return;
    const int signedAmount = static_cast<int>(std::clamp<std::int64_t>(
        amount, -std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
    gGameEngine->GetOutboundNetworkInterface()->GiveGoldToPlayer(player, signedAmount);
    // The server's own copy too, as its own word (not the client's whose step this is).
    GameEngineInboundInterface& here = *gGameEngine->GetInboundNetworkInterface();
    const int source = here.GetSourceHost();
    here.SetSourceHost(-1);
    here.GiveGoldToPlayer(player, signedAmount);
    here.SetSourceHost(source);
}

void TradeBook::TellCancelled(const Trade& trade) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    for (const auto& [from, to] :
         {std::pair{trade.first, trade.second}, std::pair{trade.second, trade.first}}) {
        const int host = HostOfPlayer(to);
        if (host == kServerHostId || !net) {
            if (gGameEngine && to == gGameEngine->GetPlayerId())
                gGameEngine->GetTradeManager()->HandleCancelTradeInbound(from);
            continue;
        }
        TradeCancelPacket cancel;
        cancel.sender = from;
        cancel.receiver = to;
        net->SendToHost(host, &cancel);
    }
}

void TradeBook::Close(const Trade& trade) {
    trades.erase({trade.first, trade.second});
}

}  // namespace GAME
