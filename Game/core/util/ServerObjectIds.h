#pragma once
// Ids of objects that the deciding machine alone makes (drops, portals). They come from bands of
// their own: ids from the shared counter would leave the other machines' counters behind, so that
// objects every machine makes later would get other ids there (and sort otherwise in the world).
#include <cstdint>

namespace GAME {

// Presentation: what one machine alone shows (an NPC's marks), kept off the common counter so
// that the ids every machine hands out stay alike. Templates: what every machine makes for itself
// in numbers of its own (see TemplateIds).
enum class ServerIdBand { Drops, Portals, Presentation, Templates };

// A free id of the band on this machine; 0 when the band is full.
std::uint32_t CreateServerObjectId(ServerIdBand band);
// Whether the id lies in the band.
bool IsInServerIdBand(ServerIdBand band, std::uint32_t id);

// While one lives in a network game, every object this machine makes takes its id from the
// Templates band. A skill's pet templates never enter the world, but a monster's makes a full
// controller and skills on the server and a stub on a client: from the common counter they would
// move every later id (a brought character's items) by a machine's own amount. A machine playing
// alone keeps its one counter, so its saved runs and replays keep their ids.
class TemplateIds {
public:
    TemplateIds();
    ~TemplateIds();
    TemplateIds(const TemplateIds&) = delete;
    TemplateIds& operator=(const TemplateIds&) = delete;

private:
    bool mLocal = false;
};

}  // namespace GAME
