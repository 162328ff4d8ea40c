// The town controller's states on the sample meadow (which has ground to walk): leaving "Idle"
// at once with no idle time, "Idle" and "LongIdle" taking turns for one that cannot walk,
// strolls spread over the square around a wander point, chatting while a social target lasts,
// watching an attraction 10 to 20 s when it names no time, a quest move to a point out of reach,
// and decisions that move no generator the machines share.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/npc/ControllerNpc2.h"
#include "Game/ai/npc/NpcStates.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEventListener.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kStroller = "Records/Characters/Npcs/Ilse.dbr";

class NpcStates : public ::testing::Test {
protected:
    NpcStates() {
        InitializeObjects();
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        auto& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(records.AddRecordText("T/Restless.dbr", R"({"Class": "ControllerNpc2"})"));
        EXPECT_TRUE(records.AddRecordText("T/Rooted.dbr", R"({"Class": "Npc",
            "unarmedIdleAnim": "Creatures/Anims/Human_Idle.anm"})"));
    }
    ~NpcStates() override { ShutdownObjects(); }

    Npc* Find(const std::string& record) const {
        for (std::uint32_t id : World::Get().GetPlacedEntityIds())
            if (Npc* npc = Singleton<ObjectManager>::Get().GetObject<Npc>(id);
                npc && npc->GetObjectName() == record)
                return npc;
        return nullptr;
    }
    // The NPC, started, with a controller that idles no time at all.
    ControllerNpc2* Restless(Npc& npc) {
        npc.InitialUpdate();
        npc.SetController("T/Restless.dbr");
        return FindController<ControllerNpc2>(npc);
    }
    Npc* PlaceRooted() {
        auto* npc = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("T/Rooted.dbr");
        WorldCoords at = Find(kStroller)->GetCoords();
        World::Get().AddEntity(npc, at, true);
        return npc;
    }
    // Where the NPC's current walk leads; invalid when it does not walk.
    static WorldVec3 WalkTarget(Npc& npc) {
        const auto* walk =
            dynamic_cast<const WalkAction*>(npc.GetActionHandler().GetCurrentAction());
        return walk ? walk->GetTarget() : WorldVec3();
    }
    static std::string StateOf(const ControllerNpc2& controller) {
        const char* name = controller.GetExecutingStateName();
        return name ? name : "";
    }
    TestMachine tm{TestMachine::SampleDataDir()};
};

TEST_F(NpcStates, WithoutIdleTimeAWandererLeavesIdleOnItsFirstUpdate) {
    Npc* stroller = Find(kStroller);
    ASSERT_NE(stroller, nullptr);
    ControllerNpc2* controller = Restless(*stroller);
    ASSERT_NE(controller, nullptr);
    ASSERT_EQ(controller->GetWanderPoints().size(), 3u);  // from its "Npc Wanderers" group
    controller->Update(33);
    EXPECT_EQ(StateOf(*controller), "Wander");
    EXPECT_TRUE(WalkTarget(*stroller).IsValid());
}

TEST_F(NpcStates, OneThatCannotWalkTakesTurnsBetweenIdleAndLongIdle) {
    Npc* rooted = PlaceRooted();
    ControllerNpc2* controller = Restless(*rooted);
    ASSERT_FALSE(rooted->CanWalk());
    std::vector<std::string> seen;
    for (int frame = 0; frame < 4; ++frame) {
        controller->Update(33);
        seen.push_back(StateOf(*controller));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"LongIdle", "Idle", "LongIdle", "Idle"}));
}

TEST_F(NpcStates, StrollsSpreadOverTheSquareAroundTheWanderPoint) {
    Npc* stroller = Find(kStroller);
    ControllerNpc2* controller = Restless(*stroller);
    controller->Update(33);
    auto* wander = dynamic_cast<ControllerNpcStateWander*>(controller->GetExecutingState());
    ASSERT_NE(wander, nullptr);
    int outsideTheDisc = 0;
    for (int walk = 0; walk < 60; ++walk) {
        controller->SetCurrentWanderPoint(0);
        ASSERT_TRUE(wander->MoveToCurrentWanderPoint());
        const Vec3 target = WalkTarget(*stroller).local;
        // The first point stands at (24, 8) with a radius of 2.
        const float dx = target.x - 24.0f;
        const float dz = target.z - 8.0f;
        EXPECT_LE(std::fabs(dx), 2.01f);
        EXPECT_LE(std::fabs(dz), 2.01f);
        outsideTheDisc += dx * dx + dz * dz > 4.0f;
    }
    EXPECT_GT(outsideTheDisc, 0);
}

