#pragma once
// Skills that are never used: while learned and enabled they add their record's attributes to
// their owner. The dual-wield kind is enabled only while a melee weapon is in each hand; the
// shield kind also stands between qualifying hits and its owner's life.
#include <string>
#include <vector>

#include "Game/rules/combat/CombatFilter.h"
#include "Game/skills/Skill.h"

namespace GAME {

class Skill_Passive : public Skill {
    RTTI_DECLARE(Skill_Passive)
public:
    Skill_Passive();

    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void CollectPassiveOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                         RacialBonus_Damage& bonus) override;
    void CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) override;
};

class Skill_PassiveDualWieldWeapon : public Skill_Passive {
    RTTI_DECLARE(Skill_PassiveDualWieldWeapon)
public:
    Skill_PassiveDualWieldWeapon();
    // Mana and cooldown play no part: only the level and a melee weapon in each hand.
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
};

// Its filter is on the owner while the skill is installed and acts while it is enabled, with
// the absorption of its current level.
class Skill_PassiveShield : public Skill_Passive, public CombatFilter {
    RTTI_DECLARE(Skill_PassiveShield)
public:
    Skill_PassiveShield();

    void Install(Character* owner) override;
    void UnInstall(Character* owner) override;
    float ModifyDamage(float damage, CombatAttributeType type) override;
    bool ProvidesInvulnerability(const std::vector<std::string>&) override { return false; }

    float GetDamageAbsorption() const { return mDamageAbsorption; }
    float GetDamageAbsorptionPercent() const { return mDamageAbsorptionPercent; }

private:
    float mDamageAbsorption = 0.0f;
    float mDamageAbsorptionPercent = 0.0f;
};

}  // namespace GAME
