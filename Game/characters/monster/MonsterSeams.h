#pragma once
// The operations a monster calls in subsystems that are not built yet. Each logs one level-1
// line per machine the first time it is skipped ("Monster: <operation> is not available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_MONSTER_SEAMS(X) \
    X(LoadLootFromSeed, "Character::LoadLootFromSeed") \
    X(LoadLootFromStruct, "Character::LoadLootFromStruct") \
    X(DetachItemAction, "Character::DetachItemAction") \
    X(DropItemFromEquipLocation, "Character::DropItemFromEquipLocation") \
    X(RegisterMonsterMusic, "Player::RegisterMonsterMusic") \
    X(BossBoundingVolume, "BoundingVolumeBossMonster") \
    X(ForcedUpdates, "Engine::RegisterForForcedUpdates")
// clang-format on

enum class MonsterSeam : std::size_t {
#define GAME_MONSTER_SEAM_ID(Id, Text) Id,
    GAME_MONSTER_SEAMS(GAME_MONSTER_SEAM_ID)
#undef GAME_MONSTER_SEAM_ID
        Count
};

void ReportMonsterSeam(MonsterSeam seam);

}  // namespace GAME
