#pragma once
// The operations the player calls in subsystems that are not built yet. Each logs one level-1
// line per machine the first time it is skipped ("Player: <operation> is not available yet").
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_PLAYER_SEAMS(X) \
    X(HotSlotCtrl, "PlayerHotSlotCtrl::Update and IsDefault") \
    X(FogOfWar, "World::AddFOWVisibility") \
    X(BossMusic, "Player::BossMusicStateUpdate (jukebox and ambiance zones)") \
    X(RespawnPointLookup, "the lookup of the current respawn point by its unique id") \
    X(InventoryReplica, "Character::GetInventoryReplica and SetInventoryReplica")
// clang-format on

enum class PlayerSeam : std::size_t {
#define GAME_PLAYER_SEAM_ID(Id, Text) Id,
    GAME_PLAYER_SEAMS(GAME_PLAYER_SEAM_ID)
#undef GAME_PLAYER_SEAM_ID
        Count
};

void ReportPlayerSeam(PlayerSeam seam);

}  // namespace GAME
