// The server's check of a player a client brings: the replication data of an honest character
// passes, one claiming more than a character file of its record may hold is refused with one
// line naming the field.
#include <gtest/gtest.h>

#include <functional>

#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerJoinCheck.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/quests/QuestRepository.h"
#include "Game/rules/duration/DurationDamageReplication.h"
#include "support/QuestText.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kWarden = "Records/Characters/Players/Warden.dbr";
constexpr const char* kOnslaught = "Records/Skills/Warfare/Onslaught.dbr";

std::vector<std::uint8_t> Encode(const PlayerReplicationData& data) {
    SpawnPlayerPacket scratch;
    {
        NetPacketOutBuffer out(&scratch);
        data.Write(out);
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(scratch.GetOutBuffer());
    return {bytes, bytes + scratch.GetOutBufferSize()};
}

// What a fresh character of the sample class writes, read back into the record.
PlayerReplicationData FreshWarden() {
    auto* player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kWarden);
    player->SetPlayerName(L"Tester");
    SpawnPlayerPacket scratch;
    {
        NetPacketOutBuffer out(&scratch);
        player->WriteReplicationData(out);
    }
    Singleton<ObjectManager>::Get().DestroyObjectEx(player, __FILE__, __LINE__);
    PlayerReplicationData data;
    NetPacketHeader header;
    NetPacketInBuffer in(header, reinterpret_cast<const unsigned char*>(scratch.GetOutBuffer()),
                         static_cast<int>(scratch.GetOutBufferSize()));
    EXPECT_TRUE(data.Read(in));
    return data;
}

void RaiseOnslaught(PlayerReplicationData& data, std::uint32_t level) {
    SkillManager::_SkillReplica skill;
    skill.skillName = kOnslaught;
    skill.state = SkillState(level, true);
    data.skills.push_back(skill);
}

struct Case {
    const char* what;
    std::function<void(PlayerReplicationData&)> claim;
    const char* refusal;  // the start of the line; empty: taken
};

