// Items made from instance records: the same record gives the same item on every machine, after
// a save and after replication; the stated rounding of formula requirements and costs.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/ItemSeed.h"
#include "ItemTestSupport.h"
#include "net/ProbePacket.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kSword = "Records/Items/Weapons/WardenSword.dbr";

// Everything an item's rolls decide.
struct Rolled {
    std::vector<std::pair<int, std::wstring>> shown;
    int cost = 0;
    std::uint32_t level = 0, strength = 0, dexterity = 0, intelligence = 0;
    float damageBase = 0, charBonus = 0;
    ItemClassification classification{};
    bool operator==(const Rolled&) const = default;
};

Rolled Roll(Item* item) {
    Rolled r;
    auto* equipment = dynamic_cast<ItemEquipment*>(item);
    if (!equipment)
        return r;
    r.shown = Shown(*equipment);
    r.cost = equipment->GetItemCost();
    r.level = equipment->GetLevelRequirement();
    r.strength = equipment->GetStrengthRequirement();
    r.dexterity = equipment->GetDexterityRequirement();
    r.intelligence = equipment->GetIntelligenceRequirement();
    r.damageBase = equipment->GetDamageCost().avgBase;
    r.charBonus = equipment->GetCharCost().bonus + equipment->GetCharCost().primaryAtt;
    r.classification = equipment->GetItemClassification();
    return r;
}

TEST(ItemCreationTest, SameRecordMakesTheSameItemOnTwoMachinesAndTwiceOnOne) {
    TestMachine server(TestMachine::SampleDataDir());
    TestMachine client(TestMachine::SampleDataDir());
    const ItemReplicaInfo record = Record(kSword, 4242, kPrefix, kSuffix);
    Rolled onServer, again, onClient;
    ON_MACHINE(server) {
        onServer = Roll(Item::CreateItem(record));
        again = Roll(Item::CreateItem(record));
    }
    ON_MACHINE(client) {
        onClient = Roll(Item::CreateItem(record));
    }
    ASSERT_FALSE(onServer.shown.empty());
    EXPECT_GT(onServer.charBonus, 0.0f);
    EXPECT_GT(onServer.damageBase, 0.0f);
    EXPECT_EQ(onServer, again);
    EXPECT_EQ(onServer, onClient);
    // The suffix is Rare: the highest of base, prefix and suffix.
    EXPECT_EQ(onServer.classification, ItemClassification::Rare);
    // The prefix's level requirement (9) beats the formula's (item level 6).
    EXPECT_EQ(onServer.level, 9u);

    // Another seed rolls other values from the same records.
    Rolled other;
    ON_MACHINE(client) {
        other = Roll(Item::CreateItem(Record(kSword, 77, kPrefix, kSuffix)));
    }
    EXPECT_NE(other.charBonus, onServer.charBonus);
}

TEST(ItemCreationTest, SavedAndReplicatedItemsComeBackIdentical) {
    TestMachine server(TestMachine::SampleDataDir());
    TestMachine client(TestMachine::SampleDataDir());
    Rolled original;
    std::vector<std::uint8_t> saved, replicated;
    ItemReplicaInfo sent;
    ON_MACHINE(server) {
        Item* item = Item::CreateItem(Record(kSword, 31337, kPrefix, kSuffix));
        ASSERT_NE(item, nullptr);
        original = Roll(item);
        sent = item->GetReplicaInfo();
        BinaryWriter writer;
        item->SaveState(writer);
        saved = writer.GetBuffer();
        replicated = Encode([&](NetPacketOutBuffer& out) { item->WriteReplicationData(out); });
    }
    ON_MACHINE(client) {
        auto& objects = Singleton<ObjectManager>::Get();
        auto* restored = objects.CreateObjectFromFile<Item>(kSword);
        ASSERT_NE(restored, nullptr);
        BinaryReader reader(saved);
        restored->RestoreState(reader);
        EXPECT_EQ(Roll(restored), original);
        EXPECT_EQ(restored->GetReplicaInfo(), sent);

        auto* replica = objects.CreateObjectFromFile<Item>(kSword);
        ASSERT_TRUE(Decode(replicated, [&](NetPacketInBuffer& in) {
            EXPECT_TRUE(replica->ReadReplicationData(in));
        }));
        replica->ApplyReplicationData();
        EXPECT_EQ(Roll(replica), original);
        EXPECT_EQ(replica->GetReplicaInfo().objectId, replica->GetObjectId());
    }
}

