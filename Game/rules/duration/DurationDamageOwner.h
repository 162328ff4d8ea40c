#pragma once
// What the duration-damage manager needs of the character that carries it and of that
// character's combat manager.
#include <cstdint>

#include "Game/characters/CharacterRagDoll.h"
#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class Bonus;

class DurationDamageOwner {
public:
    virtual ~DurationDamageOwner() = default;

    virtual bool IsInvincible() const = 0;
    virtual float GetCurrentLife() const = 0;
    virtual float GetCurrentMana() const = 0;
    virtual void SubtractMana(float amount) = 0;
    virtual void StartDamageEffect(CombatAttributeType type) = 0;
    virtual void StopDamageEffect(CombatAttributeType type) = 0;
    virtual void StartInvoluntaryEffect(CombatAttributeType type) = 0;
    virtual void StopInvoluntaryEffect(CombatAttributeType type) = 0;
    // force: taken even when the owner has no life left.
    virtual void SetRagdollData(const CharacterRagDoll::EffectData& data, bool force) = 0;
    virtual bool IsSkillSpeedUpdateNeeded() const = 0;
    virtual void ForceSpeedUpdate() = 0;

    // The combat manager's side: whom the damage is credited to, the damage itself (false
    // when it was wholly filtered) and a bonus for an attacker by object id.
    virtual void SetCombatAttacker(std::uint32_t attacker) = 0;
    virtual bool ApplyCombatDamage(float damage, const PlayStatsDamageType& kind,
                                   CombatAttributeType type) = 0;
    virtual void GiveCombatBonus(const Bonus& bonus, std::uint32_t attacker) = 0;
};

}  // namespace GAME
