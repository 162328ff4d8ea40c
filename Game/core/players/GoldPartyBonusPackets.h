#pragma once
// Gold gifts, party joins and invitations, and bonuses on their way to a client or the server.
// Players travel as plain 32-bit ids; a bonus's effect name never travels.
#include <cstdint>

#include "Engine/net/NetPacket.h"
#include "Engine/world/Region.h"
#include "Game/core/net/GameEnginePacketKind.h"
#include "Game/core/players/Bonus.h"

namespace GAME {

class GiveGoldPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(GiveGoldPacket)
    std::uint32_t playerId = 0;
    int amount = 0;
};

class JoinPartyConfigCmdPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(JoinPartyConfigCmdPacket)
    std::uint32_t playerId = 0;
    int party = 0;
};

class InvitePartyConfigCmdPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(InvitePartyConfigCmdPacket)
    std::uint32_t playerId = 0;
    int party = 0;
};

class BonusToClientPacket : public NetPacket {
public:
    BonusToClientPacket();
    ~BonusToClientPacket() override;
    BonusToClientPacket(const BonusToClientPacket&) = default;
    // Takes the values only; this packet's effect name stays.
    BonusToClientPacket& operator=(const BonusToClientPacket& other);
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    Bonus bonus;
};

class BonusToServerPacket : public NetPacket {
public:
    BonusToServerPacket();
    ~BonusToServerPacket() override;
    BonusToServerPacket(const BonusToServerPacket&) = default;
    BonusToServerPacket& operator=(const BonusToServerPacket& other);
    unsigned int PrepareOutBuffer() override;
    void CopyInbound(const unsigned char* data, int size) override;
    std::string GetPacketDescription(bool flag) override;

    Bonus bonus;
    WorldVec3 where;
    std::uint32_t activePlayer = 0;
};

}  // namespace GAME
