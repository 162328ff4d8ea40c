// Loot tables, gold generators and slot lists read once and kept draw exactly what ones read
// afresh for every draw draw; a record replaced later is read again; what a load logs is logged
// at every use.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemReplicaInfo.h"
#include "Game/items/loot/GoldGenerator.h"
#include "Game/items/loot/LootBase.h"
#include "Game/items/loot/LootLoader.h"
#include "Game/items/loot/LootRandomizerTable.h"
#include "Game/items/loot/LootRecordCache.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// An item table with every randomizer list (one name in it no randomizer table), and a master
// table that names itself, the dynamic table and that item table.
constexpr const char* kDressed = R"({
    "Class": "LootItemTable_FixedWeight",
    "lootName1": "Records/Loot/ItemA.dbr", "lootWeight1": 10,
    "lootName2": "Records/Loot/ItemB.dbr", "lootWeight2": 30,
    "prefixRandomizerChance": 70.0,
    "prefixRandomizerName1": "Records/Loot/Plain.dbr", "prefixRandomizerWeight1": 1,
    "suffixRandomizerChance": 50.0,
    "suffixRandomizerName1": "Records/Loot/Plain.dbr", "suffixRandomizerWeight1": 2,
    "suffixRandomizerName2": "Records/Loot/ItemA.dbr", "suffixRandomizerWeight2": 1,
    "brokenRandomizerChance": 100.0,
    "brokenRandomizerName1": "Records/Loot/Plain.dbr", "brokenRandomizerWeight1": 1,
    "noPrefixNoSuffix": 10, "bothPrefixSuffix": 20, "prefixOnly": 30, "suffixOnly": 30,
    "brokenOnly": 10
})";
constexpr const char* kNested = R"({
    "Class": "LootMasterTable",
    "lootName1": "Records/Loot/Nested.dbr", "lootWeight1": 1,
    "lootName2": "Records/Loot/Dynamic.dbr", "lootWeight2": 2,
    "lootName3": "Records/Loot/Dressed.dbr", "lootWeight3": 2
})";

// The record database moves: nothing read before is kept.
void TouchRecords() {
    Singleton<RecordDatabase>::Get().AddRecordText("Records/Loot/Touched.dbr", "{}");
}

struct Drawn {
    std::vector<std::string> names;
    std::uint32_t state = 0;
    bool operator==(const Drawn&) const = default;
};

// Draws 40 times with settings that change from draw to draw; `afresh` makes every record read
// again for each draw (the record database moves), as when nothing was kept.
Drawn Draw(const char* record, std::uint32_t seed, bool afresh) {
    static constexpr std::uint32_t kLevels[] = {10, 12, 7, 30};
    Drawn drawn;
    RandomUniform random;
    random.Seed(seed);
    for (int i = 0; i < 40; ++i) {
        if (afresh)
            TouchRecords();
        const LootBase::Lent table = LootBase::Borrow(record);
        if (!table) {
            ADD_FAILURE() << record;
            return drawn;
        }
        table->SetLevel(kLevels[i % 4], 1);
        table->SetNoBrokenItems(i % 3 == 0);
        if (i % 2 == 1)
            table->SetRandomizerWeightModifiers({50, -20, 0, 10, 100});
        std::string name, prefix, suffix;
        int depth = 5;
        table->GetLootName(name, prefix, suffix, random, depth);
        drawn.names.push_back(name + "|" + prefix + "|" + suffix);
    }
    drawn.state = random.GetState();
    return drawn;
}

TEST(LootRecordCache, KeptTablesDrawWhatTablesReadAfreshDraw) {
    TestMachine tm;
    ON_MACHINE(tm) {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        ASSERT_TRUE(records.AddRecordText("Records/Loot/Dressed.dbr", kDressed));
        ASSERT_TRUE(records.AddRecordText("Records/Loot/Nested.dbr", kNested));
        for (const char* record : {"Records/Loot/Fixed.dbr", "Records/Loot/Dynamic.dbr",
                                   "Records/Loot/Dressed.dbr", "Records/Loot/Nested.dbr"}) {
            for (const std::uint32_t seed : {1u, 77u, 4242u}) {
                const Drawn afresh = Draw(record, seed, true);
                const Drawn kept = Draw(record, seed, false);
                EXPECT_EQ(kept, afresh) << record << " seed " << seed;
                std::size_t withRandomizer = 0;
                for (const std::string& names : kept.names)
                    withRandomizer += names.find("|Records") != std::string::npos;
                if (std::string(record) == "Records/Loot/Dressed.dbr") {
                    EXPECT_GT(withRandomizer, 0u) << seed;
                }
            }
        }
    }
}

