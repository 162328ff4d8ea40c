#pragma once
// What the skills that make characters under a command's ids (pets, walls) share.
#include <cstdint>

namespace GAME {

// A spawn never takes over the id of a character or a skill; a local effect that happens to
// hold it here gives way.
bool MayTakeSpawnId(std::uint32_t id);
// Sends a spawned character to its death through its controller; false when the id names no
// character with a combat controller.
bool KillSpawnedCharacter(std::uint32_t id);

}  // namespace GAME
