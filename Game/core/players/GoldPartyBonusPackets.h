#pragma once
// Gold gifts, party joins and invitations, and bonuses on their way to a client or the server.
// Players travel as plain 32-bit ids; a bonus's effect name never travels.
#include <cstdint>

#include "Engine/net/NetPacket.h"
#include "Engine/world/Region.h"
#include "Game/core/net/packets/GameEnginePacketKind.h"
#include "Game/core/players/Bonus.h"

namespace GAME {

// What both bonus packets carry first; the source object travels but is not described.
template <class V>
void VisitBonusValues(V& v, Bonus& bonus) {
    v.Word(bonus.lifePoints, "Life Points: ");
    v.Word(bonus.lifePercent, "Life Percent: ");
    v.Word(bonus.manaPoints, "Mana Points: ");
    v.Word(bonus.manaPercent, "Mana Percent: ");
    v.Word(bonus.gold, "Gold Points: ");
    v.Word(bonus.skillPoints, "Skill Points: ");
    v.Word(bonus.attributePoints, "Attribute Points: ");
    v.Word(bonus.experience, "Exp Points: ");
    v.Word(bonus.sourceId);
}

class GiveGoldPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(GiveGoldPacket)
    std::uint32_t playerId = 0;
    int amount = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "PlayerID: ");
        v.Word(amount, "GoldAmount: ");
    }
};

class JoinPartyConfigCmdPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(JoinPartyConfigCmdPacket)
    std::uint32_t playerId = 0;
    int party = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "Joining Player: ");
        v.Word(party, "Party: ");
    }
};

class InvitePartyConfigCmdPacket : public NetPacket {
    GAME_PACKET_KIND_OPERATIONS(InvitePartyConfigCmdPacket)
    std::uint32_t playerId = 0;
    int party = 0;

    template <class V>
    void VisitFields(V& v) {
        v.Word(playerId, "Inviting Player: ");
        v.Word(party, "Party: ");
    }
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

    template <class V>
    void VisitFields(V& v) {
        VisitBonusValues(v, bonus);
        v.Word(bonus.id);
    }
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

    template <class V>
    void VisitFields(V& v) {
        VisitBonusValues(v, bonus);
        v.Position(where);
        v.Word(activePlayer, "Active Player: ");
    }
};

}  // namespace GAME
