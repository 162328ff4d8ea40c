#pragma once
// A spell whose hit is one projectile launched from the point of the animation's hit event at
// the target; the skill's own projectile record, no weapon. The debuff kind's projectile puts
// the buff of another skill record on every foe it hits.
#include <string>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackProjectile : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackProjectile)
public:
    Skill_AttackProjectile();

    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

class Skill_AttackProjectileDebuf : public Skill_AttackProjectile {
    RTTI_DECLARE(Skill_AttackProjectileDebuf)
public:
    Skill_AttackProjectileDebuf();

    // The levels, costs and modifier data are the buff record's ("buffSkillName"); the
    // projectiles are named per level ("projectileNames").
    void Load(const LoadTable& table) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    // The name of the current level (the last one past the list); empty at level 0.
    const std::string& GetProjectileName() const override;

    const std::string& GetBuffName() const { return mBuffName; }

private:
    std::string mBuffName;
    std::vector<std::string> mProjectileNames;
};

// Puts the skill's buff (record `buffName`) on each target that is a character, for the modifier
// data's "skillActiveDuration" (whole milliseconds): the debuff kinds share it.
void ApplyDebuffToTargets(SkillActivated& skill, Character& caster,
                          const std::vector<std::uint32_t>& targets, const std::string& buffName);

}  // namespace GAME
