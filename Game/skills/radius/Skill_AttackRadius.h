#pragma once
// Spells that hit every foe within a radius. The shock wave spreads from where its caster stood
// and strikes each foe as the growing circle reaches it; the lightning strikes a chosen point
// and, once its bolt lands, hits the foes around it. Only the caster's controlling machine
// chooses the foes; every machine strikes them from the seed that travels with the choice.
#include <cstdint>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackRadius : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackRadius)
public:
    Skill_AttackRadius();

    void Update(Character& character, int ms) override;
    // Unavailable while the wave runs.
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    bool GetValidTarget(const Character&, std::uint32_t& target, const WorldVec3&, bool,
                        float) override {
        target = 0;
        return true;
    }
    // The wave's start on every machine pays the cost and shows the wave.
    void ReceiveActiveUpdate(Character& character, const SkillActiveState& state,
                             bool fromReplica) override;
    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    virtual void CreateVisualEffect(const WorldCoords& coords, float radius, int radiusTime);

    bool IsWaveRunning() const { return !mPending.empty(); }
    const std::vector<std::uint32_t>& GetPendingTargets() const { return mPending; }

private:
    int mElapsed = 0;
    int mRadiusTime = 1;  // ms per unit of radius
    float mRadius = 0.0f;
    WorldVec3 mCentre;
    std::vector<std::uint32_t> mPending;
    std::vector<std::uint32_t> mReached;  // this frame's, kept for its capacity
};

class Skill_AttackRadiusLightning : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackRadiusLightning)
public:
    // The longest a bolt may take to land.
    static constexpr int kMaxFlightMs = 5000;

    Skill_AttackRadiusLightning();

    void Update(Character& character, int ms) override;
    bool SetAvailability(bool ignoreMana, bool ignoreCooldown) override;
    // Every machine: shows the bolt and keeps the foes and the seed for its landing.
    void TargetResult(Character& character, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& character, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    virtual void CreateVisualEffect(const WorldCoords& coords);

    bool IsStriking() const { return mBolt != 0 || !mTargets.empty(); }
    std::uint32_t GetBoltId() const { return mBolt; }

private:
    void OnLightningComplete(Character& character);

    WorldVec3 mStrikePoint;
    std::vector<std::uint32_t> mTargets;
    std::vector<std::uint32_t> mChosen;  // the deciding machine's choice, kept for its capacity
    std::uint32_t mPrimaryTarget = 0;
    std::uint32_t mBolt = 0;
    WorldCoords mStrikeCoords;
    std::uint32_t mSeed = 0;
    int mFlightLeft = 0;
};

}  // namespace GAME
