#pragma once
// A continuous sound played at its owner's position while the listener stands in a region.
#include "Engine/media/sound/SoundPak.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class LoadTable;
struct WorldCoords;

class SoundAmbient {
public:
    SoundAmbient() = default;
    // Stops the pack before it goes.
    ~SoundAmbient();
    SoundAmbient(const SoundAmbient&) = delete;
    SoundAmbient& operator=(const SoundAmbient&) = delete;

    void Load(const LoadTable& table);
    void PreLoad();
    void StartSound(bool loop);
    void StopSound();
    void Update(const WorldCoords& at, int elapsedMs);

    bool IsStarted() const { return mStarted; }
    bool IsLooping() const { return mLoop; }
    SoundPak* GetSound() const { return mSound.Get(); }

private:
    bool mStarted = false;
    bool mLoop = false;
    OwnedObject<SoundPak> mSound{"Game/SoundAmbient"};
};

}  // namespace GAME
