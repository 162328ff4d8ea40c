#pragma once
// An object a character holds at one of its attach points, with a looping animation and a
// sound played when it is taken up.
#include <string>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/Object.h"
#include "Game/characters/anim/OwnedAnimation.h"
#include "Game/items/OwnedObject.h"

namespace GAME {

class Prop : public Actor {
    RTTI_DECLARE(Prop)
public:
    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;

    virtual void AttachProp(Actor& holder);
    virtual void DetachProp(Actor& holder);
    const std::string& GetAttachPoint() const { return mAttachPoint; }
    SoundPak* GetAnimationSound() const { return mAnimationSound.Get(); }
    const OwnedAnimation& GetAnimation() const { return mAnimation; }

private:
    OwnedObject<SoundPak> mAnimationSound{"Game/Prop"};
    OwnedAnimation mAnimation;
    std::string mAttachPoint;
};

}  // namespace GAME
