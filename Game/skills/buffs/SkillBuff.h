#pragma once
// The buff object a skill places on a character (its carrier): a timed blessing or curse that
// lives in the carrier's buff table, adds its record's attributes while active, may shield the
// carrier, and asks the controlling machine's services for its removal when its time runs out.
// Its level is the active state's sub-level; the transition flag is free for the kinds (the
// contagious kind's "may still spread"). Every machine creates and removes it through the one
// create-or-remove command, so only the controlling machine decides when it ends.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/rules/combat/CombatFilter.h"
#include "Game/skills/Skill.h"

namespace GAME {

class SkillServicesBase;

class SkillBuff : public Skill, public CombatFilter {
    RTTI_DECLARE(SkillBuff)
public:
    SkillBuff();
    ~SkillBuff() override;

    void Install(Character* carrier) override;
    void UnInstall(Character* carrier) override;
    void Update(Character& carrier, int ms) override;
    bool IsTempTrackable(std::uint32_t) const override { return true; }
    int TrackableRemainingTime(std::uint32_t) const override { return 1; }
    int TrackableTotalTime(std::uint32_t) const override { return 1; }
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
    void ReceiveActiveUpdate(Character& carrier, const SkillActiveState& state,
                             bool silent) override;
    // A plain buff is dispelled by neither.
    virtual void DispelBuff(Character&) {}
    virtual void DispelDeBuff(Character&) {}

    // The shield: per hit, never used up.
    float ModifyDamage(float damage, CombatAttributeType type) override;
    bool ProvidesInvulnerability(const std::vector<std::string>&) override { return false; }

    // Both remaining and total; a total of 0 never expires.
    void SetTimeToLive(int ms);
    int GetTimeToLive() const { return mTimeToLive; }
    int GetTimeToLiveTotal() const { return mTimeToLiveTotal; }
    void SetCasterId(std::uint32_t id) { mCasterId = id; }
    std::uint32_t GetCasterId() const { return mCasterId; }
    float GetDamageAbsorption() const { return mDamageAbsorption; }
    float GetDamageAbsorptionPercent() const { return mDamageAbsorptionPercent; }
    std::uint32_t GetSkillEnhancement() const { return mSkillEnhancement; }

protected:
    virtual void InitializeBuff();
    // The services of the carrier's manager: present only on the controlling machine.
    SkillServicesBase* Services() const;
    // Asks the controlling machine to take this buff off everywhere.
    void RequestRemoval() const;
    // Unless the record forbids it, on the controlling machine.
    void RemoveUnlessNotDispelable() const;
    void EndTimeToLive() {
        mTimeToLive = 0;
        mTimeToLiveTotal = 1;
    }
    void SetRemainingTimeToLive(int ms) { mTimeToLive = ms; }
    bool IsActiveBuff() const { return GetActiveState().active; }

private:
    std::uint32_t mCasterId = 0;
    float mDamageAbsorption = 0.0f;
    float mDamageAbsorptionPercent = 0.0f;
    int mTimeToLive = 0;
    int mTimeToLiveTotal = 0;
    std::uint32_t mSkillEnhancement = 0;
};

// A blessing: dispelling the carrier's buffs removes it.
class SkillBuff_Passive : public SkillBuff {
    RTTI_DECLARE(SkillBuff_Passive)
public:
    SkillBuff_Passive();
    void DispelBuff(Character& carrier) override;
};

// Renews a short hold on the carrier every interval, so it stands still while the buff lives.
// Shared by the hold buffs and the self immobilise skill.
struct HoldTimer {
    int timer = 0;
    int interval = 100;
    float duration = 0.25f;
    // True when a hold is due this frame.
    bool Tick(int ms);
};
// Sends one hold of that type to the character's duration damage.
void ApplyHold(Character& character, CombatAttributeType type, float duration);
// The hold of an immobilising buff; the combat types stop at 37 and skip this number.
inline constexpr CombatAttributeType kImmobilize = static_cast<CombatAttributeType>(38);

class SkillBuff_BuffImmobilize : public SkillBuff_Passive {
    RTTI_DECLARE(SkillBuff_BuffImmobilize)
public:
    SkillBuff_BuffImmobilize();
    void Update(Character& carrier, int ms) override;

private:
    HoldTimer mHold;
};

// A shield with a pool: each hit still absorbs up to the full absorption, and once the pool
// has taken that much in all the buff ends on its next update.
class SkillBuff_PassiveShield : public SkillBuff_Passive {
    RTTI_DECLARE(SkillBuff_PassiveShield)
public:
    SkillBuff_PassiveShield();
    float ModifyDamage(float damage, CombatAttributeType type) override;
    float GetShieldPool() const { return mShieldPool; }

protected:
    void InitializeBuff() override;

private:
    float mShieldPool = 0.0f;
};

}  // namespace GAME
