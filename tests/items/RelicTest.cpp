// Relics and charms: combining shards, completion bonus, insertion, cost and words.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Game/items/ItemRelic.h"
#include "Game/items/kinds/Weapon.h"
#include "ItemTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kRelic = "Records/Items/Relic.dbr";

class RelicTest : public ::testing::Test {
protected:
    TestMachine machine;
    ScopedServices scoped;
    RelicTest() { SetItemTexts(); }

    ItemRelic* MakeRelic(std::uint32_t shards, std::uint32_t seed = 7, const char* name = kRelic) {
        ItemReplicaInfo record = Record(name, seed);
        record.relicLevel = shards;
        return dynamic_cast<ItemRelic*>(Item::CreateItem(record));
    }
    ItemEquipment* MakeItem(const char* name) {
        return dynamic_cast<ItemEquipment*>(Item::CreateItem(Record(name, 1)));
    }
};

TEST_F(RelicTest, CombiningCompletesTheTargetAndKeepsTheLeftoverInTheSource) {
    ItemRelic* source = MakeRelic(4);
    ItemRelic* target = MakeRelic(3);
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(source->UseRelicOn(target, false));
    EXPECT_EQ(target->GetRelicLevel(), 5u);
    EXPECT_TRUE(target->IsComplete());
    EXPECT_EQ(source->GetRelicLevel(), 2u);
    EXPECT_EQ(source->GetReplicaInfo().relicLevel, 2u);
    // A complete relic takes no more; another record never mixes.
    ItemRelic* more = MakeRelic(1);
    EXPECT_FALSE(more->UseRelicOn(target, false));
    EXPECT_FALSE(more->UseRelicOn(MakeRelic(1, 7, "Records/Items/OtherRelic.dbr"), false));
    EXPECT_FALSE(more->UseRelicOn(more, false));
    EXPECT_EQ(more->GetRelicLevel(), 1u);
}

TEST_F(RelicTest, CompletionBonusIsDrawnFromTheRelicsOwnSeed) {
    // First draws IGenerate(0, 1003) of the seeds, worked out by hand from the generator:
    // 631 -> 0, 593 -> 2, 7 -> 924; entries weigh 1, 1, 1, 1000.
    const std::pair<std::uint32_t, const char*> cases[] = {
        {631, "Records/Items/BonusA.dbr"},
        {593, "Records/Items/BonusB.dbr"},
        {7, "Records/Items/BonusD.dbr"},
        // Seed 0 would leave the generator at 0 and always draw the first entry.
        {0, "Records/Items/BonusD.dbr"},
    };
    for (const auto& [seed, bonus] : cases) {
        ItemRelic* relic = MakeRelic(4, seed);
        EXPECT_EQ(relic->AddToRelicLevel(3, false), 2u);
        EXPECT_EQ(relic->GetReplicaInfo().relicBonusName, bonus) << "seed " << seed;
        ASSERT_NE(relic->GetBonusAttributes(), nullptr);
        // Rebuilt from its record (another machine, a load), it has the same bonus.
        ItemReplicaInfo record = relic->GetReplicaInfo();
        record.objectId = 0;
        ItemRelic* copy = dynamic_cast<ItemRelic*>(Item::CreateItem(record));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetReplicaInfo().relicBonusName, bonus);
        EXPECT_TRUE(copy->IsComplete());
        EXPECT_NE(copy->GetBonusAttributes(), nullptr);
    }
}

TEST_F(RelicTest, InsertionRespectsClassificationSlotsAndInsertedRelics) {
    ItemRelic* relic = MakeRelic(2);
    bool onEquipment = false;
    EXPECT_FALSE(relic->CanRelicBeUsedOn(MakeItem("Records/Items/EpicSword.dbr"), onEquipment));
    EXPECT_TRUE(onEquipment);
    EXPECT_FALSE(relic->CanRelicBeUsedOn(MakeItem("Records/Items/PlainRing.dbr"), onEquipment));

    ItemEquipment* sword = MakeItem("Records/Items/HalfSword.dbr");
    EXPECT_TRUE(relic->UseRelicOn(sword, false));
    ASSERT_TRUE(sword->HasRelic());
    EXPECT_EQ(sword->GetRelic()->GetRelicLevel(), 2u);
    EXPECT_EQ(sword->GetReplicaInfo().relicLevel, 2u);
    // The shards went into the item, the stored count with them: nothing comes back on a save.
    EXPECT_EQ(relic->GetRelicLevel(), 0u);
    EXPECT_EQ(relic->GetReplicaInfo().relicLevel, 0u);
    BinaryWriter writer;
    relic->SaveState(writer);
    ItemRelic* reloaded = Singleton<ObjectManager>::Get().CreateObjectFromFile<ItemRelic>(kRelic);
    BinaryReader reader(writer.GetBuffer());
    reloaded->RestoreState(reader);
    EXPECT_EQ(reloaded->GetRelicLevel(), 1u);  // a record level of 0 keeps the starting level
    EXPECT_NE(reloaded->GetRelicLevel(), 2u);

    // More shards of the same record go into the inserted relic.
    ItemRelic* second = MakeRelic(2);
    EXPECT_TRUE(second->UseRelicOn(sword, false));
    EXPECT_EQ(sword->GetRelic()->GetRelicLevel(), 4u);
    EXPECT_EQ(sword->GetReplicaInfo().relicLevel, 4u);
    EXPECT_EQ(second->GetRelicLevel(), 0u);
    ItemRelic* third = MakeRelic(3);
    EXPECT_TRUE(third->UseRelicOn(sword, false));
    EXPECT_TRUE(sword->GetRelic()->IsComplete());
    EXPECT_EQ(third->GetRelicLevel(), 2u);
    // An item holding a complete relic takes nothing more.
    EXPECT_FALSE(third->UseRelicOn(sword, false));
}

TEST_F(RelicTest, CostIsPerShardCountTruncatedAndCharmsUseAnimalWords) {
    // Entries 10, 20, 30 and a 50 % scale, truncated without the half.
    EXPECT_EQ(MakeRelic(1)->GetItemCost(), 15);
    EXPECT_EQ(MakeRelic(3)->GetItemCost(), 45);
    EXPECT_EQ(MakeRelic(4)->GetItemCost(), 45);
    ItemRelic* empty = MakeRelic(2);
    empty->SetRelicLevel(0);
    EXPECT_EQ(empty->GetItemCost(), 45);

    auto* charm = dynamic_cast<ItemCharm*>(Item::CreateItem(Record("Records/Items/Charm.dbr")));
    ASSERT_NE(charm, nullptr);
    EXPECT_EQ(charm->GetItemClassification(), ItemClassification::Relic);
    std::vector<GameTextLine> lines;
    charm->GetUIDisplayText(nullptr, lines);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1].textClass, GameTextClass_ItemRelicNumber);
    EXPECT_EQ(lines[1].text, L"tagAnimalPartRatio");
    EXPECT_EQ(lines.back().textClass, GameTextClass_ItemDirections);
    EXPECT_EQ(lines.back().text, L"tagAnimalPartDirections");
    EXPECT_STREQ(charm->GetTextTags().error, "tagRelicError");
    std::wstring count;
    charm->GetUIBitmapText(count);
    EXPECT_EQ(count, L"1");
}

}  // namespace
}  // namespace GAME::test
