#pragma once
// What the monster states reach in parts of the game that are not built yet. Each logs one
// level-1 line per machine the first time it is skipped ("Monster states: <operation> is not
// available yet") and does nothing; a query answers nothing found.
#include <cstddef>
#include <cstdint>

namespace GAME {

struct WorldVec3;

// clang-format off
#define GAME_MONSTER_STATE_SEAMS(X) \
    X(DynamicBarrier, "DynamicBarrier (IsBarrierBlocking)") \
    X(ProjectileInfo, "ProjectileBase::GetProjectileInfo")
// clang-format on

enum class MonsterStateSeam : std::size_t {
#define GAME_MONSTER_STATE_SEAM_ID(Id, Text) Id,
    GAME_MONSTER_STATE_SEAMS(GAME_MONSTER_STATE_SEAM_ID)
#undef GAME_MONSTER_STATE_SEAM_ID
        Count
};

void ReportMonsterStateSeam(MonsterStateSeam seam);

// The launch point of a projectile; false when the id names none.
bool FindProjectileLaunchPoint(std::uint32_t projectileId, WorldVec3& out);

}  // namespace GAME
