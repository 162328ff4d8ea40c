#include "Game/skills/buffs/SkillBuff.h"

#include "Game/characters/Character.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/skills/buffs/ShieldRule.h"
#include "Game/skills/manager/SkillServicesBase.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

RTTI_IMPLEMENT(SkillBuff, Skill)
RTTI_IMPLEMENT(SkillBuff_Passive, SkillBuff)
RTTI_IMPLEMENT(SkillBuff_BuffImmobilize, SkillBuff_Passive)
RTTI_IMPLEMENT(SkillBuff_PassiveShield, SkillBuff_Passive)

SkillBuff::SkillBuff() {
    SetTypeText("^bSkill Buff");
    SetPrimary(false);
    SetSecondary(false);
    // A buff never costs mana.
    SetIgnoreMana(true);
    SetLevelSource(LevelSource::ActiveSubLevel);
}

SkillBuff::~SkillBuff() = default;

void SkillBuff::SetTimeToLive(int ms) {
    mTimeToLive = ms;
    mTimeToLiveTotal = ms;
}

SkillServicesBase* SkillBuff::Services() const {
    return HasManager() ? GetManager()->GetSkillServices() : nullptr;
}

void SkillBuff::RequestRemoval() const {
    // A copy: where the command runs at once the buff, and its name, are gone before it returns.
    if (SkillServicesBase* services = Services())
        services->RemoveSkillBuff(std::string(GetObjectName()));
}

void SkillBuff::RemoveUnlessNotDispelable() const {
    if (GetSkillProfile().GetNotDispelSetting())
        return;
    if (Services()) {
        RequestRemoval();
        return;
    }
    // A dispel runs on every machine (inside a target result): the copy here goes at once as
    // well, so that the dispel's hit meets the same buffs everywhere. The deciding machine's
    // removal then finds nothing left to remove.
    if (Character* carrier = HasManager() ? GetManager()->GetParent() : nullptr)
        carrier->CreateRemoveSkillBuff(0, std::string(GetObjectName()), 0, {}, 0, {}, 0, 0, 0);
}

void SkillBuff::Install(Character* carrier) {
    if (!carrier)
        return;
    carrier->AddCombatFilter(this);
    const float enhancement = GetSkillProfile().GetSkillEnhancement(GetCurrentLevel());
    mSkillEnhancement = enhancement > 0.0f ? static_cast<std::uint32_t>(enhancement) : 0u;
    if (mSkillEnhancement > 0)
        carrier->SetAllSkillLevelAugment(mSkillEnhancement, GetObjectName());
    ApplyBuffOtherEffects(*carrier, true);
}

void SkillBuff::UnInstall(Character* carrier) {
    if (!carrier)
        return;
    carrier->RemoveCombatFilter(this);
    if (mSkillEnhancement != 0)
        carrier->RemoveAllSkillLevelAugment(mSkillEnhancement, GetObjectName());
    ApplyBuffOtherEffects(*carrier, false);
}

void SkillBuff::Update(Character& carrier, int ms) {
    Skill::Update(carrier, ms);
    if (mTimeToLiveTotal == 0)
        return;
    mTimeToLive -= ms;
    // The removal comes back through the manager as the create-or-remove command.
    if (mTimeToLive < 0)
        RequestRemoval();
}

void SkillBuff::ReceiveActiveUpdate(Character& carrier, const SkillActiveState& state,
                                    bool silent) {
    Skill::ReceiveActiveUpdate(carrier, state, silent);
    if (!silent)
        PlayCastSounds(state.active);
    ApplyCastVisualEffects(carrier, state.active);
    if (HasManager())
        GetManager()->SetSpeedUpdateNeeded();
    InitializeBuff();
}

void SkillBuff::InitializeBuff() {
    const bool enabled = IsSkillEnabled();
    const std::uint32_t level = GetCurrentLevel();
    mDamageAbsorption = enabled ? GetSkillProfile().GetDamageAbsorption(level) : 0.0f;
    mDamageAbsorptionPercent = enabled ? GetSkillProfile().GetDamageAbsorptionPercent(level) : 0.0f;
}

float SkillBuff::ModifyDamage(float damage, CombatAttributeType type) {
    return ShieldModifyDamage(GetSkillProfile(), damage, type, mDamageAbsorption,
                              mDamageAbsorptionPercent);
}

// The eight families: the record's share at the buff's level while active, then the
// modifiers' share.
void SkillBuff::CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    GetSkillProfile().GetCharAttributes(accumulator, GetCurrentLevel());
    AddModifierCharAttributes(accumulator);
}

void SkillBuff::CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    AddOwnSkillAttributes(accumulator);
}

void SkillBuff::CollectPassiveOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    AddOwnOffensiveDamageAttributes(accumulator);
}

void SkillBuff::CollectPassiveOffensiveModifierAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    AddOwnOffensiveModifierAttributes(accumulator);
}

void SkillBuff::CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    AddOwnRetaliationAttributes(accumulator);
}

void SkillBuff::CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) {
    if (!IsActiveBuff())
        return;
    AddOwnDefenseAttributes(accumulator);
}

void SkillBuff::CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                                RacialBonus_Damage& bonus) {
    if (!IsActiveBuff())
        return;
    GetSkillProfile().GetRacialBonusDamage(races, bonus, GetCurrentLevel());
    AddModifierRacialBonusDamage(races, bonus);
}

void SkillBuff::CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                                 RacialBonus_Defense& bonus) {
    if (!IsActiveBuff())
        return;
    AddOwnRacialBonusDefense(races, bonus);
}

// --- Passive kinds ---

SkillBuff_Passive::SkillBuff_Passive() {
    SetTypeText("^bSkill Buff Passive");
    SetDisruptionApplies(true);
}

void SkillBuff_Passive::DispelBuff(Character&) {
    RemoveUnlessNotDispelable();
}

bool HoldTimer::Tick(int ms) {
    timer -= ms;
    if (timer > 0)
        return false;
    timer = interval;
    return true;
}

void ApplyHold(Character& character, CombatAttributeType type, float duration) {
    DurationDamageManager& damage = character.GetDurationDamageManager();
    damage.AddFixedDamage(type, 1.0f, duration);
    damage.EndAttack();
}

SkillBuff_BuffImmobilize::SkillBuff_BuffImmobilize() {
    SetTypeText("^bSkill Buff Immobilize");
    SetDisruptionApplies(false);
}

void SkillBuff_BuffImmobilize::Update(Character& carrier, int ms) {
    SkillBuff_Passive::Update(carrier, ms);
    if (mHold.Tick(ms))
        ApplyHold(carrier, kImmobilize, mHold.duration);
}

SkillBuff_PassiveShield::SkillBuff_PassiveShield() {
    SetTypeText("^bSkill Buff Passive Shield");
}

void SkillBuff_PassiveShield::InitializeBuff() {
    SkillBuff_Passive::InitializeBuff();
    mShieldPool = GetDamageAbsorption();
}

float SkillBuff_PassiveShield::ModifyDamage(float damage, CombatAttributeType type) {
    const float left = SkillBuff_Passive::ModifyDamage(damage, type);
    mShieldPool -= damage - left;
    if (mShieldPool <= 0.0f)
        EndTimeToLive();
    return left;
}

}  // namespace GAME
