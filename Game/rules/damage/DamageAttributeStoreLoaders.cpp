// The equipment and skill loaders: the order of loading is the order of display, cost and draws.
#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"

namespace GAME {

namespace {
template <class... T>
void LoadAll(DamageAttributeStore& store, const LoadTable& base, const LoadTable* prefix,
             const LoadTable* suffix, float jitter) {
    (DamageAttributeStore::LoadAttribute<T>(store, base, prefix, suffix, jitter), ...);
}

// The kinds that items and skills share, in their order.
void LoadCommon(DamageAttributeStore& store, const LoadTable& base, const LoadTable* prefix,
                const LoadTable* suffix, float jitter) {
    LoadAll<DamageAttributeAbsMod_Physical, DamageAttributeDurMod_Physical,
            DamageAttributeAbsMod_PierceRatio, DamageAttributeAbs_Pierce,
            DamageAttributeAbsMod_Pierce, DamageAttributeDur_Bleeding,
            DamageAttributeAbsMod_Bleeding, DamageAttributeDurMod_Bleeding,
            DamageAttributeAbs_ElementalDamage, DamageAttributeAbsMod_Elemental,
            DamageAttributeAbs_Fire, DamageAttributeDur_Fire, DamageAttributeAbsMod_Fire,
            DamageAttributeDurMod_Fire, DamageAttributeAbs_Cold, DamageAttributeDur_Cold,
            DamageAttributeAbsMod_Cold, DamageAttributeDurMod_Cold, DamageAttributeAbs_Lightning,
            DamageAttributeDur_Lightning, DamageAttributeAbsMod_Lightning,
            DamageAttributeDurMod_Lightning, DamageAttributeAbs_Poison, DamageAttributeDur_Poison,
            DamageAttributeAbsMod_Poison, DamageAttributeDurMod_Poison,
            DamageAttributeAbs_PercentCurrentLife, DamageAttributeAbs_Life, DamageAttributeDur_Life,
            DamageAttributeAbsMod_Life, DamageAttributeDurMod_Life, DamageAttributeAbs_LifeLeech,
            DamageAttributeDur_LifeLeach, DamageAttributeDurMod_LifeLeach,
            DamageAttributeAbs_ManaBurn, DamageAttributeAbsMod_ManaBurn,
            DamageAttributeDur_ManaLeach, DamageAttributeDurMod_ManaLeach,
            DamageAttributeDur_OffensiveAbility, DamageAttributeDurMod_OffensiveAbility,
            DamageAttributeDur_DefensiveAbility, DamageAttributeDurMod_DefensiveAbility,
            DamageAttributeDur_OffensiveReduction, DamageAttributeDurMod_OffensiveReduction,
            DamageAttributeDur_DefensiveReduction, DamageAttributeDur_TotalDamageReductionPercent,
            DamageAttributeDur_TotalDamageReductionAbsolute,
            DamageAttributeDur_TotalResistanceReductionPercent,
            DamageAttributeDur_TotalResistanceReductionAbsolute, DamageAttributeDur_Fumble,
            DamageAttributeDur_ProjectileFumble>(store, base, prefix, suffix, jitter);
}
}  // namespace

void DamageAttributeStore_Equipment::Load(const LoadTable& base, const LoadTable* prefix,
                                          const LoadTable* suffix, bool perLevelPhysical) {
    constexpr float kJitter = 20.0f;
    Clear();
    SetGlobalChance(base, prefix, suffix);
    if (perLevelPhysical) {
        LoadAll<DamageAttribute_Physical>(*this, base, prefix, suffix, kJitter);
    } else {
        DamageAttribute_BasePhysical::Create_BasePhysical(*this, base);
        LoadAll<DamageAttributeAbsBase_Fire, DamageAttributeAbsBase_Cold,
                DamageAttributeAbsBase_Lightning, DamageAttributeAbsBase_Poison,
                DamageAttributeAbsBase_Life, DamageAttributeAbs_BonusPhysical>(*this, base, prefix,
                                                                               suffix, kJitter);
    }
    LoadCommon(*this, base, prefix, suffix, kJitter);
    LoadAll<DamageAttributeReflex_Stun, DamageAttributeAbsMod_Stun, DamageAttributeReflex_Freeze,
            DamageAttributeReflex_Petrify, DamageAttributeAbs_Convert, DamageAttributeAbs_Confusion,
            DamageAttributeDur_TotalSpeed, DamageAttributeDur_AttackSpeed,
            DamageAttributeDurMod_AttackSpeed, DamageAttributeDur_SpellCastSpeed,
            DamageAttributeDurMod_SpellCastSpeed, DamageAttributeDur_RunSpeed,
            DamageAttributeDurMod_RunSpeed, DamageAttributeAbs_Disruption>(*this, base, prefix,
                                                                           suffix, kJitter);
}

void DamageAttributeStore_Skill::Load(const LoadTable& table) {
    Clear();
    SetGlobalChance(table, nullptr, nullptr);
    LoadAll<DamageAttribute_Physical, DamageAttributeDur_Physical>(*this, table, nullptr, nullptr,
                                                                   0.0f);
    LoadCommon(*this, table, nullptr, nullptr, 0.0f);
    LoadAll<DamageAttributeAbs_Disruption, DamageAttributeReflex_Stun, DamageAttributeAbsMod_Stun,
            DamageAttributeReflex_Trap, DamageAttributeReflex_Freeze, DamageAttributeReflex_Petrify,
            DamageAttributeAbs_Taunt, DamageAttributeAbs_Convert, DamageAttributeAbs_Fear,
            DamageAttributeAbs_Confusion, DamageAttributeDur_TotalSpeed,
            DamageAttributeDur_AttackSpeed, DamageAttributeDurMod_AttackSpeed,
            DamageAttributeDur_SpellCastSpeed, DamageAttributeDurMod_SpellCastSpeed,
            DamageAttributeDur_RunSpeed, DamageAttributeDurMod_RunSpeed>(*this, table, nullptr,
                                                                         nullptr, 0.0f);
}

}  // namespace GAME
