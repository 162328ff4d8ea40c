#pragma once
// Small skills that each do one thing: play an attack animation with no effect, end the
// cooldowns of all the owner's skills, swap places with a target.
#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_PlayAttackAnimation : public SkillActivated {
    RTTI_DECLARE(Skill_PlayAttackAnimation)
public:
    Skill_PlayAttackAnimation();

    bool StartAction(Character& character, std::uint32_t target, const WorldVec3& point,
                     std::uint32_t seed) override;
    void SwipeAction(Character&, const Name&, std::uint32_t, const WorldVec3&) override {}
    void HitAction(Character&, const Name&, std::uint32_t, const WorldVec3&) override {}
    bool EndAction(Character&) override { return true; }
};

class Skill_RefreshCooldown : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_RefreshCooldown)
public:
    Skill_RefreshCooldown();

    // Its own cooldown keeps running when it ends everyone else's.
    void EndCooldown() override {}
    void ActivateNow(Character& owner, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
};

class Skill_Teleport : public SkillActivatedBuffSelf {
    RTTI_DECLARE(Skill_Teleport)
public:
    static constexpr float kReach = 20.0f;

    Skill_Teleport();

    // A foe, else a friend.
    bool GetValidTarget(const Character& owner, std::uint32_t& target, const WorldVec3& point,
                        bool flag, float radius) override;
    void TargetResult(Character& owner, const std::vector<std::uint32_t>& targets,
                      const WorldCoords& origin, std::uint32_t seed, std::uint32_t weaponId,
                      bool useWeapon) override;
    void ActivateNow(Character& owner, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;
    bool AcceptClientResult(const Character& owner, const std::vector<std::uint32_t>& targets,
                            const WorldCoords& origin) const override;
};

}  // namespace GAME
