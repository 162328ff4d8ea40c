#include "Game/skills/buffs/SkillBuffDebuf.h"

#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/buffs/TargetSearch.h"
#include "Game/skills/manager/SkillBuffTransfer.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/profile/SkillProfileModifiers.h"

namespace GAME {

RTTI_IMPLEMENT(SkillBuff_Debuf, SkillBuff)
RTTI_IMPLEMENT(SkillBuff_Contageous, SkillBuff_Debuf)
RTTI_IMPLEMENT(SkillBuff_DebufTrap, SkillBuff_Debuf)
RTTI_IMPLEMENT(SkillBuff_DebufFreeze, SkillBuff_DebufTrap)

// --- Debuff ---

SkillBuff_Debuf::SkillBuff_Debuf() {
    SetTypeText("^bSkill Buff Debuf");
    SetDisruptionApplies(false);
}

void SkillBuff_Debuf::Update(Character& carrier, int ms) {
    SkillBuff::Update(carrier, ms);
    // The timer starts at 0: the first tick comes with the first update.
    mTickTimer -= ms;
    if (mTickTimer > 0)
        return;
    mTickTimer = mTickInterval;
    Tick(carrier);
}

void SkillBuff_Debuf::Tick(Character& carrier) {
    RandomUniform random;
    random.Seed(carrier.GetObjectId());
    ParametersCombat parameters(random);
    CollectCombatParameters(carrier, &carrier, ParametersCombatStyle::Direct, false, 0, parameters,
                            0.0f);
    parameters.attackerId = GetCasterId();
    parameters.ragDollData.effect = CharacterRagDoll::Crumple;
    parameters.ragDollData.amplification = 0.0f;
    carrier.TakeAttack(parameters);
}

void SkillBuff_Debuf::DispelDeBuff(Character&) {
    RemoveUnlessNotDispelable();
}

// --- Contagion ---

SkillBuff_Contageous::SkillBuff_Contageous() {
    SetTypeText("^bSkill Buff Contageous");
    mTeam.Set(1, 1);
}

void SkillBuff_Contageous::Install(Character* carrier) {
    SkillBuff_Debuf::Install(carrier);
    const std::uint32_t level = GetCurrentLevel();
    mContagionTimer = GetSkillProfile().GetContagionInterval(level);
    mSpreadBudget = GetSkillProfile().GetContagionMaxSpread(level);
    if (carrier)
        mTeam = carrier->GetTeam();
}

void SkillBuff_Contageous::Update(Character& carrier, int ms) {
    SkillBuff_Debuf::Update(carrier, ms);
    mContagionTimer -= ms;
    if (!GetActiveState().transition || mContagionTimer > 0)
        return;
    Spread(carrier);
}

void SkillBuff_Contageous::Spread(Character& carrier) {
    const SkillProfile& profile = GetSkillProfile();
    const std::uint32_t level = GetCurrentLevel();
    mContagionTimer = profile.GetContagionInterval(level);
    const float radius = profile.GetContagionRadius(level);
    int limit = profile.GetContagionLimit(level);
    if (!(radius > 0.0f))
        return;
    std::vector<std::uint32_t> allies;
    FindTargetsInRadius(mTeam, carrier.GetPosition(), radius, allies, carrier.GetObjectId(), true);
    if (allies.empty())
        return;
    SkillBuffTransfer transfer;
    transfer.buffName = GetObjectName();
    transfer.level = level;
    GetModifierInfo(0, transfer.modifier1Name, transfer.modifier1Level);
    GetModifierInfo(1, transfer.modifier2Name, transfer.modifier2Level);
    SkillProfile_Modifiers data;
    GetSkillModifierData(data);
    transfer.timeToLive =
        static_cast<std::uint32_t>(static_cast<int>(data.activeDuration * 1000.0f));
    transfer.casterId = carrier.GetObjectId();
    auto& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : allies) {
        if (limit <= 0)
            break;
        Character* ally = objects.GetObject<Character>(id);
        // An ally already infected uses up neither the limit nor the budget.
        if (!ally || ally->IsSkillBuffActive(transfer.buffName))
            continue;
        ally->ControllerAddSkillBuff(transfer, profile.GetQualifyingWeapons(),
                                     profile.GetQualifyingDualWeapons());
        --limit;
        if (--mSpreadBudget <= 0) {
            SkillActiveState state = GetActiveState();
            state.transition = false;
            Skill::ReceiveActiveUpdate(carrier, state, true);
        }
    }
}

// --- Trap and freeze ---

SkillBuff_DebufTrap::SkillBuff_DebufTrap() {
    SetTypeText("^bSkill DeBuff Trap");
}

void SkillBuff_DebufTrap::Install(Character* carrier) {
    SkillBuff::Install(carrier);
    if (!carrier || !Services())
        return;
    CombatAttributeAccumulator accumulator;
    accumulator.SetSeed(gGameEngine ? gGameEngine->GetRandomSeed() & 0xFFFFu : 0u);
    carrier->GetAllDefenseAttributes(accumulator);
    accumulator.ProcessDefense(*carrier, 0.0f, 0.0f, 0.0f, 0.0f);
    const float resistance = GetResistance(accumulator);
    if (resistance > 0.0f) {
        const float remaining = static_cast<float>(GetTimeToLive());
        SetRemainingTimeToLive(static_cast<int>(remaining - resistance * 0.01f * remaining));
    }
    carrier->PlayStunSound();
}

void SkillBuff_DebufTrap::Update(Character& carrier, int ms) {
    SkillBuff_Debuf::Update(carrier, ms);
    if (mHold.Tick(ms))
        ApplyBuffDamage(carrier);
}

void SkillBuff_DebufTrap::ApplyBuffDamage(Character& carrier) {
    ApplyHold(carrier, CombatAttributeType::Trap, GetHoldDuration());
}

float SkillBuff_DebufTrap::GetResistance(CombatAttributeAccumulator& accumulator) {
    return accumulator.GetTotalDefenseType(CombatAttributeType::Trap);
}

SkillBuff_DebufFreeze::SkillBuff_DebufFreeze() {
    SetTypeText("^bSkill DeBuff Freeze");
}

void SkillBuff_DebufFreeze::ApplyBuffDamage(Character& carrier) {
    ApplyHold(carrier, CombatAttributeType::Freeze, GetHoldDuration());
}

float SkillBuff_DebufFreeze::GetResistance(CombatAttributeAccumulator& accumulator) {
    return accumulator.GetTotalDefenseType(CombatAttributeType::Freeze);
}

}  // namespace GAME
