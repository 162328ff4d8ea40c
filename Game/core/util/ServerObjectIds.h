#pragma once
// Ids of objects that the deciding machine alone makes (drops, portals). They come from bands of
// their own: ids from the shared counter would leave the other machines' counters behind, so that
// objects every machine makes later would get other ids there (and sort otherwise in the world).
#include <cstdint>

namespace GAME {

enum class ServerIdBand { Drops, Portals };

// A free id of the band on this machine; 0 when the band is full.
std::uint32_t CreateServerObjectId(ServerIdBand band);
// Whether the id lies in the band.
bool IsInServerIdBand(ServerIdBand band, std::uint32_t id);

}  // namespace GAME
