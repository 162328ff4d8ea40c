#include "Game/rules/damage/RetaliationAttributeStore.h"

#include "Game/rules/damage/RetaliationAttribute.h"

namespace GAME {

// clang-format off
#define GAME_RETALIATION_HEAD(X) \
    X(Abs_Physical) X(Dur_Physical) X(AbsMod_Physical) X(DurMod_Physical) \
    X(AbsMod_PierceRatio) X(Abs_Pierce) X(AbsMod_Pierce) \
    X(Dur_Bleeding) X(DurMod_Bleeding) X(Abs_ElementalDamage)
#define GAME_RETALIATION_ELEMENT(X, Stem) X(Abs_##Stem) X(Dur_##Stem) X(AbsMod_##Stem) X(DurMod_##Stem)
#define GAME_RETALIATION_TAIL(X) \
    X(Abs_PercentCurrentLife) X(Abs_Life) X(Dur_Life) X(AbsMod_Life) X(DurMod_Life) \
    X(Dur_LifeLeach) X(DurMod_LifeLeach) X(Dur_ManaLeach) X(DurMod_ManaLeach) \
    X(Dur_OffensiveAbility) X(DurMod_OffensiveAbility) X(Dur_DefensiveAbility) X(DurMod_DefensiveAbility) \
    X(Dur_OffensiveReduction) X(DurMod_OffensiveReduction) \
    X(Reflex_Stun) X(AbsMod_Stun) \
    X(Dur_AttackSpeed) X(DurMod_AttackSpeed) X(Dur_SpellCastSpeed) X(DurMod_SpellCastSpeed) \
    X(Dur_RunSpeed) X(DurMod_RunSpeed)
// clang-format on

void RetaliationAttributeStore_Equipment::Load(const LoadTable& record, const LoadTable* prefix,
                                               const LoadTable* suffix, bool /*flag*/) {
    Clear();
    SetGlobalChance(record, prefix, suffix);
#define GAME_LOAD(Kind) \
    LoadAttribute<RetaliationAttribute##Kind>(*this, record, prefix, suffix, 20.0f);
    GAME_RETALIATION_HEAD(GAME_LOAD)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Cold)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Poison)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Lightning)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Fire)
    GAME_RETALIATION_TAIL(GAME_LOAD)
#undef GAME_LOAD
}

// Skills list the elements fire, cold, lightning, poison.
void RetaliationAttributeStore_Skill::Load(const LoadTable& record) {
    Clear();
    SetGlobalChance(record, nullptr, nullptr);
#define GAME_LOAD(Kind) \
    LoadAttribute<RetaliationAttribute##Kind>(*this, record, nullptr, nullptr, 0.0f);
    GAME_RETALIATION_HEAD(GAME_LOAD)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Fire)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Cold)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Lightning)
    GAME_RETALIATION_ELEMENT(GAME_LOAD, Poison)
    GAME_RETALIATION_TAIL(GAME_LOAD)
#undef GAME_LOAD
}

}  // namespace GAME
