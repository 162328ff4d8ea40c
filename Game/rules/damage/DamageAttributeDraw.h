#pragma once
// An attribute's chance gate and its amount and duration draws, inline. Attacks hand the attributes
// their accumulator's own generator, whose class is final: recognised by address, its draw is
// inline code instead of a virtual call. Any other generator (a caller's own) is drawn through its
// virtual call.
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttribute.h"

namespace GAME {

[[gnu::always_inline]] inline float DrawDamageFloat(CombatAttributeAccumulator& accumulator,
                                                    RandomUniform& random, float minimum,
                                                    float maximum) {
    CombatRandom& own = accumulator.GetRandomGen();
    if (&random == &own)
        return own.FGenerate(minimum, maximum);
    return random.FGenerate(minimum, maximum);
}

inline bool DamageAttribute::PassesChance(CombatAttributeAccumulator& accumulator, float chance,
                                          bool skipChance) const {
    return skipChance || accumulator.EvaluateChance(chance);
}

inline bool DamageAttributeAbs::RollAmount(CombatAttributeAccumulator& accumulator,
                                           unsigned int level, RandomUniform& random,
                                           bool skipChance, float& amount) const {
    const float chance = GetChance(level);
    if (!PassesChance(accumulator, chance, skipChance))
        return false;
    amount = DrawDamageFloat(accumulator, random, GetValueMin(level), GetValueMax(level));
    amount = amount * accumulator.GetChanceMultiplier(chance);
    return true;
}

inline bool DamageAttributeDur::RollAmountAndDuration(CombatAttributeAccumulator& accumulator,
                                                      unsigned int level, RandomUniform& random,
                                                      bool skipChance, float& amount,
                                                      float& duration) const {
    const float chance = GetChance(level);
    if (!PassesChance(accumulator, chance, skipChance))
        return false;
    amount = DrawDamageFloat(accumulator, random, GetValueMin(level), GetValueMax(level));
    amount = amount * accumulator.GetChanceMultiplier(chance);
    duration = DrawDamageFloat(accumulator, random, GetDurationMin(level), GetDurationMax(level));
    return true;
}

inline bool DamageAttributeAbsMod::RollPercent(CombatAttributeAccumulator& accumulator,
                                               unsigned int level, bool skipChance,
                                               float& percent) const {
    const float chance = GetChance(level);
    if (!PassesChance(accumulator, chance, skipChance))
        return false;
    percent = GetModifierValue(level) * accumulator.GetChanceMultiplier(chance);
    return true;
}

}  // namespace GAME
