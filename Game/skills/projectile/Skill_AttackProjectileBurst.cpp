#include "Game/skills/projectile/Skill_AttackProjectileBurst.h"

#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/skills/projectile/ProjectileAim.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectileBurst, SkillActivated)

Skill_AttackProjectileBurst::Skill_AttackProjectileBurst() {
    SetTypeText("^bProjectile Burst Attack");
    SetPrimary(false);
    SetSecondary(true);
}

int Skill_AttackProjectileBurst::DrawDelay() const {
    return gGameEngine ? gGameEngine->GetRandomGen().IGenerate(mMinDelayMs, mMaxDelayMs) : 0;
}

void Skill_AttackProjectileBurst::ActivateNow(Character& caster, const Name& event,
                                              std::uint32_t target, const WorldVec3& point) {
    if (SkillServicesBase* services = ControllingServices()) {
        WorldVec3 aim = point;
        if (const Character* aimed = FindCharacter(target))
            aim = aimed->GetPosition();
        mCoords = LookingAt(caster.GetCoords(), aim);
        mCoords.SetPosition(GetCoordsFromCallback(caster, event).GetPosition());
        SkillProfile_Modifiers data;
        GetSkillModifierData(data);
        mSpreadDegrees = data.projectileLaunchRotation;
        mShotsLeft = static_cast<int>(data.projectileLaunchNumber);
        services->SendCreateProjectile(GetObjectId(), mCoords, target, aim, NewCommandSeed(), 0);
        --mShotsLeft;
        mNextShotMs = DrawDelay();
    }
    PlayHitSound(caster.GetPosition());
}

void Skill_AttackProjectileBurst::Update(Character& caster, int ms) {
    SkillActivatedSpell::Update(caster, ms);
    SkillServicesBase* services = ControllingServices();
    if (!services || mShotsLeft <= 0 || !gGameEngine)
        return;
    mNextShotMs -= ms;
    if (mNextShotMs >= 0)
        return;
    const float angle = gGameEngine->GetRandomGen().FGenerate(-mSpreadDegrees, mSpreadDegrees);
    const WorldCoords shot = RotatedAboutUp(mCoords, angle);
    services->ClearHitIteration();
    services->SendCreateProjectile(GetObjectId(), shot, 0, shot.GetPosition(), NewCommandSeed(), 0);
    --mShotsLeft;
    mNextShotMs = DrawDelay();
}

void Skill_AttackProjectileBurst::StopSkill(Character& caster) {
    SkillActivatedSpell::StopSkill(caster);
    mShotsLeft = 0;
    mNextShotMs = 0;
}

void Skill_AttackProjectileBurst::CreateProjectile(Character& character, std::uint32_t,
                                                   const WorldCoords& origin,
                                                   std::uint32_t targetId, const WorldVec3& aim,
                                                   std::uint32_t projectileId, std::uint16_t seed) {
    LaunchOwnProjectile(character, GetProjectileName(), origin, targetId, aim, projectileId, seed,
                        OwnLaunch{});
}

}  // namespace GAME
