#include "Game/skills/projectile/Skill_AttackProjectile.h"

#include <algorithm>

#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_AttackProjectile, SkillActivated)
RTTI_IMPLEMENT(Skill_AttackProjectileDebuf, Skill_AttackProjectile)

Skill_AttackProjectile::Skill_AttackProjectile() {
    SetTypeText("^bProjectile Attack");
    SetPrimary(true);
    SetSecondary(true);
}

void Skill_AttackProjectile::ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                                         const WorldVec3& point) {
    WorldCoords origin = caster.GetCoords();
    origin.SetPosition(GetCoordsFromCallback(caster, event).GetPosition());
    ExecuteRangedAttack(caster, origin, target, point, 0);
}

void Skill_AttackProjectile::CreateProjectile(Character& character, std::uint32_t,
                                              const WorldCoords& origin, std::uint32_t targetId,
                                              const WorldVec3& aim, std::uint32_t projectileId,
                                              std::uint16_t seed) {
    // The launch sound.
    PlayHitSound(origin.GetPosition());
    LaunchOwnProjectile(character, GetProjectileName(), origin, targetId, aim, projectileId, seed,
                        OwnLaunch{});
}

// --- Debuff ---

Skill_AttackProjectileDebuf::Skill_AttackProjectileDebuf() {
    SetTypeText("^bProjectile Debuf");
    SetRepeatable(false);
}

void Skill_AttackProjectileDebuf::Load(const LoadTable& table) {
    table.GetStringArray("projectileNames", mProjectileNames);
    mBuffName = LoadBuffSkillRecord(table);
}

const std::string& Skill_AttackProjectileDebuf::GetProjectileName() const {
    static const std::string kNone;
    const std::uint32_t level = GetCurrentLevel();
    if (level == 0 || mProjectileNames.empty())
        return kNone;
    return mProjectileNames[std::min<std::size_t>(level - 1, mProjectileNames.size() - 1)];
}

void Skill_AttackProjectileDebuf::TargetResult(Character& caster,
                                               const std::vector<std::uint32_t>& targets,
                                               const WorldCoords&, std::uint32_t, std::uint32_t,
                                               bool) {
    ApplyDebuffToTargets(*this, caster, targets, mBuffName);
}

void ApplyDebuffToTargets(SkillActivated& skill, Character& caster,
                          const std::vector<std::uint32_t>& targets, const std::string& buffName) {
    if (targets.empty())
        return;
    skill.PlayActivateSound(caster.GetPosition());
    SkillProfile_Modifiers data;
    skill.GetSkillModifierData(data);
    const int timeToLive = static_cast<int>(data.activeDuration * 1000.0f);
    for (std::uint32_t id : targets) {
        Character* target = FindCharacter(id);
        if (!target)
            continue;
        skill.CreateTargetFx(target->GetPosition());
        skill.ApplyBuffOnTarget(caster, *target, buffName, timeToLive);
    }
}

}  // namespace GAME
