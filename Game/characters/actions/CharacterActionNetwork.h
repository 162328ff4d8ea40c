#pragma once
// Character actions between machines. The machine that decides an action sends it
// (SendCharacterAction) and runs it itself; every other machine rebuilds it from its packet and
// hands it to the character's action handler. A client sends to the server; the server runs a
// client's action only for a character that client owns (its player or a pet of it), with
// values it can vouch for, and passes it on to the other clients.
#include <memory>

namespace GAME {

class CharacterAction;
class CharacterActionPacketBase;
class NetPacket;

// Sends the action to the other machines when the game is networked and the action travels;
// false when nothing was sent.
bool SendCharacterAction(const CharacterAction& action);

// The action a packet carries, with its pre-move data; null for a kind that is not an action.
std::unique_ptr<CharacterAction> BuildCharacterAction(const CharacterActionPacketBase& packet);

// Runs a received action packet on the current machine (the handler of the 16 kinds).
void ReceiveCharacterAction(NetPacket& packet);

}  // namespace GAME
