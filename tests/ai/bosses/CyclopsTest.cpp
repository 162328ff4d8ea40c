// The Cyclops: its script points, its walk, roar and charge, and what it tramples.
#include <gtest/gtest.h>

#include "Engine/media/sound/Jukebox.h"
#include "Engine/text/Name.h"
#include "Game/ai/bosses/cyclops/ControllerCyclops.h"
#include "Game/ai/bosses/cyclops/CyclopsStates.h"
#include "Game/characters/Player.h"
#include "Game/world/props/ScriptPoint.h"
#include "ai/bosses/BossScene.h"

namespace GAME::test {
namespace {

constexpr const char* kCyclops = "Records/AI/Cyclops.dbr";
constexpr const char* kWalker = "Records/AI/Walker.dbr";

class Cyclops : public BossScene {
protected:
    void SetUp() override {
        BossScene::SetUp();
        Record("Records/AI/CyclopsBrain.dbr",
               R"({"Class": "ControllerCyclops", "postRoarMusic": "Music/Drums"})");
        Record(kCyclops,
               CreatureRecord("Monster", "Records/AI/CyclopsBrain.dbr",
                              R"(, "unarmedSpecialAnim1": "Creatures/Anims/Human_Cast.anm",
                                           "unarmedSpecialAnimRef1": "Roar")"));
        boss = Place(kCyclops, 10, 20, TeamManager::DefaultMonsterTeam());
        ASSERT_NE(boss, nullptr);
        player = SpawnFoe(20, 20);
        MakeMainPlayer(player);
    }
    ControllerCyclops& Ctl() const { return Brain<ControllerCyclops>(boss); }
    static void Announce(const std::string& target, int index, const WorldVec3& at) {
        GameEvent_ScriptPoint event;
        event.coords = WorldCoords(at.GetRegion(), Coords::FromOrigin(at.local));
        event.targetName = target;
        event.index = index;
        SendGameEvent(event, "ScriptPoint");
    }
    // The roar plays out: its animation ends and the next frame takes the charge up.
    void FinishRoar() const {
        ASSERT_EQ(StateOf(Ctl()), "Roar");
        Ctl().HandleEvent(Name::Create("End"));
        Ctl().Update(0);
    }

    Monster* boss = nullptr;
    Character* player = nullptr;
};

TEST_F(Cyclops, KeepsOnlyItsOwnScriptPointsAndWalksToTheFirstThenCharges) {
    Announce(kCyclops, 0, At(14, 20));
    Announce("Records/AI/Ogre.dbr", 1, At(15, 20));
    Announce("RECORDS/ai/cyclops.DBR", 0, At(16, 20));  // its name in any case replaces the first
    WorldCoords point;
    ASSERT_TRUE(Ctl().GetScriptPoint(0, point));
    EXPECT_FLOAT_EQ(point.GetPosition().local.x, 16.0f);
    EXPECT_FALSE(Ctl().GetScriptPoint(1, point));
    EXPECT_EQ(boss->GetTeam(), TeamManager::BuildTeam(3, 1));

    Ctl().WakeUp(player->GetObjectId());
    EXPECT_EQ(StateOf(Ctl()), "ScriptedMove");
    EXPECT_TRUE(boss->IsMoving());
    Ctl().EndOfPathReached();
    EXPECT_EQ(Ctl().GetMostHatedEnemy(), player->GetObjectId());
    FinishRoar();
    EXPECT_EQ(StateOf(Ctl()), "BullRun");
    EXPECT_TRUE(Ctl().IsPlayerFocused());
    EXPECT_EQ(gGameEngine->GetJukebox()->GetEventMusic(), "Music/Drums");
    Ctl().EndOfPathReached();
    const std::string next = StateOf(Ctl());
    EXPECT_TRUE(next == "Attack" || next == "Pursue") << next;
    EXPECT_FALSE(Ctl().IsPlayerFocused());
    EXPECT_EQ(tm->CountLog("-=-=-=- Bullrun -> " + next), 1);
}

TEST_F(Cyclops, ChargesAtOnceWithoutAReachablePointAndRoarsOncePerCharge) {
    for (const bool announced : {false, true}) {
        SCOPED_TRACE(announced ? "unreachable point" : "no point");
        tm->ClearLog();
        if (announced)
            Announce(kCyclops, 0, InCave());
        Ctl().SetState("ScriptedMove", ControllerAIStateData({.enemy = player->GetObjectId()}));
        EXPECT_EQ(tm->CountLog("-=- Boos Cyclops could not path to scripted location"),
                  announced ? 1 : 0);
        FinishRoar();
        auto* charge = dynamic_cast<ControllerCyclopsStateBullRun*>(Ctl().GetExecutingState());
        ASSERT_NE(charge, nullptr);
        Ctl().SetState("BullRun", ControllerAIStateData({.enemy = player->GetObjectId()}));
        EXPECT_EQ(StateOf(Ctl()), "BullRun");  // no second roar
        Ctl().EndOfPathReached();
        EXPECT_FALSE(charge->HasRoared());
    }
}

TEST_F(Cyclops, RoarPanicsFoesAndTheChargeTramplesThoseInItsPath) {
    Monster* foe = Place(kWalker, 11, 20, TeamManager::DefaultMonsterTeam());
    Monster* friendly = Place(kWalker, 9, 20, TeamManager::InvisibleTeam());
    Monster* distant = Place(kWalker, 25, 20, TeamManager::DefaultMonsterTeam());
    Ctl().SetState("BullRun", ControllerAIStateData({.enemy = player->GetObjectId()}));
    EXPECT_EQ(StateOf(Brain<ControllerAI>(distant)), "Panic");
    EXPECT_EQ(StateOf(Brain<ControllerAI>(friendly)), "Idle");
    FinishRoar();
    Ctl().Update(0);
    EXPECT_NE(foe->GetLifeState(), Character_LifeState::Alive);
    EXPECT_FLOAT_EQ(foe->GetRagdollData().speed, 4.0f);
    EXPECT_GT(foe->GetRagdollData().direction.x, 0.9f);
    for (const Character* spared :
         {static_cast<Character*>(friendly), static_cast<Character*>(distant), player})
        EXPECT_EQ(spared->GetLifeState(), Character_LifeState::Alive);
    // States it never registered change nothing.
    tm->ClearLog();
    Ctl().StunMe(2000.0f);
    Ctl().Panic(player->GetObjectId());
    EXPECT_EQ(StateOf(Ctl()), "BullRun");
    EXPECT_EQ(tm->CountLog("but not found"), 2);
}

TEST_F(Cyclops, ReturnTurnsOnThePlayerOnlyWhileItCanFightThem) {
    Ctl().SetState("Return", ControllerAIStateData());
    EXPECT_EQ(StateOf(Ctl()), "Attack");
    Kill(player);
    Ctl().SetState("Return", ControllerAIStateData());
    EXPECT_EQ(StateOf(Ctl()), "Idle");
}

// The arena of the sample data: its script point wakes its Cyclops when a player steps on it.
TEST_F(Cyclops, ScriptPointAnnouncesEachEntryAndWakesItsCharacter) {
    World::Get().UnloadLevel();
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Cyclops/Cyclops.level"));
    Region* arena = World::Get().GetRegion("Arena");
    ASSERT_NE(arena, nullptr);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Monster* cyclops = nullptr;
    ScriptPoint* mark = nullptr;
    for (const std::uint32_t id : World::Get().GetPlacedEntityIds()) {
        if (auto* point = objects.GetObject<ScriptPoint>(id))
            mark = point;
        else if (auto* monster = objects.GetObject<Monster>(id);
                 monster && monster->GetObjectName() == "Levels/Cyclops/Records/Cyclops.dbr")
            cyclops = monster;
    }
    ASSERT_NE(cyclops, nullptr);
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->WakesCharacter());
    cyclops->InitialUpdate();
    test::SetLife(*cyclops, 100.0f, 100.0f);
    auto& brain = Brain<ControllerCyclops>(cyclops);
    brain.Update(0);
    ASSERT_EQ(StateOf(brain), "Idle");

    auto* hero = objects.CreateObjectFromFile<Player>("Records/Characters/Players/Warden.dbr");
    ASSERT_NE(hero, nullptr);
    auto standAt = [&](float x) { return WorldCoords(arena, Coords::FromOrigin(Vec3(x, 0, 24))); };
    World::Get().AddEntity(hero, standAt(4), true);
    hero->InitialUpdate();
    test::SetLife(*hero, 100.0f, 100.0f);

    WorldCoords known;
    World::Get().SetCoords(hero, standAt(19));
    mark->UpdateSelf(33);
    ASSERT_TRUE(brain.GetScriptPoint(0, known));
    EXPECT_EQ(StateOf(brain), "ScriptedMove");
    // Standing inside announces nothing more; leaving and coming back does.
    brain.SetState("Idle", ControllerAIStateData());
    mark->UpdateSelf(33);
    EXPECT_EQ(StateOf(brain), "Idle");
    World::Get().SetCoords(hero, standAt(4));
    mark->UpdateSelf(33);
    World::Get().SetCoords(hero, standAt(24));
    mark->UpdateSelf(33);
    EXPECT_EQ(StateOf(brain), "ScriptedMove");
}

}  // namespace
}  // namespace GAME::test