TEST_F(NpcStates, ChatsWhileItsCharacterHasASocialTarget) {
    Npc* stroller = Find(kStroller);
    ControllerNpc2* controller = Restless(*stroller);
    const std::uint32_t partner = Find("Records/Characters/Npcs/Tobin.dbr")->GetObjectId();
    stroller->AddSocialTarget(partner);
    controller->Update(33);
    EXPECT_EQ(StateOf(*controller), "Chat");
    EXPECT_EQ(controller->GetCurrentAlly(), partner);
    stroller->DeleteSocialTarget(partner);
    controller->Update(33);
    EXPECT_NE(StateOf(*controller), "Chat");
}

TEST_F(NpcStates, AnAttractionWithoutATimeOfItsOwnIsWatchedTenToTwentySeconds) {
    Npc* stroller = Find(kStroller);
    ControllerNpc2* controller = Restless(*stroller);
    controller->Update(33);
    const std::uint32_t sight = Find("Records/Characters/Npcs/Tobin.dbr")->GetObjectId();
    for (int look = 0; look < 20; ++look) {
        controller->SetState("WatchAttraction",
                             ControllerAIStateData(ControllerAIStateArgs{.ally = sight}));
        const auto* watch =
            dynamic_cast<ControllerNpcStateWatchAttraction*>(controller->GetExecutingState());
        ASSERT_NE(watch, nullptr);
        EXPECT_GE(watch->GetWatchCountdown(), 10000);
        EXPECT_LE(watch->GetWatchCountdown(), 20000);
    }
    // Gone: back to idling.
    controller->SetState("WatchAttraction",
                         ControllerAIStateData(ControllerAIStateArgs{.ally = 0xDEAD}));
    EXPECT_NE(StateOf(*controller), "WatchAttraction");
}

struct MoveEar {
    MoveEar() : listener("GameEvent_MoveCompleted") { listener.SetOwner(this, &MoveEar::On); }
    void On(const GameEvent_MoveCompleted& event) { names.push_back(event.objectName); }
    GameEventListener<MoveEar, GameEvent_MoveCompleted> listener;
    std::vector<std::string> names;
};

TEST_F(NpcStates, AQuestMoveOutOfReachPlacesTheNpcThereAndStillReportsIt) {
    MoveEar ear;
    Npc* stroller = Find(kStroller);
    ControllerNpc2* controller = Restless(*stroller);
    controller->Update(33);
    // Beyond the meadow's ground, which no path reaches.
    const WorldVec3 far(stroller->GetRegion(), Vec3(63.5f, 0.0f, 63.5f));
    ASSERT_FALSE(stroller->CanMoveTo(far, 0.5f));
    controller->QuestCommandMove(0, far, false);
    EXPECT_EQ(stroller->GetPathPosition().local, far.local);
    EXPECT_NE(StateOf(*controller), "QuestMove");
    EXPECT_EQ(ear.names, std::vector<std::string>{kStroller});
    // A walk may only go where a path leads: refused, nothing changes.
    controller->QuestCommandWalk(0, far, false);
    EXPECT_NE(StateOf(*controller), "QuestWalk");
}

TEST_F(NpcStates, ItsDecisionsDrawNeitherFromTheRootNorFromTheCRuntimeGenerator) {
    Npc* stroller = Find(kStroller);
    ControllerNpc2* controller = Restless(*stroller);
    controller->Update(33);
    const std::uint32_t root = gGameEngine->GetRandomGen().GetState();
    // The same strolls whatever the machine's C-runtime generator holds.
    std::vector<std::vector<float>> strolls(2);
    for (unsigned seed : {1u, 2u}) {
        crt_srand(seed);
        const NpcRandom kept = controller->GetRandom();
        const unsigned point = controller->GetCurrentWanderPoint();
        for (int walk = 0; walk < 10; ++walk) {
            controller->EndOfPathReached();  // on to the next point, drawing again
            strolls[seed - 1].push_back(WalkTarget(*stroller).local.x);
        }
        controller->GetRandom() = kept;
        controller->SetCurrentWanderPoint(point);
    }
    EXPECT_EQ(strolls[0], strolls[1]);
    EXPECT_EQ(gGameEngine->GetRandomGen().GetState(), root);
}

}  // namespace
}  // namespace GAME::test
