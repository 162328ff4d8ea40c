#pragma once
// A new player of a network game carries its class's starting kit, as in a game of one; the
// server decides which players are new (those that come with nothing and no experience: a
// brought character keeps what its file holds). The kit's items are made in the player's band
// before it enters, like a brought character's, and what fits is put on once it is in, with
// every command run on this machine alone: the server's spawn packet then names the kit worn,
// every client makes the others' kits from it, and a client makes its own player's kit as the
// server named it (the same items under the same ids), puts it on the same way and so wears
// what the server has it wear.
#include <cstdint>
#include <vector>

namespace GAME {

class Player;
struct InventoryReplica;

// Nothing carried or worn and no experience: a character as its class record makes it.
bool IsNewPlayer(const Player& player);
// Server, before the player enters: its class's kit, carried; the items' ids in the order made.
std::vector<std::uint32_t> MakeStartingKit(Player& player);
// Client, before its own player enters: the items the server's spawn packet names for it, under
// their ids, carried; the ids in the order the server made them. Items whose id is in use here
// are left out, with a line in the log.
std::vector<std::uint32_t> MakeNamedKit(Player& player, const std::vector<InventoryReplica>& named);
// Once the player is in: each item is put on where it fits, else into the bag, in order.
void WearKit(Player& player, const std::vector<std::uint32_t>& items);

}  // namespace GAME
