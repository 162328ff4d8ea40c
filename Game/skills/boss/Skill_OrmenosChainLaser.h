#pragma once
// Ormenos fires three lasers at the chains that bind Typhon nearby. The beams grow from the
// chains to the caster and fade back; when all three are done, an Ormenos caster loses its
// sickle in an explosion. The controlling machine names the chains; every machine draws.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class ChainLaserBeam;

class Skill_OrmenosChainLaser : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_OrmenosChainLaser)
public:
    static constexpr std::size_t kBeamCount = 3;
    // How far from the caster the bound Typhon is looked for.
    static constexpr float kChainedReach = 20.0f;

    Skill_OrmenosChainLaser();
    ~Skill_OrmenosChainLaser() override;

    void Load(const LoadTable& table) override;
    void PreLoad(bool now) override;
    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    bool ShouldMonsterSkillBeInterruptedWhilePursuing() const override { return false; }
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    ChainLaserBeam* GetBeam(std::size_t index) const;
    float GetProgress(std::size_t index) const { return mProgress[index]; }
    bool IsBeamFinished(std::size_t index) const { return mFinished[index]; }
    bool IsSicklePending() const { return mSicklePending; }
    std::uint32_t GetTargetId() const { return mTargetId; }

private:
    float mBeamVelocity = 1.0f;
    std::array<std::uint32_t, kBeamCount> mBeams{};  // object ids; 0: none
    std::array<float, kBeamCount> mProgress{};
    // A beam that does not exist counts as finished.
    std::array<bool, kBeamCount> mFinished{true, true, true};
    bool mShown = false;
    std::uint32_t mTargetId = 0;
    bool mSicklePending = false;
};

}  // namespace GAME
