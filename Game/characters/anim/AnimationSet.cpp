#include "Game/characters/anim/AnimationSet.h"

#include <utility>

#include "Engine/Engine.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/object/Object.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/actions/ActionSupport.h"

namespace GAME {

namespace {

struct TypeInfo {
    const char* text;
    ResourcePriority priority;
};

constexpr TypeInfo kTypes[kAnimationSetTypeCount] = {
#define GAME_ANIMATION_SET_TYPE_INFO(Id, Text, Kind, Priority) \
    {Text, static_cast<ResourcePriority>(Priority)},
    GAME_ANIMATION_SET_TYPES(GAME_ANIMATION_SET_TYPE_INFO)
#undef GAME_ANIMATION_SET_TYPE_INFO
};

using Kind = AnimationHolderKind;

}  // namespace

AnimationSet::AnimationSet() : mClips(Singleton<AnimationSetLibrary>::Get().Fresh()) {
    for (std::size_t i = 0; i < kAnimationSetTypeCount; ++i)
        if (AnimationSetClips::KindOf(i) == Kind::Collection)
            mStates[i].chosen = kNoChoice;
}

AnimationSet::~AnimationSet() = default;

std::string AnimationSet::GetAnimTypeAsText(AnimationSet_Type type) {
    const std::size_t index = AnimationSetTypeIndex(type);
    return index < kAnimationSetTypeCount ? kTypes[index].text : "";
}

AnimationSet_Type AnimationSet::GetAnimTextAsType(const std::string& text) {
    for (std::size_t i = 0; i < kAnimationSetTypeCount; ++i)
        if (text == kTypes[i].text)
            return static_cast<AnimationSet_Type>(i);
    return AnimationSet_Type::None;
}

AnimationSetClips& AnimationSet::OwnClips() {
    if (!mClips->mKeyed && mClips.use_count() == 1)
        return const_cast<AnimationSetClips&>(*mClips);
    auto own = std::make_shared<AnimationSetClips>(*mClips);
    AnimationSetClips& clips = *own;
    mClips = std::move(own);
    return clips;
}

void AnimationSet::AddAnimation(AnimationSet_Type type, const std::string& fileName, float speed,
                                float weight, const std::string& referenceName) {
    OwnClips().Add(type, fileName, speed, weight, referenceName);
}

void AnimationSet::LoadShared(const std::string& load,
                              const std::function<void(AnimationSet&)>& fill) {
    // Clips changed by hand have no name to share them by.
    if (!mClips->mKeyed) {
        fill(*this);
        return;
    }
    std::string key = mClips->mKey;
    key += '\n';
    key += load;
    AnimationSetLibrary& library = Singleton<AnimationSetLibrary>::Get();
    if (auto shared = library.Find(key)) {
        for (const std::string& line : shared->mLoadLog)
            gEngine->Log(1, "%s", line.c_str());
        mClips = std::move(shared);
        return;
    }
    mClips = std::make_shared<AnimationSetClips>(*mClips);
    fill(*this);
    library.Keep(std::const_pointer_cast<AnimationSetClips>(mClips), std::move(key));
}

void AnimationSet::PreLoad() {
    ResourceLoader& loader = ResourceLoader::Get();
    for (std::size_t i = 0; i < kAnimationSetTypeCount; ++i)
        for (const AnimationClip& clip : mClips->Get(i).clips)
            loader.EnqueueResource(clip.animation, kTypes[i].priority, true);
}

const AnimationClip* AnimationSet::Chosen(std::size_t index) const {
    const auto& clips = mClips->Get(index).clips;
    const std::size_t chosen =
        AnimationSetClips::KindOf(index) == Kind::Single ? 0 : mStates[index].chosen;
    return chosen < clips.size() ? &clips[chosen] : nullptr;
}

std::size_t AnimationSet::Pick(AnimationSet_Type type, float r) const {
    const auto& clips = mClips->Get(AnimationSetServingIndex(type)).clips;
    float sum = 0.0f;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        sum += clips[i].weight;
        if (sum >= r)
            return i;
    }
    return 0;
}

bool AnimationSet::Play(Actor& actor, std::size_t index, const Name& name, float speed, bool loop,
                        unsigned count) {
    const AnimationSetClips::Type& type = mClips->Get(index);
    TypeState& state = mStates[index];
    switch (AnimationSetClips::KindOf(index)) {
        case Kind::Single:
            break;
        case Kind::Pool: {
            // A looks matter: the C runtime's generator, free to differ between machines.
            const float r = static_cast<float>(crt_rand()) *
                            (1.0f / static_cast<float>(CRT_RAND_MAX)) * type.totalWeight;
            state.chosen =
                static_cast<std::uint16_t>(Pick(static_cast<AnimationSet_Type>(index), r));
            if (type.clips.empty())
                return false;
            break;
        }
        case Kind::Collection: {
            std::size_t found = 0;
            while (found < type.clips.size() && type.clips[found].reference != name)
                ++found;
            if (found == type.clips.size())
                return false;
            state.chosen = static_cast<std::uint16_t>(found);
            break;
        }
    }
    state.looping = loop;
    state.remainingPlays = count;
    const AnimationClip* clip = Chosen(index);
    if (clip == nullptr)
        return false;
    actor.PlayAnimation(0, clip->animation, loop || count != 0, speed * clip->speed,
                        static_cast<int>(type.blendTime));
    return true;
}

