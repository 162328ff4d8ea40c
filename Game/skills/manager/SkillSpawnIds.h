#pragma once
// Ids for the objects a skill spawns (monsters, pets, actors). Only the deciding machine makes
// the id and every machine creates the object under it when the spawn command arrives, so the
// ids come from a band of their own: ids from the shared counter would leave the other machines'
// counters behind. Each host has its own part of the band, so a client's player and the server
// never pick the same id.
#include <cstdint>

namespace GAME {

// 0 when the host's part is full.
std::uint32_t CreateSkillSpawnId();
// Whether the id lies in that host's part of the band.
bool IsSkillSpawnIdOfHost(std::uint32_t id, int host);
// Whether a skill of any host made the object of that id.
bool IsSkillSpawnId(std::uint32_t id);

}  // namespace GAME
