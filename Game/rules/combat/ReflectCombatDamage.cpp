// A share of an attack's damage returns to its attacker.
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/CombatRandom.h"
#include "Game/rules/combat/ParametersCombat.h"

namespace GAME {

void CombatManager::ReflectCombatDamage(ParametersCombat& copy, std::uint32_t attackerId) {
    Character* const character = mCharacter;
    if (!character || copy.accumulator.IsEmpty())
        return;
    auto* target =
        attackerId == 0
            ? nullptr
            : dynamic_cast<Character*>(Singleton<ObjectManager>::Get().GetObject(attackerId));
    if (!target)
        return;
    // The reflected attack carries the reflected damage and nothing else of the first attack:
    // no racial bonus, mana cost, aura or fumble, and no life leech that would heal the
    // reflecting character from the attacker's own leech.
    CombatRandom scratch;
    ParametersCombat reflected(scratch);
    reflected.attackerId = character->GetObjectId();
    reflected.combatStyle = ParametersCombatStyle::Retaliation;
    reflected.offensiveAbility = copy.offensiveAbility;
    reflected.attackRandoms = copy.attackRandoms;
    reflected.accumulator.SetSeed(copy.accumulator.GetSeed());
    for (const auto& payload : copy.accumulator.GetDamagePayloads()) {
        if (payload->GetType() != CombatAttributeType::LifeLeech)
            reflected.accumulator.AddDamage(payload->Clone());
    }
    if (reflected.accumulator.IsEmpty())
        return;
    float absolute = 0.0f;
    float overTime = 0.0f;
    reflected.accumulator.GetTotalDamage(absolute, overTime);
    const bool hit = target->TakeAttack(reflected);
    if (hit && dynamic_cast<Player*>(character) && absolute != 0.0f)
        character->GetPlayStats().TallyDamageInflicted(
            absolute, {PlayStatsDamageType::Reflected, CombatAttributeType::BasePhysical});
}

}  // namespace GAME
