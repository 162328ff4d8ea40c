#pragma once
// The operations the skill manager and services reach in parts of the game that are not built
// yet (projectiles, spawned objects, equipment, packets of the skill
// commands). Each logs one level-1 line per machine the first time it is skipped ("Skills:
// <operation> is not available yet") and does nothing.
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_SKILL_SEAMS(X) \
    X(CreateProjectile, "SkillActivated::CreateProjectile") \
    X(SkillSpawnObject, "SkillManager::SkillSpawnObject") \
    X(EquipmentWeapons, "EquipManager hand weapons") \
    X(EquipmentSkillAttributes, "equipment, item set and balance attributes of skills") \
    X(ActivateOnDeathNow, "SkillOnDeath::ActivateOnDeathNow") \
    X(WeaponEnchantments, "Character::SetWeaponEnchantment") \
    X(EquipmentProps, "Character::AddEquipmentProp and RemoveEquipmentProp") \
    X(AllowDualWieldWeapons, "Character::AllowDualWieldWeapons")
// clang-format on

enum class SkillSeam : std::size_t {
#define GAME_SKILL_SEAM_ID(Id, Text) Id,
    GAME_SKILL_SEAMS(GAME_SKILL_SEAM_ID)
#undef GAME_SKILL_SEAM_ID
        Count
};

void ReportSkillSeam(SkillSeam seam);

}  // namespace GAME
