#include "Engine/anim/ActorAnimation.h"

#include <cmath>

#include "Engine/anim/GraphicsAnim.h"
#include "Engine/object/Object.h"

namespace GAME {

namespace {
const Name& EndEvent() {
    static const Name end = Name::Create("End");
    return end;
}
bool ValidChannel(int channel) {
    return channel >= 0 && channel < ActorAnimation::kChannelCount;
}
}  // namespace

bool ActorAnimation::Play(int channel, const GraphicsAnim* anim, bool loop, float speed,
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
    if (channel == 0)
        mExplicitPose.Reset(nullptr);
    return true;
}

void ActorAnimation::SetSpeedMultiplier(int channel, float multiplier) {
    if (ValidChannel(channel))
        mChannels[static_cast<std::size_t>(channel)].multiplier =
            std::isfinite(multiplier) && multiplier > 0.0f ? multiplier : 0.0f;
}

void ActorAnimation::Stop(int channel) {
    if (!ValidChannel(channel))
        return;
    Channel& c = mChannels[static_cast<std::size_t>(channel)];
    c.playing = false;
    ++c.generation;
}

void ActorAnimation::StopAll() {
    for (int i = 0; i < kChannelCount; ++i)
        Stop(i);
}

const ActorAnimation::Channel* ActorAnimation::GetChannel(int channel) const {
    if (!ValidChannel(channel) || !mChannels[static_cast<std::size_t>(channel)].anim)
        return nullptr;
    return &mChannels[static_cast<std::size_t>(channel)];
}

const GraphicsAnim* ActorAnimation::GetAnimation(int channel) const {
    const Channel* c = GetChannel(channel);
    return c ? c->anim : nullptr;
}

int ActorAnimation::GetCurrentFrame(int channel) const {
    const Channel* c = GetChannel(channel);
    return c ? c->anim->GetFrameAtTime(c->timeMs) : 0;
}

bool ActorAnimation::IsPlaying(int channel) const {
    const Channel* c = GetChannel(channel);
    return c && c->playing;
}

bool ActorAnimation::IsAnyPlaying() const {
    for (const Channel& c : mChannels)
        if (c.playing)
            return true;
    return false;
}

void ActorAnimation::Advance(Actor& actor, int elapsedMs) {
    if (elapsedMs < 0)
        return;
    for (int i = 0; i < kChannelCount; ++i) {
        const Channel& c = mChannels[static_cast<std::size_t>(i)];
        if (!c.playing || !c.anim)
            continue;
        AdvanceChannel(
            actor, i,
            static_cast<double>(elapsedMs) * c.speed * c.multiplier * c.anim->GetAnimSpeed());
    }
}

void ActorAnimation::AdvanceChannel(Actor& actor, int index, double stepMs) {
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
            actor.AnimationCallback(index, event.name);
            if (c.generation != generation)
                return;  // the callback replaced or stopped this channel
        }
        if (to < length) {
            c.timeMs = to;
            return;
        }
        c.timeMs = length;
        if (!c.loop)
            c.playing = false;
        actor.AnimationCallback(index, EndEvent());
        if (c.generation != generation || !c.loop)
            return;
        to -= length;
        from = 0.0;
        fromIncluded = true;
        c.timeMs = 0.0;
        if (pass + 1 >= kMaxPassesPerStep) {
            c.timeMs = std::fmod(to, length);
            return;
        }
    }
}

const SkeletalPose& ActorAnimation::GetPose(const Skeleton* fallback) const {
    if (!mExplicitPose.IsEmpty())
        return mExplicitPose;
    if (const Channel* c = GetChannel(0)) {
        c->anim->GetFramePose(mShownPose, static_cast<float>(c->anim->GetFrameAtTime(c->timeMs)),
                              false);
        return mShownPose;
    }
    mShownPose.Reset(fallback);
    return mShownPose;
}

}  // namespace GAME
