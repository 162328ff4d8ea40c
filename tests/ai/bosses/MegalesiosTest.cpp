// The Megalesios fight: its phases, its invincibility, its saved progress and its conduits.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Engine/text/Name.h"
#include "Game/ai/bosses/megalesios/ControllerMegalesios.h"
#include "Game/ai/bosses/megalesios/MegalesiosStates.h"
#include "Game/characters/monster/Megalesios.h"
#include "ai/bosses/BossScene.h"

namespace GAME::test {
namespace {

class MegalesiosFight : public BossScene {
protected:
    void SetUp() override {
        BossScene::SetUp();
        Record("Records/AI/MegalesiosBrain.dbr",
               R"({"Class": "ControllerMegalesios", "ViewDistance": 8.0,
                   "CheckForPlayerRadius": 12.0})");
        Record("Records/AI/Drain.dbr", R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1})");
        Record("Records/AI/Megalesios.dbr",
               CreatureRecord("Megalesios", "Records/AI/MegalesiosBrain.dbr",
                              R"(, "skillName2": "Records/AI/Drain.dbr", "skillLevel2": 1,
                                 "specialAttackSkillName": "Records/AI/Drain.dbr",
                                 "specialAttack5SkillName": "Records/AI/Blast.dbr")"));
        Record("Records/AI/ConduitBrain.dbr", R"({"Class": "ControllerMegalesiosConduit"})");
        Record("Records/AI/Conduit.dbr",
               CreatureRecord("MegalesiosConduit", "Records/AI/ConduitBrain.dbr"));
    }
    Megalesios* PlaceBoss() {
        return Place<Megalesios>("Records/AI/Megalesios.dbr", 10, 20,
                                 TeamManager::DefaultMonsterTeam());
    }
    MegalesiosConduit* PlaceConduit(float x) {
        auto* conduit = Singleton<ObjectManager>::Get().CreateObjectFromFile<MegalesiosConduit>(
            "Records/AI/Conduit.dbr");
        World::Get().AddEntity(conduit, WorldCoords(meadow, Coords::FromOrigin(At(x, 20).local)),
                               true);
        conduit->InitialUpdate();
        test::SetLife(*conduit, 100.0f, 100.0f);
        Brain<ControllerAI>(conduit).Update(0);
        return conduit;
    }
    static ControllerMegalesios& Ctl(const Megalesios* boss) {
        return Brain<ControllerMegalesios>(boss);
    }
    static std::vector<std::uint8_t> Saved(Megalesios& boss) {
        BinaryWriter writer;
        boss.SaveState(writer);
        return writer.GetBuffer();
    }
};

TEST_F(MegalesiosFight, WaitsInvincibleThenBurstsThenDrainsTheFirstConduitItFinds) {
    Megalesios* boss = PlaceBoss();
    MegalesiosConduit* first = PlaceConduit(14);
    EXPECT_EQ(first->GetTeam(), TeamManager::DefaultPlayerTeam());
    MegalesiosConduit* second = PlaceConduit(17);
    ControllerMegalesios& brain = Ctl(boss);
    EXPECT_FLOAT_EQ(brain.GetCheckForPlayerRadius(), 12.0f);
    EXPECT_EQ(StateOf(brain), "Startup");
    EXPECT_TRUE(boss->IsInvincible());
    // The idle's own animation ends do not end the wait.
    brain.HandleEvent(Name::Create("End"));
    EXPECT_EQ(StateOf(brain), "Startup");

    brain.QuestCommandUseSkill(0, 0, false);
    EXPECT_EQ(StateOf(brain), "LaunchBursts");
    EXPECT_TRUE(boss->GetBurstsLaunched());
    EXPECT_EQ(brain.GetCurrentSkillID(), brain.GetSpecialAttack5SkillId());
    brain.HandleEvent(Name::Create("End"));
    EXPECT_EQ(StateOf(brain), "AttackConduit");
    brain.Update(33);
    auto* phase = dynamic_cast<ControllerMegalesiosStateAttackConduit*>(brain.GetExecutingState());
    ASSERT_NE(phase, nullptr);
    EXPECT_EQ(phase->GetConduit(), first->GetObjectId());
    EXPECT_GE(phase->GetAttackCountdown(), 1000);
    EXPECT_TRUE(boss->IsInvincible());

    // The first chosen conduit's fall ends the phase, though another stands.
    Kill(first);
    brain.Update(33);
    EXPECT_EQ(StateOf(brain), "Idle");
    EXPECT_TRUE(boss->GetConduitsDestroyed());
    EXPECT_FALSE(boss->IsInvincible());
    EXPECT_TRUE(second->IsAlive());
}

TEST_F(MegalesiosFight, WithoutAConduitInReachTheBossStaysInvincible) {
    Megalesios* boss = PlaceBoss();
    PlaceConduit(21);  // beyond view distance 8 + 2
    ControllerMegalesios& brain = Ctl(boss);
    brain.SetState("AttackConduit", ControllerAIStateData());
    for (int frame = 0; frame < 10; ++frame)
        brain.Update(500);
    EXPECT_EQ(StateOf(brain), "AttackConduit");
    EXPECT_TRUE(boss->IsInvincible());
}

TEST_F(MegalesiosFight, ProgressIsSavedAfterTheMonsterStateAndResumedOnRestore) {
    struct Case {
        std::uint8_t bursts;
        std::uint8_t conduits;
        const char* resumes;
        bool invincible;
    };
    const Case cases[] = {
        {0, 0, "Startup", true},
        {1, 0, "AttackConduit", true},
        {1, 1, "Idle", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resumes);
        Megalesios* saved = PlaceBoss();
        saved->SetBurstsLaunched(c.bursts != 0);
        saved->SetConduitsDestroyed(c.conduits != 0);
        const std::vector<std::uint8_t> bytes = Saved(*saved);
        // Two words after the monster's state, in that order.
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 8, bytes.end()),
                  (std::vector<std::uint8_t>{c.bursts, 0, 0, 0, c.conduits, 0, 0, 0}));
        Megalesios* restored = PlaceBoss();
        BinaryReader reader(bytes);
        restored->RestoreState(reader);
        EXPECT_EQ(restored->GetBurstsLaunched(), c.bursts != 0);
        EXPECT_EQ(restored->GetConduitsDestroyed(), c.conduits != 0);
        Ctl(restored).SetState("Startup", ControllerAIStateData());
        EXPECT_EQ(StateOf(Ctl(restored)), c.resumes);
        EXPECT_EQ(restored->IsInvincible(), c.invincible);
        Kill(saved);
        Kill(restored);
    }
}

TEST_F(MegalesiosFight, ACutStateKeepsTheProgressAsItWas) {
    Megalesios* boss = PlaceBoss();
    boss->SetBurstsLaunched(true);
    std::vector<std::uint8_t> bytes = Saved(*boss);
    bytes.resize(bytes.size() - 4);
    Megalesios* other = PlaceBoss();
    BinaryReader reader(bytes);
    other->RestoreState(reader);
    EXPECT_FALSE(other->GetBurstsLaunched());
    EXPECT_EQ(tm->CountLog("ends before its fight's progress"), 1);
}

}  // namespace
}  // namespace GAME::test
