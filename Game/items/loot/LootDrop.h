#pragma once
// Drops made when a monster dies or a chest opens are drawn on every machine alike (the shared
// generator stays in step), but only the deciding machine creates them; its item record reaches
// the others through the network creation.
#include "Engine/world/Region.h"
#include "Game/items/ItemReplicaInfo.h"

namespace GAME {

// Gives the record a fresh object id on every machine, so that the id the deciding machine
// sends is free everywhere, and creates the item there (server or single player).
void DropLootRecord(const WorldCoords& where, ItemReplicaInfo record);

}  // namespace GAME
