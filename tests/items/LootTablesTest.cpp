// Loot draws from fixed seeds against sequences worked out by hand from the three draw forms
// (the generator's recurrence and rounding, then the table's walk); the dynamic table's bell,
// its empty-slope case, the loader's slot fields, gold records and the potion stack rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/items/loot/GoldGenerator.h"
#include "Game/items/loot/LootItemTables.h"
#include "Game/items/loot/LootLoader.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/items/oneshot/OneShot.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// "A" and "B" for the two sample names, the level for the dynamic table's items.
std::string Short(const std::string& name) {
    if (name.empty())
        return "-";
    const std::string file = name.substr(name.rfind('/') + 1);
    if (file.rfind("Level", 0) == 0)
        return file.substr(5, file.size() - 9);
    return file.substr(4, 1);
}

std::vector<std::string> DrawTable(const char* record, std::uint32_t seed, int count) {
    std::vector<std::string> drawn;
    auto* table = Singleton<ObjectManager>::Get().CreateObjectFromFile<LootBase>(record);
    EXPECT_NE(table, nullptr) << record;
    if (!table)
        return drawn;
    table->SetLevel(10, 1);
    RandomUniform random;
    random.Seed(seed);
    for (int i = 0; i < count; ++i) {
        std::string name, prefix, suffix;
        int depth = 5;
        table->GetLootName(name, prefix, suffix, random, depth);
        drawn.push_back(Short(name));
    }
    Singleton<ObjectManager>::Get().DestroyObjectEx(table, "LootTablesTest", __LINE__);
    return drawn;
}

std::vector<std::string> DrawPlain(std::uint32_t seed, int count) {
    LootRandomizerTable table;
    EXPECT_TRUE(table.ManualLoad("Records/Loot/Plain.dbr"));
    RandomUniform random;
    random.Seed(seed);
    std::vector<std::string> drawn;
    for (int i = 0; i < count; ++i) {
        std::string name;
        table.GetRandomizerName(name, random);
        drawn.push_back(Short(name));
    }
    return drawn;
}

using Names = std::vector<std::string>;

TEST(LootTables, EachDrawFormMatchesItsHandWorkedSequence) {
    TestMachine tm;
    ON_MACHINE(tm) {
        // Cumulative: weights 10 and 30 (an unnamed pair skipped), r = IGenerate(0, 39), the
        // first entry above r; each draw then takes the outcome draw IGenerate(0, 0).
        EXPECT_EQ(DrawTable("Records/Loot/Fixed.dbr", 1, 8),
                  (Names{"A", "B", "A", "B", "B", "B", "B", "B"}));
        EXPECT_EQ(DrawTable("Records/Loot/Fixed.dbr", 4242, 8),
                  (Names{"B", "B", "B", "B", "A", "B", "B", "B"}));
        // Plain: weights 10 and 30 (a zero weight skipped), r = IGenerate(0, 40), r <= 10 is A.
        EXPECT_EQ(DrawPlain(1, 8), (Names{"A", "B", "B", "B", "A", "A", "A", "B"}));
        EXPECT_EQ(DrawPlain(4242, 8), (Names{"B", "B", "B", "A", "B", "B", "B", "A"}));
        // Dynamic: target 10, levels 10, 9, 12, 13 weigh 100, 50, 25, 100 (13 lies past the
        // slope and keeps its weight), 20 lies outside [5, 15]; r = IGenerate(0, 274).
        EXPECT_EQ(DrawTable("Records/Loot/Dynamic.dbr", 1, 8),
                  (Names{"10", "9", "10", "10", "13", "10", "13", "13"}));
        EXPECT_EQ(DrawTable("Records/Loot/Dynamic.dbr", 4242, 8),
                  (Names{"13", "10", "10", "12", "10", "13", "10", "12"}));
    }
}

