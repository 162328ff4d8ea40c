// A hostile client's skill-level updates about its own character: the server takes a level only
// within the skill's limit and raised by no more than the character's skill points there.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/actions/RewardActions.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kLevelHero = (1u << 28) | 0x140;
constexpr const char* kLevelStrike = "Records/NetLevel/Strike.dbr";
constexpr const char* kLevelClaw = "Records/NetLevel/Claw.dbr";  // no limit in its record

class SkillStateTrust : public ::testing::Test {
protected:
    SkillStateTrust() : game(2) {
        int index = 0;
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            EXPECT_TRUE(
                records.AddRecordText(kLevelStrike, R"({"Class": "Skill", "skillMaxLevel": 8})"));
            EXPECT_TRUE(records.AddRecordText(
                "Records/NetLevel/Hero.dbr",
                R"({"Class": "Character", "characterLife": 300, "characterMana": 100,
                    "skillName1": "Records/NetLevel/Strike.dbr", "skillLevel1": 1,
                    "skillName2": "Records/NetLevel/Claw.dbr", "skillLevel2": 1})"));
            EXPECT_TRUE(records.AddRecordText(kLevelClaw, R"({"Class": "Skill"})"));
            InitializeObjects();
            if (index++ == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            Character* hero = MakeFighter(kLevelHero, 10.0f, "Records/NetLevel/Hero.dbr");
            EXPECT_NE(hero, nullptr);
            if (hero) {
                hero->GetSkillManager().LoadSkills("Records/NetLevel/Hero.dbr", 2);
                hero->GetExperienceLevelControl().AddSkillPoints(2);
            }
        }
    }
    ~SkillStateTrust() override {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            ShutdownObjects();
        }
    }
    static SkillManager& Skills() {
        return Singleton<ObjectManager>::Get().GetObject<Character>(kLevelHero)->GetSkillManager();
    }
    static Skill* Strike(const char* record = kLevelStrike) {
        return Singleton<ObjectManager>::Get().GetObject<Skill>(Skills().FindSkillId(record));
    }
    // Sends the level from the hostile client (which does not run it); the level the server and
    // the honest client then have.
    std::vector<std::uint32_t> Send(std::uint32_t level, const char* record = kLevelStrike) {
        ON_MACHINE(game.Client(0)) {
            SkillStateUpdateConfigCmd command(
                kLevelHero, Skills().GetSkillReferenceNumber(Strike(record)->GetObjectId()),
                SkillState{level, true});
            std::unique_ptr<NetPacket> packet(command.GetNetPacket());
            gEngine->GetNetworkConnectionManager()->SendToServer(packet.get());
        }
        game.Pump();
        std::vector<std::uint32_t> levels;
        for (TestMachine* tm : {&game.Server(), &game.Client(1)})
            ON_MACHINE(*tm) {
                levels.push_back(Strike(record)->GetSkillLevel());
            }
        return levels;
    }

    NetTestGame game;
};

TEST_F(SkillStateTrust, ALevelPastTheLimitOrThePointsIsRefusedAndAPaidOneRuns) {
    // 60 and 2^32-1 are past the limit; 4 is three levels on two points.
    for (std::uint32_t level : {60u, 0xFFFFFFFFu, 4u})
        EXPECT_EQ(Send(level), (std::vector<std::uint32_t>{1, 1})) << level;
    EXPECT_EQ(game.Server().CountLog("refused SkillStateUpdateConfigCmdPacket from host 1"), 3);
    EXPECT_EQ(game.Server().CountLog("past the skill's limit"), 2);
    EXPECT_EQ(Send(3), (std::vector<std::uint32_t>{3, 3}));
    // Falling back is the controlling machine's to say, and so is the enabled flag of a level
    // the skill has, even one its record sets no limit for.
    EXPECT_EQ(Send(2), (std::vector<std::uint32_t>{2, 2}));
    EXPECT_EQ(Send(1, kLevelClaw), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(game.Server().CountLog("refused SkillStateUpdateConfigCmdPacket from host 1"), 3);
}

// Levels a quest gives a named skill: the server takes a rise its points do not pay for only as
// a reward action of its own quests gives that skill, once per player; the level the player's
// own quest gives reaches every machine.
TEST_F(SkillStateTrust, AQuestsSkillLevelsAreTakenOnlyAsTheServersQuestGivesThem) {
    const std::string quest =
        R"([{"quest": [{"title": "Q"}]}, {"steps": [{"max": 1}, {"step": [)"
        R"({"properties": [{"name": "s"}]}, {"triggers": [{"max": 0}]}, {"completion": [)"
        R"({"trigger": [{"displayTag": "t"}, {"conditions": [{"max": 0}]}, {"actions": [)"
        R"({"max": 1}, {"action": [{"name": "Action_GiveSkillPoints"}, )"
        R"({"skill": "records/netlevel/STRIKE.dbr"}, {"skillAmount[0]": 3}]}]}]}]}]}]}])";
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ASSERT_NE(QuestRepository::Get()->LoadQuest("Quests/Q.quest", quest), nullptr);
        }
    // Past the points (two) but not the quest's three, or another skill: refused.
    EXPECT_EQ(Send(5), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(Send(4, kLevelClaw), (std::vector<std::uint32_t>{1, 1}));

    // The hero's own machine: its quest raises the skill it controls by the quest's three, and
    // the server, whose quest gives that, takes it; the other client follows.
    ON_MACHINE(game.Client(0)) {
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kLevelHero);
        Skills().SetAsControllingManager();
        TriggerAction* give = FindQuestAction([](TriggerAction& action) {
            return dynamic_cast<Action_GiveSkillPoints*>(&action) != nullptr;
        });
        ASSERT_NE(give, nullptr);
        give->Fire(0, false);
        EXPECT_EQ(Strike()->GetSkillLevel(), 4u);
    }
    game.Pump();
    for (TestMachine* tm : {&game.Server(), &game.Client(1)})
        ON_MACHINE(*tm) {
            EXPECT_EQ(Strike()->GetSkillLevel(), 4u);
        }
    // Once per player: the same three again are refused.
    EXPECT_EQ(Send(7), (std::vector<std::uint32_t>{4, 4}));
    EXPECT_EQ(game.Server().CountLog("refused SkillStateUpdateConfigCmdPacket from host 1"), 3);
}

}  // namespace
}  // namespace GAME::test
