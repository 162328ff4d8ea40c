#pragma once
// Moves a player to a far destination given in whole-number world coordinates: the player
// dissolves and cannot be hurt, the teleporting player's screen fades to black while the
// regions around the destination load, the player is placed there and materialises. The kind
// depends on whose player it is and whether this machine is the server.
#include <cstdint>
#include <memory>

#include "Engine/net/NetworkEntityList.h"
#include "Engine/world/Region.h"
#include "Game/core/GameActivity.h"
#include "Game/core/activities/NetworkRegionLoader.h"
#include "Game/core/activities/PieOmatic.h"

namespace GAME {

class Character;
class SoundPak;

class TeleportActivity : public GameActivity {
public:
    static constexpr int kFadeMs = 2500;
    static constexpr int kLoadingCycleMs = 1000;
    static constexpr const char* kDissolveTexture = "System/Textures/Cloud.tex";
    static constexpr const char* kEffectRecord = "Records/Effects/Default/343_Teleport_FXPak.dbr";
    static constexpr const char* kDepartureSound =
        "Sounds/Soundpak/Player/PlayerTeleportOutgoing.dbr";
    static constexpr int kFinished = 5;

    TeleportActivity();
    ~TeleportActivity() override;

    void Update(int elapsedMs) override;
    void Render(GraphicsCanvas& canvas) const override;
    bool IsFinished() const override { return state == kFinished; }
    void AddStatisticText() override;
    virtual void SetDestination(int x, int y, int z, std::uint32_t player);
    virtual void OnDestinationSet() = 0;
    virtual void PlacePlayer() = 0;
    virtual void TakeOverFrustum() {}

    int GetState() const { return state; }
    int GetStateTimer() const { return timer; }
    std::uint32_t GetPlayerId() const { return playerId; }
    const WorldVec3& GetDestination() const { return destination; }
    const NetworkRegionLoaderBase* GetLoader() const { return loader.get(); }

protected:
    virtual const char* GetLabel() const = 0;
    // The local kinds darken the screen and hold the mouse of this machine.
    virtual bool IsLocal() const { return false; }
    // The kind's steps, with the player (present).
    virtual void UpdateState(Character& player) = 0;

    Character* FindPlayer() const;
    void SetState(int next);
    void Dissolve(Character& player) const;
    void Materialise(Character& player) const;
    void SpawnEffect(const Character& player) const;
    void PlaceOnFloor(Character& player) const;
    // State 2's wait: until the loader is done, then (wholeSecond) to the next whole second.
    // In a network game every kind waits one loading cycle instead, whatever the loaders say:
    // each machine's loading ends at its own frame, and the player must land at the same frame
    // on all of them (the loaders still run and report).
    bool WaitForLoading(bool wholeSecond);
    // Network games: the player is placed the same way on every machine.
    bool IsLockstep() const { return lockstep != 0; }
    // The first steps of the player's own kinds: vanish, then darken the screen.
    void BeginLocal(Character& player);
    void TakeSleepCount();
    void RestoreScreen();

    int state = 0;
    int timer = 0;
    WorldVec3 destination;
    std::uint32_t playerId = 0;
    int destX = 0, destY = 0, destZ = 0;
    SoundPak* departureSound = nullptr;
    std::uint8_t loaded = 0;
    std::uint8_t holdsSleepCount = 0;
    std::uint8_t screenTaken = 0;
    std::uint8_t lockstep = 0;
    std::unique_ptr<NetworkRegionLoaderBase> loader;
    PieOmatic pie;
};

class TeleportLocalClientActivity : public TeleportActivity {
public:
    TeleportLocalClientActivity();
    ~TeleportLocalClientActivity() override;
    void OnDestinationSet() override;
    void PlacePlayer() override;

protected:
    const char* GetLabel() const override { return "TeleportLocalClientActivity"; }
    bool IsLocal() const override { return true; }
    void UpdateState(Character& player) override;
};

class TeleportLocalServerActivity : public TeleportActivity {
public:
    TeleportLocalServerActivity();
    ~TeleportLocalServerActivity() override;
    void OnDestinationSet() override;
    void PlacePlayer() override;

protected:
    const char* GetLabel() const override { return "TeleportLocalServerActivity"; }
    bool IsLocal() const override { return true; }
    void UpdateState(Character& player) override;
};

class TeleportNonLocalClientActivity : public TeleportActivity {
public:
    TeleportNonLocalClientActivity();
    void OnDestinationSet() override {}
    void PlacePlayer() override;

protected:
    const char* GetLabel() const override { return "TeleportNonLocalClientActivity"; }
    void UpdateState(Character& player) override;
};

// The server's side of another machine's player: the player leaves the world while both
// machines load and comes back once the loader's listener has placed him.
class TeleportNonLocalServerActivity : public TeleportActivity {
public:
    TeleportNonLocalServerActivity();
    // Cleared half-way: the host's view goes back as it was.
    ~TeleportNonLocalServerActivity() override;
    void OnDestinationSet() override;
    void PlacePlayer() override;
    void TakeOverFrustum() override;

protected:
    const char* GetLabel() const override { return "TeleportNonLocalServerActivity"; }
    void UpdateState(Character& player) override;

private:
    struct Listener : TeleportLoaderListener {
        TeleportNonLocalServerActivity* owner = nullptr;
        void OnRegionsLoaded(TeleportLoader&) override;
    };
    void PlaceWhenReady();

    Listener listener;
    TeleportLoader* teleportLoader = nullptr;
    bool ready = false;
    bool placeRequested = false;
    bool placed = false;
    // The view of the player's host, held while the player is between places.
    FrustumEntry heldView;
    bool holdsView = false;
};

}  // namespace GAME
