#include <gtest/gtest.h>

#include <cstring>

#include "Game/core/players/PlayerPackets.h"
#include "support/PacketBytes.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

template <class Packet>
Packet RoundTrip(Packet& sent) {
    const Bytes body = BodyOf(sent);
    Packet received;
    received.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_TRUE(received.IsInboundValid());
    return received;
}

// A position without a region: an empty raw region name, then three floats.
void AppendPosition(Bytes& bytes, Vec3 p) {
    bytes.push_back(0);
    bytes.push_back(0);
    AppendFloat(bytes, p.x);
    AppendFloat(bytes, p.y);
    AppendFloat(bytes, p.z);
}

PlayerNetHeartbeatInfo Heartbeat(std::uint32_t id, int level, const std::string& tag) {
    PlayerNetHeartbeatInfo info;
    info.playerId = id;
    info.life = 75.0f;
    info.maxLife = 100.0f;
    info.mana = 20.0f;
    info.maxMana = 40.0f;
    info.level = level;
    info.partyId = 7;
    info.position.local = {1.0f, 2.0f, 3.0f};
    info.classTag = tag;
    return info;
}

class PlayerPacketsTest : public ::testing::Test {
protected:
    TestMachine tm;
};

TEST_F(PlayerPacketsTest, HeartbeatListPacksLevelAndClassIntoBytes) {
    AllPlayersHeartbeatPacket packet;
    packet.infos.push_back(Heartbeat(0x10000005, 12, "tagCClass03"));

    Bytes expected{1};
    Append32(expected, 0x10000005);
    AppendFloat(expected, 75.0f);
    AppendFloat(expected, 100.0f);
    AppendFloat(expected, 20.0f);
    AppendFloat(expected, 40.0f);
    Append32(expected, 7);
    expected.push_back(0x06);  // level byte, class index
    expected.push_back(12);
    expected.push_back(3);
    AppendPosition(expected, {1.0f, 2.0f, 3.0f});
    expected.push_back(0);  // no status skills
    EXPECT_EQ(BodyOf(packet), expected);

    AllPlayersHeartbeatPacket back = RoundTrip(packet);
    ASSERT_EQ(back.infos.size(), 1u);
    EXPECT_EQ(back.infos[0].level, 12);
    EXPECT_EQ(back.infos[0].classTag, "tagCClass03");
    EXPECT_EQ(back.infos[0].partyId, 7);
    EXPECT_EQ(back.infos[0].position.local, Vec3(1.0f, 2.0f, 3.0f));
}

TEST_F(PlayerPacketsTest, WideLevelsAndUnpackableTagsTravelInFull) {
    AllPlayersHeartbeatPacket packet;
    packet.infos.push_back(Heartbeat(1, 300, ""));
    packet.infos.push_back(Heartbeat(2, 5, "tagCClass7"));
    packet.infos.push_back(Heartbeat(3, 5, "xtagCClass05"));
    packet.infos[0].statusSkills = {"Records/Skills/A.dbr", "Records/Skills/B.dbr"};

    const Bytes body = BodyOf(packet);
    // First record: count, id, four floats and party id come before its flags.
    const std::size_t flagsAt = 1 + 4 + 16 + 4;
    EXPECT_EQ(body[flagsAt], 0x00);
    EXPECT_EQ(body[flagsAt + 1], 300 & 0xFF);  // low byte of the 32-bit level
    EXPECT_EQ(body[flagsAt + 2], 1);

    AllPlayersHeartbeatPacket back = RoundTrip(packet);
    ASSERT_EQ(back.infos.size(), 3u);
    EXPECT_EQ(back.infos[0].level, 300);
    EXPECT_EQ(back.infos[0].classTag, "");
    EXPECT_EQ(back.infos[0].statusSkills, packet.infos[0].statusSkills);
    // A one-digit tag comes back with two digits.
    EXPECT_EQ(back.infos[1].classTag, "tagCClass07");
    EXPECT_EQ(back.infos[2].classTag, "xtagCClass05");
}

TEST_F(PlayerPacketsTest, NegativeLevelIsNotSqueezedIntoAByte) {
    AllPlayersHeartbeatPacket packet;
    packet.infos.push_back(Heartbeat(1, -2, "tagCClass01"));
    const Bytes body = BodyOf(packet);
    EXPECT_EQ(body[1 + 4 + 16 + 4], 0x04);
    EXPECT_EQ(RoundTrip(packet).infos.at(0).level, -2);
}

