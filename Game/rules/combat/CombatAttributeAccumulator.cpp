#include "Game/rules/combat/CombatAttributeAccumulator.h"

#include <algorithm>
#include <utility>

#include "Game/rules/combat/CombatAttribute.h"

namespace GAME {

CombatAttributeAccumulator& CombatAttributeAccumulator::operator=(
    const CombatAttributeAccumulator& other) {
    if (this == &other)
        return *this;
    for (auto [to, from] : {std::pair{&mDamage, &other.mDamage},
                            std::pair{&mDamageModifiers, &other.mDamageModifiers},
                            std::pair{&mDefense, &other.mDefense},
                            std::pair{&mDefenseModifiers, &other.mDefenseModifiers}})
        for (const auto& payload : *from)
            Append(*to, payload->Clone());
    SetSeed(other.mSeed);
    mRegion = other.mRegion;
    return *this;
}

void CombatAttributeAccumulator::AddDefenseModifier(std::unique_ptr<CombatAttribute> payload) {
    if (payload)
        Append(mDefenseModifiers, std::move(payload));
}

void CombatAttributeAccumulator::AddDefense(std::unique_ptr<CombatAttribute> payload) {
    if (!payload)
        return;
    for (const auto& defense : mDefense)
        if (defense->MergeDefense(*payload))
            return;
    Append(mDefense, std::move(payload));
}

void CombatAttributeAccumulator::ProcessDamage(const CombatCharacter& attacker, float percent,
                                               float subtract, float reducePercent,
                                               float reduceAbsolute) {
    for (const auto& modifier : mDamageModifiers)
        for (const auto& payload : mDamage)
            modifier->Execute(payload.get(), mRegion);
    mDamageModifiers.clear();
    for (const auto& payload : mDamage)
        payload->Process(attacker, percent, subtract, reducePercent, reduceAbsolute);
}

void CombatAttributeAccumulator::ProcessDefense(CombatCharacter& defender, float percent,
                                                float subtract, float reducePercent,
                                                float reduceAbsolute) {
    for (const auto& modifier : mDefenseModifiers)
        for (const auto& payload : mDefense)
            modifier->Execute(payload.get(), mRegion);
    mDefenseModifiers.clear();
    for (const auto& payload : mDefense)
        payload->Process(defender, percent, subtract, reducePercent, reduceAbsolute);
}

void CombatAttributeAccumulator::ExecuteDefense() {
    for (const auto& defense : mDefense)
        for (const auto& payload : mDamage)
            defense->Execute(payload.get(), mRegion);
    mDefense.clear();
}

void CombatAttributeAccumulator::ExecuteDamage(CombatCharacter& defender) {
    for (const auto& payload : mDamage)
        payload->Execute(defender);
}

float CombatAttributeAccumulator::ProcessBluntDamageModifier(float factor) {
    float total = 0.0f;
    for (const auto& payload : mDamage)
        total += payload->ProcessBluntDamageModifier(factor);
    return total;
}

void CombatAttributeAccumulator::ReduceDamage(float percent) {
    for (const auto& payload : mDamage)
        payload->ReduceAbsoluteDamage(payload->GetType(), percent);
}

void CombatAttributeAccumulator::DamageReductionByShield(const CombatCharacter& defender,
                                                         float shieldDefense,
                                                         float shieldAbsorption) {
    for (const auto& payload : mDamage)
        payload->DamageReductionByShield(defender, shieldDefense, shieldAbsorption);
}

void CombatAttributeAccumulator::GetTotalDamage(float& absolute, float& duration) {
    for (const auto& payload : mDamage)
        payload->GetTotalDamage(absolute, duration);
}

void CombatAttributeAccumulator::GetTotalDamageType(float& absolute, float& duration,
                                                    CombatAttributeType type) {
    for (const auto& payload : mDamage)
        if (payload->GetType() == type)
            payload->GetTotalDamage(absolute, duration);
}

float CombatAttributeAccumulator::GetTotalDefenseType(CombatAttributeType type) {
    float absolute = 0.0f;
    float duration = 0.0f;
    for (const auto& payload : mDefense)
        if (payload->GetType() == type)
            payload->GetTotalDefense(absolute, duration);
    return absolute;
}

void CombatAttributeAccumulator::ScaleDamage(float percent) {
    if (percent <= 0.0f)
        return;
    for (const auto& payload : mDamage)
        payload->ScaleDamage(percent);
}

void CombatAttributeAccumulator::FilterReflectDamage() {
    mDamage.EraseIf([](const auto& payload) { return payload->GetFilterForReflectDamage(); });
}

void CombatAttributeAccumulator::Clear() {
    mDamage.clear();
    mDamageModifiers.clear();
    mDefense.clear();
    mDefenseModifiers.clear();
}

}  // namespace GAME
