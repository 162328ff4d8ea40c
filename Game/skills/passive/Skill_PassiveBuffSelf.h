#pragma once
// Passive skills that switch a timed self buff on by themselves: after an attack on the owner
// has been resolved (by chance), or when the owner's life falls to a share of its maximum. The
// controlling machine decides and sends the active state; every machine applies it (the one-off
// bonus, the attributes, the damage filter, the effects). The timers live only there.
#include <string>
#include <vector>

#include "Game/rules/combat/CombatFilter.h"
#include "Game/skills/Skill.h"

namespace GAME {

class SkillServicesBase;

// What the two kinds share: attributes and the filter while active, and applying the state.
class PassiveBuffSelf : public Skill, public CombatFilter {
public:
    void UnInstall(Character* owner) override;
    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void CollectPassiveOffensiveDamageAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveOffensiveModifierAttributes(
        CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRacialBonusDamage(const std::vector<std::string>& races,
                                         RacialBonus_Damage& bonus) override;
    void CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) override;
    void ReceiveActiveUpdate(Character& owner, const SkillActiveState& state,
                             bool fromReplica) override;
    float ModifyDamage(float damage, CombatAttributeType type) override;
    bool ProvidesInvulnerability(const std::vector<std::string>&) override { return false; }

    float GetDamageAbsorption() const { return mDamageAbsorption; }
    float GetDamageAbsorptionPercent() const { return mDamageAbsorptionPercent; }

protected:
    SkillServicesBase* Services() const;
    void SendActive(bool active);
    int DurationMs() const;
    // The on-life kind marks the trigger with its target effect first.
    virtual void OnActivated(Character&) {}

    int mTotalTime = 0;
    int mRemainingTime = 0;
    float mDamageAbsorption = 0.0f;
    float mDamageAbsorptionPercent = 0.0f;
};

class Skill_PassiveOnHitBuffSelf : public PassiveBuffSelf {
    RTTI_DECLARE(Skill_PassiveOnHitBuffSelf)
public:
    Skill_PassiveOnHitBuffSelf();

    void Update(Character& owner, int ms) override;
    void OnHitActivation(Character& owner, const ParametersCombat& parameters) override;
    bool IsSkillOnHitActive() const override { return GetCurrentLevel() != 0; }
    bool IsTrackable(std::uint32_t) const override { return mRemainingTime > 0; }
    bool TrackableTimed(std::uint32_t) const override { return mRemainingTime > 0; }
    int TrackableRemainingTime(std::uint32_t) const override {
        return mRemainingTime > 0 ? mRemainingTime : 1;
    }
    int TrackableTotalTime(std::uint32_t) const override {
        return mRemainingTime > 0 ? mTotalTime : 1;
    }
    void StopSkill(Character& owner) override;
};

// The buff ends a set time after life has come back above the threshold; a new drop during
// that countdown neither stops nor restarts it.
class Skill_PassiveOnLifeBuffSelf : public PassiveBuffSelf {
    RTTI_DECLARE(Skill_PassiveOnLifeBuffSelf)
public:
    Skill_PassiveOnLifeBuffSelf();

    void Update(Character& owner, int ms) override;
    bool IsTrackable(std::uint32_t) const override { return mTriggered; }
    bool TrackableTimed(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override {
        return mLifeBack ? mRemainingTime : 1;
    }
    int TrackableTotalTime(std::uint32_t) const override { return mLifeBack ? mTotalTime : 1; }
    void StopSkill(Character& owner) override;
    void ReceiveActiveUpdate(Character& owner, const SkillActiveState& state,
                             bool fromReplica) override;
    bool IsTriggered() const { return mTriggered; }

protected:
    void OnActivated(Character& owner) override;

private:
    bool mTriggered = false;
    bool mLifeBack = false;
};

}  // namespace GAME
