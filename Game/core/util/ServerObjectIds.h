#pragma once
// Ids of objects that the deciding machine alone makes (drops, portals). They come from bands of
// their own: ids from the shared counter would leave the other machines' counters behind, so that
// objects every machine makes later would get other ids there (and sort otherwise in the world).
#include <cstdint>

namespace GAME {

// Presentation: what one machine alone shows (an NPC's marks), kept off the common counter so
// that the ids every machine hands out stay alike.
enum class ServerIdBand { Drops, Portals, Presentation };

// A free id of the band on this machine; 0 when the band is full.
std::uint32_t CreateServerObjectId(ServerIdBand band);
// Whether the id lies in the band.
bool IsInServerIdBand(ServerIdBand band, std::uint32_t id);

}  // namespace GAME
