#pragma once
// Brings a dead player back at a respawn point: the screen fades to black, the regions around
// the point load on this machine and its peer, and the screen fades back in. The player's
// controller polls the activity by id and revives the player once it is complete; the manager
// deletes it when the fade has cleared.
#include <cstdint>
#include <memory>

#include "Engine/world/Region.h"
#include "Game/core/GameActivity.h"
#include "Game/core/activities/PieOmatic.h"

namespace GAME {

class NetworkRegionLoaderBase;

class RespawnActivity : public GameActivity {
public:
    static constexpr int kLoadingCycleMs = 1000;
    static constexpr int kFadeOutMs = 1000;

    enum State : int { FadingOut = 0, Loading = 1, FadingIn = 2 };

    RespawnActivity();
    ~RespawnActivity() override;

    void Update(int elapsedMs) override;
    void Render(GraphicsCanvas& canvas) const override;
    bool IsFinished() const override;
    void AddStatisticText() override;
    virtual void SetDestination(const WorldVec3& where, std::uint32_t player);
    virtual void CreateLoader() = 0;

    // The fade back has begun: the controller may revive the player.
    bool IsComplete() const { return complete != 0; }
    int GetState() const { return state; }
    int GetStateTimer() const { return timer; }
    float GetCurrentAlpha() const { return currentAlpha; }
    std::uint32_t GetPlayerId() const { return playerId; }
    const WorldVec3& GetDestination() const { return destination; }
    const NetworkRegionLoaderBase* GetLoader() const { return loader.get(); }

protected:
    virtual const char* GetLabel() const = 0;
    // The local kinds darken this machine's screen and hold its frame while loading.
    virtual bool IsLocal() const = 0;
    void SetLoader(std::unique_ptr<NetworkRegionLoaderBase> made);

private:
    void SetState(State next);
    void FadeToBlack();
    void FadeBack();
    void TakeSleepCount();
    // The screen and frame as they were before the activity took them.
    void RestoreScreen();
    void UpdateFade(int elapsedMs);

    State state = FadingOut;
    int timer = 0;
    WorldVec3 destination;
    std::uint32_t playerId = 0;
    std::unique_ptr<NetworkRegionLoaderBase> loader;
    float targetAlpha = 0.0f;
    float currentAlpha = 0.0f;
    std::uint8_t loaded = 0;
    std::uint8_t complete = 0;
    int holdFrames = 0;
    std::uint8_t holdsSleepCount = 0;
    std::uint8_t screenTaken = 0;
    PieOmatic pie;
};

// The local player's respawn on a client; the server loads along (its remote kind).
class RespawnLocalClientActivity : public RespawnActivity {
public:
    RespawnLocalClientActivity();
    ~RespawnLocalClientActivity() override;
    void CreateLoader() override;

protected:
    const char* GetLabel() const override { return "RespawnLocalClientActivity"; }
    bool IsLocal() const override { return true; }
};

// The local player's respawn on a server or in single player.
class RespawnLocalServerActivity : public RespawnActivity {
public:
    void CreateLoader() override;

protected:
    const char* GetLabel() const override { return "RespawnLocalServerActivity"; }
    bool IsLocal() const override { return true; }
};

// The server's side of a client's respawn: loads the client's destination, draws nothing.
class RespawnNonLocalServerActivity : public RespawnActivity {
public:
    void CreateLoader() override;

protected:
    const char* GetLabel() const override { return "RespawnNonLocalServerActivity"; }
    bool IsLocal() const override { return false; }
};

}  // namespace GAME
