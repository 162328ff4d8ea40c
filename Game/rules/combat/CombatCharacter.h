#pragma once
// What a combat payload needs of the character that attacks or defends. The character class
// implements it: its combat manager, vitals and duration damage manager answer these calls.
#include <cstdint>

#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class CombatCharacter {
public:
    virtual ~CombatCharacter() = default;

    virtual std::uint32_t GetCombatObjectId() const = 0;
    virtual unsigned int GetCharLevel() const = 0;

    // The designer formulas of the character's combat manager.
    virtual float DesignerCalculateElementalDamage(float damage) const = 0;
    virtual float DesignerCalculateElementalDurationDamage(float damage) const = 0;
    virtual float DesignerCalculatePhysicalDamage(float damage) const = 0;
    virtual float DesignerCalculatePierceDamage(float damage) const = 0;
    virtual float DesignerCalculatePhysicalDamageDefense(float physical, float protection,
                                                         float absorbedProtection,
                                                         float armorBonus) const = 0;
    // Also tallies the amount taken off as damage reduction in the play statistics.
    virtual float DesignerCalculateShieldBlockDamageReduction(float damage, float shieldDefense,
                                                              float shieldAbsorption) const = 0;
    // A positive cap limits every defense value; 0 means none.
    virtual float GetDefenseAttributeCap() const = 0;

    virtual void ApplyDamage(float damage, const PlayStatsDamageType& kind,
                             CombatAttributeType type) = 0;
    // The character's duration damage manager: damage over time and fixed-duration effects.
    virtual void AddDurationDamage(CombatAttributeType type, float amount, float duration) = 0;
    virtual void AddFixedDurationDamage(CombatAttributeType type, float amount, float duration) = 0;

    virtual void CombatExertInfluenceTaunt(float amount) = 0;
    virtual void CombatExertInfluenceFear(int ms) = 0;
    virtual void CombatExertInfluenceConfusion(int ms) = 0;
    virtual void CombatAddCooldownDamage(int ms) = 0;
    virtual void CombatAddLifeLeechDamage(float amount) = 0;
    virtual void JoinMe(std::uint32_t converterId, int ms, bool flag) = 0;

    virtual float GetCurrentLife() const = 0;
    virtual float GetCurrentMana() const = 0;
    // The total of the Mana character attribute.
    virtual float GetTotalMana() const = 0;
    virtual void SubtractMana(float amount) = 0;

    // The character with that object id, or null (by default: the object manager's object of
    // that id when it is a combat character).
    virtual CombatCharacter* FindCombatCharacter(std::uint32_t id) const;
};

}  // namespace GAME
