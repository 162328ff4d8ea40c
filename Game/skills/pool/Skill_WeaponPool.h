#pragma once
// The weapon-pool skills: a character's plain attack as a skill that draws one pooled attack per
// swing (Skill_WPAttack). The kinds differ in what a pooled hit does for them: nothing (default
// and basic), a charge that lends the charge level's bonuses and decays one level at a time
// (linear), or a charge that, once full, turns the next swing into a finale of the skill's own.
// Only the controlling machine moves a charge; it travels as the sub level of the skill's
// active state, which every machine reads.
#include <cstdint>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

// The attack that is always there: available whatever mana, cooldown, weapon or hand state.
class Skill_WeaponPool_Default : public SkillActivatedWeaponPool {
    RTTI_DECLARE(Skill_WeaponPool_Default)
public:
    Skill_WeaponPool_Default();
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
};

class Skill_WeaponPool_BasicAttack : public SkillActivatedWeaponPool {
    RTTI_DECLARE(Skill_WeaponPool_BasicAttack)
public:
    Skill_WeaponPool_BasicAttack();
    void WPAttackCallback(Character&, const std::vector<std::uint32_t>&) override {}
};

class Skill_WeaponPool_ChargedLinear : public SkillActivatedWeaponPool {
    RTTI_DECLARE(Skill_WeaponPool_ChargedLinear)
public:
    Skill_WeaponPool_ChargedLinear();

    void Update(Character& character, int ms) override;
    bool IsTrackable(std::uint32_t) const override { return Charge() > 0; }
    int TrackableRemainingTime(std::uint32_t) const override { return Charge(); }
    int TrackableTotalTime(std::uint32_t) const override;
    // The bonuses of the charge level reached, while charged.
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
    void StopSkill(Character& character) override;
    void ReceiveActiveUpdate(Character& character, const SkillActiveState& state,
                             bool fromReplica) override;
    void WPAttackCallback(Character& character, const std::vector<std::uint32_t>& targets) override;

    // The controlling machine's charge and the time left before it falls a level.
    std::uint32_t GetChargeLevel() const { return mChargeLevel; }
    int GetChargeTimer() const { return mChargeTimer; }

private:
    // The replicated charge: every machine's view.
    int Charge() const { return GetActiveState().subLevel; }
    void IncrementCharge();
    void DecrementCharge();
    void ResetCharge();
    void SetChargeEffect(Character& character, int level);

    std::uint32_t mShownEffect = 0;
    // One per level reached, in level order: handles of the owner's effects, which go with it.
    std::vector<std::uint32_t> mChargeEffects;
    std::uint32_t mChargeLevel = 0;
    int mChargeTimer = 0;
};

class Skill_WeaponPool_ChargedFinale : public SkillActivatedWeaponPool {
    RTTI_DECLARE(Skill_WeaponPool_ChargedFinale)
public:
    Skill_WeaponPool_ChargedFinale();

    void Update(Character& character, int ms) override;
    bool IsTrackable(std::uint32_t) const override { return GetActiveState().subLevel > 0; }
    int TrackableRemainingTime(std::uint32_t) const override { return GetActiveState().subLevel; }
    int TrackableTotalTime(std::uint32_t) const override;
    // The finale's own hit; pooled hits report through WPAttackCallback instead.
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool melee) override;
    void StopSkill(Character& character) override;
    void ReceiveActiveUpdate(Character& character, const SkillActiveState& state,
                             bool fromReplica) override;
    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override;
    bool EndAction(Character& character) override;
    void WPAttackCallback(Character& character, const std::vector<std::uint32_t>& targets) override;

    // Full: the replicated charge has reached the maximum of the current level.
    bool IsFullyCharged() const;
    int GetChargeLevel() const { return mChargeLevel; }
    int GetChargeTimer() const { return mChargeTimer; }

private:
    void SetChargeEffect(Character& character, int level);
    void Discharge();

    std::uint32_t mChargeEffect = 0;  // aura on the owner
    int mChargeLevel = 0;
    int mChargeTimer = 0;
};

}  // namespace GAME