bool AnimationSet::PlayAnimation(Actor& actor, AnimationSet_Type type, const Name& name,
                                 float speed, bool loop, unsigned count) {
    if (Play(actor, AnimationSetServingIndex(type), name, speed, loop, count)) {
        mCurrentType = type;
        return true;
    }
    mCurrentType = AnimationSet_Type::None;
    Play(actor, 0, name, speed, loop, count);
    return false;
}

bool AnimationSet::PlayAnimationIfAvailable(Actor& actor, AnimationSet_Type type, const Name& name,
                                            float speed, bool loop, unsigned count) {
    if (!Play(actor, AnimationSetServingIndex(type), name, speed, loop, count))
        return false;
    mCurrentType = type;
    return true;
}

bool AnimationSet::HandleAnimationCallback(Actor&, const Name& event) {
    const std::size_t index = AnimationSetServingIndex(mCurrentType);
    // A single type counts its plays even without a clip; the others need their choice.
    if (AnimationSetClips::KindOf(index) != Kind::Single && Chosen(index) == nullptr)
        return false;
    TypeState& state = mStates[index];
    if (state.looping || event != action_support::EndEvent())
        return false;
    --state.remainingPlays;
    return static_cast<int>(state.remainingPlays) > 0;
}

bool AnimationSet::SetAnimationPose(Actor& actor, AnimationSet_Type type, int frame) {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    if (clip == nullptr)
        return false;
    SkeletalPose pose;
    clip->animation->GetFramePose(pose, static_cast<float>(frame), false);
    actor.SetPose(pose);
    return true;
}

bool AnimationSet::SetLastPost(Actor& actor, AnimationSet_Type type) {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    return clip != nullptr && SetAnimationPose(actor, type, clip->animation->GetLength() - 1);
}

void AnimationSet::AdjustAnimation(Actor& actor, float speedMultiplier) {
    const std::size_t index = AnimationSetServingIndex(mCurrentType);
    const AnimationClip* clip = Chosen(index);
    // A single type without a clip still sets the channel's multiplier, at speed 1.
    if (clip == nullptr && AnimationSetClips::KindOf(index) != Kind::Single)
        return;
    actor.SetAnimationSpeedMultiplier(0, speedMultiplier * (clip ? clip->speed : 1.0f));
}

int AnimationSet::GetLength(AnimationSet_Type type) const {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    return clip ? clip->animation->GetLength() : 0;
}

int AnimationSet::GetFrameRate(AnimationSet_Type type) const {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    return clip ? clip->animation->GetFrameRate() : 0;
}

float AnimationSet::GetAnimSpeed(AnimationSet_Type type) const {
    const std::size_t index = AnimationSetServingIndex(type);
    if (AnimationSetClips::KindOf(index) == Kind::Pool) {
        const auto& clips = mClips->Get(index).clips;
        if (clips.empty())
            return 0.0f;
        float sum = 0.0f;
        for (const AnimationClip& clip : clips)
            sum += clip.animation->GetAnimSpeed() / clip.speed;
        return sum / static_cast<float>(clips.size());
    }
    const AnimationClip* clip = Chosen(index);
    return clip ? clip->animation->GetAnimSpeed() / clip->speed : 0.0f;
}

void AnimationSet::SetAnimationBlendTime(AnimationSet_Type type, float time) {
    OwnClips().SetBlendTime(type, time);
}

bool AnimationSet::DoesAnimationExist(AnimationSet_Type type) const {
    return !mClips->Get(AnimationSetServingIndex(type)).clips.empty();
}

GraphicsAnim* AnimationSet::GetAnimation(AnimationSet_Type type) const {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    return clip ? clip->animation : nullptr;
}

std::size_t AnimationSet::GetEntryCount(AnimationSet_Type type) const {
    return mClips->Get(AnimationSetServingIndex(type)).clips.size();
}

float AnimationSet::GetTotalWeight(AnimationSet_Type type) const {
    return mClips->Get(AnimationSetServingIndex(type)).totalWeight;
}

std::size_t AnimationSet::GetChosenIndex(AnimationSet_Type type) const {
    return mStates[AnimationSetServingIndex(type)].chosen;
}

Name AnimationSet::GetChosenReference(AnimationSet_Type type) const {
    const AnimationClip* clip = Chosen(AnimationSetServingIndex(type));
    return clip ? clip->reference : Name();
}

}  // namespace GAME
