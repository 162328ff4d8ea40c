#pragma once
// The scripted players of a two-client game trade once, as two users would at their windows:
// at a set frame each drags a skill (none learned yet: its health potions) to a free hot slot
// with the hot-slot cursor, and the first client's player asks the second's to trade; the
// second says yes. Each lays an item in the trade window with the item cursor (a piece of
// equipment from the bag is put on where it fits something worn, and what came off is offered
// instead; else a worn ring or amulet is taken off; else the bag's first item) and some gold.
// The first accepts, then the second, once it has seen the offer. Each prints what it offers,
// what it is offered and what it ends up with; the server makes the exchange.
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

class Player;
class PlayEventLog;

class TradeDriver {
public:
    // The frame at which the first client asks.
    static constexpr int kAskFrame = 240;
    // The gold each side lays in the window at most.
    static constexpr std::uint32_t kAskerGold = 25;
    static constexpr std::uint32_t kAnswererGold = 10;

    explicit TradeDriver(PlayEventLog& log) : mLog(log) {}
    // Once a frame, in this machine's turn to click; `players` are those in the game.
    void Step(Player& own, int host, int frame, const std::vector<std::uint32_t>& players);

private:
    enum class Stage { Waiting, Asked, Offered, Accepted, Closed, Done };

    void StepAsker(Player& own, int frame);
    void StepAnswerer(Player& own, int frame);
    void FillHotSlot(Player& own);
    // The item laid in the window (0: none), through the cursor.
    std::uint32_t OfferFromBag(Player& own);
    void Accept(Player& own);
    // Once the window closed: what the exchange left this player with.
    void Report(Player& own, int frame);
    std::string Name(std::uint32_t player) const;
    std::string Offer(const std::vector<std::string>& items, std::uint32_t gold) const;

    PlayEventLog& mLog;
    Stage mStage = Stage::Waiting;
    std::uint32_t mPartner = 0;
    int mStageFrame = 0;
    std::uint32_t mGoldBefore = 0;
    std::uint32_t mGoldGiven = 0;
    std::uint32_t mGoldOffered = 0;
    std::vector<std::string> mItemsGiven;
    std::vector<std::string> mItemsOffered;
};

}  // namespace GAME
