// The two small character kinds: an ambient character that is no stooge gets no controller and
// takes the monsters' team when its record names none; a guard stands on the players' side
// whatever its record says and takes no damage.
#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/ambient/AmbientCharacter.h"
#include "Game/characters/monster/Guard.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

TEST(AmbientAndGuards, AnAmbientNonStoogeHasNoControllerAndAGuardIsThePlayersAndUnkillable) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("T/Crow.dbr", R"({"Class": "AmbientCharacter",
        "controllerType": "Perched", "characterLife": 5})"));
    Region* region = World::Get().AddRegion(std::make_unique<Region>("Yard"));
    ObjectManager& objects = Singleton<ObjectManager>::Get();

    auto* crow = objects.CreateObjectFromFile<AmbientCharacter>("T/Crow.dbr");
    ASSERT_NE(crow, nullptr);
    EXPECT_FALSE(crow->HasPendingController());
    World::Get().AddEntity(crow, WorldCoords(region, Coords()), false);
    crow->InitialUpdate();
    EXPECT_EQ(crow->GetControllerId(), 0u);
    EXPECT_EQ(crow->GetTeam(), TeamManager::DefaultMonsterTeam());
    EXPECT_EQ(crow->GetSkillId1(), 0u);

    // The sample's gate guard names the monsters' team in its record.
    auto* guard = objects.CreateObjectFromFile<Guard>("Records/Characters/Guards/GateGuard.dbr");
    ASSERT_NE(guard, nullptr);
    EXPECT_EQ(guard->GetTeam(), TeamManager::DefaultPlayerTeam());
    EXPECT_TRUE(guard->IsInvincible());
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
