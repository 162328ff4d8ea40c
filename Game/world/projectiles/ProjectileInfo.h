#pragma once
// What a skill hands the projectile it launches: who cast it for which skill and team, from
// where, at what, and the numbers the skill adds to the projectile's own.
#include <cstdint>
#include <string>

#include "Engine/world/Region.h"
#include "Game/core/players/Team.h"

namespace GAME {

struct ProjectileInfo {
    // The skill that receives the hits of the projectile's own modifier entry.
    std::uint32_t skillId = 0;
    // Never a target of its own projectile; hears its collisions.
    std::uint32_t casterId = 0;
    // Where it enters the world, facing; also the origin of the range test.
    WorldCoords start;
    // The weapon that shot it (read by the skills, not by the projectile).
    std::uint32_t weaponId = 0;
    // 0: aimed at the target position.
    std::uint32_t targetId = 0;
    WorldVec3 targetPosition;
    Team team;
    // Percent, added to the piercing of the skill's modifier entries.
    float piercingChance = 0.0f;
    // Whole seconds (area effects).
    std::uint32_t duration = 0;
    // Percent: straight-line speed = velocity x (1 + modifier x 0.01).
    float speedModifier = 0.0f;
    // The target queries look for the team's friends instead of its foes.
    bool friends = false;
};

// What a skill (or one of its modifier skills) adds to a projectile (ProjectileBase::
// AddProjectileModifier).
struct ProjectileModifierStruct {
    // Receives the targets of this entry.
    std::uint32_t skillId = 0;
    // 0 or less: no explosion.
    float radius = 0.0f;
    // Empty: no fragments.
    std::string fragmentRecord;
    std::uint32_t fragmentCountMin = 0;
    std::uint32_t fragmentCountMax = 0;
    // Percent, added to the piercing chance of a projectile of that skill.
    float piercing = 0.0f;
};

}  // namespace GAME
