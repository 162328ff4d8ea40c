// The skill manager's section of the character file and the wire form of skill and buff
// replicas.
#include <gtest/gtest.h>

#include <cstring>

#include "../characters/PlayerSaveTestSupport.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/streams/IOStream.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "SkillManagerTestSupport.h"
#include "support/TestAccess.h"

namespace GAME::test {
namespace {

class SkillSave : public SkillManagerFixture {
protected:
    void SetUp() override {
        SkillManagerFixture::SetUp();
        LoadSkills();
    }
    static std::vector<std::uint8_t> Written(SkillManager& skills) {
        IOStream out;
        skills.StreamProperties(out);
        return out.GetBytes();
    }
    std::vector<std::pair<std::string, std::uint32_t>> Levels(SkillManager& skills) {
        std::vector<std::pair<std::string, std::uint32_t>> levels;
        for (std::uint32_t id : skills.GetSkillList())
            if (auto* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(id))
                levels.emplace_back(skill->GetObjectName(), skill->GetSkillLevel());
        return levels;
    }
};

TEST_F(SkillSave, ASkillTakenToLevelZeroStaysThereThroughASaveAndReload) {
    // The record gives the mastery and the cleave levels; the character has lost the cleave's.
    ASSERT_GT(Get(kCleave)->GetSkillLevel(), 0u);
    Get(kCleave)->ReceiveStateUpdate(SkillState(0, true), true);
    const std::vector<std::uint8_t> bytes = Written(manager());

    Character* fresh = MakeCharacter(kWarrior);
    ASSERT_NE(fresh, nullptr);
    SkillManager& other = fresh->GetSkillManager();
    other.LoadSkills(Singleton<ObjectManager>::Get().GetLoadTable(kWarrior),
                     SkillManager::kMaxSkillEntries);
    IOStream in(bytes);
    other.StreamProperties(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(Levels(other), Levels(manager()));
    EXPECT_EQ(Written(other), bytes);
}

TEST_F(SkillSave, LevelledSkillsAreWrittenWithoutTheirActiveStateAndReadBack) {
    Get(kCleave)->ReceiveStateUpdate(SkillState(5, true), true);
    Get(kCleave)->ReceiveActiveUpdate(*warrior, SkillActiveState(3, true, true), false);
    Get(kBolt)->ReceiveStateUpdate(SkillState(0, true), true);
    test::SkillManagerTestAccess::SetSkillMasteriesAllowed(manager(), 2);
    test::SkillManagerTestAccess::SetReclamationPointsUsed(manager(), 11);
    std::size_t levelled = 0;
    for (const auto& [name, level] : Levels(manager()))
        levelled += level != 0 ? 1 : 0;
    ASSERT_GE(levelled, 2u);

    const std::vector<std::uint8_t> bytes = Written(manager());
    const std::vector<StreamEntry> entries = DecodeEntries(bytes);
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "skillManager");
    EXPECT_EQ(entries[1].key, "max");
    EXPECT_EQ(entries[1].word, levelled);
    std::vector<std::string> entryKeys;
    for (std::size_t i = 2; i < 10; ++i)
        entryKeys.push_back(entries[i].key);
    EXPECT_EQ(entryKeys,
              (std::vector<std::string>{"skill", "skillName", "skillLevel", "skillEnabled",
                                        "skillSubLevel", "skillActive", "skillTransition", ""}));
    const std::size_t tail = entries.size() - 3;
    EXPECT_EQ(entries[tail].key, "masteriesAllowed");
    EXPECT_EQ(entries[tail].word, 2u);
    EXPECT_EQ(entries[tail + 1].key, "skillReclamationPointsUsed");
    EXPECT_EQ(entries[tail + 1].word, 11u);
    int names = 0;
    for (const StreamEntry& e : entries) {
        names += e.key == "skillName" ? 1 : 0;
        if (e.key == "skillSubLevel" || e.key == "skillActive" || e.key == "skillTransition") {
            EXPECT_EQ(e.word & (e.key == "skillSubLevel" ? 0xFFFFFFFFu : 0xFFu), 0u) << e.key;
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(names), levelled);

    Character* fresh = MakeCharacter(kWarrior);
    ASSERT_NE(fresh, nullptr);
    SkillManager& other = fresh->GetSkillManager();
    other.LoadSkills(Singleton<ObjectManager>::Get().GetLoadTable(kWarrior),
                     SkillManager::kMaxSkillEntries);
    IOStream in(bytes);
    other.StreamProperties(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(Levels(other), Levels(manager()));
    EXPECT_EQ(other.GetSkillMasteriesAllowed(), 2u);
    EXPECT_EQ(other.GetReclamationPointsUsed(), 11u);
    const Skill* cleave =
        Singleton<ObjectManager>::Get().GetObject<Skill>(other.FindSkillId(kCleave));
    ASSERT_NE(cleave, nullptr);
    EXPECT_EQ(cleave->GetSkillState(), SkillState(5, true));
    EXPECT_EQ(Written(other), bytes);
}

// A section written by hand: the entries given, then masteries 3 and reclamation 4.
std::vector<std::uint8_t> Section(
    std::int32_t max, const std::vector<std::pair<std::string, std::uint32_t>>& skills) {
    IOStream out;
    out.BeginBlock("skillManager");
    out.StreamInt("max", max);
    for (auto [name, level] : skills) {
        out.BeginBlock("skill");
        out.StreamString("skillName", name);
        SkillState state(level, true);
        SkillActiveState active;
        state.StreamProperties(out);
        active.StreamProperties(out);
        out.EndBlock();
    }
    std::uint32_t masteries = 3;
    std::uint32_t reclaimed = 4;
    out.StreamUInt("masteriesAllowed", masteries);
    out.StreamUInt("skillReclamationPointsUsed", reclaimed);
    out.EndBlock();
    return out.GetBytes();
}

TEST_F(SkillSave, UnknownNamesAreDroppedAndCountsAreHeldToTheBytes) {
    IOStream in(Section(2, {{"Records/SkillManager/Nowhere.dbr", 9}, {kCleave, 7}}));
    manager().StreamProperties(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(Get(kCleave)->GetSkillLevel(), 7u);
    EXPECT_EQ(manager().GetSkillMasteriesAllowed(), 3u);

    const auto before = Levels(manager());
    IOStream huge(Section(0x7FFFFFFF, {{kCleave, 1}}));
    manager().StreamProperties(huge);
    EXPECT_TRUE(huge.Failed());
    EXPECT_EQ(Levels(manager()), before);

    IOStream fewer(Section(3, {{kCleave, 2}, {kSharpen, 1}}));
    manager().StreamProperties(fewer);
    EXPECT_TRUE(fewer.Failed());
    EXPECT_GE(tm.CountLog("\"max\""), 2);
}

// The bytes a record writes into a packet body.
template <class Record>
std::vector<std::uint8_t> WireOf(const Record& record) {
    SpawnPlayerPacket packet;
    NetPacketOutBuffer out(&packet);
    record.Write(out);
    const auto* data = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return {data, data + packet.GetOutBufferSize()};
}

template <class Record>
bool ReadBack(const std::vector<std::uint8_t>& bytes, Record& record) {
    NetPacketHeader header;
    header.BeginInbound(static_cast<std::uint32_t>(bytes.size()));
    NetPacketInBuffer in(header, bytes.data(), static_cast<int>(bytes.size()));
    return record.Read(in) && in.Remaining() == 0;
}

TEST_F(SkillSave, ReplicasTravelAsNameAndTwoEightByteImagesAndCutBodiesAreRefused) {
    SkillManager::_SkillReplica skill{"Rec/A.dbr", SkillState(0x01020304, true),
                                      SkillActiveState(6, false, true)};
    const std::vector<std::uint8_t> bytes = WireOf(skill);
    const std::vector<std::uint8_t> expected = {9,   0,   0,   0, 'R', 'e', 'c', '/', 'A', '.',
                                                'd', 'b', 'r', 4, 3,   2,   1,   1,   0,   0,
                                                0,   6,   0,   0, 0,   0,   1,   0,   0};
    EXPECT_EQ(bytes, expected);
    SkillManager::_SkillReplica back;
    ASSERT_TRUE(ReadBack(bytes, back));
    EXPECT_EQ(back.skillName, skill.skillName);
    EXPECT_EQ(back.state, skill.state);
    EXPECT_EQ(back.activeState, skill.activeState);

    SkillManager::_SkillBuffReplica buff;
    buff.buff = skill;
    buff.modifier2 = {"Rec/M.dbr", SkillState(2, true), SkillActiveState(2, true, false)};
    buff.timeToLive = 5000;
    buff.casterId = 0xABCD;
    const std::vector<std::uint8_t> buffBytes = WireOf(buff);
    EXPECT_EQ(buffBytes.size(), bytes.size() + 20 + (20 + 9) + 4);
    SkillManager::_SkillBuffReplica buffBack;
    ASSERT_TRUE(ReadBack(buffBytes, buffBack));
    EXPECT_EQ(buffBack.modifier1.skillName, "");
    EXPECT_EQ(buffBack.modifier2.state, SkillState(2, true));
    EXPECT_EQ(buffBack.casterId, 0xABCDu);
    EXPECT_EQ(buffBack.timeToLive, 0);  // not carried

    for (std::size_t cut = 0; cut < buffBytes.size(); ++cut) {
        std::vector<std::uint8_t> part(buffBytes.begin(), buffBytes.begin() + cut);
        SkillManager::_SkillBuffReplica partial;
        EXPECT_FALSE(ReadBack(part, partial)) << cut;
    }
    // A name length past the body.
    std::vector<std::uint8_t> longName = bytes;
    longName[2] = 0x10;
    EXPECT_FALSE(ReadBack(longName, back));
}

}  // namespace
}  // namespace GAME::test
