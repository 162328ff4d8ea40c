#pragma once
// Drops made when a monster dies or a chest opens are drawn by the deciding machine (server or
// single player) from the root's shared generator; its item record reaches the others through the
// network creation.
#include "Engine/world/Region.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

// Gives the record a fresh object id and creates the item, on the deciding machine only.
void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record);

}  // namespace GAME
