#pragma once
// The per-level blocks of amounts that a modifying skill adds to the skill it modifies: one
// general block and one for the skill's projectiles. Each field is declared once in a table
// with its record key; loading and addition follow the table's order.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/items/GameTextLine.h"

namespace GAME {

class LoadTable;

// clang-format off
// (type, field, record key), in the order the record is read.
#define GAME_SKILL_PROFILE_MODIFIER_FIELDS(X) \
    X(float, manaCost, "skillManaCost") \
    X(float, activeLifeCost, "skillActiveLifeCost") \
    X(float, activeManaCost, "skillActiveManaCost") \
    X(float, activeDuration, "skillActiveDuration") \
    X(float, targetRadius, "skillTargetRadius") \
    X(float, targetAngle, "skillTargetAngle") \
    X(std::uint32_t, targetNumber, "skillTargetNumber") \
    X(float, cooldownTime, "skillCooldownTime") \
    X(float, speedAcceleration, "skillSpeedAcceleration") \
    X(float, projectileLaunchRotation, "projectileLaunchRotation") \
    X(std::uint32_t, projectileLaunchNumber, "projectileLaunchNumber") \
    X(float, projectilePiercing, "projectilePiercing") \
    X(float, explosionRadius, "explosionRadius")

#define GAME_SKILL_PROFILE_PROJECTILE_MODIFIER_FIELDS(X) \
    X(float, explosionRadius, "projectileExplosionRadius") \
    X(std::uint32_t, fragmentsLaunchNumberMin, "projectileFragmentsLaunchNumberMin") \
    X(std::uint32_t, fragmentsLaunchNumberMax, "projectileFragmentsLaunchNumberMax") \
    X(float, piercingChance, "projectilePiercingChance")
// clang-format on

class SkillProfile_Modifiers {
public:
    SkillProfile_Modifiers() = default;
    virtual ~SkillProfile_Modifiers() = default;
    SkillProfile_Modifiers(const SkillProfile_Modifiers&) = default;
    SkillProfile_Modifiers& operator=(const SkillProfile_Modifiers&) = default;

    // Reads every field at one level index of the record's lists.
    void Load(const LoadTable& record, std::size_t levelIndex);
    void Add(const SkillProfile_Modifiers& other);
    void CreateText(GameTextClass textClass, std::vector<GameTextLine>& lines) const;
    // This block is the next level's; `current` is the level shown before it.
    void CreateNextText(const SkillProfile_Modifiers& current,
                        std::vector<GameTextLine>& lines) const;

#define GAME_SKILL_PROFILE_MODIFIER_MEMBER(Type, Field, Key) Type Field = 0;
    GAME_SKILL_PROFILE_MODIFIER_FIELDS(GAME_SKILL_PROFILE_MODIFIER_MEMBER)
};

class SkillProfile_ProjectileModifiers {
public:
    SkillProfile_ProjectileModifiers() = default;
    virtual ~SkillProfile_ProjectileModifiers() = default;
    SkillProfile_ProjectileModifiers(const SkillProfile_ProjectileModifiers&) = default;
    SkillProfile_ProjectileModifiers& operator=(const SkillProfile_ProjectileModifiers&) = default;

    // The fragments name is one value for every level.
    void Load(const LoadTable& record, std::size_t levelIndex);
    // Numbers only: the fragments name stays.
    void Add(const SkillProfile_ProjectileModifiers& other);
    void CreateText(GameTextClass textClass, std::vector<GameTextLine>& lines) const;
    void CreateNextText(const SkillProfile_ProjectileModifiers& current,
                        std::vector<GameTextLine>& lines) const;

    GAME_SKILL_PROFILE_PROJECTILE_MODIFIER_FIELDS(GAME_SKILL_PROFILE_MODIFIER_MEMBER)
    std::string fragmentsName;
#undef GAME_SKILL_PROFILE_MODIFIER_MEMBER
};

}  // namespace GAME
