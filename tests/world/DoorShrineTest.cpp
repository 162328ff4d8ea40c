// Doors, shrines, portals and quest objects on the machine that owns the game state: what a use
// does to each, what a closed door does to paths, and the phases of a shrine and of a player
// portal the game engine stops knowing.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/TeleportConfirmActivity.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/world/fixeditems/FixedItemController.h"
#include "Game/world/fixeditems/FixedItemDoor.h"
#include "Game/world/fixeditems/FixedItemShrine.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kWalker = PlayerId(0, 0x321);

class DoorsAndShrines : public ::testing::Test {
protected:
    DoorsAndShrines() {
        region = World::Get().AddRegion(std::make_unique<Region>("Vale"));
        user = MakePlayer(kWalker, L"Walker", 4);
        Put(user, Vec3(0.0f, 0.0f, 2.0f));
        user->InitialUpdate();
    }

    template <class T>
    T* Make(const char* record, const BinaryWriter* saved = nullptr) {
        auto* item = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record);
        if (!item)
            return nullptr;
        if (saved) {
            BinaryReader reader(saved->GetBuffer());
            item->RestoreState(reader);
        }
        World::Get().AddEntity(item, WorldCoords(region, Coords::Identity()), true);
        item->InitialUpdate();
        return item;
    }
    void Put(Entity* entity, const Vec3& at) {
        World::Get().RemoveEntity(entity);
        World::Get().AddEntity(entity, WorldCoords(region, Coords::FromOrigin(at)), true);
    }

    TestMachine machine;
    RunningGame game;
    Region* region = nullptr;
    Player* user = nullptr;
};

TEST_F(DoorsAndShrines, AClosedDoorBlocksPathsAndAUseOpensAndClosesIt) {
    auto* door = Make<FixedItemDoor>("Records/Fixed/Door.dbr");
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->GetCurrentState(), FixedItemState_DoorClosed);
    door->CreatePathObstacle();
    EXPECT_EQ(door->GetPathObstacleCount(), 1u);
    FixedItemController* controller = door->GetController();
    ASSERT_NE(controller, nullptr);
    for (const FixedItem_State expected : {FixedItemState_DoorOpen, FixedItemState_DoorClosed}) {
        door->RequestToUse(kWalker);
        controller->Update(0);  // without animations the controller follows the item
        EXPECT_EQ(door->GetCurrentState(), expected);
        EXPECT_EQ(door->GetPathObstacleCount(), expected == FixedItemState_DoorClosed ? 1u : 0u);
    }
}

TEST_F(DoorsAndShrines, AOneWayDoorOpensFromOneSideOnly) {
    struct Case {
        const char* record;
        float userZ;
        bool opens;
    };
    for (const Case& c : {Case{"Records/Fixed/OneWayDoor.dbr", 2.0f, true},
                          Case{"Records/Fixed/OneWayDoor.dbr", -2.0f, false},
                          Case{"Records/Fixed/ReverseOneWayDoor.dbr", 2.0f, false},
                          Case{"Records/Fixed/ReverseOneWayDoor.dbr", -2.0f, true}}) {
        auto* door = Make<FixedItemDoor>(c.record);
        ASSERT_NE(door, nullptr);
        Put(user, Vec3(0.0f, 0.0f, c.userZ));
        door->RequestToUse(kWalker);
        EXPECT_EQ(door->GetCurrentState() == FixedItemState_DoorOpen, c.opens)
            << c.record << " from z " << c.userZ;
        World::Get().RemoveEntity(door);
    }
}

TEST_F(DoorsAndShrines, AnOpenOnlyDoorOpensOnceAndShowsItsOpenMesh) {
    auto* door = Make<FixedItemDoorSwapping>("Records/Fixed/OpenOnlyDoor.dbr");
    ASSERT_NE(door, nullptr);
    EXPECT_TRUE(door->IsOfInterest());
    door->RequestToUse(kWalker);
    door->GetController()->Update(0);
    EXPECT_EQ(door->GetMeshInstance().GetMesh(), "Meshes/GateOpen.msh");
    EXPECT_FALSE(door->IsOfInterest());
    door->RequestToUse(kWalker);
    door->GetController()->Update(0);
    EXPECT_EQ(door->GetCurrentState(), FixedItemState_DoorOpen);
}

