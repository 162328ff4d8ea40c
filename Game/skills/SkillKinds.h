#pragma once
// The skill kinds that the skill manager creates and links by kind: activated and weapon-pool
// attacks, passives and masteries, modifiers, secondary skills and on-death skills. Until their
// own behaviour is built they behave as the base skill, so records that name them load and link.
#include <cstdint>

#include "Game/skills/SkillActivated.h"
#include "Game/skills/modifiers/Skill_Modifier.h"
#include "Game/skills/passive/Skill_Passive.h"
#include "Game/skills/pool/Skill_WPAttack.h"
#include "Game/skills/secondary/SkillSecondary.h"

namespace GAME {

// The skill that stands for a whole mastery: the level the skills of its tree require.
class Skill_Mastery : public Skill_Passive {
    RTTI_DECLARE(Skill_Mastery)
public:
    Skill_Mastery() { SetTypeText("^bSkill Mastery"); }
    // Which of the eight masteries, by "MasteryEnumeration".
    enum : std::uint32_t {
        Spirit,
        Nature,
        Stealth,
        Hunting,
        Storm,
        Earth,
        Defense,
        Warfare,
    };

    void Load(const LoadTable& table) override;
    // A mastery's bought level is never lowered by the skill itself, and items and bonuses
    // that raise skill levels never raise a mastery.
    bool DecrementSkillLevel() override { return false; }
    void IncrementAugmentedSkillLevel(std::uint32_t) override {}
    void DecrementAugmentedSkillLevel(std::uint32_t) override {}

    std::uint32_t GetEnumeration() const { return mEnumeration; }

private:
    std::uint32_t mEnumeration = Spirit;
};

// Acts when its character dies.
class SkillOnDeath : public Skill {
    RTTI_DECLARE(SkillOnDeath)
public:
    virtual void ActivateOnDeathNow(Character&) {}
};

}  // namespace GAME
