#pragma once
// Everything one character can play in one weapon stance: a holder per animation type, and the
// type playing now. Actions, skills and controllers play animations only through a set.
#include <array>
#include <memory>
#include <string>

#include "Game/characters/anim/AnimationBase.h"
#include "Game/characters/anim/AnimationSetType.h"

namespace GAME {

class AnimationSet {
public:
    AnimationSet();
    AnimationSet(const AnimationSet&) = delete;
    AnimationSet& operator=(const AnimationSet&) = delete;
    ~AnimationSet();

    // "" for a value outside the table.
    static std::string GetAnimTypeAsText(AnimationSet_Type type);
    // Exact, case-sensitive; None when no type has that text.
    static AnimationSet_Type GetAnimTextAsType(const std::string& text);

    void AddAnimation(AnimationSet_Type type, const std::string& fileName, float speed,
                      float weight, const std::string& referenceName);
    void PreLoad();

    // An empty type falls back to None (the character always shows something) and answers
    // false.
    bool PlayAnimation(Actor& actor, AnimationSet_Type type, const Name& name, float speed,
                       bool loop, unsigned count);
    // An empty type changes nothing and answers false.
    bool PlayAnimationIfAvailable(Actor& actor, AnimationSet_Type type, const Name& name,
                                  float speed, bool loop, unsigned count);
    // True when the current type swallows the event (a counted play still running).
    bool HandleAnimationCallback(Actor& actor, const Name& event);
    bool SetLastPost(Actor& actor, AnimationSet_Type type);
    bool SetAnimationPose(Actor& actor, AnimationSet_Type type, int frame);
    void AdjustAnimation(Actor& actor, float speedMultiplier);

    int GetLength(AnimationSet_Type type);
    int GetFrameRate(AnimationSet_Type type);
    float GetAnimSpeed(AnimationSet_Type type);
    void SetAnimationBlendTime(AnimationSet_Type type, float time);
    bool DoesAnimationExist(AnimationSet_Type type);

    // Forgets the current type; the actor keeps playing whatever it plays.
    void Cancel() { mCurrentType = AnimationSet_Type::None; }
    AnimationSet_Type GetCurrentType() const { return mCurrentType; }

    // A type outside the table is served by the None holder.
    AnimationBase& GetAnimationBase(AnimationSet_Type type);
    AnimationBase& GetAnimationBase() { return GetAnimationBase(mCurrentType); }

    void SetMountedAnimations() { mMounted = true; }
    void SetDismountedAnimations() { mMounted = false; }
    bool IsMounted() const { return mMounted; }

private:
    bool mMounted = false;
    AnimationSet_Type mCurrentType = AnimationSet_Type::None;
    std::array<std::unique_ptr<AnimationBase>, kAnimationSetTypeCount> mHolders;
};

}  // namespace GAME