TEST_F(DoorsAndShrines, AnAutoClosingDoorShutsWhenNobodyIsNearUnlessAQuestKeptItOpen) {
    auto* door = Make<FixedItemDoor>("Records/Fixed/AutoCloseDoor.dbr");
    ASSERT_NE(door, nullptr);
    door->RequestToUse(kWalker);
    door->GetController()->Update(0);
    EXPECT_EQ(door->GetCurrentState(), FixedItemState_DoorOpen);  // the user stands at it
    Put(user, Vec3(30.0f, 0.0f, 0.0f));
    door->GetController()->Update(0);
    EXPECT_EQ(door->GetCurrentState(), FixedItemState_DoorClosed);

    // Held open by a quest: no auto-close any more, also once saved and loaded.
    door->SetFixedItemState(FixedItemState_DoorOpenNoAutoClose, 0, false, true);
    door->GetController()->Update(0);
    EXPECT_EQ(door->GetCurrentState(), FixedItemState_DoorOpen);
    EXPECT_FALSE(door->IsAutoCloseEnabled());
    BinaryWriter saved;
    door->SaveState(saved);
    auto* restored = Make<FixedItemDoor>("Records/Fixed/AutoCloseDoor.dbr", &saved);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->GetCurrentState(), FixedItemState_DoorOpen);
    EXPECT_FALSE(restored->IsAutoCloseEnabled());
    restored->GetController()->Update(0);
    EXPECT_EQ(restored->GetCurrentState(), FixedItemState_DoorOpen);
}

TEST_F(DoorsAndShrines, TheMovePointOfADoorIsOnTheUsersSide) {
    auto* door = Make<FixedItemDoor>("Records/Fixed/MeshDoor.dbr");
    ASSERT_NE(door, nullptr);
    // In front, the point lies on the user's side, standing distance away.
    const WorldVec3 front = door->GetMoveToPoint(kWalker);
    ASSERT_TRUE(front.IsValid());
    EXPECT_GT(front.local.z, 1.0f);
    // Without a user the door's own place.
    EXPECT_TRUE(door->GetMoveToPoint(0).IsValid());
}

TEST_F(DoorsAndShrines, AShrineGivesItsRewardWhileActiveThenRestsAndReturns) {
    auto* shrine = Make<FixedItemShrine>("Records/Fixed/Shrine.dbr");
    ASSERT_NE(shrine, nullptr);
    EXPECT_TRUE(shrine->IsOfInterest());
    auto* controller = static_cast<FixedItemShrineController*>(shrine->GetController());
    // No transition animation: the touch goes through 4 to 5 at once.
    shrine->RequestToUse(kWalker);
    EXPECT_EQ(shrine->GetCurrentState(), FixedItemState_ShrineActive);
    EXPECT_EQ(controller->GetActivator(), kWalker);
    EXPECT_FALSE(shrine->IsOfInterest());
    // A sample time of 0 samples on every update.
    const float before = user->GetCurrentLife();
    controller->Update(10);
    const float once = user->GetCurrentLife();
    EXPECT_GT(once, before);
    controller->Update(10);
    EXPECT_GT(user->GetCurrentLife(), once);

    struct Step {
        int ms;
        FixedItem_State state;
    };
    for (const Step& step :
         {Step{980, FixedItemState_ShrineDormant}, Step{1999, FixedItemState_ShrineDormant},
          Step{1, FixedItemState_ShrineIdle}}) {
        controller->Update(step.ms);
        EXPECT_EQ(shrine->GetCurrentState(), step.state) << step.ms;
    }
    EXPECT_TRUE(shrine->IsOfInterest());
}

TEST_F(DoorsAndShrines, AOneTimeShrineStaysDormantAndALockedOneRefuses) {
    auto* once = Make<FixedItemShrine>("Records/Fixed/OnceShrine.dbr");
    ASSERT_NE(once, nullptr);
    once->RequestToUse(kWalker);
    for (int i = 0; i < 4; ++i)
        once->GetController()->Update(500);
    EXPECT_EQ(once->GetCurrentState(), FixedItemState_ShrineDormant);

    auto* locked = Make<FixedItemShrine>("Records/Fixed/LockedShrine.dbr");
    ASSERT_NE(locked, nullptr);
    locked->RequestToUse(kWalker);
    EXPECT_EQ(locked->GetCurrentState(), FixedItemState_ShrineIdle);
}

