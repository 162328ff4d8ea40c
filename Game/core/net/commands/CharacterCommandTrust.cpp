// What a server takes from a client about its own player's base attributes (not a pet's: the gate
// lets a client command those too): the spend of an attribute point the server's copy has, whose
// increment the character's level record gives.
#include "Engine/net/NetFaultLog.h"
#include "Game/characters/Character.h"
#include "Game/core/GameConstants.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

namespace {

bool AcceptAttributeSpend(unsigned int objectId, int amount, PACKET_TYPE type, int sourceHost) {
    const Character* character = FindCommandCharacter(objectId);
    const char* refusal = nullptr;
    if (!character)
        refusal = "no character here";
    else if (character->GetMasterId() != 0 || HostOfPlayer(objectId) != sourceHost)
        refusal = "not the sender's own player";
    else if (amount != 0)
        refusal = "a client spends a point; it names no amount";
    else if (character->GetModifierPoints() == 0)
        refusal = "no attribute point left";
    if (!refusal)
        return true;
    NetFaultLog::Get().Report(1, sourceHost, NetFault::Refused, type,
                              "Net: refused %s from host %d: amount %d on %u: %s",
                              GetGamePacketKindName(type), sourceHost, amount, objectId, refusal);
    return false;
}

}  // namespace

#define GAME_ACCEPT_SPEND(Command, Packet, ...)                                        \
    bool Command::AcceptFromClient(int sourceHost) const {                             \
        return AcceptAttributeSpend(GetObjectId(), 0, PacketType::Packet, sourceHost); \
    }
GAME_CHARACTER_SPEND_COMMANDS(GAME_ACCEPT_SPEND)
#undef GAME_ACCEPT_SPEND

bool IncrementBaseLifeConfigCmd::AcceptFromClient(int sourceHost) const {
    return AcceptAttributeSpend(GetObjectId(), value, PacketType::IncBaseLifeConfigCmdPacket,
                                sourceHost);
}

bool IncrementBaseManaConfigCmd::AcceptFromClient(int sourceHost) const {
    return AcceptAttributeSpend(GetObjectId(), value, PacketType::IncBaseManaConfigCmdPacket,
                                sourceHost);
}

}  // namespace GAME
