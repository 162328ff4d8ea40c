#include "Game/rules/CharAttributeStore.h"

#include <utility>

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

CharAttributeStore::~CharAttributeStore() = default;

void CharAttributeStore::CreateText(TextList& first, TextList& second, unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateText(level, first, second);
}

void CharAttributeStore::CreateNextText(TextList& first, TextList& second, unsigned level,
                                        unsigned nextLevel) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateNextText(level, nextLevel, first, second);
}

void CharAttributeStore::AddToStore(std::unique_ptr<CharAttribute> attribute) {
    if (attribute != nullptr)
        mAttributes.push_back(std::move(attribute));
}

void CharAttributeStore::AddToAccumulator(CharAttributeAccumulator& accumulator,
                                          unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->AddToAccumulator(accumulator, level);
}

void CharAttributeStore::ScaleAttributes(float percent) {
    for (const auto& attribute : mAttributes)
        attribute->ScaleAttribute(percent);
}

void CharAttributeStore::GetCostInfo(CostInfo_CharacterAttributes& cost) const {
    for (const auto& attribute : mAttributes)
        attribute->GetCostInfo(cost);
}

void CharAttributeStore::Clear() {
    mAttributes.clear();
}

void CharAttributeStore::LoadAttributeInto(CharAttributeStore& store,
                                           std::unique_ptr<CharAttribute> attribute,
                                           const LoadTable& record, const LoadTable* prefix,
                                           const LoadTable* suffix, float jitter,
                                           bool keepWhenEmpty) {
    attribute->LoadBaseTable(record);
    if (prefix != nullptr)
        attribute->LoadPrefixTable(*prefix, store.mRandom);
    if (suffix != nullptr)
        attribute->LoadSuffixTable(*suffix, store.mRandom);
    if (!keepWhenEmpty && !attribute->IsNotEmpty())
        return;
    if (jitter > 0.0f)
        attribute->AddJitter(jitter, store.mRandom);
    store.AddToStore(std::move(attribute));
}