TEST_F(PlayerPacketsTest, BasicInfoListCarriesNameAndSexInTheFlags) {
    AllPlayersBasicInfoPacket packet;
    PlayerNetBasicInfo male;
    static_cast<PlayerNetHeartbeatInfo&>(male) = Heartbeat(0x20000001, 5, "tagCClass11");
    male.playerName = L"Hero";
    male.isMale = true;
    PlayerNetBasicInfo female = male;
    female.playerId = 0x30000002;
    female.playerName = L"Heroine";
    female.isMale = false;
    female.level = 999;
    packet.infos = {male, female};

    const Bytes body = BodyOf(packet);
    const std::size_t nameAt = 1 + 4 + 16 + 4;
    const std::size_t flagsAt = nameAt + 4 + 2 * 4;  // count of units, "Hero"
    EXPECT_EQ(body[flagsAt], 0x07);

    AllPlayersBasicInfoPacket back = RoundTrip(packet);
    ASSERT_EQ(back.infos.size(), 2u);
    EXPECT_EQ(back.infos[0].playerName, L"Hero");
    EXPECT_TRUE(back.infos[0].isMale);
    EXPECT_EQ(back.infos[0].classTag, "tagCClass11");
    EXPECT_EQ(back.infos[1].playerName, L"Heroine");
    EXPECT_FALSE(back.infos[1].isMale);
    EXPECT_EQ(back.infos[1].level, 999);
    EXPECT_EQ(back.infos[1].playerId, 0x30000002u);
}

TEST_F(PlayerPacketsTest, EmptyListIsOneCountByte) {
    AllPlayersBasicInfoPacket packet;
    EXPECT_EQ(BodyOf(packet), Bytes{0});
    EXPECT_TRUE(RoundTrip(packet).infos.empty());
    AllPlayersHeartbeatPacket heartbeats;
    EXPECT_EQ(BodyOf(heartbeats), Bytes{0});
}

TEST_F(PlayerPacketsTest, SingleHeartbeatSendsPartyBeforeLevelAtFullWidth) {
    SinglePlayerHeartbeatPacket packet;
    packet.info = Heartbeat(0x10000009, 3, "tagCClass04");
    packet.info.statusSkills = {"Records/Skills/Aura.dbr"};
    const Bytes body = BodyOf(packet);
    Bytes prefix;
    Append32(prefix, 0x10000009);
    AppendFloat(prefix, 75.0f);
    AppendFloat(prefix, 100.0f);
    AppendFloat(prefix, 20.0f);
    AppendFloat(prefix, 40.0f);
    Append32(prefix, 7);  // party
    Append32(prefix, 3);  // level
    prefix.insert(prefix.end(), {11, 0});
    for (char c : std::string("tagCClass04"))
        prefix.push_back(static_cast<std::uint8_t>(c));
    ASSERT_GE(body.size(), prefix.size());
    EXPECT_EQ(Bytes(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(prefix.size())),
              prefix);

    SinglePlayerHeartbeatPacket back = RoundTrip(packet);
    EXPECT_EQ(back.info.partyId, 7);
    EXPECT_EQ(back.info.level, 3);
    EXPECT_EQ(back.info.classTag, "tagCClass04");
    EXPECT_EQ(back.info.statusSkills, packet.info.statusSkills);
}

TEST_F(PlayerPacketsTest, SingleBasicInfoRoundTrips) {
    SinglePlayerBasicInfoPacket packet;
    static_cast<PlayerNetHeartbeatInfo&>(packet.info) = Heartbeat(4, 70000, "tagCClass02");
    packet.info.playerName = L"\u00c9lodie";
    packet.info.isMale = false;
    SinglePlayerBasicInfoPacket back = RoundTrip(packet);
    EXPECT_EQ(back.info.playerName, L"\u00c9lodie");
    EXPECT_EQ(back.info.level, 70000);
    EXPECT_EQ(back.info.partyId, 7);
    EXPECT_FALSE(back.info.isMale);
}

