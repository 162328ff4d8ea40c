#pragma once
// A modifier improves the skill it is listed under (its parent): each of its levels adds its
// record's attributes and modifier data to what the parent does. It is never used on its own;
// the parent asks it for its share through the add-modifier family of Skill. One modifier may
// serve several skills, and modifiers nest: a modifier's own modifiers add after it.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/Skill.h"

namespace GAME {

class Skill_Modifier : public Skill {
    RTTI_DECLARE(Skill_Modifier)
public:
    Skill_Modifier();

    // Each adds nothing while the modifier is disabled (level 0), nested modifiers included.
    virtual void CollectModifierCharAttributes(CharAttributeAccumulator& accumulator);
    virtual void CollectModifierSkillAttributes(SkillAttributeAccumulator& accumulator);
    virtual void CollectModifierOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator);
    virtual void CollectModifierOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator);
    virtual void CollectModifierRetaliationAttributes(CombatAttributeAccumulator& accumulator);
    virtual void CollectModifierDefenseAttributes(CombatAttributeAccumulator& accumulator);
    virtual void CollectModifierRacialBonusDamage(const std::vector<std::string>& races,
                                                  RacialBonus_Damage& bonus);
    virtual void CollectModifierRacialBonusDefense(const std::vector<std::string>& races,
                                                   RacialBonus_Defense& bonus);
};

// Adds an extra attack to a charged weapon attack whose warm-up was active.
class Skill_MeleeModifier : public Skill_Modifier {
    RTTI_DECLARE(Skill_MeleeModifier)
public:
    virtual void ActivateModifierAttack(Character&, std::uint32_t, const WorldVec3&) {}
    virtual void CollectModifierDamageAttributes(CombatAttributeAccumulator&) {}
    // Every machine: the published foes take the modifier's attack, drawn from the seed.
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
};

// The extra attack strikes every foe close around the character.
class Skill_MeleeModifierRadius : public Skill_MeleeModifier {
    RTTI_DECLARE(Skill_MeleeModifierRadius)
public:
    // Whatever the record says.
    static constexpr float kRadius = 3.0f;

    void ActivateModifierAttack(Character& character, std::uint32_t targetId,
                                const WorldVec3& point) override;
};

}  // namespace GAME
