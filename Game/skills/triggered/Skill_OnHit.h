#pragma once
// Switchable skills that act when an attack on their owner has been resolved: a shock wave that
// spreads from the owner and strikes each foe as it reaches it, and a timed self buff. The
// controlling machine switches, rolls and times them and publishes the active state (active:
// switched on; transition: the wave was triggered or the buff runs); every machine applies it.
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_OnHitAttackRadius : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_OnHitAttackRadius)
public:
    Skill_OnHitAttackRadius();

    void Update(Character& owner, int ms) override;
    void OnHitActivation(Character& owner, const ParametersCombat& parameters) override;
    bool IsSkillOnHitActive() const override { return mOn; }
    bool IsTrackable(std::uint32_t) const override { return mOn; }
    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) override;
    void TargetResult(Character& owner, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void StopSkill(Character& owner) override;
    void ReceiveActiveUpdate(Character& owner, const SkillActiveState& state, bool silent) override;
    void ActivateNow(Character& owner, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    bool IsWavePending() const { return !mPending.empty(); }
    int GetCooldownTimer() const { return mCooldownTimer; }

protected:
    // The ring on the ground and the wave's effect, both where the wave starts.
    void CreateVisualEffect(const WorldCoords& where, float radius, int time);

private:
    int mCooldownTimer = 0;
    int mWaveElapsed = 0;
    int mWaveTimePerUnit = 0;
    WorldVec3 mWaveCentre;
    std::vector<std::uint32_t> mPending;
    std::vector<std::uint32_t> mReached;  // reused every frame
};

class Skill_OnHitBuffSelf : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_OnHitBuffSelf)
public:
    Skill_OnHitBuffSelf();

    void Update(Character& owner, int ms) override;
    void OnHitActivation(Character& owner, const ParametersCombat& parameters) override;
    bool IsSkillOnHitActive() const override { return mOn; }
    bool IsTrackable(std::uint32_t) const override { return mOn; }
    bool TrackableTimed(std::uint32_t) const override { return mRemaining > 0; }
    int TrackableRemainingTime(std::uint32_t) const override {
        return mRemaining > 0 ? mRemaining : 1;
    }
    int TrackableTotalTime(std::uint32_t) const override { return mRemaining > 0 ? mTotal : 1; }
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
    void StopSkill(Character& owner) override;
    void ReceiveActiveUpdate(Character& owner, const SkillActiveState& state, bool silent) override;
    void ActivateNow(Character& owner, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    int GetCooldownTimer() const { return mCooldownTimer; }

private:
    // While a buff runs (every machine knows it from the published transition flag).
    bool Running() const { return GetActiveState().active && GetActiveState().transition; }

    int mTotal = 0;
    int mRemaining = 0;
    int mCooldownTimer = 0;
};

}  // namespace GAME
