#pragma once
// What each client machine sees, as the server keeps it: one entry per client host with its view
// frustum and the entities in that view that a server sends (`Entity::ShouldServerSpawn`). A
// teleport takes the host's entry out while its player is between places and gives it back,
// looking at the destination.
#include <cstdint>
#include <map>

#include "Engine/world/WorldShapes.h"

namespace GAME {

struct FrustumEntry {
    int host = -1;
    WorldFrustum frustum;
    std::map<std::uint32_t, int> entities;  // object id -> 1
};

class NetworkEntityList {
public:
    // The host's entry, made empty on first use.
    FrustumEntry& GetEntry(int host);
    const FrustumEntry* FindEntry(int host) const;
    // Moves the host's entry into `out`; false (and `out` untouched) when the host has none.
    bool StealFrustumEntryOfHost(int host, FrustumEntry& out);
    // Puts an entry back under its host, replacing any the host got meanwhile.
    void ReturnFrustumEntry(FrustumEntry entry);
    void RemoveHost(int host);
    // The entities of the host's view, looked up again in the world; nothing without an entry.
    void UpdateClientEntities(int host);

private:
    std::map<int, FrustumEntry> mEntries;
};

}  // namespace GAME
