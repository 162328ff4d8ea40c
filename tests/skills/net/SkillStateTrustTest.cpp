// A hostile client's skill-level updates about its own character: the server takes a level only
// within the skill's limit and raised by no more than the character's skill points there, and
// every machine pays the points of a rise where the machines meet, so none pays twice.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/manager/SkillPointSpend.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kLevelHero = (1u << 28) | 0x140;
constexpr const char* kLevelStrike = "Records/NetLevel/Strike.dbr";
constexpr const char* kLevelClaw = "Records/NetLevel/Claw.dbr";  // no limit in its record
constexpr const char* kLevelGuard = "Records/NetLevel/Guard.dbr";

class SkillStateTrust : public ::testing::Test {
protected:
    SkillStateTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            EXPECT_TRUE(
                records.AddRecordText(kLevelStrike, R"({"Class": "Skill", "skillMaxLevel": 8})"));
            EXPECT_TRUE(records.AddRecordText(
                "Records/NetLevel/Hero.dbr",
                R"({"Class": "Character", "characterLife": 300, "characterMana": 100,
                    "skillName1": "Records/NetLevel/Strike.dbr", "skillLevel1": 1,
                    "skillName2": "Records/NetLevel/Claw.dbr", "skillLevel2": 1,
                    "skillName3": "Records/NetLevel/Guard.dbr", "skillLevel3": 1})"));
            EXPECT_TRUE(records.AddRecordText(kLevelClaw, R"({"Class": "Skill"})"));
            EXPECT_TRUE(
                records.AddRecordText(kLevelGuard, R"({"Class": "Skill", "skillMaxLevel": 3})"));
            InitializeObjects();
            game.TakeRole(*tm);
            Character* hero = MakeFighter(kLevelHero, 10.0f, "Records/NetLevel/Hero.dbr");
            EXPECT_NE(hero, nullptr);
            if (hero) {
                hero->GetSkillManager().LoadSkills("Records/NetLevel/Hero.dbr", 3);
                hero->GetExperienceLevelControl().AddSkillPoints(2);
            }
        }
    }
    ~SkillStateTrust() override { game.OnEach(ShutdownObjects); }
    static SkillManager& Skills() {
        return Singleton<ObjectManager>::Get().GetObject<Character>(kLevelHero)->GetSkillManager();
    }
    static Skill* Strike(const char* record = kLevelStrike) {
        return Singleton<ObjectManager>::Get().GetObject<Skill>(Skills().FindSkillId(record));
    }
    static Character& Hero() {
        return *Singleton<ObjectManager>::Get().GetObject<Character>(kLevelHero);
    }
    // The level from the hostile client (which does not run it), sent but not yet delivered.
    void Post(std::uint32_t level, const char* record = kLevelStrike) {
        ON_MACHINE(game.Client(0)) {
            SkillStateUpdateConfigCmd command(
                kLevelHero, Skills().GetSkillReferenceNumber(Strike(record)->GetObjectId()),
                SkillState{level, true});
            std::unique_ptr<NetPacket> packet(command.GetNetPacket());
            gEngine->GetNetworkConnectionManager()->SendToServer(packet.get());
        }
    }
    // The level the server and the honest client have once the machines met.
    std::vector<std::uint32_t> Levels(const char* record = kLevelStrike) {
        std::vector<std::uint32_t> levels;
        for (TestMachine* tm : {&game.Server(), &game.Client(1)})
            ON_MACHINE(*tm) {
                levels.push_back(Strike(record)->GetSkillLevel());
            }
        return levels;
    }
    std::vector<std::uint32_t> Send(std::uint32_t level, const char* record = kLevelStrike) {
        Post(level, record);
        game.Pump();
        return Levels(record);
    }
    std::vector<std::uint32_t> Points() {
        return game.OnEach([] { return Hero().GetSkillPoints(); });
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
    // The server and the honest client paid both points (the hostile client never ran it).
    EXPECT_EQ(Points(), (std::vector<std::uint32_t>{0, 2, 0}));
    // Falling back is the controlling machine's to say, and so is the enabled flag of a level
    // the skill has, even one its record sets no limit for.
    EXPECT_EQ(Send(2), (std::vector<std::uint32_t>{2, 2}));
    EXPECT_EQ(Send(1, kLevelClaw), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(game.Server().CountLog("refused SkillStateUpdateConfigCmdPacket from host 1"), 3);
}

TEST_F(SkillStateTrust, PointsPayOneRiseOnlyEvenWhenTwoRisesComeInOneStep) {
    // Both rises pass the server's door (two points each time), but the first pays them.
    Post(3);
    Post(2, kLevelGuard);
    game.Pump();
    EXPECT_EQ(Levels(), (std::vector<std::uint32_t>{3, 3}));
    EXPECT_EQ(Levels(kLevelGuard), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(game.Server().CountLog("stays at level 1: level 2 needs 1 skill points of 0"), 1);
    // The same rise again finds no point left on the server and is not passed on.
    EXPECT_EQ(Send(2, kLevelGuard), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(game.Server().CountLog("more levels than the character has skill points"), 1);
    EXPECT_EQ(game.Client(1).CountLog("NetLevel/Guard.dbr of character"), 1);
}

TEST_F(SkillStateTrust, AnHonestSpendPaysAndRisesOnEveryMachineWhereTheyMeet) {
    ON_MACHINE(game.Client(0)) {
        SkillManager& skills = Skills();
        skills.SetAsControllingManager();
        const std::uint32_t strike = skills.FindSkillId(kLevelStrike);
        EXPECT_TRUE(SpendSkillPoint(skills, strike));
        // A second click before the first landed asks for the same level: one point is paid.
        EXPECT_TRUE(SpendSkillPoint(skills, strike));
        // Held for the meeting point, on the deciding machine too.
        EXPECT_EQ(Strike()->GetSkillLevel(), 1u);
        EXPECT_EQ(Hero().GetSkillPoints(), 2u);
    }
    game.Pump();
    EXPECT_EQ(game.OnEach([] { return Strike()->GetSkillLevel(); }),
              (std::vector<std::uint32_t>{2, 2, 2}));
    EXPECT_EQ(Points(), (std::vector<std::uint32_t>{1, 1, 1}));
    ON_MACHINE(game.Client(0)) {
        SkillManager& skills = Skills();
        EXPECT_TRUE(SpendSkillPoint(skills, skills.FindSkillId(kLevelGuard)));
        EXPECT_FALSE(SpendSkillPoint(skills, skills.FindSkillId(kLevelClaw)));  // at its limit
    }
    game.Pump();
    EXPECT_EQ(Levels(kLevelGuard), (std::vector<std::uint32_t>{2, 2}));
    EXPECT_EQ(Points(), (std::vector<std::uint32_t>{0, 0, 0}));
    ON_MACHINE(game.Client(0)) {
        EXPECT_FALSE(SpendSkillPoint(Skills(), Skills().FindSkillId(kLevelGuard)));  // no point
    }
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 0);
}

}  // namespace
}  // namespace GAME::test
