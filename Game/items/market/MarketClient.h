#pragma once
// The client side of one merchant's market.
#include <cstdint>

namespace GAME {

class GameEngineClientServicesModule;

class MarketClient {
public:
    MarketClient(GameEngineClientServicesModule* owner, std::uint32_t merchant)
        : mOwner(owner), mMerchant(merchant) {}
    virtual ~MarketClient() = default;

    void Update(int elapsedMs);
    std::uint32_t GetMerchantId() const { return mMerchant; }
    GameEngineClientServicesModule* GetOwner() const { return mOwner; }
    int GetElapsedMs() const { return mElapsedMs; }

private:
    GameEngineClientServicesModule* mOwner;
    std::uint32_t mMerchant;
    int mElapsedMs = 0;
};

}  // namespace GAME
