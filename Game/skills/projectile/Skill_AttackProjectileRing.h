#pragma once
// Several projectiles at once, spread evenly over an angle around the caster's facing: a whole
// ring (used at the caster's own place) or a fan (aimed). One spawn command carries every
// projectile's place and id; every machine makes them all and charges the use once.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackProjectileRing : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackProjectileRing)
public:
    Skill_AttackProjectileRing();

    void SkillSpawnObject(Character& caster, const WorldCoords& coords, std::uint32_t targetId,
                          const std::vector<WorldCoords>& points,
                          const std::vector<std::uint32_t>& ids, std::uint32_t seed) override;
    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    // The projectiles of one use.
    std::size_t GetClientSpawnLimit() const override;
};

class Skill_AttackProjectileFan : public Skill_AttackProjectileRing {
    RTTI_DECLARE(Skill_AttackProjectileFan)
public:
    Skill_AttackProjectileFan();

    bool GetValidTarget(const Character& caster, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
};

}  // namespace GAME
