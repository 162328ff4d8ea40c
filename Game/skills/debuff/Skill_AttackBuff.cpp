#include "Game/skills/debuff/Skill_AttackBuff.h"

#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfileModifiers.h"
#include "Game/skills/projectile/Skill_AttackProjectile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackBuff, SkillActivated)
RTTI_IMPLEMENT(Skill_AttackBuffRadius, Skill_AttackBuff)

Skill_AttackBuff::Skill_AttackBuff() {
    SetTypeText("^bNegative Buff Enemy");
    SetPrimary(false);
    SetSecondary(true);
    SetRepeatable(false);
}

void Skill_AttackBuff::Load(const LoadTable& table) {
    mBuffName = LoadBuffSkillRecord(table);
}

void Skill_AttackBuff::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                   const WorldVec3&) {
    SkillServicesBase* services = ControllingServices();
    if (!FindCharacter(target) || !services || !IsTargetInRange(caster, target, kReach))
        return;
    services->SendTargetResult(GetObjectId(), {target}, caster.GetCoords(), NewCommandSeed(), 0,
                               false);
}

void Skill_AttackBuff::TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                                    const WorldCoords&, std::uint32_t, std::uint32_t, bool) {
    ApplyDebuffToTargets(*this, caster, targets, mBuffName);
}

bool Skill_AttackBuff::AcceptClientResult(const Character& caster,
                                          const std::vector<std::uint32_t>& targets,
                                          const WorldCoords&) const {
    return targets.size() == 1 && IsTargetInRange(caster, targets[0], kReach + kClientLeeway);
}

// --- Around a point ---

Skill_AttackBuffRadius::Skill_AttackBuffRadius() {
    SetTypeText("^bNegative Buff Enemies in Radius");
}

void Skill_AttackBuffRadius::ActivateNow(Character& caster, const Name&, std::uint32_t target,
                                         const WorldVec3& point) {
    const Character* aimed = FindCharacter(target);
    const WorldVec3 centre = aimed ? aimed->GetPosition() : point;
    SkillServicesBase* services = ControllingServices();
    if (!services || !gGameEngine)
        return;
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    std::vector<std::uint32_t> targets;
    if (data.targetRadius > 0.0f)
        gGameEngine->GetTargetsInRadius(caster.GetTeam(), centre, data.targetRadius, targets, 0,
                                        false);
    else if (target != 0)
        targets.push_back(target);
    if (targets.empty())
        return;
    services->SendTargetResult(GetObjectId(), targets,
                               WorldCoords(centre.region, Coords::FromOrigin(centre.local)),
                               NewCommandSeed(), 0, false);
}

bool Skill_AttackBuffRadius::AcceptClientResult(const Character& caster,
                                                const std::vector<std::uint32_t>& targets,
                                                const WorldCoords& origin) const {
    // The centre is where the caster aimed: within the skill's range; each foe within the
    // radius of it.
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    const float reach = std::max(GetRange(), kReach) + kClientLeeway;
    if (!(caster.GetPosition().DistanceTo(origin.GetPosition()) <= reach))
        return false;
    for (std::uint32_t id : targets) {
        const Character* target = FindCharacter(id);
        if (target && !(target->GetPosition().DistanceTo(origin.GetPosition()) <=
                        std::max(data.targetRadius, 0.0f) + target->GetExtents() + kClientLeeway))
            return false;
    }
    return true;
}

}  // namespace GAME
