// A character's body under physics: the ragdoll it falls limp as, the hit that decides how, and
// the projectiles that fly near it or that it shot.
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerBaseCharacter.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterRagDoll.h"

namespace GAME {

namespace {
constexpr int kRagDollPhysics = 3;
}  // namespace

void Character::SetRagdollData(const CharacterRagDoll::EffectData& data, bool force) {
    // The blow that kills keeps the reaction of the last hit taken alive, unless forced.
    if (!force && !(mBio.GetCurrentLife() > 0.0f))
        return;
    mRagdollData = data;
    if (!mOverrideRagdollBehavior.empty())
        mRagdollData.effect = CharacterRagDoll::GetEffectEnum(mOverrideRagdollBehavior);
    if (mOverrideRagdollSpeed != 0.0f)
        mRagdollData.speed = mOverrideRagdollSpeed;
}

void Character::SetPhysicsType(int type) {
    mPhysicsType = type;
    if (type != kRagDollPhysics) {
        if (mRagDoll)
            mRagDoll->Disable();
        return;
    }
    CreatePhysicsObject();
    if (mRagDoll)
        mRagDoll->Enable();
}

void Character::CreatePhysicsObject() {
    // The engine keeps no rigid body of its own for the other types: its physics tracks
    // velocities per entity.
    if (!mRagDoll && mPhysicsType == kRagDollPhysics)
        mRagDoll = std::make_unique<CharacterRagDoll>(this);
}

void Character::ProjectileNotification(std::uint32_t projectileId) {
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->ProjectileNotification(projectileId);
}

void Character::ProjectileCollisionCallback(const ProjectileInfo& info, const CollisionData& data) {
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->ProjectileCollisionCallback(info, data);
}

}  // namespace GAME
