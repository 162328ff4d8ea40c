#include "Engine/anim/AnimationChannels.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/anim/AnimationSystem.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {
const Name& EndEvent() {
    static const Name end = Name::Create("End");
    return end;
}
bool ValidChannel(int channel) {
    return channel >= 0 && channel < AnimationChannels::kChannelCount;
}
}  // namespace

AnimationChannels::~AnimationChannels() {
    if (mAlive)
        *mAlive = false;
    // The machine may be shutting down; a system already gone lists nothing of ours.
    if (auto* system = Machine::Current().Find<AnimationSystem>())
        system->Unregister(*this);
}

void AnimationChannels::Deliver(int channel, const Name& event) {
    if (mCallback)
        mCallback(mOwner, channel, event);
}

bool AnimationChannels::Play(int channel, const GraphicsAnim* anim, bool loop, float speed,
                             int blendMs) {
    if (!ValidChannel(channel) || !anim)
        return false;
    Channel& c = mChannels[static_cast<std::size_t>(channel)];
    c.anim = anim;
    c.timeMs = 0.0;
    c.speed = std::isfinite(speed) && speed > 0.0f ? speed : 0.0f;
    c.blendMs = blendMs;
    c.loop = loop;
    c.playing = true;
    c.atStart = true;
    ++c.generation;
    if (channel == 0) {
        mExplicitPose.Reset(nullptr);
        ++mPoseStamp;
    }
    AnimationSystem& system = AnimationSystem::Get();
    c.startedInStep = system.GetRunningStep();
    system.Register(*this);
    return true;
}

void AnimationChannels::SetSpeedMultiplier(int channel, float multiplier) {
    if (ValidChannel(channel))
        mChannels[static_cast<std::size_t>(channel)].multiplier =
            std::isfinite(multiplier) && multiplier > 0.0f ? multiplier : 0.0f;
}

void AnimationChannels::Stop(int channel) {
    if (!ValidChannel(channel))
        return;
    Channel& c = mChannels[static_cast<std::size_t>(channel)];
    c.playing = false;
    ++c.generation;
}

void AnimationChannels::StopAll() {
    for (int i = 0; i < kChannelCount; ++i)
        Stop(i);
}

const AnimationChannels::Channel* AnimationChannels::GetChannel(int channel) const {
    if (!ValidChannel(channel) || !mChannels[static_cast<std::size_t>(channel)].anim)
        return nullptr;
    return &mChannels[static_cast<std::size_t>(channel)];
}

const GraphicsAnim* AnimationChannels::GetAnimation(int channel) const {
    const Channel* c = GetChannel(channel);
    return c ? c->anim : nullptr;
}

int AnimationChannels::GetCurrentFrame(int channel) const {
    const Channel* c = GetChannel(channel);
    return c ? c->anim->GetFrameAtTime(c->timeMs) : 0;
}

bool AnimationChannels::IsPlaying(int channel) const {
    const Channel* c = GetChannel(channel);
    return c && c->playing;
}

bool AnimationChannels::IsAnyPlaying() const {
    for (const Channel& c : mChannels)
        if (c.playing)
            return true;
    return false;
}

void AnimationChannels::Advance(int elapsedMs) {
    AdvanceInStep(elapsedMs, AnimationSystem::Get().GetRunningStep());
}

void AnimationChannels::AdvanceInStep(int elapsedMs, std::uint64_t step) {
    if (elapsedMs < 0 || mAlive)
        return;  // no frame inside a frame
#ifndef NDEBUG
    if (step != AnimationSystem::Get().GetRunningStep())
        std::abort();
#endif
    bool alive = true;
    mAlive = &alive;
    for (int i = 0; i < kChannelCount; ++i) {
        const Channel& c = mChannels[static_cast<std::size_t>(i)];
        // A clip started by a callback of this step (any owner's) waits for the next, wherever
        // its owner stands in the order.
        if (!c.playing || !c.anim || (step != 0 && c.startedInStep == step))
            continue;
        if (!AdvanceChannel(i, static_cast<double>(elapsedMs) * c.speed * c.multiplier *
                                   c.anim->GetAnimSpeed()))
            return;  // destroyed by a callback: nothing of it may be touched
    }
    mAlive = nullptr;
}

