#include <gtest/gtest.h>

#include <cstring>

#include "Engine/net/NetPacketRegistry.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/core/players/GoldPartyBonusPackets.h"
#include "support/PacketBytes.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

Bonus SampleBonus() {
    Bonus bonus;
    bonus.id = 0x10000003;
    bonus.lifePoints = 1.0f;
    bonus.lifePercent = 2.0f;
    bonus.manaPoints = 3.0f;
    bonus.manaPercent = 4.0f;
    bonus.gold = 5;
    bonus.skillPoints = 6;
    bonus.attributePoints = 7;
    bonus.experience = 8;
    bonus.effectName = "Records/Effects/Glow.dbr";
    bonus.sourceId = 99;
    return bonus;
}

Bytes BonusValues() {
    Bytes bytes;
    AppendFloat(bytes, 1.0f);
    AppendFloat(bytes, 2.0f);
    AppendFloat(bytes, 3.0f);
    AppendFloat(bytes, 4.0f);
    for (std::uint32_t v : {5u, 6u, 7u, 8u, 99u})
        Append32(bytes, v);
    return bytes;
}

class GoldPartyBonusPacketsTest : public ::testing::Test {
protected:
    TestMachine tm;
};

TEST_F(GoldPartyBonusPacketsTest, BonusToClientSendsItsIdLast) {
    BonusToClientPacket packet;
    packet.bonus = SampleBonus();
    Bytes expected = BonusValues();
    Append32(expected, 0x10000003);
    const Bytes body = BodyOf(packet);
    EXPECT_EQ(body, expected);

    BonusToClientPacket back;
    back.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_TRUE(back.IsInboundValid());
    EXPECT_EQ(back.bonus.id, 0x10000003u);
    EXPECT_EQ(back.bonus.sourceId, 99u);
    EXPECT_EQ(back.bonus.experience, 8u);
    EXPECT_TRUE(back.bonus.effectName.empty());
}

