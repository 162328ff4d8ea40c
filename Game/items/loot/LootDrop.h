#pragma once
// Drops made when a monster dies or a chest opens are drawn by the deciding machine (server or
// single player) from the root's drop generator; its item record reaches the others through the
// network creation.
#include <cstdint>

#include "Engine/world/Region.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

// An id from the band of objects that the deciding machine alone makes (drops, monsters a
// trapped chest releases); 0 when the band is full.
std::uint32_t CreateDecidedObjectId();

// Gives the record a fresh object id and creates the item, on the deciding machine only.
void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record);

}  // namespace GAME
