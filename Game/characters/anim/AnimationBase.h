#pragma once
// What every holder of a type's animations can do. The holders hide how a type picks what it
// plays: one animation, a weighted random choice, or a choice by reference name.
#include <string>

#include "Engine/media/ResourceLoader.h"
#include "Engine/text/Name.h"

namespace GAME {

class Actor;
class GraphicsAnim;

class AnimationBase {
public:
    AnimationBase() = default;
    AnimationBase(const AnimationBase&) = delete;
    AnimationBase& operator=(const AnimationBase&) = delete;
    virtual ~AnimationBase() = default;

    virtual bool Play(Actor& actor, const Name& name, float speed, bool loop, unsigned count) = 0;
    virtual bool SetLastPose(Actor& actor) = 0;
    virtual bool SetPose(Actor& actor, int frame) = 0;
    // True when the event belongs to a counted play that is still running.
    virtual bool HandleAnimationCallback(Actor& actor, const Name& event) = 0;
    virtual void AddAnimation(const std::string& fileName, float speed, float weight,
                              const std::string& referenceName) = 0;
    virtual void AdjustAnimation(Actor& actor, float speedMultiplier) = 0;
    virtual void PreLoad(ResourcePriority priority) = 0;
    virtual int GetLength() = 0;
    virtual int GetFrameRate() = 0;
    virtual float GetAnimSpeed() = 0;
    virtual void SetBlendTime(float) {}
    virtual GraphicsAnim* GetAnimation() = 0;
    virtual bool IsEmpty() = 0;
};

}  // namespace GAME
