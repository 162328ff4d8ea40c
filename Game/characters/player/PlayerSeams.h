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
    X(InventoryReplica, "Character::GetInventoryReplica and SetInventoryReplica") \
    X(PaperDollItems, "the equipment's items copied onto the paper doll") \
    X(RespawnPosition, "the world position of a respawn point's UniqueId") \
    X(AlternateEquipment, "ControllerCharacter::SetAlternateEquipment") \
    X(MonsterDescription, "Monster::GetGameDescription (the greatest monster killed keeps no name)")
// clang-format on

enum class PlayerSeam : std::size_t {
#define GAME_PLAYER_SEAM_ID(Id, Text) Id,
    GAME_PLAYER_SEAMS(GAME_PLAYER_SEAM_ID)
#undef GAME_PLAYER_SEAM_ID
        Count
};

void ReportPlayerSeam(PlayerSeam seam);

}  // namespace GAME
