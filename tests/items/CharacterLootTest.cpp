// The equipment a monster is generated with: which slots roll and where they are worn, the same
// items under the same ids on every machine that has the loot record, and the worn items that
// fall where the monster dies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/equipment/EquipLocations.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kLootArcher = "Records/Test/LootArcher.dbr";
constexpr const char* kLootGuard = "Records/Test/LootGuard.dbr";

// The torso and both fingers always, the neck never (the draw is at least 0.1), a bow or a shield
// in the left hand and a sword for the right.
std::string LootMonster(const char* leftHand) {
    return std::string(R"({"Class": "Monster",
        "chanceToEquipTorso": 100.0, "lootTorsoItem1": "Records/Items/Robe.dbr", "chanceToEquipTorsoItem1": 1,
        "chanceToEquipNeck": 0.05, "lootNeckItem1": "Records/Items/Charm.dbr", "chanceToEquipNeckItem1": 1,
        "chanceToEquipFinger1": 100.0, "lootFinger1Item1": "Records/Items/PlainRing.dbr", "chanceToEquipFinger1Item1": 1,
        "chanceToEquipFinger2": 100.0, "lootFinger2Item1": "Records/Items/PlainRing.dbr", "chanceToEquipFinger2Item1": 1,
        "chanceToEquipRightHand": 100.0, "lootRightHandItem1": "Records/Items/EpicSword.dbr", "chanceToEquipRightHandItem1": 1,
        "chanceToEquipLeftHand": 100.0, "chanceToEquipLeftHandItem1": 1, "lootLeftHandItem1": ")") +
           leftHand + "\"}";
}

void AddLootRecords() {
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    EXPECT_TRUE(records.AddRecordText(kLootArcher, LootMonster("Records/Items/Bow.dbr")));
    EXPECT_TRUE(records.AddRecordText(kLootGuard, LootMonster("Records/Items/Shield.dbr")));
}

struct LootWorn {
    std::uint32_t location;
    std::uint32_t id;
    ItemReplicaInfo record;
    bool operator==(const LootWorn&) const = default;
};

std::vector<LootWorn> LootWornBy(const Character& character) {
    std::vector<LootWorn> worn;
    for (const EquipManagerContainer& entry : character.GetEquipManager().GetAttachedItems())
        if (const Item* item = Singleton<ObjectManager>::Get().GetObject<Item>(entry.itemId))
            worn.push_back({entry.location, entry.itemId, item->GetReplicaInfo()});
    return worn;
}

std::vector<std::uint32_t> LootLocations(const std::vector<LootWorn>& worn) {
    std::vector<std::uint32_t> locations;
    for (const LootWorn& item : worn)
        locations.push_back(item.location);
    std::sort(locations.begin(), locations.end());
    return locations;
}

TEST(CharacterLoot, SlotsRollByTheirChanceAndABowLeavesTheRightHandEmpty) {
    TestMachine tm;
    InitializeObjects();
    AddLootRecords();
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const struct {
        const char* record;
        std::vector<std::uint32_t> locations;
    } cases[] = {
        {kLootArcher,
         {EquipLocation_LeftHand, EquipLocation_UpperBody, EquipLocation_Finger,
          EquipLocation_Finger}},
        {kLootGuard,
         {EquipLocation_RightHand, EquipLocation_LeftHand, EquipLocation_UpperBody,
          EquipLocation_Finger, EquipLocation_Finger}},
    };
    for (const auto& c : cases) {
        auto* monster = objects.CreateObjectFromFile<Monster>(c.record);
        ASSERT_NE(monster, nullptr) << c.record;
        EXPECT_EQ(LootLocations(LootWornBy(*monster)), c.locations) << c.record;
        // The worn ids are the reserved ones, by slot: Head, Neck, RightHand, LeftHand, Torso...
        const LootStruct& loot = monster->GetLootStruct();
        EXPECT_EQ(monster->GetEquipManager().GetItemId(EquipLocation_UpperBody),
                  loot.attachedItemIds[4]);
        EXPECT_EQ(objects.GetObject<Item>(loot.attachedItemIds[1]), nullptr);  // the neck
    }
    ShutdownObjects();
}

TEST(CharacterLoot, TwoMachinesMakeTheSameItemsUnderTheSameIdsFromOneLootRecord) {
    TestMachine server;
    TestMachine client;
    LootStruct loot;
    std::vector<LootWorn> made;
    ON_MACHINE(server) {
        InitializeObjects();
        AddLootRecords();
        gGameEngine->GetRandomGen().Seed(77);
        const auto* monster =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(kLootGuard);
        ASSERT_NE(monster, nullptr);
        loot = monster->GetLootStruct();
        made = LootWornBy(*monster);
    }
    ON_MACHINE(client) {
        InitializeObjects();
        AddLootRecords();
        auto* monster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(kLootGuard);
        ASSERT_NE(monster, nullptr);
        // What its own load made gives way to the server's.
        monster->LoadLootFromStruct(loot);
        EXPECT_EQ(LootWornBy(*monster), made);
        std::size_t items = 0;
        for (std::uint32_t id : Singleton<ObjectManager>::Get().GetObjectIds())
            items += Singleton<ObjectManager>::Get().GetObject<Item>(id) != nullptr;
        EXPECT_EQ(items, made.size());
    }
    ASSERT_EQ(made.size(), 5u);
    for (TestMachine* tm : {&server, &client})
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
}

TEST(CharacterLoot, ADyingMonsterDropsWhatItWearsWhereItStands) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    gGameEngine->SetGameLoading(false);
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(
        records.AddRecordText(kLootGuard, R"({"Class": "Monster", "chanceToEquipNeck": 100.0,
        "lootNeckItem1": "Records/Items/Armor/FangCollar.dbr", "chanceToEquipNeckItem1": 1})"));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* monster = objects.CreateObjectFromFile<Monster>(kLootGuard);
    ASSERT_NE(monster, nullptr);
    Region* cave = World::Get().GetRegion("Cave");
    WorldVec3 at(cave, Vec3(12.0f, 0.0f, 12.0f));
    at.PutOnFloor();
    ASSERT_TRUE(
        World::Get().AddEntity(monster, WorldCoords(cave, Coords::FromOrigin(at.local)), true));
    const std::uint32_t collar = monster->GetEquipManager().GetItemId(EquipLocation_Neck);
    ASSERT_NE(collar, 0u);
    // An id that names nothing is only forgotten.
    std::uint32_t nothing = 0xBADu;
    monster->DropItemFromEquipLocation(nothing, EquipLocation_Head, true);
    EXPECT_EQ(nothing, 0u);

    monster->CharacterIsDying();
    const Item* dropped = objects.GetObject<Item>(collar);
    ASSERT_NE(dropped, nullptr);
    EXPECT_TRUE(dropped->IsInWorld());
    EXPECT_FALSE(monster->HasItem(collar));
    EXPECT_LT(dropped->GetCoords().GetPosition().DistanceTo(monster->GetPosition()), 3.0f);
    EXPECT_EQ(monster->GetLootStruct().attachedItemIds[1], 0u);
    World::Get().UnloadLevel();
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