TEST(ItemCreationTest, ZeroSeedRollsLikeAnyOtherSeedInsteadOfEveryLowerBound) {
    RandomUniform zero;
    SeedItemGenerator(zero, 0);
    RandomUniform fixed;
    fixed.Seed(kZeroSeedReplacement);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(zero.IGenerate(0, 1000), fixed.IGenerate(0, 1000));
    // Any other seed keeps its exact sequence.
    RandomUniform seeded, plain;
    SeedItemGenerator(seeded, 123);
    plain.Seed(123);
    EXPECT_EQ(seeded.GetState(), plain.GetState());

    TestMachine machine(TestMachine::SampleDataDir());
    Rolled fromZero = Roll(Item::CreateItem(Record(kSword, 0, kPrefix, kSuffix)));
    Rolled fromReplacement =
        Roll(Item::CreateItem(Record(kSword, kZeroSeedReplacement, kPrefix, kSuffix)));
    EXPECT_EQ(fromZero.shown, fromReplacement.shown);
}

class ItemRoundingTest : public ::testing::Test {
protected:
    TestMachine machine;
    ItemEquipment* Make(const char* name) {
        return dynamic_cast<ItemEquipment*>(Item::CreateItem(Record(name, 5)));
    }
};

TEST_F(ItemRoundingTest, FormulaRequirementsAreNeverNegativeAndRoundHalfUp) {
    ItemEquipment* low = Make("Records/Items/RoundingSword.dbr");
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->GetStrengthRequirement(), 0u);   // 2 - 5 = -3
    EXPECT_EQ(low->GetDexterityRequirement(), 1u);  // 1.0
    EXPECT_EQ(low->GetLevelRequirement(), 2u);
    ItemEquipment* half = Make("Records/Items/HalfSword.dbr");
    EXPECT_EQ(half->GetDexterityRequirement(), 3u);  // 2.5
    EXPECT_EQ(half->GetStrengthRequirement(), 7u);   // the record's own value stands
    ItemEquipment* nearHalf = Make("Records/Items/NearHalfSword.dbr");
    EXPECT_EQ(nearHalf->GetIntelligenceRequirement(), 2u);  // 2.49
}

TEST_F(ItemRoundingTest, CostRoundsHalfUpAfterTheMarketAdjustment) {
    // Cost formula: base 100 + prefix 30 + suffix 20 = 150, then +10 % market adjustment.
    auto* sword = dynamic_cast<ItemEquipment*>(
        Item::CreateItem(Record("Records/Items/RoundingSword.dbr", 1, "Records/Items/Prefix.dbr",
                                "Records/Items/Suffix.dbr")));
    ASSERT_NE(sword, nullptr);
    EXPECT_EQ(sword->GetItemCost(), 165);
    EXPECT_EQ(sword->GetLevelRequirement(), 9u);  // the prefix's

    // A plain item: base + base x scale% + 0.5, truncated; no list costs 0.
    Item* relic = Item::CreateItem(Record("Records/Items/OtherRelic.dbr"));
    ASSERT_NE(relic, nullptr);
    EXPECT_EQ(relic->Item::GetItemCost(), 0);
}

TEST_F(ItemRoundingTest, BadRecordsAndFormulasAreRefusedWithTheirNames) {
    EXPECT_EQ(Item::CreateItem(Record("Records/Items/Missing.dbr")), nullptr);
    EXPECT_EQ(Item::CreateItem(Record("Records/Items/NotAnItem.dbr")), nullptr);
    ItemEquipment* helm = Make("Records/Items/BrokenFormulaHelm.dbr");
    ASSERT_NE(helm, nullptr);
    EXPECT_EQ(machine.CountLog("-=- Item Equation load failure : itemStrengthEquation"), 1);
    EXPECT_EQ(helm->GetStrengthRequirement(), 0u);
    // A record's id that names a live object is not taken over.
    ItemReplicaInfo clash = Record("Records/Items/PlainRing.dbr");
    clash.objectId = helm->GetObjectId();
    EXPECT_EQ(Item::CreateItem(clash), nullptr);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject<ItemEquipment>(helm->GetObjectId()), helm);
}

}  // namespace
}  // namespace GAME::test
