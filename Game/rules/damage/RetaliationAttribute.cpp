#include "Game/rules/damage/RetaliationAttribute.h"

#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/damage/DamageAttributeDraw.h"
#include "Game/rules/damage/DamageRoll.h"

namespace GAME {

void RetaliationAttributeAbs_PercentCurrentLife::AddDamageToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform& random,
    bool skipChance) const {
    float amount = 0.0f;
    if (RollAmount(accumulator, level, random, skipChance, amount))
        accumulator.AddDamage(
            std::make_unique<CombatAttributeAbsDamage_PercentLife>(GetType(), amount));
}

// One roll spread evenly over cold, fire and lightning; never a payload of its own type.
void RetaliationAttributeAbs_ElementalDamage::AddDamageToAccumulator(
    CombatAttributeAccumulator& accumulator, unsigned int level, RandomUniform& random,
    bool skipChance) const {
    float amount = 0.0f;
    if (!RollAmount(accumulator, level, random, skipChance, amount))
        return;
    amount *= 0.33333334f;
    for (const auto type :
         {CombatAttributeType::Cold, CombatAttributeType::Fire, CombatAttributeType::Lightning})
        accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(type, amount));
}

bool RetaliationAttributeAbs_PercentCurrentLife::DescribeRoll(DamageAttributeParts pass,
                                                              unsigned int level,
                                                              DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmount(level, roll);
    roll.AddPayload(CombatPayloadKind::PercentLife, GetType());
    return true;
}

bool RetaliationAttributeAbs_ElementalDamage::DescribeRoll(DamageAttributeParts pass,
                                                           unsigned int level,
                                                           DamageRoll& roll) const {
    if (pass != kDamageAttributeDamage)
        return false;
    DescribeAmount(level, roll);
    roll.third = true;
    for (const auto type :
         {CombatAttributeType::Cold, CombatAttributeType::Fire, CombatAttributeType::Lightning})
        roll.AddPayload(CombatPayloadKind::AbsDamage, type);
    return true;
}

}  // namespace GAME
