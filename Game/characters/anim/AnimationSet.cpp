#include "Game/characters/anim/AnimationSet.h"

#include "Engine/anim/GraphicsAnim.h"
#include "Game/characters/anim/AnimationCollection.h"
#include "Game/characters/anim/AnimationPool.h"
#include "Game/characters/anim/OwnedAnimation.h"

namespace GAME {

namespace {

struct TypeInfo {
    const char* text;
    AnimationHolderKind kind;
    ResourcePriority priority;
};

constexpr TypeInfo kTypes[kAnimationSetTypeCount] = {
#define GAME_ANIMATION_SET_TYPE_INFO(Id, Text, Kind, Priority) \
    {Text, AnimationHolderKind::Kind, static_cast<ResourcePriority>(Priority)},
    GAME_ANIMATION_SET_TYPES(GAME_ANIMATION_SET_TYPE_INFO)
#undef GAME_ANIMATION_SET_TYPE_INFO
};

std::unique_ptr<AnimationBase> MakeHolder(AnimationHolderKind kind) {
    switch (kind) {
        case AnimationHolderKind::Pool:
            return std::make_unique<AnimationPool>();
        case AnimationHolderKind::Collection:
            return std::make_unique<AnimationCollection>();
        case AnimationHolderKind::Single:
            break;
    }
    return std::make_unique<OwnedAnimation>();
}

}  // namespace

AnimationSet::AnimationSet() {
    for (std::size_t i = 0; i < kAnimationSetTypeCount; ++i)
        mHolders[i] = MakeHolder(kTypes[i].kind);
    GetAnimationBase(AnimationSet_Type::None)
        .AddAnimation(GraphicsAnim::GetDefaultName(), 1.0f, 0.0f, std::string());
    // A spawning character appears in its spawn pose at once.
    GetAnimationBase(AnimationSet_Type::Spawn).SetBlendTime(0.0f);
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

AnimationBase& AnimationSet::GetAnimationBase(AnimationSet_Type type) {
    const std::size_t index = AnimationSetTypeIndex(type);
    return *mHolders[index < kAnimationSetTypeCount ? index : 0];
}

void AnimationSet::AddAnimation(AnimationSet_Type type, const std::string& fileName, float speed,
                                float weight, const std::string& referenceName) {
    GetAnimationBase(type).AddAnimation(fileName, speed, weight, referenceName);
}

void AnimationSet::PreLoad() {
    for (std::size_t i = 0; i < kAnimationSetTypeCount; ++i)
        mHolders[i]->PreLoad(kTypes[i].priority);
}

bool AnimationSet::PlayAnimation(Actor& actor, AnimationSet_Type type, const Name& name,
                                 float speed, bool loop, unsigned count) {
    if (GetAnimationBase(type).Play(actor, name, speed, loop, count)) {
        mCurrentType = type;
        return true;
    }
    mCurrentType = AnimationSet_Type::None;
    GetAnimationBase(AnimationSet_Type::None).Play(actor, name, speed, loop, count);
    return false;
}

bool AnimationSet::PlayAnimationIfAvailable(Actor& actor, AnimationSet_Type type, const Name& name,
                                            float speed, bool loop, unsigned count) {
    if (!GetAnimationBase(type).Play(actor, name, speed, loop, count))
        return false;
    mCurrentType = type;
    return true;
}

bool AnimationSet::HandleAnimationCallback(Actor& actor, const Name& event) {
    return GetAnimationBase().HandleAnimationCallback(actor, event);
}

bool AnimationSet::SetLastPost(Actor& actor, AnimationSet_Type type) {
    return GetAnimationBase(type).SetLastPose(actor);
}

bool AnimationSet::SetAnimationPose(Actor& actor, AnimationSet_Type type, int frame) {
    return GetAnimationBase(type).SetPose(actor, frame);
}

void AnimationSet::AdjustAnimation(Actor& actor, float speedMultiplier) {
    GetAnimationBase().AdjustAnimation(actor, speedMultiplier);
}

int AnimationSet::GetLength(AnimationSet_Type type) {
    return GetAnimationBase(type).GetLength();
}

int AnimationSet::GetFrameRate(AnimationSet_Type type) {
    return GetAnimationBase(type).GetFrameRate();
}

float AnimationSet::GetAnimSpeed(AnimationSet_Type type) {
    return GetAnimationBase(type).GetAnimSpeed();
}

void AnimationSet::SetAnimationBlendTime(AnimationSet_Type type, float time) {
    GetAnimationBase(type).SetBlendTime(time);
}

bool AnimationSet::DoesAnimationExist(AnimationSet_Type type) {
    return !GetAnimationBase(type).IsEmpty();
}

}  // namespace GAME