TEST_F(DoorsAndShrines, APlayerPortalLocksWhileUnknownUnlocksWhenKnownAgainAndThenDies) {
    auto* portal = Make<FixedItemTeleport>("Records/Fixed/Portal.dbr");
    ASSERT_NE(portal, nullptr);
    const std::uint32_t id = portal->GetObjectId();
    // Unknown to the game engine: locked at the first update; a frame of 0 ms still counts 1.
    portal->UpdateSelf(0);
    EXPECT_TRUE(portal->IsLocked());
    EXPECT_EQ(portal->GetValidationTime(), 1);
    // Known (no region: the hook makes no second object): unlocked again.
    gGameEngine->CreateFixedItemTeleportNetHook(WorldCoords(), kWalker, id, "");
    portal->UpdateSelf(50);
    EXPECT_FALSE(portal->IsLocked());
    EXPECT_EQ(portal->GetValidationTime(), 0);
    // Forgotten: counted in steps of at most 100 ms, gone past 2000.
    gGameEngine->DestroyFixedItemTeleportNetHook(id);
    for (int i = 0; i < 20; ++i)
        portal->UpdateSelf(500);
    EXPECT_EQ(portal->GetValidationTime(), 2000);
    portal->UpdateSelf(500);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(id), nullptr);
}

// A boat asks to sail to the other member of its first instance group; outside any group it
// only logs, and a first group of itself alone goes nowhere.
TEST_F(DoorsAndShrines, ABoatAsksToSailToTheOtherMemberOfItsFirstGroup) {
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kWalker);
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Fixed/Boat.dbr",
        R"({"Class": "FixedItemTeleport", "staticPortal": true, "textTag": "tagFerry"})"));
    auto* boat = Make<FixedItemTeleport>("Records/Fixed/Boat.dbr");
    auto* pier = Make<FixedItemTeleport>("Records/Fixed/Boat.dbr");
    ASSERT_TRUE(boat && pier);
    Put(pier, Vec3(40.0f, 0.0f, 7.0f));
    UniqueId ids[2];
    ASSERT_TRUE(ids[0].FromString("0000000b000000000000000000000001"));
    ASSERT_TRUE(ids[1].FromString("0000000b000000000000000000000002"));
    for (int i = 0; i < 2; ++i) {
        FixedItemTeleport* end = i == 0 ? boat : pier;
        end->SetUniqueId(ids[i]);
        UniqueIdMap::Get().Add(ids[i], end->GetObjectId());
    }
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    const auto confirmations = [] {
        std::vector<TeleportConfirmActivity*> found;
        for (std::uint32_t id = 1; id < 64; ++id)
            if (auto* confirm =
                    dynamic_cast<TeleportConfirmActivity*>(ActivityManager::Get()->GetActivity(id)))
                found.push_back(confirm);
        return found;
    };
    // The members of each group in turn: 0 the boat, 1 the pier.
    const struct {
        std::vector<std::vector<int>> groups;
        bool sails;
    } cases[] = {{{}, false}, {{{0}, {1, 0}}, false}, {{{1, 0}, {0}}, true}};
    for (const auto& c : cases) {
        groups.ClearGroups();
        for (const auto& members : c.groups) {
            InstanceGroup* group =
                groups.AddGroup("G" + std::to_string(groups.GetNumGroups()), "Boat Route");
            for (int member : members)
                group->AddMember(ids[member]);
        }
        ActivityManager::Get()->Clear();
        machine.ClearLog();
        boat->RequestToUse(kWalker);
        ActivityManager::Get()->Update(0);
        const auto found = confirmations();
        ASSERT_EQ(found.size(), c.sails ? 1u : 0u) << c.groups.size();
        EXPECT_EQ(machine.CountLog("not in a group with a destination"), c.groups.empty() ? 1 : 0);
        if (!c.sails)
            continue;
        EXPECT_EQ(found[0]->GetDestination().GetWorldPosition(), Vec3(40.0f, 0.0f, 7.0f));
        EXPECT_EQ(gGameEngine->GetDialogManager().GetDialogs().back().tag, "tagFerry");
    }
}

TEST_F(DoorsAndShrines, AQuestObjectIsOfInterestOnlyWhileLocked) {
    auto* object = Make<FixedItemQuestObject>("Records/Fixed/QuestObject.dbr");
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsOfInterest());
    object->SetLock(false);
    EXPECT_FALSE(object->IsOfInterest());
}

}  // namespace
}  // namespace GAME::test
