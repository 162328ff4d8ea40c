#include "Game/skills/modifiers/Skill_Modifier.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(Skill_Modifier, Skill)
RTTI_IMPLEMENT(Skill_MeleeModifier, Skill_Modifier)
RTTI_IMPLEMENT(Skill_MeleeModifierRadius, Skill_MeleeModifier)

Skill_Modifier::Skill_Modifier() {
    SetTypeText("^bSkill Modifier");
    SetPrimary(false);
    SetSecondary(false);
}

void Skill_Modifier::CollectModifierCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnCharAttributes(accumulator);
}

void Skill_Modifier::CollectModifierSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnSkillAttributes(accumulator);
}

void Skill_Modifier::CollectModifierOffensiveDamageAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void Skill_Modifier::CollectModifierOffensiveModifierAttributes(
    CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void Skill_Modifier::CollectModifierRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void Skill_Modifier::CollectModifierDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsSkillEnabled())
        return;
    AddOwnDefenseAttributes(accumulator);
}

void Skill_Modifier::CollectModifierRacialBonusDamage(const std::vector<std::string>& races,
                                                      RacialBonus_Damage& bonus) {
    if (!IsSkillEnabled())
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void Skill_Modifier::CollectModifierRacialBonusDefense(const std::vector<std::string>& races,
                                                       RacialBonus_Defense& bonus) {
    if (!IsSkillEnabled())
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

void Skill_MeleeModifier::TargetResult(Character& character,
                                       const std::vector<std::uint32_t>& targets,
                                       const WorldCoords&, std::uint32_t seed, std::uint32_t,
                                       bool) {
    if (targets.empty())
        return;
    RandomUniform random;
    random.Seed(seed);
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : targets) {
        Character* target = id ? objects.GetObject<Character>(id) : nullptr;
        if (!target)
            continue;
        ParametersCombat parameters(random);
        CollectCombatParameters(character, target, ParametersCombatStyle::Probability, false, 0,
                                parameters, 0.0f);
        CreateTargetFx(target->GetPosition());
        target->TakeAttack(parameters);
    }
}

void Skill_MeleeModifierRadius::ActivateModifierAttack(Character& character, std::uint32_t,
                                                       const WorldVec3&) {
    SkillServicesBase* services = HasManager() ? GetManager()->GetSkillServices() : nullptr;
    if (!IsSkillEnabled() || !services)
        return;
    std::vector<std::uint32_t> foes;
    FindTargetsInRadius(character.GetTeam(), character.GetPosition(), kRadius, foes, 0, false);
    // Published also when empty: receiving an empty list does nothing.
    services->SendTargetResult(GetObjectId(), foes, character.GetCoords(),
                               gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u, 0, false);
}

}  // namespace GAME
