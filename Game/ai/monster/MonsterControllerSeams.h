#pragma once
// The operations the monster controller calls in subsystems that are not built yet. Each logs
// one level-1 line per machine the first time it is skipped ("ControllerMonster: <operation> is
// not available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_MONSTER_CONTROLLER_SEAMS(X) \
    X(LevelInstanceGroups, "InstanceGroupManager::GetGroupsThatContain") \
    X(ProjectileCaster, "ProjectileBase::GetProjectileInfo")
// clang-format on

enum class MonsterControllerSeam : std::size_t {
#define GAME_MONSTER_CONTROLLER_SEAM_ID(Id, Text) Id,
    GAME_MONSTER_CONTROLLER_SEAMS(GAME_MONSTER_CONTROLLER_SEAM_ID)
#undef GAME_MONSTER_CONTROLLER_SEAM_ID
        Count
};

void ReportMonsterControllerSeam(MonsterControllerSeam seam);

}  // namespace GAME