TEST_F(GoldPartyBonusPacketsTest, BonusToServerLeavesTheIdBehind) {
    BonusToServerPacket packet;
    packet.bonus = SampleBonus();
    packet.where.local = {4.0f, 5.0f, 6.0f};
    packet.activePlayer = 0x20000001;
    Bytes expected = BonusValues();
    expected.insert(expected.end(), {0, 0});
    AppendFloat(expected, 4.0f);
    AppendFloat(expected, 5.0f);
    AppendFloat(expected, 6.0f);
    Append32(expected, 0x20000001);
    const Bytes body = BodyOf(packet);
    EXPECT_EQ(body, expected);

    BonusToServerPacket back;
    back.bonus.id = 1234;
    back.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_TRUE(back.IsInboundValid());
    EXPECT_EQ(back.bonus.id, 1234u);
    EXPECT_EQ(back.bonus.gold, 5u);
    EXPECT_EQ(back.bonus.sourceId, 99u);
    EXPECT_EQ(back.where.local, Vec3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(back.activePlayer, 0x20000001u);
}

TEST_F(GoldPartyBonusPacketsTest, AssignmentKeepsTheEffectNameCopyTakesIt) {
    BonusToClientPacket source;
    source.bonus = SampleBonus();
    BonusToClientPacket assigned;
    assigned.bonus.effectName = "Records/Effects/Mine.dbr";
    assigned = source;
    EXPECT_EQ(assigned.bonus.effectName, "Records/Effects/Mine.dbr");
    EXPECT_EQ(assigned.bonus.gold, 5u);
    BonusToClientPacket copied(source);
    EXPECT_EQ(copied.bonus.effectName, "Records/Effects/Glow.dbr");

    BonusToServerPacket server;
    server.bonus = SampleBonus();
    server.activePlayer = 3;
    BonusToServerPacket serverAssigned;
    serverAssigned.bonus.effectName = "kept";
    serverAssigned = server;
    EXPECT_EQ(serverAssigned.bonus.effectName, "kept");
    EXPECT_EQ(serverAssigned.activePlayer, 3u);
}

TEST_F(GoldPartyBonusPacketsTest, NegativeGoldTravelsAsTwosComplement) {
    GiveGoldPacket packet;
    packet.playerId = 0x10000002;
    packet.amount = -250;
    Bytes expected;
    Append32(expected, 0x10000002);
    Append32(expected, static_cast<std::uint32_t>(-250));
    const Bytes body = BodyOf(packet);
    EXPECT_EQ(body, expected);
    GiveGoldPacket back;
    back.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_EQ(back.amount, -250);
    EXPECT_EQ(back.playerId, 0x10000002u);
}

TEST_F(GoldPartyBonusPacketsTest, PartyPacketsCarryPlayerThenParty) {
    JoinPartyConfigCmdPacket join;
    join.playerId = 11;
    join.party = 22;
    InvitePartyConfigCmdPacket invite;
    invite.playerId = 33;
    invite.party = 44;
    Bytes joinBytes, inviteBytes;
    Append32(joinBytes, 11);
    Append32(joinBytes, 22);
    Append32(inviteBytes, 33);
    Append32(inviteBytes, 44);
    EXPECT_EQ(BodyOf(join), joinBytes);
    EXPECT_EQ(BodyOf(invite), inviteBytes);
    EXPECT_EQ(join.GetType(), 107);
    EXPECT_EQ(invite.GetType(), 108);
}

TEST_F(GoldPartyBonusPacketsTest, DescriptionLabels) {
    GiveGoldPacket gold;
    gold.playerId = 5;
    gold.amount = -1;
    const std::string goldText = gold.GetPacketDescription(false);
    EXPECT_NE(goldText.find("PlayerID: 5"), std::string::npos) << goldText;
    EXPECT_NE(goldText.find("GoldAmount: -1"), std::string::npos) << goldText;

    JoinPartyConfigCmdPacket join;
    EXPECT_NE(join.GetPacketDescription(false).find("Joining Player: "), std::string::npos);
    InvitePartyConfigCmdPacket invite;
    EXPECT_NE(invite.GetPacketDescription(false).find("Inviting Player: "), std::string::npos);

    BonusToServerPacket server;
    server.bonus = SampleBonus();
    const std::string text = server.GetPacketDescription(false);
    std::size_t at = 0;
    for (const char* label :
         {"Life Points: ", "Life Percent: ", "Mana Points: ", "Mana Percent: ", "Gold Points: 5",
          "Skill Points: 6", "Attribute Points: 7", "Exp Points: 8", "Active Player: "}) {
        const std::size_t found = text.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << text;
        at = found;
    }
}

TEST_F(GoldPartyBonusPacketsTest, EveryKindIsRegistered) {
    const NetPacketRegistry& registry = NetPacketRegistry::Global();
    for (PACKET_TYPE type : {21, 22, 23, 24, 102, 103, 104, 105, 107, 108, 112, 113, 114}) {
        const NetPacketKind* kind = registry.Find(type);
        ASSERT_NE(kind, nullptr) << type;
        EXPECT_EQ(registry.Create(type)->GetType(), type);
    }
    EXPECT_NE(registry.Find(102)->command, nullptr);
    EXPECT_EQ(registry.Find(102)->commandName, "FixedItemStateChangeConfigCmd");
    EXPECT_EQ(registry.Find(105)->commandName, "StrategicMovementTargetConfigCmd");
}

TEST_F(GoldPartyBonusPacketsTest, FixedItemStateChangeBodyAndLabels) {
    FixedItemStateChangeConfigCmd command(0x44, 3, 0, true);
    std::unique_ptr<NetPacket> packet(command.GetNetPacket());
    Bytes expected;
    Append32(expected, 0x44);
    Append32(expected, 3);
    Append32(expected, 0);
    expected.push_back(1);
    EXPECT_EQ(BodyOf(*packet), expected);
    const std::string text = packet->GetPacketDescription(false);
    EXPECT_NE(text.find("Parent ID: "), std::string::npos);
    EXPECT_NE(text.find("State:     3"), std::string::npos) << text;
    EXPECT_NE(text.find("Target ID: "), std::string::npos);
    EXPECT_NE(text.find("Do Sound:  "), std::string::npos);
}

TEST_F(GoldPartyBonusPacketsTest, FixedItemTargetsShareOneBody) {
    FixedItemTargetConfigCmd use(7, 8, {});
    FixedItemSkillTargetConfigCmd skill(7, 8, {});
    std::unique_ptr<NetPacket> usePacket(use.GetNetPacket());
    std::unique_ptr<NetPacket> skillPacket(skill.GetNetPacket());
    Bytes expected;
    Append32(expected, 7);
    Append32(expected, 8);
    Append32(expected, 0);  // no secondary targets
    EXPECT_EQ(BodyOf(*usePacket), expected);
    EXPECT_EQ(BodyOf(*skillPacket), expected);

    FixedItemSkillTargetConfigCmd withTargets(7, 8, {10, 11});
    std::unique_ptr<NetPacket> listPacket(withTargets.GetNetPacket());
    const std::string text = listPacket->GetPacketDescription(false);
    std::size_t at = 0;
    for (const char* label : {"Parent ID: ", "Primary Target ID: 8",
                              "Skill Target IDs:", "Target 0: 10", "Target 1: 11"}) {
        const std::size_t found = text.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << text;
        at = found;
    }
    EXPECT_NE(usePacket->GetPacketDescription(false).find("Secondary Target IDs:"),
              std::string::npos);

    StrategicMovementTargetConfigCmd move(9, {});
    std::unique_ptr<NetPacket> movePacket(move.GetNetPacket());
    Bytes moveBytes;
    Append32(moveBytes, 9);
    Append32(moveBytes, 0);
    EXPECT_EQ(BodyOf(*movePacket), moveBytes);
    const std::string moveText = movePacket->GetPacketDescription(false);
    EXPECT_NE(moveText.find("Target IDs:"), std::string::npos);
    EXPECT_EQ(moveText.find("Target 0"), std::string::npos);
}

}  // namespace
}  // namespace GAME::test
