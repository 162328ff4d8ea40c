#pragma once
// The animation channels of one owner (an actor, or an effect's mesh) and its pose. Each channel
// plays one clip: the engine advances it by the frame step (times the clip's speed, the play
// speed and the channel's multiplier) and calls the owner back with every event whose time the
// step passed, in time order, and with "End" when a pass ends (a looping clip then starts its
// next pass).
#include <array>
#include <cstdint>

#include "Engine/anim/SkeletalPose.h"

namespace GAME {

class GraphicsAnim;
class Name;
class Skeleton;

class AnimationChannels {
public:
    static constexpr int kChannelCount = 4;
    // Receives the owner's events (owner, channel, event name).
    using Callback = void (*)(void* owner, int channel, const Name& event);
    // Corrects an animated pose after it is computed (never an explicit one). The owner calls
    // TweakChanged whenever what its tweak reads changes: poses are kept until then.
    using PoseTweak = void (*)(const void* owner, SkeletalPose& pose);
    // Whether the tweak would change a pose now; false lets the channels use the clip's own
    // bounds of a frame. Without one, a tweak is taken to change every pose.
    using PoseTweakActive = bool (*)(const void* owner);

    AnimationChannels(void* owner, Callback callback, PoseTweak tweak = nullptr,
                      PoseTweakActive tweakActive = nullptr)
        : mOwner(owner), mCallback(callback), mTweak(tweak), mTweakActive(tweakActive) {}
    // Leaves the machine's AnimationSystem.
    ~AnimationChannels();
    AnimationChannels(const AnimationChannels&) = delete;
    AnimationChannels& operator=(const AnimationChannels&) = delete;

    struct Channel {
        const GraphicsAnim* anim = nullptr;
        double timeMs = 0.0;  // into the current pass
        float speed = 1.0f;
        float multiplier = 1.0f;
        int blendMs = 0;  // kept for callers; nothing is blended headless
        bool loop = false;
        bool playing = false;
        bool atStart = false;  // events at the pass's first instant are still due
        std::uint32_t generation = 0;
        std::uint64_t startedInStep = 0;  // the animation step it started in (0: between steps)
    };

    // Starts a clip and joins the machine's AnimationSystem. False (nothing changes) for a
    // channel outside 0..kChannelCount-1 or a null clip.
    bool Play(int channel, const GraphicsAnim* anim, bool loop, float speed, int blendMs);
    void SetSpeedMultiplier(int channel, float multiplier);
    void Stop(int channel);
    void StopAll();

    // Null for an unknown channel or one that never played; a finished clip stays current.
    const Channel* GetChannel(int channel) const;
    const GraphicsAnim* GetAnimation(int channel) const;
    int GetCurrentFrame(int channel) const;
    bool IsPlaying(int channel) const;
    bool IsAnyPlaying() const;

    // Advances every playing channel and calls the owner back. A callback may play, stop or
    // retime the channel, or destroy the owner (and these channels): what remained of the old
    // pass is then dropped.
    void Advance(int elapsedMs);

    // The explicit pose (SetPose) until channel 0 plays again; empty restores the animated pose.
    void SetPose(const SkeletalPose& pose) {
        mExplicitPose = pose;
        ++mPoseStamp;
    }
    // The pose shown now: the explicit one, else channel 0's current frame, else the bind pose
    // of the fallback skeleton; an animated pose passes the owner's tweak.
    const SkeletalPose& GetPose(const Skeleton* fallback) const;
    // The box around the shown pose's bones (SkeletalPose::GetBounds). An untweaked frame of a
    // clip answers from the clip; otherwise kept while the pose cannot have changed (same clip
    // and frame, or explicit pose, and no tweak change), and made without storage of its own:
    // local avoidance asks it of every character it passes.
    void GetPoseBounds(const Skeleton* fallback, Vec3& min, Vec3& max) const;
    void TweakChanged() { ++mPoseStamp; }

private:
    // Most passes one step may run; beyond that the clip skips ahead (a huge step or speed must
    // not stall the frame).
    static constexpr int kMaxPassesPerStep = 64;

    // Advance in the machine's running animation step `step` (0: none), which the
    // AnimationSystem hands over instead of every owner looking it up.
    void AdvanceInStep(int elapsedMs, std::uint64_t step);
    // False when the channels were destroyed by a callback.
    bool AdvanceChannel(int index, double stepMs);
    void Deliver(int channel, const Name& event);
    // The animated pose into `pose`, tweaked.
    void MakeAnimatedPose(SkeletalPose& pose, const Skeleton* fallback) const;
    // What the shown pose is made from: equal keys, equal poses.
    struct PoseKey {
        const void* source = nullptr;  // the explicit pose, channel 0's clip or the fallback
        int frame = 0;
        std::uint32_t stamp = 0;
        bool operator==(const PoseKey&) const = default;
    };
    PoseKey ShownPoseKey(const Skeleton* fallback) const;
    void MakePoseBounds(const Skeleton* fallback, Vec3& min, Vec3& max) const;
    bool TweaksPose() const;

    void* mOwner;
    Callback mCallback;
    PoseTweak mTweak;
    PoseTweakActive mTweakActive;
    // Set while Advance runs: a callback that destroys these channels clears it.
    bool* mAlive = nullptr;
    // Whether the AnimationSystem lists these channels (kept by it, so joining is no search).
    friend class AnimationSystem;
    bool mListed = false;

    std::array<Channel, kChannelCount> mChannels{};
    SkeletalPose mExplicitPose;
    mutable SkeletalPose mShownPose;
    // Counts explicit pose and tweak changes.
    std::uint32_t mPoseStamp = 0;
    mutable bool mBoundsKept = false;
    mutable PoseKey mBoundsKey;
    mutable Vec3 mBoundsMin;
    mutable Vec3 mBoundsMax;
};

}  // namespace GAME
