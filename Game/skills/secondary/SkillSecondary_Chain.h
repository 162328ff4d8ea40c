#pragma once
// Lightning and blessings that leap: a chain hops from the point where its base skill landed to
// a foe (an ally, for the bonus) within reach, from there to the next, and so on; a fork strikes
// several foes around the point at once. The controlling machine draws the hops and sends them
// as a target result with a seed; every machine then plays the same bolts and strikes each
// target with a generator seeded from the command, as the bolt arrives.
#include <cstdint>
#include <vector>

#include "Engine/world/Region.h"
#include "Game/skills/secondary/SkillSecondary.h"

namespace GAME {

class Lightning;

// The chain both kinds play: one bolt at a time, each from the last target to the next.
class SkillSecondaryChain : public SkillSecondary {
public:
    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, std::uint32_t targetId,
                     const std::vector<std::uint32_t>& targets, const WorldCoords& point) override;

    struct Link {
        std::uint32_t effectId = 0;
        std::uint32_t targetId = 0;
        bool done = false;
        WorldVec3 targetPoint;
        WorldVec3 startPoint;
    };
    const std::vector<Link>& GetChain() const { return mChain; }
    bool IsDecaying() const { return mDecaying; }

protected:
    // Foes for the lightning, allies for the bonus.
    virtual bool HopsToFriends() const = 0;
    // What reaching a target does (the strike or the bonus), before the secondary skills run.
    virtual void OnArrival(Character& caster, Character& target, const Link& link) = 0;
    std::uint32_t GetSeed() const { return mSeed; }

private:
    void Grow(Character& caster);
    void Decay();
    void Arrive(Character& caster, Link& link);

    std::vector<Link> mChain;
    bool mDecaying = false;
    WorldVec3 mStart;
    std::uint32_t mSeed = 0;
    // Reused by the choice of hops, so a chain allocates nothing once warm.
    std::vector<std::uint32_t> mExcluded;
    std::vector<std::uint32_t> mCandidates;
    std::vector<std::uint32_t> mHops;
    std::vector<std::uint32_t> mNoTargets;
};

// Each reached ally gets the profile's bonus.
class SkillSecondary_ChainBonus : public SkillSecondaryChain {
    RTTI_DECLARE(SkillSecondary_ChainBonus)
public:
    SkillSecondary_ChainBonus();

protected:
    bool HopsToFriends() const override { return true; }
    void OnArrival(Character& caster, Character& target, const Link& link) override;
};

// Each reached foe is attacked with the skill's damage.
class SkillSecondary_ChainLightning : public SkillSecondaryChain {
    RTTI_DECLARE(SkillSecondary_ChainLightning)
public:
    SkillSecondary_ChainLightning();

protected:
    bool HopsToFriends() const override { return false; }
    void OnArrival(Character& caster, Character& target, const Link& link) override;
};

class SkillSecondary_ForkLightning : public SkillSecondary {
    RTTI_DECLARE(SkillSecondary_ForkLightning)
public:
    SkillSecondary_ForkLightning();

    void Update(Character& caster, int ms) override;
    void TargetResult(Character& caster, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& caster, std::uint32_t targetId,
                     const std::vector<std::uint32_t>& targets, const WorldCoords& point) override;

    struct Fork {
        std::uint32_t effectId = 0;
        std::uint32_t targetId = 0;
        WorldVec3 endPoint;
        WorldVec3 startPoint;
    };
    const std::vector<Fork>& GetForks() const { return mForks; }

private:
    std::vector<Fork> mForks;
    std::uint32_t mSeed = 0;
    std::vector<std::uint32_t> mExcluded;
    std::vector<std::uint32_t> mCandidates;
    std::vector<std::uint32_t> mPicked;
};

}  // namespace GAME
