#pragma once
// The placed entities of the level by unique id (one map per machine). The level loader fills it
// from its thread while the game thread looks ids up, so both sides take its lock; an entry
// outlives its entity harmlessly (the lookup finds nothing).
#include <cstdint>
#include <map>

#include "Engine/object/UniqueId.h"
#include "Engine/sys/CriticalSection.h"

namespace GAME {

class Entity;

class UniqueIdMap {
public:
    static UniqueIdMap& Get();

    // A second entity with a taken id is refused (false).
    bool Add(const UniqueId& id, std::uint32_t objectId);
    void Remove(const UniqueId& id);
    void Clear();
    std::uint32_t GetObjectId(const UniqueId& id) const;
    // The entity the id names, null when it is unknown or gone.
    Entity* GetEntity(const UniqueId& id) const;

private:
    std::map<UniqueId, std::uint32_t> mIds;
    mutable CriticalSection mLock;
};

}  // namespace GAME
