#pragma once
// The server side of one merchant's market.
#include <cstdint>

namespace GAME {

class GameEngineServerServicesModule;

class MarketServer {
public:
    MarketServer(GameEngineServerServicesModule* owner, std::uint32_t merchant)
        : mOwner(owner), mMerchant(merchant) {}
    virtual ~MarketServer() = default;

    void AttachToMerchant();
    void Update(int elapsedMs);
    void RequestRefresh() { mRefreshPending = true; }
    bool IsRefreshPending() const { return mRefreshPending; }
    bool IsAttached() const { return mAttached; }
    std::uint32_t GetMerchantId() const { return mMerchant; }
    GameEngineServerServicesModule* GetOwner() const { return mOwner; }
    int GetElapsedMs() const { return mElapsedMs; }

private:
    GameEngineServerServicesModule* mOwner;
    std::uint32_t mMerchant;
    bool mAttached = false;
    bool mRefreshPending = false;
    int mElapsedMs = 0;
};

}  // namespace GAME
