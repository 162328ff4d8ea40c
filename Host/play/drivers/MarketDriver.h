#pragma once
// The scripted player at a merchant's stall, as a person at the market window: once the market
// it asked for shows its goods, it buys a health potion, then sells back a piece of loot it
// carries (not a potion, nothing it wears), and the play log says what each cost or fetched.
// The server decides both: the driver only asks, and reads the answer off the purse and the bag.
#include <cstdint>
#include <string>

namespace GAME {

class Player;
class PlayEventLog;

class MarketDriver {
public:
    explicit MarketDriver(PlayEventLog& log) : mLog(log) {}
    // Once a frame, before it runs.
    void Trade(Player& player);
    // Both deals are done (or given up).
    bool IsDone() const { return mStep == Step::Done; }

private:
    enum class Step { Waiting, Buying, Selling, Done };

    bool Buy(Player& player);
    bool Sell(Player& player);
    // Waits for the server's answer; true once the deal is done or refused.
    bool Settled(Player& player);

    PlayEventLog& mLog;
    Step mStep = Step::Waiting;
    std::uint32_t mMerchant = 0;
    std::uint32_t mItem = 0;
    std::uint32_t mMoneyBefore = 0;
    std::wstring mDescription;
    std::size_t mCarriedBefore = 0;
    int mWaitFrames = 0;
};

}  // namespace GAME
