#pragma once
// A pack of sounds made from a record. Nothing is heard: the pack records what it was asked
// (where it played, whether looping, what it follows, fades) so that callers can be checked.
// A one-shot lasts the record's "length" (game milliseconds, 0 by default: over as soon as it
// is played); a loop plays until it is faded or stopped. Every play is also recorded in the
// machine's MediaRecorder (SoundPlay: the pack's record name and where it played).
#include <cstdint>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class SoundPak : public Object {
    RTTI_DECLARE(SoundPak)
public:
    struct PlayRequest {
        WorldVec3 where;
        bool looping = false;
        bool attenuated = false;
    };

    void Load(const LoadTable& table) override;
    // `attenuated`: the sound fades with the listener's distance (the engine's own flag; game
    // sounds of characters and animations pass true).
    void Play(const WorldVec3& where, bool looping = false, bool attenuated = false);
    // Makes the next plays loop until faded or stopped.
    void SetInfiniteLoop(bool loop) { mInfiniteLoop = loop; }
    bool GetInfiniteLoop() const { return mInfiniteLoop; }
    // Where the listener hears a sound played at `at` (headless: the emitter itself).
    WorldVec3 GetPlayLocation(const WorldVec3& ears, const WorldVec3& at) const;
    // Lets a looping sound fall silent out of reach of the listener (counted only).
    void DoFalloffCheck() { ++mFalloffChecks; }
    int GetFalloffCheckCount() const { return mFalloffChecks; }
    // The distance at which the sound has faded out ("falloff", 10 by default).
    float GetFalloff() const { return mFalloff; }
    // The last played sound follows the object (0: stops following).
    void Track(std::uint32_t objectId) { mTrackedObject = objectId; }
    bool IsPlaying() const;
    void FadeLastPlayedSound(float fadeTime);
    void Stop() { mLooping = false; }
    void PreLoad(bool now) override;

    // Plays so far, and the latest (a default request before the first): a count, not a list,
    // so a pack played all game long holds no more than one that played once.
    std::uint64_t GetPlayCount() const { return mPlayCount; }
    const PlayRequest& GetLastPlayed() const { return mLastPlayed; }
    std::uint32_t GetTrackedObject() const { return mTrackedObject; }
    float GetLastFadeTime() const { return mLastFadeTime; }
    int GetPreloadCount() const { return mPreloadCount; }

private:
    std::uint64_t mPlayCount = 0;
    PlayRequest mLastPlayed;
    std::uint32_t mTrackedObject = 0;
    bool mLooping = false;
    bool mInfiniteLoop = false;
    int mFalloffChecks = 0;
    float mFalloff = 10.0f;
    int mLength = 0;
    std::uint64_t mPlayedAt = 0;
    float mLastFadeTime = -1.0f;
    int mPreloadCount = 0;
};

}  // namespace GAME