TEST(PlayerJoinCheck, TakesWhatAFileMayHoldAndNamesTheFirstFieldBeyondIt) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    // The sample levels: 100 experience a level up to 5; per level 3 attribute points (4
    // strength, 20 life each) and 2 skill points, 1 to start with.
    const std::vector<Case> cases{
        {"a fresh character", [](PlayerReplicationData&) {}, ""},
        {"level 3 with its experience, points spent and a skill raised",
         [](PlayerReplicationData& d) {
             d.characterLevel = 3;
             d.experiencePoints = 250;
             d.baseStrength += 4 * 4;
             d.baseLife += 2 * 20;
             RaiseOnslaught(d, 5);
         },
         ""},
        {"a level beyond the level record",
         [](PlayerReplicationData& d) { d.characterLevel = 300; },
         "level: 300 is outside the record's 1..5"},
        {"experience of another level",
         [](PlayerReplicationData& d) {
             d.characterLevel = 2;
             d.experiencePoints = 5000;
         },
         "experience: 5000 does not belong to level 2 (100..199)"},
        {"strength beyond all the points", [](PlayerReplicationData& d) { d.baseStrength = 5000; },
         "base Strength: 5000 is more than level 1 allows (50)"},
        {"points spent twice over",
         [](PlayerReplicationData& d) {
             d.characterLevel = 2;
             d.experiencePoints = 100;
             d.baseStrength += 3 * 4;
             d.baseLife += 3 * 20;
         },
         "base attributes: 6 attribute points spent, level 2 gives 3"},
        {"life below the record", [](PlayerReplicationData& d) { d.baseLife = 10; },
         "base Life: 10 is below the record's 200"},
        {"life not a number", [](PlayerReplicationData& d) { d.currentLife = NAN; },
         "life and mana: not numbers"},
        {"life above its limit", [](PlayerReplicationData& d) { d.currentLife = 100000; },
         "life: 100000 is above its limit 200"},
        {"a skill beyond its levels", [](PlayerReplicationData& d) { RaiseOnslaught(d, 99); },
         "skill Records/Skills/Warfare/Onslaught.dbr: level 99 is above its"},
        {"skills raised beyond the points", [](PlayerReplicationData& d) { RaiseOnslaught(d, 4); },
         "skills: 4 skill points spent, level 1 gives 1"},
        {"a skill the record lacks",
         [](PlayerReplicationData& d) {
             d.skills.push_back({"Records/Skills/Other.dbr", SkillState(1, true), {}});
         },
         "skill Records/Skills/Other.dbr: the record gives no such skill"},
        {"gold out of the purse", [](PlayerReplicationData& d) { d.money = -5; },
         "money: -5 is outside"},
        {"an item of no item record",
         [](PlayerReplicationData& d) {
             InventoryReplica item;
             item.item.baseName = kWarden;
             d.inventory.push_back(item);
         },
         "item Records/Characters/Players/Warden.dbr: no item record"},
        {"damage over time", [](PlayerReplicationData& d) { d.durationDamage.emplace_back(); },
         "damage over time: a character file holds none"},
        {"a name too long",
         [](PlayerReplicationData& d) { d.playerName = std::wstring(200, L'x'); },
         "name: 200 characters"},
    };
    const PlayerReplicationData fresh = FreshWarden();
    const std::size_t objectsBefore = Singleton<ObjectManager>::Get().GetObjectCount();
    for (const Case& c : cases) {
        PlayerReplicationData claimed = fresh;
        c.claim(claimed);
        const std::string refusal = CheckJoiningPlayer(kWarden, Encode(claimed));
        if (*c.refusal == '\0')
            EXPECT_EQ(refusal, "") << c.what;
        else
            EXPECT_EQ(refusal.rfind(c.refusal, 0), 0u) << c.what << ": " << refusal;
    }
    // Neither the record nor the data can be made up.
    EXPECT_EQ(CheckJoiningPlayer("Records/Sounds/Characters/Swing.dbr", Encode(fresh)),
              "record: Records/Sounds/Characters/Swing.dbr makes no player");
    std::vector<std::uint8_t> cut = Encode(fresh);
    cut.resize(cut.size() / 2);
    EXPECT_EQ(CheckJoiningPlayer(kWarden, cut), "replication data: cut short or malformed");
    // The scratch players are gone again.
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), objectsBefore);
    ShutdownObjects();
}

// A quest's attribute points reach no replication: the bases may have taken those the quests here
// give, and the unspent points a client says it brings are lowered to what the levels and the
// quests leave after the bases.
TEST(PlayerJoinCheck, CountsTheQuestsAttributePointsUpToWhatTheyGive) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    ASSERT_NE(QuestRepository::Get()->LoadQuest(
                  "Quests/Q.quest", OneActionQuest(R"({"name": "Action_GiveAttributePoints"},)"
                                                   R"( {"attributeAmount[0]": 2}, {"region": 0})")),
              nullptr);
    // Level 1 gives no points, level 2 three; a point is 4 strength over the record's 50.
    const struct {
        std::uint32_t level, strengthPoints, brought, kept;
        const char* refusal;
    } cases[] = {
        {1, 2, 0, 0, ""}, {1, 0, 2, 2, ""},
        {1, 0, 9, 2, ""}, {1, 1, 9, 1, ""},
        {2, 1, 9, 4, ""}, {1, 3, 0, 0, "base Strength: 62 is more than level 1 allows (58)"},
    };
    const PlayerReplicationData fresh = FreshWarden();
    for (const auto& c : cases) {
        PlayerReplicationData claimed = fresh;
        claimed.characterLevel = c.level;
        claimed.experiencePoints = (c.level - 1) * 100;
        claimed.baseStrength += static_cast<float>(4 * c.strengthPoints);
        std::uint32_t points = c.brought;
        EXPECT_EQ(CheckJoiningPlayer(kWarden, Encode(claimed), &points), c.refusal)
            << c.level << " " << c.strengthPoints;
        if (*c.refusal == '\0') {
            EXPECT_EQ(points, c.kept) << c.level << " " << c.strengthPoints << " " << c.brought;
        }
    }
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
