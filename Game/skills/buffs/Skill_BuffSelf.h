#pragma once
// The buffs a character casts on itself: switched on and off (toggled), or on for a duration,
// growing (colossus), holding still (immobilise), untouchable (invulnerable) or shielded by a
// pool. The controlling machine decides on and off and sends it as an active update; every
// machine applies it in ReceiveActiveUpdate (cost, sounds, effects, bonus). While on, the skill
// adds its record's attributes to the user and stands between attacks and the user's life.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/rules/combat/CombatFilter.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_BuffSelfToggled : public SkillActivatedBuffSelf, public CombatFilter {
    RTTI_DECLARE(Skill_BuffSelfToggled)
public:
    Skill_BuffSelfToggled();

    void Install(Character* user) override;
    void UnInstall(Character* user) override;
    void Update(Character& user, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
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
    bool IsTrackable(std::uint32_t) const override { return mOn; }
    void StopSkill(Character& user) override;
    void ReceiveActiveUpdate(Character& user, const SkillActiveState& state, bool silent) override;
    float ModifyDamage(float damage, CombatAttributeType type) override;
    bool ProvidesInvulnerability(const std::vector<std::string>&) override { return false; }

    float GetDamageAbsorption() const { return mDamageAbsorption; }

protected:
    virtual void InitializeBuff();
    // On the controlling machine: the new on value, published to every machine.
    bool Contributes() const { return GetActiveState().active && !mSuppressed; }

    int mDurationRemaining = 0;
    bool mSuppressed = false;
    float mDamageAbsorption = 0.0f;
    float mAbsorptionTotal = 0.0f;
    float mDamageAbsorptionPercent = 0.0f;
};

class Skill_BuffSelfDuration : public Skill_BuffSelfToggled {
    RTTI_DECLARE(Skill_BuffSelfDuration)
public:
    Skill_BuffSelfDuration();
    void Update(Character& user, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool TrackableTimed(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override { return mDurationRemaining; }
    int TrackableTotalTime(std::uint32_t) const override { return mDurationTotal; }

private:
    int mDurationTotal = 0;
};

// Grows the user to the record's scale while on and back afterwards; while it is growing or
// shrinking it adds no attributes.
class Skill_BuffSelfColossus : public Skill_BuffSelfDuration {
    RTTI_DECLARE(Skill_BuffSelfColossus)
public:
    Skill_BuffSelfColossus();
    void Update(Character& user, int ms) override;
    void ReceiveActiveUpdate(Character& user, const SkillActiveState& state, bool silent) override;
    virtual void Scale(Character& user, int ms, bool atOnce);
    bool IsScaling() const { return mScaling; }

private:
    bool mScaling = false;
    int mScaleTime = 0;
    float mTargetScale = 1.0f;
    float mScaleStep = 0.0f;
    // The user's scale before its first growth: where it returns to.
    float mBaseScale = 0.0f;
};

class Skill_BuffSelfImmobilize : public Skill_BuffSelfDuration {
    RTTI_DECLARE(Skill_BuffSelfImmobilize)
public:
    Skill_BuffSelfImmobilize();
    void Update(Character& user, int ms) override;

private:
    int mHoldTimer = 0;
    int mHoldInterval = 100;
    float mHoldDuration = 0.25f;
};

// While active: no attacker of the racial profile's races (any, for an empty profile) hurts.
class Skill_BuffSelfInvulnerable : public Skill_BuffSelfDuration {
    RTTI_DECLARE(Skill_BuffSelfInvulnerable)
public:
    Skill_BuffSelfInvulnerable();
    bool ProvidesInvulnerability(const std::vector<std::string>& races) override;
};

// Switches on only; it ends when its pool of absorption is spent.
class Skill_BuffSelfShield : public Skill_BuffSelfToggled {
    RTTI_DECLARE(Skill_BuffSelfShield)
public:
    Skill_BuffSelfShield();
    float ModifyDamage(float damage, CombatAttributeType type) override;
    void Update(Character& user, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool TrackableTimed(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override {
        return static_cast<int>(mDamageAbsorption);
    }
    int TrackableTotalTime(std::uint32_t) const override {
        return static_cast<int>(mAbsorptionTotal);
    }
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
};

}  // namespace GAME
