#pragma once
// The game's part of a character's world digest (Engine/world/EntityDigest.h): what monster
// sight and anger read of every character in view, written by Character::RefreshDigest wherever
// one of these values changes, so a sweep over a crowd reads no character.
//   gameFlags     the bits below
//   gamePosition  the path position, when the character has one of its own
//   gameWords     the team (major, minor) the character holds (the invisible team while hidden)
//   gameScale     the anger multiplier
#include <cstdint>

#include "Engine/world/EntityDigest.h"
#include "Engine/world/World.h"
#include "Game/core/players/Team.h"

namespace GAME {
class Character;
}  // namespace GAME

namespace GAME::SightDigest {

enum Flag : std::uint32_t {
    kWritten = 1u << 0,  // the game has looked at the entity (non-characters get only this)
    kCharacter = 1u << 1,
    kAlive = 1u << 2,
    kCausesAnger = 1u << 3,
    // Without it the path position is the entity's own position, which the world keeps.
    kOwnPathPosition = 1u << 4,
    // The team depends on more than the character (a player's party faction): ask the character.
    kTeamFromCharacter = 1u << 5,
};

inline bool Has(const EntityGamePart& digest, Flag flag) {
    return (digest.gameFlags & flag) != 0;
}

// The path position, given the entity's own position.
inline WorldVec3 PathPosition(const EntityGamePart& digest, const WorldVec3& position) {
    return Has(digest, kOwnPathPosition) ? digest.GetGamePosition() : position;
}

inline WorldVec3 PathPosition(const EntityDigest& digest) {
    return PathPosition(digest, digest.GetPosition());
}

// The team held in the digest; only meaningful without kTeamFromCharacter.
inline Team StoredTeam(const EntityGamePart& digest) {
    return TeamManager::BuildTeam(digest.gameWords[0], digest.gameWords[1]);
}

// Whether two copies of the game's part agree bit for bit.
bool SameGamePart(const EntityGamePart& a, const EntityGamePart& b);

// The digest of the entity in `slot` of `world` (the current machine's), written first when the
// game has not looked at it since it entered the world. Debug builds check that a character's
// digest agrees with the character.
const EntityDigest& FetchChecked(World& world, std::uint32_t slot);
#ifdef NDEBUG
inline const EntityDigest& Fetch(World& world, std::uint32_t slot) {
    const EntityDigest& digest = world.GetDigest(slot);
    return Has(digest, kWritten) ? digest : FetchChecked(world, slot);
}
#else
inline const EntityDigest& Fetch(World& world, std::uint32_t slot) {
    return FetchChecked(world, slot);
}
#endif

// Whether the digest says what the character says right now.
bool Matches(const EntityDigest& digest, const Character& character);

}  // namespace GAME::SightDigest
