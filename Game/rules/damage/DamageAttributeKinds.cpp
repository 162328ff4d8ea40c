// The three kinds whose one roll is spread over three payloads.
#include "Game/rules/damage/DamageAttributeKinds.h"

#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

namespace {
constexpr float kOneThird = DamageRoll::kThird;
}  // namespace

// A third of the roll as plain cold, fire and lightning damage each.
void DamageAttributeAbs_ElementalDamage::AddDamageToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform& random,
    bool skipChance) const {
    float amount = 0.0f;
    if (!RollAmount(accumulator, level, random, skipChance, amount))
        return;
    amount = amount * kOneThird;
    accumulator.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Cold, amount);
    accumulator.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Fire, amount);
    accumulator.AddNewDamage<CombatAttributeAbsDamage>(CombatAttributeType::Lightning, amount);
}

// The whole percent on each of cold, fire and lightning.
void DamageAttributeAbsMod_Elemental::AddModifierToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform&,
    bool skipChance) const {
    float percent = 0.0f;
    if (!RollPercent(accumulator, level, skipChance, percent))
        return;
    accumulator.AddNewDamageModifier<CombatAttributeAbsDamageMod>(CombatAttributeType::Cold,
                                                                  percent);
    accumulator.AddNewDamageModifier<CombatAttributeAbsDamageMod>(CombatAttributeType::Fire,
                                                                  percent);
    accumulator.AddNewDamageModifier<CombatAttributeAbsDamageMod>(CombatAttributeType::Lightning,
                                                                  percent);
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
        accumulator.AddNewDamage<CombatAttributeDurFixedDamage>(type, amount, duration);
}

}  // namespace GAME

namespace GAME {

bool DamageAttributeAbs_ElementalDamage::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                                      DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmount(level, roll);
    roll.third = true;
    for (CombatAttributeType type :
         {CombatAttributeType::Cold, CombatAttributeType::Fire, CombatAttributeType::Lightning})
        roll.AddPayload(CombatPayloadKind::AbsDamage, type);
    return true;
}

bool DamageAttributeAbsMod_Elemental::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                                   DamageRoll& roll) const {
    if (pass != kDamageAttributeModifier)
        return false;
    DescribePercent(level, roll);
    for (CombatAttributeType type :
         {CombatAttributeType::Cold, CombatAttributeType::Fire, CombatAttributeType::Lightning})
        roll.AddPayload(CombatPayloadKind::AbsDamageMod, type);
    return true;
}

bool DamageAttributeDur_TotalSpeed::DescribeRoll(DamageAttributeParts pass, unsigned int level,
                                                 DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmountAndDuration(level, roll);
    for (CombatAttributeType type :
         {CombatAttributeType::AttackSpeed, CombatAttributeType::SpellCastSpeed,
          CombatAttributeType::RunSpeed})
        roll.AddPayload(CombatPayloadKind::DurFixedDamage, type);
    return true;
}

}  // namespace GAME
