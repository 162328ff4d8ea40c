// The three kinds whose one roll is spread over three payloads.
#include "Game/rules/damage/DamageAttributeKinds.h"

#include "Game/rules/combat/CombatAttributeAccumulator.h"

namespace GAME {

namespace {
constexpr float kOneThird = 0.33333334f;
}  // namespace

// A third of the roll as plain cold, fire and lightning damage each.
void DamageAttributeAbs_ElementalDamage::AddDamageToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform& random,
    bool skipChance) const {
    float amount = 0.0f;
    if (!RollAmount(accumulator, level, random, skipChance, amount))
        return;
    amount = amount * kOneThird;
    accumulator.AddDamage(
        std::make_unique<CombatAttributeAbsDamage>(CombatAttributeType::Cold, amount));
    accumulator.AddDamage(
        std::make_unique<CombatAttributeAbsDamage>(CombatAttributeType::Fire, amount));
    accumulator.AddDamage(
        std::make_unique<CombatAttributeAbsDamage>(CombatAttributeType::Lightning, amount));
}

// The whole percent on each of cold, fire and lightning.
void DamageAttributeAbsMod_Elemental::AddModifierToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform&,
    bool skipChance) const {
    float percent = 0.0f;
    if (!RollPercent(accumulator, level, skipChance, percent))
        return;
    accumulator.AddDamageModifier(
        std::make_unique<CombatAttributeAbsDamageMod>(CombatAttributeType::Cold, percent));
    accumulator.AddDamageModifier(
        std::make_unique<CombatAttributeAbsDamageMod>(CombatAttributeType::Fire, percent));
    accumulator.AddDamageModifier(
        std::make_unique<CombatAttributeAbsDamageMod>(CombatAttributeType::Lightning, percent));
}

// The whole slow on attack, spell cast and run speed.
void DamageAttributeDur_TotalSpeed::AddDamageToAccumulator(CombatAttributeAccumulator& accumulator,
                                                           unsigned int level,
                                                           RandomUniform& random,
                                                           bool skipChance) const {
    float amount = 0.0f;
    float duration = 0.0f;
    if (!RollAmountAndDuration(accumulator, level, random, skipChance, amount, duration))
        return;
    for (CombatAttributeType type :
         {CombatAttributeType::AttackSpeed, CombatAttributeType::SpellCastSpeed,
          CombatAttributeType::RunSpeed})
        accumulator.AddDamage(
            std::make_unique<CombatAttributeDurFixedDamage>(type, amount, duration));
}

}  // namespace GAME
