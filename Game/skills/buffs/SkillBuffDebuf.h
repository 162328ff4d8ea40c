#pragma once
// The curses: a debuff hurts its carrier once per tick with the buff skill's own attack, in
// the caster's name; the contagious kind spreads to the carrier's allies; the trap and freeze
// kinds hold the carrier still, for less time the more it resists. Every roll of a tick comes
// from a generator seeded with the carrier's id, so every machine deals the same damage.
#include <cstdint>

#include "Game/core/players/Team.h"
#include "Game/skills/buffs/SkillBuff.h"

namespace GAME {

class SkillBuff_Debuf : public SkillBuff {
    RTTI_DECLARE(SkillBuff_Debuf)
public:
    static constexpr int kTickInterval = 1000;

    SkillBuff_Debuf();
    void Update(Character& carrier, int ms) override;
    void DispelDeBuff(Character& carrier) override;
    // A debuff never adds offensive attributes.
    void CollectPassiveOffensiveDamageAttributes(CombatAttributeAccumulator&) override {}
    void CollectPassiveOffensiveModifierAttributes(CombatAttributeAccumulator&) override {}

private:
    void Tick(Character& carrier);

    int mTickTimer = 0;
    int mTickInterval = kTickInterval;
};

class SkillBuff_Contageous : public SkillBuff_Debuf {
    RTTI_DECLARE(SkillBuff_Contageous)
public:
    SkillBuff_Contageous();
    void Install(Character* carrier) override;
    void Update(Character& carrier, int ms) override;
    int GetSpreadBudget() const { return mSpreadBudget; }

private:
    void Spread(Character& carrier);

    int mContagionTimer = 0;
    int mSpreadBudget = 0;
    Team mTeam;
};

class SkillBuff_DebufTrap : public SkillBuff_Debuf {
    RTTI_DECLARE(SkillBuff_DebufTrap)
public:
    SkillBuff_DebufTrap();
    void Install(Character* carrier) override;
    void Update(Character& carrier, int ms) override;

protected:
    virtual void ApplyBuffDamage(Character& carrier);
    // The carrier's total defense against this kind of hold, in percent.
    virtual float GetResistance(CombatAttributeAccumulator& accumulator);
    float GetHoldDuration() const { return mHold.duration; }

private:
    HoldTimer mHold;
};

class SkillBuff_DebufFreeze : public SkillBuff_DebufTrap {
    RTTI_DECLARE(SkillBuff_DebufFreeze)
public:
    SkillBuff_DebufFreeze();

protected:
    void ApplyBuffDamage(Character& carrier) override;
    float GetResistance(CombatAttributeAccumulator& accumulator) override;
};

}  // namespace GAME