bool AnimationChannels::AdvanceChannel(int index, double stepMs) {
    const bool* alive = mAlive;
    Channel& c = mChannels[static_cast<std::size_t>(index)];
    const std::uint32_t generation = c.generation;
    const GraphicsAnim& anim = *c.anim;
    const double length = anim.GetLengthMs();
    double from = c.timeMs;
    double to = from + stepMs;
    bool fromIncluded = c.atStart;
    c.atStart = false;
    for (int pass = 0;; ++pass) {
        const double passEnd = to < length ? to : length;
        for (const AnimationEvent& event : anim.GetEvents()) {
            const double t = event.timeMs;
            if (t > passEnd)
                break;
            if (t < from || (t == from && !fromIncluded))
                continue;
            c.timeMs = t;
            Deliver(index, event.name);
            if (!*alive)
                return false;
            if (c.generation != generation)
                return true;  // the callback replaced or stopped this channel
        }
        if (to < length) {
            c.timeMs = to;
            return true;
        }
        c.timeMs = length;
        if (!c.loop)
            c.playing = false;
        Deliver(index, EndEvent());
        if (!*alive)
            return false;
        if (c.generation != generation || !c.loop)
            return true;
        to -= length;
        from = 0.0;
        fromIncluded = true;
        c.timeMs = 0.0;
        if (pass + 1 >= kMaxPassesPerStep) {
            c.timeMs = std::fmod(to, length);
            return true;
        }
    }
}

void AnimationChannels::MakeAnimatedPose(SkeletalPose& pose, const Skeleton* fallback) const {
    if (const Channel* c = GetChannel(0))
        c->anim->GetFramePose(pose, static_cast<float>(c->anim->GetFrameAtTime(c->timeMs)), false);
    else
        pose.Reset(fallback);
    if (mTweak && !pose.IsEmpty())
        mTweak(mOwner, pose);
}

const SkeletalPose& AnimationChannels::GetPose(const Skeleton* fallback) const {
    if (!mExplicitPose.IsEmpty())
        return mExplicitPose;
    MakeAnimatedPose(mShownPose, fallback);
    return mShownPose;
}

AnimationChannels::PoseKey AnimationChannels::ShownPoseKey(const Skeleton* fallback) const {
    if (!mExplicitPose.IsEmpty())
        return {&mExplicitPose, 0, mPoseStamp};
    if (const Channel* c = GetChannel(0))
        return {c->anim, c->anim->GetFrameAtTime(c->timeMs), mPoseStamp};
    return {fallback, -1, mPoseStamp};
}

void AnimationChannels::MakePoseBounds(const Skeleton* fallback, Vec3& min, Vec3& max) const {
    if (!mExplicitPose.IsEmpty()) {
        mExplicitPose.GetBounds(min, max);
        return;
    }
    // One pose per thread to make it in: the crowd's own poses are never filled for this.
    thread_local SkeletalPose scratch;
    MakeAnimatedPose(scratch, fallback);
    scratch.GetBounds(min, max);
}

bool AnimationChannels::TweaksPose() const {
    return mTweak && (!mTweakActive || mTweakActive(mOwner));
}

void AnimationChannels::GetPoseBounds(const Skeleton* fallback, Vec3& min, Vec3& max) const {
    const Channel* shown = mExplicitPose.IsEmpty() ? GetChannel(0) : nullptr;
    if (shown && !TweaksPose()) {
        shown->anim->GetFrameBounds(shown->anim->GetFrameAtTime(shown->timeMs), min, max);
#ifndef NDEBUG
        Vec3 freshMin, freshMax;
        MakePoseBounds(fallback, freshMin, freshMax);
        if (std::memcmp(&freshMin, &min, sizeof freshMin) != 0 ||
            std::memcmp(&freshMax, &max, sizeof freshMax) != 0) {
            gEngine->Log(0, "AnimationChannels: the clip's frame bounds differ from the pose's");
            std::abort();
        }
#endif
        return;
    }
    const PoseKey key = ShownPoseKey(fallback);
    if (mBoundsKept && key == mBoundsKey) {
#ifndef NDEBUG
        Vec3 freshMin, freshMax;
        MakePoseBounds(fallback, freshMin, freshMax);
        if (std::memcmp(&freshMin, &mBoundsMin, sizeof freshMin) != 0 ||
            std::memcmp(&freshMax, &mBoundsMax, sizeof freshMax) != 0) {
            gEngine->Log(0, "AnimationChannels: the kept pose bounds are stale");
            std::abort();
        }
#endif
        min = mBoundsMin;
        max = mBoundsMax;
        return;
    }
    MakePoseBounds(fallback, min, max);
    mBoundsKept = true;
    mBoundsKey = key;
    mBoundsMin = min;
    mBoundsMax = max;
}

}  // namespace GAME
