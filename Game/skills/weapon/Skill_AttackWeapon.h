#pragma once
// The weapon attack: hits with the hand the animation names, at range with a ranged weapon and
// in melee otherwise. It can be warmed up (charged); while the warm-up runs it lends the
// character the skill's passive bonuses, and a charged attack that is cancelled still costs.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackWeapon : public SkillActivatedWeapon {
    RTTI_DECLARE(Skill_AttackWeapon)
public:
    Skill_AttackWeapon();

    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& coords, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void Cancel(Character& caster) override;
    bool GetWarmUpWasActive() const override { return mWarmUpWasActive; }
    bool WarmUpStart() override;
    void WarmUpEnd() override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    bool IsWarmUpActive() const { return mWarmUpActive; }

private:
    bool mWarmUpActive = false;
    bool mWarmUpWasActive = false;
};

}  // namespace GAME
