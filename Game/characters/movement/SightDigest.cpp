#include "Game/characters/movement/SightDigest.h"

#include <bit>
#include <cstdlib>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/movement/CharacterMovementManager.h"

namespace GAME::SightDigest {

namespace {

// Bit for bit, so a position that is not a number still agrees with itself.
bool Same(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool Same(const WorldVec3& a, const WorldVec3& b) {
    return a.region == b.region && Same(a.local.x, b.local.x) && Same(a.local.y, b.local.y) &&
           Same(a.local.z, b.local.z);
}

}  // namespace

const EntityDigest& FetchChecked(World& world, std::uint32_t slot) {
    EntityDigest& digest = world.GetDigest(slot);
    Entity* entity = world.GetEntityAt(slot);
    if (!Has(digest, kWritten)) {
        if (entity && entity->IsA<Character>())
            static_cast<const Character*>(entity)->RefreshDigest();
        else
            digest.gameFlags = kWritten;
        world.CommitGamePart(slot);
    }
#ifndef NDEBUG
    // A missed refresh would change what monsters see: fail where it shows first.
    if (Has(digest, kCharacter) &&
        !Matches(digest, *static_cast<const Character*>(world.GetEntityAt(slot)))) {
        gEngine->Log(0, "SightDigest: the digest of %s (id %u) disagrees with the character",
                     entity->GetObjectName().c_str(), entity->GetObjectId());
        std::abort();
    }
#endif
    return digest;
}

bool SameGamePart(const EntityGamePart& a, const EntityGamePart& b) {
    return a.gameFlags == b.gameFlags && a.gameWords[0] == b.gameWords[0] &&
           a.gameWords[1] == b.gameWords[1] && Same(a.gameScale, b.gameScale) &&
           Same(a.GetGamePosition(), b.GetGamePosition());
}

bool Matches(const EntityDigest& digest, const Character& character) {
    if (!Has(digest, kWritten) || !Has(digest, kCharacter) ||
        digest.objectId != character.GetObjectId() ||
        !Same(digest.GetPosition(), character.GetPosition()))
        return false;
    if (Has(digest, kAlive) != character.IsAlive() ||
        Has(digest, kCausesAnger) != character.CausesAnger() ||
        !Same(digest.gameScale, character.GetAngerMultiplier()))
        return false;
    // GetPathPosition would store the position it falls back on: read without it.
    const WorldVec3& stored = character.GetMovementManager().GetStoredPathPosition();
    if (!Same(PathPosition(digest), stored.IsValid() ? stored : character.GetPosition()))
        return false;
    if (Has(digest, kTeamFromCharacter))
        return true;
    const Team team = character.GetTeam();
    return digest.gameWords[0] == team.GetTeamMajor() && digest.gameWords[1] == team.GetTeamMinor();
}

}  // namespace GAME::SightDigest
