#pragma once
// The trade between the main player and one partner, stepped once per frame.
#include <cstdint>

namespace GAME {

class TradeManager {
public:
    void Update();
    bool IsTrading() const { return mPartner != 0; }
    std::uint32_t GetPartner() const { return mPartner; }
    std::uint32_t GetUpdateCount() const { return mUpdates; }

private:
    std::uint32_t mPartner = 0;
    std::uint32_t mUpdates = 0;
};

}  // namespace GAME
