#pragma once
// A pack of sounds made from a record. Nothing is heard: the pack records what it was asked
// (where it played, whether looping, what it follows, fades) so that callers can be checked.
// A one-shot has no length here and is over as soon as it is played; a loop plays until it is
// faded or stopped.
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
    };

    void Play(const WorldVec3& where, bool looping = false);
    // The last played sound follows the object (0: stops following).
    void Track(std::uint32_t objectId) { mTrackedObject = objectId; }
    bool IsPlaying() const { return mLooping; }
    void FadeLastPlayedSound(float fadeTime);
    void Stop() { mLooping = false; }
    void PreLoad(bool now) override;

    const std::vector<PlayRequest>& GetPlayed() const { return mPlayed; }
    std::uint32_t GetTrackedObject() const { return mTrackedObject; }
    float GetLastFadeTime() const { return mLastFadeTime; }
    int GetPreloadCount() const { return mPreloadCount; }

private:
    std::vector<PlayRequest> mPlayed;
    std::uint32_t mTrackedObject = 0;
    bool mLooping = false;
    float mLastFadeTime = -1.0f;
    int mPreloadCount = 0;
};

}  // namespace GAME
