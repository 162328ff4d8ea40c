#pragma once
// The buffs around the user and on a friend. The attacking aura hurts the user's foes around it
// once a pulse; the blessing around places its buff on every ally (or, for a debuff, every foe)
// that a pulse finds, with a short life that the next pulse renews; the blessing of another
// places its buff on one friend (or the allies within the record's radius) for the skill's
// duration. Targets are chosen on the controlling machine and published with a seed; every
// machine applies them.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class SkillServicesBase;

class Skill_BuffAttackRadiusToggled : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_BuffAttackRadiusToggled)
public:
    static constexpr int kPulseInterval = 1000;

    Skill_BuffAttackRadiusToggled();
    void Update(Character& user, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void ReceiveActiveUpdate(Character& user, const SkillActiveState& state, bool silent) override;
    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void CollectPassiveSkillAttributes(SkillAttributeAccumulator& accumulator) override;
    void CollectPassiveRetaliationAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveDefenseAttributes(CombatAttributeAccumulator& accumulator) override;
    void CollectPassiveRacialBonusDefense(const std::vector<std::string>& races,
                                          RacialBonus_Defense& bonus) override;
    bool IsTrackable(std::uint32_t) const override { return mOn; }
    void StopSkill(Character& user) override;
    void TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool primary) override;

protected:
    int mPulseInterval = kPulseInterval;
    int mDurationRemaining = 0;
    int mPulseTimer = 0;
    int mDurationTotal = 0;
};

class Skill_BuffAttackRadiusDuration : public Skill_BuffAttackRadiusToggled {
    RTTI_DECLARE(Skill_BuffAttackRadiusDuration)
public:
    Skill_BuffAttackRadiusDuration();
    void Update(Character& user, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool TrackableTimed(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override { return mDurationRemaining; }
    int TrackableTotalTime(std::uint32_t) const override { return mDurationTotal; }
};

class Skill_BuffRadius : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_BuffRadius)
public:
    static constexpr int kPulseInterval = 1000;
    // A target keeps the buff this long after the last pulse that found it.
    static constexpr int kBuffTimeToLive = 1500;

    Skill_BuffRadius();
    void Load(const LoadTable& table) override;
    void Update(Character& user, int ms) override;
    virtual void UpdateSkillController(SkillServicesBase& services, int ms);
    void ReceiveActiveUpdate(Character& user, const SkillActiveState& state, bool silent) override;
    bool HasIconDisplay(std::uint32_t) const override { return mDebuff && mOn; }
    bool IsTrackable(std::uint32_t) const override { return mOn; }
    bool TrackableTimed(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override { return mDurationRemaining; }
    int TrackableTotalTime(std::uint32_t) const override { return mDurationTotal; }
    void CollectPassiveCharAttributes(CharAttributeAccumulator& accumulator) override;
    void StopSkill(Character& user) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    void TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool primary) override;

    const std::string& GetBuffSkillName() const { return mBuffSkillName; }
    bool IsDebuff() const { return mDebuff; }

protected:
    // The allies around the user (the user among them), or its foes for a debuff, published
    // with the primary flag.
    void PublishTargets(Character& user, SkillServicesBase& services, bool primary);

    int mDurationTotal = 0;
    int mPulseInterval = kPulseInterval;
    int mBuffTimeToLive = kBuffTimeToLive;
    int mDurationRemaining = 0;
    int mPulseTimer = 0;
    std::string mBuffSkillName;
    bool mDebuff = false;
    std::vector<std::uint32_t> mTargets;  // reused by every pulse
};

class Skill_BuffRadiusToggled : public Skill_BuffRadius {
    RTTI_DECLARE(Skill_BuffRadiusToggled)
public:
    Skill_BuffRadiusToggled();
    void UpdateSkillController(SkillServicesBase& services, int ms) override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool TrackableTimed(std::uint32_t) const override { return false; }
};

class Skill_BuffOther : public SkillActivatedBuffOther {
    RTTI_DECLARE(Skill_BuffOther)
public:
    Skill_BuffOther();
    void Load(const LoadTable& table) override;
    void TargetResult(Character& user, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool primary) override;
    // Only a character that does not carry the buff yet.
    bool IsValidTarget(std::uint32_t id) const override;
    void ActivateNow(Character& user, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    const std::string& GetBuffSkillName() const { return mBuffSkillName; }

private:
    std::string mBuffSkillName;
};

}  // namespace GAME
