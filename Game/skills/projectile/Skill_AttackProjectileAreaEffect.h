#pragma once
// Several projectiles from computed launch points, one create-projectile command each; the
// drop kind lets telekinesis objects fall from above onto drop zones near the caster (or
// around the caster), and bursts the objects already lying close by.
#include <array>
#include <string>

#include "Game/skills/SkillActivated.h"

namespace GAME {

class Skill_AttackProjectileAreaEffect : public SkillActivatedSpell {
    RTTI_DECLARE(Skill_AttackProjectileAreaEffect)
public:
    Skill_AttackProjectileAreaEffect();

    void CreateProjectile(Character& character, std::uint32_t firstFlag, const WorldCoords& origin,
                          std::uint32_t targetId, const WorldVec3& aim, std::uint32_t projectileId,
                          std::uint16_t seed) override;
    void ActivateNow(Character& caster, const Name& event, std::uint32_t target,
                     const WorldVec3& point) override;

    // Where the next projectile leaves (on the controlling machine).
    virtual WorldCoords GetLaunchPoint(Character& caster, const Name& event);
    // True when it started the projectile itself.
    virtual bool DoSpecialProjectileGo(Character& caster, ProjectileBase& projectile);
    // The record for the projectile of that object id; empty for the skill's own.
    virtual std::string GetSpecialProjectileName(std::uint32_t key) const;
    virtual int GetNumProjectiles() const { return 1; }
};

class Skill_DropProjectileTelekinesis : public Skill_AttackProjectileAreaEffect {
    RTTI_DECLARE(Skill_DropProjectileTelekinesis)
public:
    static constexpr std::size_t kMaxNames = 5;
    static constexpr float kZoneReach = 20.0f;
    static constexpr float kBurstReach = 30.0f;

    Skill_DropProjectileTelekinesis();

    void Load(const LoadTable& table) override;
    WorldCoords GetLaunchPoint(Character& caster, const Name& event) override;
    bool DoSpecialProjectileGo(Character& caster, ProjectileBase& projectile) override;
    std::string GetSpecialProjectileName(std::uint32_t key) const override;
    int GetNumProjectiles() const override { return mNumProjectiles; }

private:
    float mDropOffset = 10.0f;
    float mDropHeight = 14.0f;
    float mDropHeightDeviation = 20.0f;
    std::array<std::string, kMaxNames> mNames;
    std::uint32_t mNameCount = 0;
    int mNumProjectiles = 3;
};

}  // namespace GAME
