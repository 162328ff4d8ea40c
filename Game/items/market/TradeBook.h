#pragma once
// The server's record of the trades between players of its game. Every trade step a player's
// machine sends passes here before it goes on to the partner's machine: the step must speak for
// the sending machine's own player, within a trade the two opened, and offer only items that
// player carries (the originals, by id, each once) and gold it has. Any change of either offer
// clears both acceptances, so an offer changed after the other side accepted cannot complete.
// When both have accepted, the server makes the exchange itself, in one step: it checks again
// that every offered item and every coin is still there, then takes the items from their
// owners and makes each anew for the other (under ids of its own), and settles the gold; if
// anything is missing, nothing moves and both windows are closed.
#include <cstdint>
#include <map>
#include <set>
#include <utility>

namespace GAME {

class NetPacket;

class TradeBook {
public:
    // Vets and records a trade step that `host` sent (the server's own: kServerHostId). Null
    // when it may go on to the receiver; else why it was refused (nothing was recorded). A
    // step that completes a trade has made the exchange before this returns.
    const char* Vet(NetPacket& packet, int host);

    // The players in an open trade, and whether each has accepted the offers as they stand.
    bool IsOpen(std::uint32_t a, std::uint32_t b) const;
    bool HasAccepted(std::uint32_t player) const;
    std::uint32_t GetOfferedGold(std::uint32_t player) const;
    const std::set<std::uint32_t>* GetOfferedItems(std::uint32_t player) const;
    // Trades completed on this server since it started.
    std::uint32_t GetCompletedCount() const { return completed; }

private:
    struct Offer {
        std::set<std::uint32_t> items;
        std::uint32_t gold = 0;
        bool accepted = false;
    };
    struct Trade {
        std::uint32_t first = 0;
        std::uint32_t second = 0;
        Offer firstOffer;
        Offer secondOffer;
    };

    const char* Initiate(std::uint32_t sender, std::uint32_t receiver);
    void Cancel(std::uint32_t sender, std::uint32_t receiver);
    const char* Finalize(Trade& trade, std::uint32_t sender);
    // The open trade of the two (in either order), or null.
    Trade* Find(std::uint32_t sender, std::uint32_t receiver);
    const Trade* FindOf(std::uint32_t player) const;
    static Offer& OfferOf(Trade& trade, std::uint32_t player);
    // Null when every offered item and coin is still where it was offered; else what is missing.
    static const char* CheckOffer(std::uint32_t player, const Offer& offer);
    // Takes each item from the giver and makes it anew for the taker.
    static void MoveItems(std::uint32_t giver, const Offer& offer, std::uint32_t taker);
    static void ChangeGold(std::uint32_t player, std::int64_t amount);
    // Closes both windows: each machine hears that its partner cancelled.
    static void TellCancelled(const Trade& trade);
    void Close(const Trade& trade);

    // Who asked whom (one question per asker).
    std::map<std::uint32_t, std::uint32_t> asked;
    std::map<std::pair<std::uint32_t, std::uint32_t>, Trade> trades;
    std::uint32_t completed = 0;
};

}  // namespace GAME
