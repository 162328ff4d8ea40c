#pragma once
// A scripted, non-interactive actor: a start animation, an idle loop until released, an end
// animation, then a fade out after which it removes itself.
#include "Engine/object/Object.h"
#include "Game/characters/anim/OwnedAnimation.h"

namespace GAME {

class Puppet : public Actor {
    RTTI_DECLARE(Puppet)
public:
    enum State { kIdle = 0, kStartAnimation = 1, kIdleLoop = 2, kEndAnimation = 3, kFadingOut = 4 };

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void UpdateSelf(int elapsedMs) override;
    void AnimationCallback(int channel, const Name& event) override;

    virtual bool IsReady() const { return mState == kIdleLoop; }
    virtual void StartAnimating();
    virtual void FadeIn();
    virtual void FadeOut();
    virtual void ReleaseToWorld();

    int GetState() const { return mState; }
    int GetFadeCountdown() const { return mCountdown; }

private:
    int mState = kIdle;
    OwnedAnimation mStartAnimation;
    OwnedAnimation mIdleAnimation;
    OwnedAnimation mEndAnimation;
    int mCountdown = 0;
    int mFadeInTime = 0;
    int mFadeOutTime = 0;
    bool mFadingIn = false;
};

}  // namespace GAME