void CharAttributeStore_Bio::Load(const LoadTable& record) {
    Clear();
    auto& s = *this;
    LoadAttribute<CharAttributeVal_Strength>(s, record, nullptr, nullptr, 0.0f, true);
    LoadAttribute<CharAttributeVal_Intelligence>(s, record, nullptr, nullptr, 0.0f, true);
    LoadAttribute<CharAttributeVal_Dexterity>(s, record, nullptr, nullptr, 0.0f, true);
    LoadAttribute<CharAttributeVal_Life>(s, record, nullptr, nullptr, 0.0f, true);
    LoadAttribute<CharAttributeVal_LifeRegen>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_Mana>(s, record, nullptr, nullptr, 0.0f, true);
    LoadAttribute<CharAttributeVal_ManaRegen>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_AttackSpeed>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_SpellCastSpeed>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_RunSpeed>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_OffensiveAbility>(s, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeVal_DefensiveAbility>(s, record, nullptr, nullptr, 0.0f, false);
}

void CharAttributeStore_Bio::SetBaseValue(CharAttributeType type, float value) {
    for (const auto& attribute : mAttributes) {
        if (attribute->GetType() == type) {
            attribute->SetBaseValue(value);
            return;
        }
    }
    gEngine->Log(1, "CharAttributeStore_Bio: Could not find type (%u) to set base values",
                 static_cast<unsigned>(type));
}

float CharAttributeStore_Bio::GetBaseValue(CharAttributeType type) const {
    for (const auto& attribute : mAttributes)
        if (attribute->GetType() == type)
            return attribute->GetValue(1);
    return 0.0f;
}

// The equipment list: (class, jitter percent). Requirement reductions and the speeds are never
// jittered; everything else by 20 percent.
// clang-format off
#define GAME_CHAR_EQUIPMENT_HEAD(X) \
    X(CharAttributeVal_Strength, 20) X(CharAttributeMod_Strength, 20) \
    X(CharAttributeVal_Intelligence, 20) X(CharAttributeMod_Intelligence, 20) \
    X(CharAttributeVal_Dexterity, 20) X(CharAttributeMod_Dexterity, 20) \
    X(CharAttributeVal_Life, 0) X(CharAttributeMod_Life, 20) \
    X(CharAttributeVal_LifeRegen, 0) X(CharAttributeMod_LifeRegen, 20) \
    X(CharAttributeVal_Mana, 20) X(CharAttributeMod_Mana, 20) \
    X(CharAttributeVal_ManaRegen, 0) X(CharAttributeMod_ManaRegen, 20)
#define GAME_CHAR_MANA_RESERVE(X) \
    X(CharAttributeVal_ManaLimitReserve, 20) X(CharAttributeMod_ManaLimitReserve, 20)
#define GAME_CHAR_ABILITIES(X) \
    X(CharAttributeVal_ManaLimitReserveReduction, 20) X(CharAttributeMod_ManaLimitReserveReduction, 20) \
    X(CharAttributeVal_OffensiveAbility, 20) X(CharAttributeVal_OffensiveAbilityModifier, 20) \
    X(CharAttributeVal_DefensiveAbility, 20) X(CharAttributeVal_DefensiveAbilityModifier, 20) \
    X(CharAttributeMod_TotalSpeed, 20)
#define GAME_CHAR_RUN_SPEED(X) \
    X(CharAttributeVal_RunSpeed, 0) X(CharAttributeMod_RunSpeed, 20)
#define GAME_CHAR_CAST_SPEEDS(X) \
    X(CharAttributeVal_AttackSpeed, 0) X(CharAttributeMod_AttackSpeed, 20) \
    X(CharAttributeVal_SpellCastSpeed, 0) X(CharAttributeMod_SpellCastSpeed, 20)
#define GAME_CHAR_TAIL(X) \
    X(CharAttributeVal_DefensiveBlockRecoveryReduction, 20) X(CharAttributeVal_EnergyAbsorptionPercent, 20) \
    X(CharAttributeVal_DodgePercent, 20) X(CharAttributeVal_DeflectProjectile, 20) \
    X(CharAttributeVal_GlobalReqReduction, 0) \
    X(CharAttributeVal_WeaponStrengthReqReduction, 0) X(CharAttributeVal_WeaponDexterityReqReduction, 0) X(CharAttributeVal_WeaponIntelligenceReqReduction, 0) \
    X(CharAttributeVal_MeleeStrengthReqReduction, 0) X(CharAttributeVal_MeleeDexterityReqReduction, 0) X(CharAttributeVal_MeleeIntelligenceReqReduction, 0) \
    X(CharAttributeVal_ArmorStrengthReqReduction, 0) X(CharAttributeVal_ArmorDexterityReqReduction, 0) X(CharAttributeVal_ArmorIntelligenceReqReduction, 0) \
    X(CharAttributeVal_JewelryStrengthReqReduction, 0) X(CharAttributeVal_JewelryDexterityReqReduction, 0) X(CharAttributeVal_JewelryIntelligenceReqReduction, 0) \
    X(CharAttributeVal_ShieldStrengthReqReduction, 0) X(CharAttributeVal_ShieldDexterityReqReduction, 0) X(CharAttributeVal_ShieldIntelligenceReqReduction, 0) \
    X(CharAttributeVal_HuntingStrengthReqReduction, 0) X(CharAttributeVal_HuntingDexterityReqReduction, 0) X(CharAttributeVal_HuntingIntelligenceReqReduction, 0) \
    X(CharAttributeVal_StaffStrengthReqReduction, 0) X(CharAttributeVal_StaffDexterityReqReduction, 0) X(CharAttributeVal_StaffIntelligenceReqReduction, 0) \
    X(CharAttributeVal_LevelReqReduction, 0) X(CharAttributeVal_IncreasedExperience, 0)
// clang-format on

void CharAttributeStore_Equipment::Load(const LoadTable& record, const LoadTable* prefix,
                                        const LoadTable* suffix, bool withoutBaseAttackSpeed) {
    Clear();
    if (!withoutBaseAttackSpeed)
        LoadAttribute<CharAttributeVal_BaseAttackSpeed>(*this, record, prefix, suffix, 0.0f, true);
#define GAME_LOAD(Class, Jitter) \
    LoadAttribute<Class>(*this, record, prefix, suffix, static_cast<float>(Jitter), false);
    GAME_CHAR_EQUIPMENT_HEAD(GAME_LOAD)
    GAME_CHAR_MANA_RESERVE(GAME_LOAD)
    GAME_CHAR_ABILITIES(GAME_LOAD)
    GAME_CHAR_CAST_SPEEDS(GAME_LOAD)
    GAME_CHAR_RUN_SPEED(GAME_LOAD)
    GAME_CHAR_TAIL(GAME_LOAD)
#undef GAME_LOAD
}

void CharAttributeStore_Skill::Load(const LoadTable& record) {
    Clear();
#define GAME_LOAD(Class, Jitter) LoadAttribute<Class>(*this, record, nullptr, nullptr, 0.0f, false);
    GAME_CHAR_EQUIPMENT_HEAD(GAME_LOAD)
    GAME_CHAR_ABILITIES(GAME_LOAD)
    GAME_CHAR_RUN_SPEED(GAME_LOAD)
    GAME_CHAR_CAST_SPEEDS(GAME_LOAD)
    GAME_CHAR_TAIL(GAME_LOAD)
#undef GAME_LOAD
}

void CharAttributeStore_SkillPenalty::Load(const LoadTable& record) {
    Clear();
    LoadAttribute<CharAttributeVal_ManaLimitReserve>(*this, record, nullptr, nullptr, 0.0f, false);
    LoadAttribute<CharAttributeMod_ManaLimitReserve>(*this, record, nullptr, nullptr, 0.0f, false);
}

}  // namespace GAME
