#pragma once
// A compact copy of what sweeps over crowds read of an entity standing in the world, one per
// world slot in one contiguous array, so that weighing hundreds of entities reads a cache line
// each rather than several scattered objects. The world keeps its own part (the id and the
// position) true on every move; the game owns the rest and must rewrite it wherever a value it
// copied changes, and then tell the world (World::CommitGamePart), which keeps a copy of the
// game's part in the entity's grid cell for sphere sweeps. A slot that holds nothing has object
// id 0.
#include <cstdint>

#include "Engine/world/Region.h"

namespace GAME {

// The game's part: zero until the game first writes it (when the entity enters the world and
// again when it leaves). The words last: a grid entry keeps the rest in the line a sweep weighs
// from (EntityGrid::Entry).
struct EntityGamePart {
    Region* gameRegion = nullptr;
    Vec3 gamePosition;
    std::uint32_t gameFlags = 0;
    float gameScale = 0.0f;
    std::uint32_t gameWords[2] = {};

    WorldVec3 GetGamePosition() const { return WorldVec3(gameRegion, gamePosition); }
    void SetGamePosition(const WorldVec3& at) {
        gameRegion = at.region;
        gamePosition = at.local;
    }
};

struct alignas(64) EntityDigest : EntityGamePart {
    // The world's part.
    Region* region = nullptr;
    Vec3 position;
    std::uint32_t objectId = 0;

    WorldVec3 GetPosition() const { return WorldVec3(region, position); }
};

static_assert(sizeof(EntityDigest) == 64, "one cache line per entity");

}  // namespace GAME
