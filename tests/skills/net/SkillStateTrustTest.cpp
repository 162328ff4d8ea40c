// A hostile client's skill-level updates about its own character: the server takes a level only
// within the skill's limit and raised by no more than the character's skill points there.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
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

}  // namespace
}  // namespace GAME::test
