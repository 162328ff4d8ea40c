#pragma once
// A spawn proxy that keeps its monsters back and releases them one at a time, at its own
// position, while a player is within its alert area: at random intervals and up to a random
// number of living ones. It saves the records of the monsters still waiting.
#include <cstdint>
#include <vector>

#include "Engine/sys/RandomUniform.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

class ProxyAmbush : public Proxy {
    RTTI_DECLARE(ProxyAmbush)
public:
    ProxyAmbush() = default;
    ~ProxyAmbush() override;

    void Load(const LoadTable& record) override;
    bool ShouldSaveState() const override { return true; }
    void SaveState(BinaryWriter& writer) override;
    void RestoreState(BinaryReader& reader) override;
    void UpdateSelf(int elapsedMs) override;

    const std::vector<std::uint32_t>& GetWaitingObjects() const { return mWaiting; }
    const std::vector<std::uint32_t>& GetActiveObjects() const { return mActive; }

protected:
    void PoolComplete(ProxyPool* pool, const std::vector<WorldCoords>& locations) override;
    void PlaceNextObject();

private:
    bool IsAlert();

    std::vector<std::uint32_t> mWaiting;
    float mAlertArea = 0;
    int mMinSpawnTime = 0, mMaxSpawnTime = 0;
    int mMinProxyPopulation = 0, mMaxProxyPopulation = 0;
    std::vector<std::uint32_t> mActive;
    int mSpawnTimer = 0;
    // Its releases' draws: the shared generator is in step between the machines only while the
    // level loads, so it is seeded from it then and every machine releases alike.
    RandomUniform mRandom;
    std::vector<Entity*> mNearby;  // scratch of IsAlert
};

}  // namespace GAME
