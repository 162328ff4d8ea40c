#include "Engine/net/NetworkEntityList.h"

#include <utility>
#include <vector>

#include "Engine/object/Object.h"
#include "Engine/world/World.h"

namespace GAME {

FrustumEntry& NetworkEntityList::GetEntry(int host) {
    FrustumEntry& entry = mEntries[host];
    entry.host = host;
    return entry;
}

const FrustumEntry* NetworkEntityList::FindEntry(int host) const {
    const auto found = mEntries.find(host);
    return found == mEntries.end() ? nullptr : &found->second;
}

bool NetworkEntityList::StealFrustumEntryOfHost(int host, FrustumEntry& out) {
    const auto found = mEntries.find(host);
    if (found == mEntries.end())
        return false;
    out = std::move(found->second);
    mEntries.erase(found);
    return true;
}

void NetworkEntityList::ReturnFrustumEntry(FrustumEntry entry) {
    const int host = entry.host;
    mEntries[host] = std::move(entry);
}

void NetworkEntityList::RemoveHost(int host) {
    mEntries.erase(host);
}

void NetworkEntityList::UpdateClientEntities(int host) {
    const auto found = mEntries.find(host);
    if (found == mEntries.end())
        return;
    FrustumEntry& entry = found->second;
    entry.entities.clear();
    if (!entry.frustum.GetRegion())
        return;
    std::vector<Entity*> inView;
    World::Get().GetEntitiesInFrustum(inView, entry.frustum);
    for (const Entity* entity : inView)
        if (entity->ShouldServerSpawn())
            entry.entities[entity->GetObjectId()] = 1;
}

}  // namespace GAME