TEST(LootRecordCache, ARecordReplacedLaterIsReadAgain) {
    TestMachine tm;
    ON_MACHINE(tm) {
        LootRecordCache& cache = LootRecordCache::Get();
        const LootRandomizerTable* before = cache.FindRandomizerTable("Records/Loot/Plain.dbr");
        ASSERT_NE(before, nullptr);
        EXPECT_EQ(before->GetEntries().size(), 2u);
        EXPECT_EQ(cache.FindRandomizerTable("Records/Loot/Fixed.dbr"), nullptr);
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/Loot/Plain.dbr", R"({
            "Class": "LootRandomizerTable",
            "randomizerName1": "Records/Loot/ItemB.dbr", "randomizerWeight1": 5
        })"));
        const LootRandomizerTable* after = cache.FindRandomizerTable("Records/Loot/Plain.dbr");
        ASSERT_NE(after, nullptr);
        ASSERT_EQ(after->GetEntries().size(), 1u);
        EXPECT_EQ(after->GetTotalWeight(), 5u);
    }
}

TEST(LootRecordCache, KeptGoldGeneratorsRunAsFreshOnesAndRefusalsAreLoggedAtEveryUse) {
    TestMachine tm;
    MachineScope scope(tm.machine());
    InitializeObjects();
    // Levels and chances change from run to run; a run that sets no chance has the record's.
    const struct {
        int level;
        float chance;  // 0: not set
    } runs[] = {{6, 80.0f}, {1, 0.0f}, {20, 35.0f}, {6, 0.0f}, {9, 100.0f}, {3, 0.0f}};
    auto run = [&](bool afresh) {
        gGameEngine->GetRandomGen().Seed(5);
        std::vector<std::uint32_t> amounts;
        for (const auto& r : runs) {
            if (afresh)
                TouchRecords();
            GoldGenerator* generator =
                LootRecordCache::Get().UseGoldGenerator("Records/Loot/Gold.dbr");
            if (!generator) {
                ADD_FAILURE() << "no generator";
                break;
            }
            generator->SetGeneratorLevel(static_cast<float>(r.level));
            if (r.chance > 0.0f)
                generator->SetChance(r.chance);
            std::vector<ItemReplicaInfo> piles;
            generator->RunGenerator(piles);
            for (const ItemReplicaInfo& pile : piles)
                amounts.push_back(pile.relicLevel);
            amounts.push_back(0);  // ends the run
        }
        amounts.push_back(gGameEngine->GetRandomGen().GetState());
        return amounts;
    };
    const std::vector<std::uint32_t> kept = run(false);
    EXPECT_EQ(kept, run(true));
    EXPECT_GT(kept.size(), std::size(runs) + 3);  // some runs dropped gold
    for (int use = 1; use <= 3; ++use) {
        EXPECT_EQ(LootRecordCache::Get().UseGoldGenerator("Records/Loot/BadGold.dbr"), nullptr);
        EXPECT_EQ(tm.CountLog("Records/Loot/BadGold.dbr refused: goldValueMin (50)"), use);
    }
    ShutdownObjects();
}

TEST(LootRecordCache, ALoaderReadsAReplacedRecordsSlotsAgainAndKeepsTheListItRead) {
    TestMachine tm;
    ON_MACHINE(tm) {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        ASSERT_TRUE(objects.LoadTableFile("Records/Loot/Monster.dbr"));
        LootLoader held;
        held.Load(objects.GetLoadTable("Records/Loot/Monster.dbr"), LootLoader::Misc2, 6, 1);
        ASSERT_EQ(held.GetEntries().size(), 2u);
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/Loot/Monster.dbr", R"({
            "lootMisc2Item1": ["Records/Loot/ItemB.dbr", "Records/Loot/ItemA.dbr"],
            "chanceToEquipMisc2Item1": 4
        })"));
        LootLoader fresh;
        fresh.Load(objects.GetLoadTable("Records/Loot/Monster.dbr"), LootLoader::Misc2, 6, 1);
        ASSERT_EQ(fresh.GetEntries().size(), 1u);
        EXPECT_EQ(fresh.GetEntries()[0].lootName, "Records/Loot/ItemA.dbr");
        EXPECT_EQ(fresh.GetTotalWeight(), 4u);
        // The list read before the change stays whole for the loader that holds it.
        ASSERT_EQ(held.GetEntries().size(), 2u);
        EXPECT_EQ(held.GetEntries()[1].lootName, "Records/Loot/Fixed.dbr");
        EXPECT_EQ(held.GetTotalWeight(), 12u);
    }
}

}  // namespace
}  // namespace GAME::test
