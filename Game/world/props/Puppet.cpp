#include "Game/world/props/Puppet.h"

#include <algorithm>

#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/Math.h"
#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT(Puppet, Actor)

void Puppet::Load(const LoadTable& table) {
    Actor::Load(table);
    mStartAnimation.Load(table.GetString("startAnimation"),
                         table.GetFloat("startAnimationSpeed", 1.0f));
    mIdleAnimation.Load(table.GetString("idleAnimation"),
                        table.GetFloat("idleAnimationSpeed", 1.0f));
    mEndAnimation.Load(table.GetString("endAnimation"), table.GetFloat("endAnimationSpeed", 1.0f));
    mFadeInTime = SaturatedInt(table.GetFloat("fadeInTime", 0.0f));
    mFadeOutTime = SaturatedInt(table.GetFloat("fadeOutTime", 0.0f));
}

void Puppet::PreLoad(bool now) {
    Actor::PreLoad(now);
    mStartAnimation.PreLoad();
    mIdleAnimation.PreLoad();
    mEndAnimation.PreLoad();
}

void Puppet::StartAnimating() {
    FadeIn();
    if (mStartAnimation.PlayOnce(*this)) {
        mState = kStartAnimation;
    } else {
        mIdleAnimation.PlayLoop(*this);
        mState = kIdleLoop;
    }
}

void Puppet::FadeIn() {
    mFadingIn = true;
    mCountdown = mFadeInTime;
}

void Puppet::FadeOut() {
    mFadingIn = false;
    mCountdown = mFadeOutTime;
}

void Puppet::ReleaseToWorld() {
    if (mEndAnimation.PlayOnce(*this)) {
        mState = kEndAnimation;
    } else {
        FadeOut();
        mState = kFadingOut;
    }
}

void Puppet::AnimationCallback(int channel, const Name& event) {
    Actor::AnimationCallback(channel, event);
    static const Name kEnd = Name::Create("End");
    if (channel != 0 || event != kEnd)
        return;
    if (mState == kStartAnimation) {
        mIdleAnimation.PlayLoop(*this);
        mState = kIdleLoop;
    } else if (mState == kEndAnimation) {
        FadeOut();
        mState = kFadingOut;
    }
}

void Puppet::UpdateSelf(int elapsedMs) {
    Actor::UpdateSelf(elapsedMs);
    if (mCountdown > 0) {
        mCountdown -= elapsedMs;
        const float countdown = static_cast<float>(mCountdown);
        const float b =
            mFadingIn ? std::clamp(1.0f - countdown / static_cast<float>(mFadeInTime), 0.0f, 1.0f)
                      : std::clamp(countdown / static_cast<float>(mFadeOutTime), 0.0f, 1.0f);
        GetMeshInstance().SetDiffuseColor(Color{b, b, b, 1.0f});
    }
    if (mState == kFadingOut && mCountdown < 1) {
        mState = kIdle;
        World::Get().RemoveEntity(this);
        Singleton<ObjectManager>::Get().DestroyObject(this);
    }
}

}  // namespace GAME
