#pragma once
// A combat character for the payload tests: records every call, with formulas that pass the
// damage through unless a test sets them.
#include <functional>
#include <map>
#include <vector>

#include "Game/rules/combat/CombatCharacter.h"

namespace GAME::test {

class CombatTestCharacter : public CombatCharacter {
public:
    struct Damage {
        float amount;
        PlayStatsDamageType kind;
        CombatAttributeType type;
    };
    struct Duration {
        CombatAttributeType type;
        float amount;
        float duration;
    };

    std::uint32_t GetCombatObjectId() const override { return id; }
    unsigned int GetCharLevel() const override { return level; }
    float DesignerCalculateElementalDamage(float damage) const override {
        return elemental ? elemental(damage) : damage;
    }
    float DesignerCalculateElementalDurationDamage(float damage) const override {
        return elementalDuration ? elementalDuration(damage) : damage;
    }
    float DesignerCalculatePhysicalDamage(float damage) const override {
        return physical ? physical(damage) : damage;
    }
    float DesignerCalculatePierceDamage(float damage) const override {
        return pierce ? pierce(damage) : damage;
    }
    float DesignerCalculatePhysicalDamageDefense(float damage, float protection,
                                                 float absorbedProtection,
                                                 float armorBonus) const override {
        armourCalls.push_back({damage, protection, absorbedProtection, armorBonus});
        return armour ? armour(damage, protection, absorbedProtection) : damage;
    }
    float DesignerCalculateShieldBlockDamageReduction(float damage, float a,
                                                      float b) const override {
        return damage - a * b;
    }
    float GetDefenseAttributeCap() const override { return defenseCap; }

    void ApplyDamage(float amount, const PlayStatsDamageType& kind,
                     CombatAttributeType type) override {
        damage.push_back({amount, kind, type});
    }
    void AddDurationDamage(CombatAttributeType type, float amount, float duration) override {
        overTime.push_back({type, amount, duration});
    }
    void AddFixedDurationDamage(CombatAttributeType type, float amount, float duration) override {
        fixed.push_back({type, amount, duration});
    }
    void CombatExertInfluenceTaunt(float amount) override { taunt.push_back(amount); }
    void CombatExertInfluenceFear(int ms) override { fear.push_back(ms); }
    void CombatExertInfluenceConfusion(int ms) override { confusion.push_back(ms); }
    void CombatAddCooldownDamage(int ms) override { cooldown.push_back(ms); }
    void CombatAddLifeLeechDamage(float amount) override { leech.push_back(amount); }
    void JoinMe(std::uint32_t converterId, int ms, bool) override {
        joined.push_back({converterId, ms});
    }
    float GetCurrentLife() const override { return life; }
    float GetCurrentMana() const override { return mana; }
    float GetTotalMana() const override { return totalMana; }
    void SubtractMana(float amount) override {
        mana -= amount;
        manaTaken.push_back(amount);
    }
    CombatCharacter* FindCombatCharacter(std::uint32_t other) const override {
        auto it = others.find(other);
        return it == others.end() ? nullptr : it->second;
    }

    std::uint32_t id = 1;
    unsigned int level = 10;
    float defenseCap = 0.0f;
    float life = 200.0f;
    float mana = 50.0f;
    float totalMana = 100.0f;
    std::function<float(float)> elemental, elementalDuration, physical, pierce;
    std::function<float(float, float, float)> armour;
    std::map<std::uint32_t, CombatCharacter*> others;

    mutable std::vector<std::vector<float>> armourCalls;
    std::vector<Damage> damage;
    std::vector<Duration> overTime, fixed;
    std::vector<float> taunt, leech, manaTaken;
    std::vector<int> fear, confusion, cooldown;
    std::vector<std::pair<std::uint32_t, int>> joined;
};

}  // namespace GAME::test
