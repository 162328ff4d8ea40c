#pragma once
// Advances the animation channels of a machine that have a clip playing, once per frame, in the
// order they first played (so every machine calls back in the same order).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace GAME {

class AnimationChannels;

class AnimationSystem {
public:
    static AnimationSystem& Get();

    // By the channels when they start a clip; each is listed once.
    void Register(AnimationChannels& channels);
    // By the channels when they are destroyed.
    void Unregister(AnimationChannels& channels);
    // The frame step: every listed owner's channels advance by elapsedMs. Channels no longer
    // playing leave the list; channels that start during the step wait for the next one.
    void Update(int elapsedMs);

    std::size_t GetActiveCount() const;
    // While a step runs: its number (steps are counted from 1); else 0.
    std::uint64_t GetRunningStep() const { return mUpdating ? mStep : 0; }

private:
    // Asks for the lines Advance reads: a crowd's channels lie apart.
    static void PrefetchAdvance(const AnimationChannels& channels);

    // Non-owning; slots of channels destroyed during an update are nulled, then compacted.
    std::vector<AnimationChannels*> mChannels;
    bool mUpdating = false;
    std::uint64_t mStep = 0;
};

}  // namespace GAME