// More players or status skills than a count byte can hold: the count and the records that
// follow must agree, so the rest of the stream still reads.
TEST_F(PlayerPacketsTest, OversizedListsAreClampedWithoutDesynchronising) {
    AllPlayersBasicInfoPacket packet;
    for (std::uint32_t i = 0; i < 300; ++i) {
        PlayerNetBasicInfo info;
        static_cast<PlayerNetHeartbeatInfo&>(info) = Heartbeat(i + 1, 10, "tagCClass01");
        info.playerName = L"P" + std::to_wstring(i);
        packet.infos.push_back(info);
    }
    for (int s = 0; s < 300; ++s)
        packet.infos[0].statusSkills.push_back("Records/Skills/S" + std::to_string(s) + ".dbr");

    const Bytes body = BodyOf(packet);
    EXPECT_EQ(body[0], 255);
    AllPlayersBasicInfoPacket back = RoundTrip(packet);
    ASSERT_EQ(back.infos.size(), 255u);
    EXPECT_EQ(back.infos[0].statusSkills.size(), 255u);
    EXPECT_EQ(back.infos[0].statusSkills[254], "Records/Skills/S254.dbr");
    EXPECT_EQ(back.infos[254].playerName, L"P254");
    EXPECT_EQ(back.infos[254].playerId, 255u);
    EXPECT_GE(tm.CountLog("sending the first 255"), 2);
}

TEST_F(PlayerPacketsTest, TruncatedListKeepsOnlyWholeRecords) {
    AllPlayersHeartbeatPacket packet;
    packet.infos = {Heartbeat(1, 4, "tagCClass01"), Heartbeat(2, 4, "tagCClass01")};
    const Bytes body = BodyOf(packet);
    AllPlayersHeartbeatPacket back;
    back.CopyInbound(body.data(), static_cast<int>(body.size() - 5));
    EXPECT_FALSE(back.IsInboundValid());
    ASSERT_EQ(back.infos.size(), 1u);
    EXPECT_EQ(back.infos[0].playerId, 1u);

    // A count that promises more records than follow.
    Bytes lying = body;
    lying[0] = 200;
    AllPlayersHeartbeatPacket overcount;
    overcount.CopyInbound(lying.data(), static_cast<int>(lying.size()));
    EXPECT_FALSE(overcount.IsInboundValid());
    EXPECT_EQ(overcount.infos.size(), 2u);
}

TEST_F(PlayerPacketsTest, ReadingAgainStartsFromAnEmptyList) {
    AllPlayersHeartbeatPacket packet;
    packet.infos = {Heartbeat(1, 4, "tagCClass01")};
    const Bytes body = BodyOf(packet);
    AllPlayersHeartbeatPacket back;
    back.CopyInbound(body.data(), static_cast<int>(body.size()));
    back.CopyInbound(body.data(), static_cast<int>(body.size()));
    EXPECT_EQ(back.infos.size(), 1u);
}

TEST_F(PlayerPacketsTest, Descriptions) {
    SinglePlayerHeartbeatPacket heartbeat;
    heartbeat.info = Heartbeat(9, 12, "tagCClass01");
    const std::string text = heartbeat.GetPacketDescription(false);
    const char* labels[] = {"Game Player", "Player: 9",      "Health: ",    "Maximum Health: ",
                            "Mana: ",      "Maximum Mana: ", "Party ID: 7", "Level: 12"};
    std::size_t at = 0;
    for (const char* label : labels) {
        const std::size_t found = text.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("tagCClass"), std::string::npos);

    AllPlayersHeartbeatPacket list;
    list.infos = {Heartbeat(1, 1, ""), Heartbeat(2, 2, "")};
    const std::string listText = list.GetPacketDescription(false);
    EXPECT_NE(listText.find("Game Player"), listText.rfind("Game Player"));

    SinglePlayerBasicInfoPacket basic;
    static_cast<PlayerNetHeartbeatInfo&>(basic.info) = Heartbeat(3, 8, "tagCClass01");
    basic.info.playerName = L"Ann";
    const std::string basicText = basic.GetPacketDescription(false);
    EXPECT_EQ(basicText.find("Game Player"), std::string::npos);
    const char* basicLabels[] = {"Player: Ann",  "Is Male: ",      "Level: 8",
                                 "Player ID: 3", "Health: ",       "Maximum Health: ",
                                 "Mana: ",       "Maximum Mana: ", "Party ID: 7"};
    at = 0;
    for (const char* label : basicLabels) {
        const std::size_t found = basicText.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << basicText;
        at = found;
    }
}

TEST_F(PlayerPacketsTest, CopiesAreIndependent) {
    auto* original = new AllPlayersHeartbeatPacket();
    original->infos = {Heartbeat(1, 2, "tagCClass01")};
    original->infos[0].statusSkills = {"Records/Skills/A.dbr"};
    AllPlayersHeartbeatPacket copy(*original);
    delete original;
    ASSERT_EQ(copy.infos.size(), 1u);
    EXPECT_EQ(copy.infos[0].statusSkills[0], "Records/Skills/A.dbr");
    EXPECT_EQ(copy.GetType(), PacketType::AllPlayersHeartbeatPacket);
}

}  // namespace
}  // namespace GAME::test
