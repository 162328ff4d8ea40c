#pragma once
// A sound repeated after a fixed period, or after one drawn from the root's generator.
#include "Engine/media/sound/SoundPak.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class LoadTable;
struct WorldCoords;

class SoundPeriodic {
public:
    SoundPeriodic() = default;
    SoundPeriodic(const SoundPeriodic&) = delete;
    SoundPeriodic& operator=(const SoundPeriodic&) = delete;

    void Load(const LoadTable& table);
    void PreLoad();
    // Only with a sound pack.
    void StartSound();
    void StopSound() { mStarted = false; }
    void Update(const WorldCoords& at, int elapsedMs);

    bool IsStarted() const { return mStarted; }
    int GetCountdown() const { return mCountdown; }
    SoundPak* GetSound() const { return mSound.Get(); }

private:
    void DrawPeriod();

    bool mStarted = false;
    OwnedObject<SoundPak> mSound{"Game/SoundPeriodic"};
    int mSoundPeriod = 0;
    bool mRandomPeriod = false;
    int mRandomPeriodMin = 0;
    int mRandomPeriodMax = 0;
    int mCountdown = 0;
    bool mNoRootLogged = false;
};

}  // namespace GAME
