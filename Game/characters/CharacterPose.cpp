// What a character shows beyond its animations: the spawn effect and the effects attached to it,
// its highlight underground, and the small corrections of its pose after animation (breast
// support, spine curve).
#include <algorithm>
#include <cmath>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"

namespace GAME {

namespace {

const Name& BreastBone() {
    static const Name name = Name::Create("Bone_Boob");
    return name;
}

// Rotation by a normalised linear blend of the quaternions (the first one's weight flips when
// they lie in opposite hemispheres), origin by a linear one.
Coords BlendCoords(const Coords& a, const Coords& b, float s) {
    const Quaternion qa = a.ToQuaternion();
    const Quaternion qb = b.ToQuaternion();
    float wa = 1.0f - s;
    const float wb = s;
    if (QuaternionDot(qa, qb) < 0.0f)
        wa = -wa;
    Quaternion q{qa.x * wa + qb.x * wb, qa.y * wa + qb.y * wb, qa.z * wa + qb.z * wb,
                 qa.w * wa + qb.w * wb};
    const float length = std::sqrt(QuaternionDot(q, q));
    if (length > 0.0f)
        q = Quaternion{q.x / length, q.y / length, q.z / length, q.w / length};
    return Coords::FromQuaternion(q, a.origin * (1.0f - s) + b.origin * s);
}

}  // namespace

void Character::StartSpawnEffect() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (!mSpawnEffect.empty())
        if (auto* effect = objects.CreateObjectFromFile<EffectEntity>(mSpawnEffect)) {
            effect->AddToWorld(GetCoords(), true);
            mSpawnEffectObject = effect->GetObjectId();
        }
    if (auto* sound = objects.GetObject<SoundPak>(mSpawnSoundId))
        sound->Play(GetPosition(), false, true);
}

void Character::StopAttachedEffects() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : GetAttachedChildren())
        if (auto* effect = objects.GetObject<EffectEntity>(id))
            effect->StopEmitting();
}

float Character::GetAmbientHighlight() const {
    const Region* region = GetCoords().region;
    const auto* ambiance = Machine::Current().Find<AmbianceManager>();
    if (!region || !region->IsUnderground() || !ambiance)
        return 0.0f;
    const Color sky = ambiance->GetSkyAmbientColor(0);
    return std::max(0.0f, 0.4f - 0.333f * (sky.r + sky.g + sky.b));
}

void Character::SetBreastSupport(float support) {
    const float clamped = std::clamp(support, 0.0f, 1.0f);
    if (clamped == mBreastSupport)
        return;
    mBreastSupport = clamped;
    GetAnimationChannels().TweakChanged();
}

void Character::TweakPose(SkeletalPose& pose) const {
    Actor::TweakPose(pose);
    TweakPose_Breasts(pose);
    TweakPose_Head(pose);
    TweakPose_Spine(pose);
}

void Character::TweakPose_Breasts(SkeletalPose& pose) const {
    if (mBreastSupport <= 0.0f)
        return;
    if (mBreastSupport >= 1.0f) {
        pose.SetBoneCoords(BreastBone(), Coords::Identity());
        return;
    }
    Coords bone;
    if (pose.GetBoneCoords(BreastBone(), bone))
        pose.SetBoneCoords(BreastBone(), BlendCoords(bone, Coords::Identity(), mBreastSupport));
}

void Character::SetSpineCurve(float value) {
    const float sign = value < 0.0f ? -1.0f : 1.0f;
    mSpineCurveTarget = sign * std::min(std::fabs(value), mSpineCurveMax);
}

void Character::Update_TweakPose(int ms) {
    const float step = static_cast<float>(ms) * 0.001f * mSpineTurnRate;
    const float remaining = mSpineCurveTarget - mSpineCurve;
    if (step <= std::fabs(remaining))
        mSpineCurve += remaining < 0.0f ? -step : step;
    else
        mSpineCurve = mSpineCurveTarget;
}

}  // namespace GAME
