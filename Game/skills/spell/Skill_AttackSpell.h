#pragma once
// Spells that strike one chosen character without a projectile. The controlling machine picks
// the target (or the place a caster jumps to) and sends it with a seed; every machine then
// hits from that seed, so all of them roll the same damage.
#include <cstdint>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackSpell : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackSpell)
public:
    static constexpr float kReach = 20.0f;

    Skill_AttackSpell();

    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& caster, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;

    // Where a spell strikes a character: its "Target" attach point.
    static WorldVec3 TargetPointOf(const Character& target);
    // Each listed character takes the spell's damage from one generator seeded with `seed`
    // (list order), with the skill's target effect (at the target's "Target" point when
    // `fxAtTargetPoint`), hit sound and spell aura.
    void HitTargets(Character& caster, const std::vector<std::uint32_t>& targets,
                    const WorldCoords& origin, std::uint32_t seed, bool fxAtTargetPoint);
};

// The caster and the target swap places, then the spell hits.
class Skill_AttackSpellTeleport : public Skill_AttackSpell {
    RTTI_DECLARE(Skill_AttackSpellTeleport)
public:
    Skill_AttackSpellTeleport();

    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
};

// The caster jumps to the aimed point; the command's coordinates carry the place.
class Skill_AttackSpellTeleportSelf : public Skill_AttackSpell {
    RTTI_DECLARE(Skill_AttackSpellTeleportSelf)
public:
    Skill_AttackSpellTeleportSelf();

    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& caster, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;
};

// The target reacts as if struck, with no damage at all.
class Skill_E3FauxAttack : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_E3FauxAttack)
public:
    Skill_E3FauxAttack();

    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

}  // namespace GAME
