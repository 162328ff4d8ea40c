#include "Game/characters/CharacterRagDoll.h"

#include <algorithm>

#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Game/characters/Character.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/rules/death/DeathNames.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

namespace {

constexpr float kMaxCrumpleSpeed = 4.5f;

Vec3 CapLength(const Vec3& v, float most) {
    const float length = v.Length();
    return length > most ? v * (most / length) : v;
}

// Where a body sits under a pose of the character placed in its region.
Vec3 BodyPosition(const CharacterRagDoll& ragDoll, int body, const SkeletalPose& pose,
                  const Coords& placed) {
    const int bone = ragDoll.GetRigidBodyBone(body);
    const Coords boneCoords =
        bone >= 0 && bone < pose.GetNumBones() ? placed * pose.GetAbsCoords(bone) : placed;
    return ragDoll.GetRigidBodyCoords(body, boneCoords).origin;
}

}  // namespace

CharacterRagDoll::CharacterRagDoll(Character* character)
    : PhysicsRagDoll(character), mCharacter(character) {}

CharacterRagDoll::~CharacterRagDoll() = default;

void CharacterRagDoll::OnDisabled() {
    if (!mCharacter)
        return;
    if (DeathManager* deaths = mCharacter->GetDeathManager())
        deaths->ExternalEvent(DeathNames::PhysicsComplete());
}

void CharacterRagDoll::SetInitialState() {
    if (!mCharacter)
        return;
    switch (mCharacter->GetRagdollData().effect) {
        case Crumple:
            SetCrumple();
            break;
        case TakeHit:
            SetTakeHit();
            break;
        case Random:
            SetRandom();
            break;
    }
}

CharacterRagDoll::Effect CharacterRagDoll::GetEffectEnum(const std::string& text) {
    if (text == "Crumple")
        return Crumple;
    if (text == "TakeHit")
        return TakeHit;
    return Random;
}

Vec3 CharacterRagDoll::GetDirectionVec(const std::string& text, const WorldVec3& a,
                                       const WorldVec3& b) {
    if (text == "Push")
        return a.VectorTo(b).Unit();
    if (text == "Pull")
        return b.VectorTo(a).Unit();
    return Vec3();
}

Vec3 CharacterRagDoll::GetPushVec(const std::string& text, const WorldCoords& c) {
    if (text == "Right")
        return c.coords.xAxis * -1.0f;
    if (text == "Left")
        return c.coords.xAxis;
    return Vec3();
}

Vec3 CharacterRagDoll::GetElevationVec(const std::string& text) {
    if (text == "Upward")
        return Vec3(0.0f, 3.0f, 0.0f);
    if (text == "Downward")
        return Vec3(0.0f, -3.0f, 0.0f);
    return Vec3();
}

void CharacterRagDoll::SetCrumple() {
    Vec3 motion = mCharacter->GetMotion() * 0.8f;
    if (motion.x != 0.0f || motion.y != 0.0f || motion.z != 0.0f)
        motion = CapLength(motion, kMaxCrumpleSpeed);

    const GraphicsAnim* anim = mCharacter->GetChannelAnimation(0);
    if (!mCharacter->GetMeshInstance().HasMesh() || !anim) {
        SetLinearVelocity(motion);
        return;
    }
    const int frame = mCharacter->GetChannelFrame(0);
    // The frame before the first is the clip's last one (its length counts one past it).
    const int previous = frame - 1 < 0 ? anim->GetLength() - 1 : frame - 1;
    // Once per death, so the two poses may be built here.
    SkeletalPose now;
    SkeletalPose before;
    anim->GetFramePose(now, static_cast<float>(frame), true);
    anim->GetFramePose(before, static_cast<float>(previous), true);
    const Coords& placed = mCharacter->GetCoords().coords;
    const auto rate = static_cast<float>(anim->GetFrameRate());
    for (int body = 0; body < GetNumRigidBodies(); ++body) {
        const Vec3 travelled =
            BodyPosition(*this, body, now, placed) - BodyPosition(*this, body, before, placed);
        SetLinearVelocity(body, CapLength(travelled * rate + motion, kMaxCrumpleSpeed));
    }
}

void CharacterRagDoll::SetTakeHit() {
    const EffectData& data = mCharacter->GetRagdollData();
    if (data.direction.LengthSquared() < 0.0001f)
        return;
    const float amp = std::max(1.0f, data.amplification);
    const float v = std::clamp(amp * data.speed, 3.0f, 12.0f);
    const float spread = std::clamp(v * 0.5f, 3.0f, 6.0f);
    const float lift = v * 0.333f;
    Vec3 base = data.direction.Unit() * v;
    base.y += lift;
    for (int body = 0; body < GetNumRigidBodies(); ++body) {
        const float r1 = RandomFloat(-spread, spread);
        const float r2 = RandomFloat(-spread, spread);
        SetLinearVelocity(body, base + Vec3(r1, 0.0f, r2));
    }
}

void CharacterRagDoll::SetRandom() {
    for (int body = 0; body < GetNumRigidBodies(); ++body) {
        const float z = RandomFloat(-5.0f, 5.0f);
        const float x = RandomFloat(-5.0f, 5.0f);
        SetLinearVelocity(body, Vec3(x, 3.0f, z));
    }
}

}  // namespace GAME
