// Herds of non-player characters: animals placed from one record form one herd named by it, the
// first keeping its own controller and the others following the herd; a herder registered first
// makes the herd that animals join later; names match in any case; a herding animal registers as
// a member only; and the registry is the machine's own, gone when the level unloads.
#include <gtest/gtest.h>

#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/npc/ControllerNpc2.h"
#include "Game/ai/npc/herd/ControllerNpcHerdAnimal.h"
#include "Game/ai/npc/herd/ControllerNpcHerder.h"
#include "Game/characters/npc/Npc.h"
#include "Game/characters/npc/herd/NpcHerdRegistry.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kSheep = "T/Sheep.dbr";
constexpr const char* kShepherd = "T/Shepherd.dbr";
constexpr const char* kRam = "T/Ram.dbr";

class NpcHerds : public ::testing::Test {
protected:
    NpcHerds() {
        InitializeObjects();
        region = World::Get().AddRegion(std::make_unique<Region>("Pasture"));
        auto& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(records.AddRecordText(kSheep, R"({"Class": "Npc", "isInHerd": true})"));
        EXPECT_TRUE(
            records.AddRecordText(kShepherd, R"({"Class": "Npc", "isHerderFor": "t/SHEEP.dbr"})"));
        // Herds and herds another flock: only a member.
        EXPECT_TRUE(records.AddRecordText(
            kRam, R"({"Class": "Npc", "isInHerd": true, "isHerderFor": "T/Sheep.dbr"})"));
    }
    ~NpcHerds() override { ShutdownObjects(); }

    Npc* Place(const char* record) {
        auto* npc = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>(record);
        World::Get().AddEntity(npc, WorldCoords(region, Coords::FromOrigin(Vec3(1, 0, 1))), false);
        npc->InitialUpdate();
        return npc;
    }
    static std::string ControllerOf(const Npc& npc) {
        const Object* controller = Singleton<ObjectManager>::Get().GetObject(npc.GetControllerId());
        return controller ? controller->GetClassInfo().GetClassName() : "";
    }

    TestMachine tm{TestMachine::SampleDataDir()};
    Region* region = nullptr;
};

TEST_F(NpcHerds, AnimalsOfOneRecordFormAHerdThatTheirHerderDrives) {
    struct Case {
        const char* name;
        std::vector<const char*> order;
    };
    for (const Case& c : {Case{"animals first", {kSheep, kSheep, kSheep, kShepherd}},
                          Case{"herder first", {kShepherd, kSheep, kSheep, kSheep}}}) {
        SCOPED_TRACE(c.name);
        std::vector<Npc*> sheep;
        Npc* shepherd = nullptr;
        for (const char* record : c.order)
            (record == kShepherd ? shepherd : sheep.emplace_back()) = Place(record);
        const auto& herds = NpcHerdRegistry::Get().GetHerds();
        ASSERT_EQ(herds.size(), 1u);
        const NpcHerd& herd = *herds.front();
        EXPECT_EQ(herd.GetMembers(),
                  (std::vector<std::uint32_t>{sheep[0]->GetObjectId(), sheep[1]->GetObjectId(),
                                              sheep[2]->GetObjectId()}));
        EXPECT_EQ(herd.GetHerderId(), shepherd->GetObjectId());
        EXPECT_EQ(ControllerOf(*sheep[0]), "ControllerNpc2");
        EXPECT_EQ(ControllerOf(*sheep[1]), "ControllerNpcHerdAnimal");
        EXPECT_EQ(ControllerOf(*sheep[2]), "ControllerNpcHerdAnimal");
        EXPECT_EQ(ControllerOf(*shepherd), "ControllerNpcHerder");
        const auto* herder = Singleton<ObjectManager>::Get().GetObject<ControllerNpcHerder>(
            shepherd->GetControllerId());
        ASSERT_NE(herder, nullptr);
        EXPECT_EQ(herder->GetHerdName(), herd.GetName());
        NpcHerdRegistry::Reset();
    }
}

TEST_F(NpcHerds, NamesMatchInAnyCaseAndAHerdingAnimalIsOnlyAMember) {
    NpcHerdRegistry& registry = NpcHerdRegistry::Get();
    NpcHerd* herd = registry.AddHerd("Sheep");
    EXPECT_EQ(registry.FindHerd("sheep"), herd);
    EXPECT_EQ(registry.FindHerd("goats"), nullptr);
    // An id that names no NPC makes no herder.
    registry.AddHerder("SHEEP", 0xBADu);
    EXPECT_EQ(herd->GetHerderId(), 0u);

    Npc* ram = Place(kRam);
    ASSERT_EQ(registry.GetHerds().size(), 2u);
    EXPECT_EQ(registry.GetHerds()[1]->GetMembers(), std::vector<std::uint32_t>{ram->GetObjectId()});
    EXPECT_EQ(herd->GetHerderId(), 0u);
}

TEST_F(NpcHerds, TheRegistryIsTheMachinesOwnAndGoesWithTheLevel) {
    Place(kSheep);
    ASSERT_EQ(NpcHerdRegistry::Get().GetHerds().size(), 1u);
    {
        TestMachine other(TestMachine::SampleDataDir());
        EXPECT_TRUE(NpcHerdRegistry::Get().GetHerds().empty());
    }
    World::Get().UnloadLevel();
    EXPECT_TRUE(NpcHerdRegistry::Get().GetHerds().empty());
}

}  // namespace
}  // namespace GAME::test