TEST(LootTables, DynamicTableWithoutSlopeYieldsNothingAndDrawsNothing) {
    TestMachine tm;
    ON_MACHINE(tm) {
        auto* table = Singleton<ObjectManager>::Get().CreateObjectFromFile<LootItemTable_DynWeight>(
            "Records/Loot/NoSlope.dbr");
        ASSERT_NE(table, nullptr);
        RandomUniform random;
        random.Seed(5);
        const std::uint32_t before = random.GetState();
        std::string name, prefix, suffix;
        int depth = 5;
        table->GetLootName(name, prefix, suffix, random, depth);
        EXPECT_EQ(name, "");
        EXPECT_EQ(table->GetTotalWeight(), 0u);
        EXPECT_EQ(random.GetState(), before);
        Singleton<ObjectManager>::Get().DestroyObjectEx(table, "LootTablesTest", __LINE__);
    }
}

TEST(LootTables, LoaderReadsSlotFieldsAndResolvesTablesAndItems) {
    TestMachine tm;
    ON_MACHINE(tm) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        ASSERT_TRUE(objects.LoadTableFile("Records/Loot/Monster.dbr"));
        const LoadTable record = objects.GetLoadTable("Records/Loot/Monster.dbr");
        LootLoader loader;
        loader.Load(record, LootLoader::Misc2, 6, 1);
        ASSERT_EQ(loader.GetEntries().size(), 2u);
        EXPECT_EQ(loader.GetEntries()[0].lootName, "Records/Loot/ItemB.dbr");
        EXPECT_EQ(loader.GetTotalWeight(), 12u);
        // A count of 7 loads nothing and keeps what was there.
        loader.Load(record, LootLoader::Misc1, 7, 0);
        EXPECT_EQ(loader.GetEntries().size(), 2u);
        // Names resolve: an item record stands as drawn, a table draws on.
        RandomUniform random;
        random.Seed(3);
        int items = 0, fromTable = 0;
        for (int i = 0; i < 40; ++i) {
            std::string name, prefix, suffix;
            loader.GetLootName(name, prefix, suffix, random);
            ASSERT_FALSE(name.empty());
            name == "Records/Loot/ItemB.dbr" ? ++items : ++fromTable;
        }
        EXPECT_GT(items, 0);
        EXPECT_GT(fromTable, 0);
    }
}

TEST(LootTables, GoldRecordsWithBadBoundsAreRefusedAndSplitsKeepTheTotal) {
    TestMachine tm;
    ON_MACHINE(tm) {
        GoldGenerator crossed;
        EXPECT_FALSE(crossed.LoadFromDatabase("Records/Loot/BadGold.dbr"));
        GoldGenerator negative;
        EXPECT_FALSE(negative.LoadFromDatabase("Records/Loot/NegativeGold.dbr"));
        EXPECT_EQ(tm.CountLog("Records/Loot/BadGold.dbr refused: goldValueMin (50)"), 1);
        EXPECT_EQ(tm.CountLog("Records/Loot/NegativeGold.dbr refused: goldSplitSizeMin"), 1);
        std::vector<ItemReplicaInfo> piles;
        crossed.RunGenerator(piles);
        EXPECT_TRUE(piles.empty());
    }
}

TEST(OneShotPotion, StackFullAndAddToStackAgreeOnTheLimit) {
    TestMachine tm;
    ON_MACHINE(tm) {
        OneShot_Potion potion;
        // The default limit of 10 potions: the first and nine more.
        EXPECT_EQ(potion.AddToStack(8), 8u);
        EXPECT_FALSE(potion.IsStackFull());
        EXPECT_EQ(potion.AddToStack(5), 9u);
        EXPECT_TRUE(potion.IsStackFull());
        EXPECT_EQ(potion.RemoveFromStack(20), 0u);
        std::wstring text;
        potion.GetUIBitmapText(text);
        EXPECT_TRUE(text.empty());
    }
}

}  // namespace
}  // namespace GAME::test
