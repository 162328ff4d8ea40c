// The defender strikes back at a melee attacker with what its retaliation attributes add.
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/CombatRandom.h"
#include "Game/rules/combat/ParametersCombat.h"

namespace GAME {

void CombatManager::Retaliation(ParametersCombat& params) {
    Character* const character = mCharacter;
    if (!character)
        return;
    CombatRandom seeds;
    seeds.Seed(params.attackRandoms.GetValue(ParametersCombat::kRetaliationSeed));
    ParametersCombat counter(seeds);
    CombatAttributeAccumulator& accumulator = counter.accumulator;
    character->GetEquipRetaliationAttributes(accumulator);
    character->ContributeItemSetRetaliationAttributes(accumulator);
    character->ContributeGameBalanceRetaliationAttributes(accumulator);
    character->GetSkillManager().GetRetaliationAttributes(accumulator);
    accumulator.ProcessDamage(*character, 0.0f, 0.0f, 0.0f, 0.0f);
    if (accumulator.IsEmpty())
        return;
    counter.combatStyle = ParametersCombatStyle::Retaliation;
    counter.attackerId = character->GetObjectId();
    counter.offensiveAbility = DesignerCalculateOffensiveAbility(0.0f);
    auto* target =
        dynamic_cast<Character*>(Singleton<ObjectManager>::Get().GetObject(params.attackerId));
    if (!target || params.attackerId == 0)
        return;
    // A hit clears the accumulator, so what it carries is counted before.
    float absolute = 0.0f;
    float overTime = 0.0f;
    accumulator.GetTotalDamage(absolute, overTime);
    const bool hit = target->TakeAttack(counter);
    if (hit && dynamic_cast<Player*>(character) && absolute != 0.0f)
        character->GetPlayStats().TallyDamageInflicted(
            absolute, {PlayStatsDamageType::Retaliation, CombatAttributeType::BasePhysical});
}

}  // namespace GAME
