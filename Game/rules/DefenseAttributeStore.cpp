#include "Game/rules/DefenseAttributeStore.h"

#include <utility>

#include "Game/rules/combat/CombatAttributeAccumulator.h"

namespace GAME {

DefenseAttributeStore::~DefenseAttributeStore() = default;

void DefenseAttributeStore::CreateText(DefenseTextList& baseLines, DefenseTextList& attributeLines,
                                       unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateText(level, baseLines, attributeLines);
}

void DefenseAttributeStore::CreateNextText(DefenseTextList& baseLines,
                                           DefenseTextList& attributeLines, unsigned level,
                                           unsigned nextLevel) const {
    for (const auto& attribute : mAttributes)
        attribute->CreateNextText(level, nextLevel, baseLines, attributeLines);
}

void DefenseAttributeStore::AddAttribute(std::unique_ptr<DefenseAttribute> attribute) {
    if (attribute != nullptr)
        mAttributes.push_back(std::move(attribute));
}

void DefenseAttributeStore::AddToAccumulator(CombatAttributeAccumulator& accumulator,
                                             unsigned level) const {
    for (const auto& attribute : mAttributes)
        attribute->AddToAccumulator(accumulator, level, accumulator.GetRandomGen(), false);
}

void DefenseAttributeStore::ScaleAttributes(float percent) {
    for (const auto& attribute : mAttributes)
        attribute->ScaleAttribute(percent);
}

void DefenseAttributeStore::GetCostInfo(CostInfo_DefenseAttributes& cost) const {
    for (const auto& attribute : mAttributes)
        attribute->GetCostInfo(cost);
}

void DefenseAttributeStore::Clear() {
    mAttributes.clear();
}

void DefenseAttributeStore::LoadOne(DefenseAttributeStore& store,
                                    std::unique_ptr<DefenseAttribute> attribute,
                                    const LoadTable& record, float jitterPercent,
                                    bool keepIfEmpty) {
    if (!attribute->LoadFromTable(record, keepIfEmpty))
        return;
    attribute->AddJitter(jitterPercent, store.mRandom);
    store.AddAttribute(std::move(attribute));
}

// The equipment and skill orders share everything after the physical group.
// clang-format off
#define GAME_DEFENSE_AFTER_PHYSICAL(X) \
    X(DefenseAttributeAbs_Pierce) X(DefenseAttributeAbsMod_Pierce) \
    X(DefenseAttributeAbs_Bleeding) X(DefenseAttributeDur_Bleeding) X(DefenseAttributeAbsMod_Bleeding) X(DefenseAttributeDurMod_Bleeding) \
    X(DefenseAttributeAbs_ElementalResistance) \
    X(DefenseAttributeAbs_Fire) X(DefenseAttributeDur_Fire) X(DefenseAttributeAbsMod_Fire) X(DefenseAttributeDurMod_Fire) \
    X(DefenseAttributeAbs_Cold) X(DefenseAttributeDur_Cold) X(DefenseAttributeAbsMod_Cold) X(DefenseAttributeDurMod_Cold) \
    X(DefenseAttributeAbs_Lightning) X(DefenseAttributeDur_Lightning) X(DefenseAttributeAbsMod_Lightning) X(DefenseAttributeDurMod_Lightning) \
    X(DefenseAttributeAbs_Poison) X(DefenseAttributeDur_Poison) X(DefenseAttributeAbsMod_Poison) X(DefenseAttributeDurMod_Poison) \
    X(DefenseAttributeAbs_Life) X(DefenseAttributeDur_Life) X(DefenseAttributeAbsMod_Life) X(DefenseAttributeDurMod_Life) \
    X(DefenseAttributeAbs_LifeLeach) X(DefenseAttributeDur_LifeLeach) X(DefenseAttributeAbsMod_LifeLeach) X(DefenseAttributeDurMod_LifeLeach) \
    X(DefenseAttributeAbs_ManaLeach) X(DefenseAttributeDur_ManaLeach) X(DefenseAttributeAbsMod_ManaLeach) X(DefenseAttributeDurMod_ManaLeach) \
    X(DefenseAttributeAbs_Stun) X(DefenseAttributeAbsMod_Stun) \
    X(DefenseAttributeAbs_Trap) X(DefenseAttributeAbs_Freeze) X(DefenseAttributeAbs_Petrify) \
    X(DefenseAttributeAbs_Disruption) X(DefenseAttributeAbs_Taunt) X(DefenseAttributeAbs_Fear) \
    X(DefenseAttributeAbs_Confusion)
// clang-format on

void DefenseAttributeStore_Equipment::Load(const LoadTable& record, const LoadTable* firstExtra,
                                           const LoadTable* secondExtra, bool armor,
                                           CombatAttributeRegion region) {
    Clear();
    if (armor)
        DefenseAttribute_BaseProtectionAbsorption::Create_BaseAbsorptionProtection(
            *this, record, firstExtra, secondExtra, 20.0f, region);
#define GAME_LOAD(Class) LoadAttribute<Class>(*this, record, firstExtra, secondExtra, 20.0f);
    GAME_LOAD(DefenseAttributeAbsMod_Protection)
    GAME_LOAD(DefenseAttributeAbsMod_Absorption)
    GAME_LOAD(DefenseAttributeAbs_Physical)
    GAME_LOAD(DefenseAttributeAbsMod_Physical)
    GAME_LOAD(DefenseAttributeDur_Physical)
    GAME_LOAD(DefenseAttributeDurMod_Physical)
    GAME_DEFENSE_AFTER_PHYSICAL(GAME_LOAD)
    GAME_LOAD(DefenseAttributeMisc_BlockModifier)
    GAME_LOAD(DefenseAttributeMisc_Reflect)
#undef GAME_LOAD
}

void DefenseAttributeStore_Skill::Load(const LoadTable& record) {
    Clear();
#define GAME_LOAD(Class) LoadAttribute<Class>(*this, record, nullptr, nullptr, 0.0f);
    GAME_LOAD(DefenseAttribute_SkillProtectionAbsorption)
    GAME_LOAD(DefenseAttributeAbsMod_Protection)
    GAME_LOAD(DefenseAttributeAbsMod_Absorption)
    GAME_LOAD(DefenseAttributeAbs_Physical)
    GAME_LOAD(DefenseAttributeDur_Physical)
    GAME_LOAD(DefenseAttributeAbsMod_Physical)
    GAME_LOAD(DefenseAttributeDurMod_Physical)
    GAME_DEFENSE_AFTER_PHYSICAL(GAME_LOAD)
    GAME_LOAD(DefenseAttributeAbs_Convert)
    GAME_LOAD(DefenseAttributeMisc_BlockModifier)
    GAME_LOAD(DefenseAttributeMisc_Reflect)
    GAME_LOAD(DefenseAttributeAbs_ManaBurnRatio)
    GAME_LOAD(DefenseAttributeAbs_PercentCurrentLife)
#undef GAME_LOAD
}

void DefenseAttributeStore_Character::Load(const LoadTable& record) {
    Clear();
#define GAME_LOAD(Class) LoadCharacterAttribute<Class>(*this, record);
    GAME_LOAD(DefenseAttributeAbs_Physical)
    GAME_LOAD(DefenseAttributeAbs_Pierce)
    GAME_LOAD(DefenseAttributeAbs_Bleeding)
    GAME_LOAD(DefenseAttributeAbs_Fire)
    GAME_LOAD(DefenseAttributeAbs_Cold)
    GAME_LOAD(DefenseAttributeAbs_Lightning)
    GAME_LOAD(DefenseAttributeAbs_Poison)
    GAME_LOAD(DefenseAttributeAbs_Life)
    GAME_LOAD(DefenseAttributeAbs_Stun)
    GAME_LOAD(DefenseAttributeAbs_Trap)
    GAME_LOAD(DefenseAttributeAbs_Freeze)
    GAME_LOAD(DefenseAttributeAbs_Petrify)
#undef GAME_LOAD
}

}  // namespace GAME
