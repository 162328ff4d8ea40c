#pragma once
// While its base skill is switched on, pulses a buff onto the caster's allies around it: the
// controlling machine picks the allies at each pulse and sends them; every machine hands each
// one the buff (or, for the first pulse's bonus flag, the profile's bonus).
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/secondary/SkillSecondary.h"

namespace GAME {

class SkillSecondary_BuffRadius : public SkillSecondary {
    RTTI_DECLARE(SkillSecondary_BuffRadius)
public:
    SkillSecondary_BuffRadius();

    // The buff's record is this skill's profile: what it gives is the buff.
    void Load(const LoadTable& table) override;
    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool bonus) override;
    void StopSkill(Character& caster) override;
    void ReceiveActiveUpdate(Character& caster, const SkillActiveState& state,
                             bool fromReplica) override;
    void PrimaryActivateNow(Character& caster, std::uint32_t targetId,
                            const std::vector<std::uint32_t>& targets,
                            const WorldCoords& point) override;
    void PrimaryStop(Character& caster) override;

    bool IsPulsing() const { return mPulseActive; }
    const std::string& GetBuffName() const { return mBuffName; }

private:
    void Pulse(Character& caster, const WorldVec3& centre);
    void EndPulse();

    int mDuration = 0;
    int mPulseInterval = 1000;
    int mBuffTimeToLive = 1500;
    bool mPulseActive = false;
    int mPulseCountdown = 0;
    WorldVec3 mPulseCentre;
    std::string mBuffName;
    std::vector<std::uint32_t> mAllies;  // reused
};

}  // namespace GAME
