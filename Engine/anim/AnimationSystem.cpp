#include "Engine/anim/AnimationSystem.h"

#include <algorithm>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {
// Owners' channels asked for this many places ahead arrive while the ones before advance.
constexpr std::size_t kPrefetchAhead = 8;
}  // namespace

AnimationSystem& AnimationSystem::Get() {
    return Singleton<AnimationSystem>::Get();
}

void AnimationSystem::Register(AnimationChannels& channels) {
    if (channels.mListed)
        return;
    channels.mListed = true;
    mChannels.push_back(&channels);
}

void AnimationSystem::Unregister(AnimationChannels& channels) {
    if (!channels.mListed)
        return;
    channels.mListed = false;
    auto it = std::find(mChannels.begin(), mChannels.end(), &channels);
    if (it == mChannels.end())
        return;
    if (mUpdating)
        *it = nullptr;
    else
        mChannels.erase(it);
}

void AnimationSystem::PrefetchAdvance(const AnimationChannels& channels) {
    const auto* from = reinterpret_cast<const char*>(&channels);
    const auto* to = reinterpret_cast<const char*>(&channels.mChannels + 1);
    for (const char* at = from; at < to; at += 64)
        __builtin_prefetch(at);
    __builtin_prefetch(to - 1);
}

void AnimationSystem::Update(int elapsedMs) {
    if (mUpdating)
        return;  // a callback asked for a frame inside the frame
    mUpdating = true;
    ++mStep;
    const std::size_t count = mChannels.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kPrefetchAhead < count)
            if (const AnimationChannels* ahead = mChannels[i + kPrefetchAhead])
                PrefetchAdvance(*ahead);
        if (AnimationChannels* channels = mChannels[i])
            channels->AdvanceInStep(elapsedMs, mStep);
    }
    std::erase_if(mChannels, [](AnimationChannels* c) {
        if (c && c->IsAnyPlaying())
            return false;
        if (c)
            c->mListed = false;
        return true;
    });
    mUpdating = false;
}

std::size_t AnimationSystem::GetActiveCount() const {
    return static_cast<std::size_t>(std::count_if(mChannels.begin(), mChannels.end(),
                                                  [](const AnimationChannels* c) { return c; }));
}

}  // namespace GAME
