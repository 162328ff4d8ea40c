#include "Game/world/props/Prop.h"

#include "Engine/media/sound/SoundPak.h"
#include "Engine/records/LoadTable.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

RTTI_IMPLEMENT(Prop, Actor)

void Prop::Load(const LoadTable& table) {
    Actor::Load(table);
    mAnimationSound.Reset(GetSoundPakFromRecord(table, "animationSound"));
    mAnimation.Load(table.GetString("propAnimation"), table.GetFloat("propAnimationSpeed", 1.0f));
    mAttachPoint = table.GetString("propAttachPoint");
}

void Prop::PreLoad(bool now) {
    Actor::PreLoad(now);
    mAnimation.PreLoad();
    if (SoundPak* sound = mAnimationSound.Get())
        sound->PreLoad(now);
}

void Prop::AttachProp(Actor& holder) {
    holder.Attach(this, Coords::Identity(), mAttachPoint.c_str());
    mAnimation.PlayLoop(*this);
    if (SoundPak* sound = mAnimationSound.Get())
        sound->Play(holder.GetPosition());
}

void Prop::DetachProp(Actor& holder) {
    holder.Detach(this);
}

}  // namespace GAME
