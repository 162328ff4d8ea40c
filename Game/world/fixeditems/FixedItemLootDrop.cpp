// The loot of a chest or shrine, decided on the machine that owns the game state: how many
// items, which, the gold and one item per party member, every draw from the root's generator (on
// that machine alone). Every item is created through the root's network creation.
#include <algorithm>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/items/loot/GoldGenerator.h"
#include "Game/items/loot/LootDrop.h"
#include "Game/items/loot/LootLoader.h"
#include "Game/rules/formulas/DesignerEquation.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/fixeditems/FixedItemController.h"

namespace GAME {

namespace {
constexpr int kLootEntries = 6;
}  // namespace

void FixedItemController::DropAt(ItemReplicaInfo record) {
    if (mParent)
        DropLootRecord(mParent->GetLootDropCoords(), std::move(record));
}

void FixedItemController::DropAdditionalItems(const ItemReplicaInfo& item, unsigned int count) {
    for (unsigned int i = 0; i < std::max(count, 1u); ++i)
        DropAt(item);
}

unsigned int FixedItemController::SelectLootNumber(const LoadTable& lootRecord) {
    RandomUniform& random = gGameEngine->GetRandomGen();
    const CountFormulas* formulas = FindCountFormulas(lootRecord.GetRecordName());
    if (!formulas || !formulas->hasFormula) {
        std::vector<int> weights;
        lootRecord.GetIntArray("numberWeights", weights);
        int total = 0;
        for (const int weight : weights)
            total += weight;
        return WeightedCount(weights, random.IGenerate(0, total));
    }
    auto value = [](const Formula& formula) {
        const float v = formula ? (*formula)() : 0.0f;
        return static_cast<int>(v);
    };
    const int a = value(formulas->min);
    const int b = value(formulas->max);
    const int drawn = random.IGenerate(std::min(a, b), std::max(a, b));
    return drawn > 0 ? static_cast<unsigned int>(drawn) : 0u;
}

void FixedItemController::SelectLoot(const LoadTable& lootRecord, ItemReplicaInfo& item,
                                     unsigned int level, ChestClassification classification) {
    LootLoader loader;
    RandomizerWeightModifiers modifiers{};
    gGameEngine->GetChestLootWeightModifiers(classification, modifiers);
    loader.SetRandomizerWeightModifiers(modifiers);
    loader.SetNoBrokenItems();
    PlayerInfo players;
    gGameEngine->GetPlayerInfo(players);
    loader.SetLevel(level, players.averageLevel);
    float running[kLootEntries] = {};
    float total = 0.0f;
    for (int k = 0; k < kLootEntries; ++k) {
        const std::string key = "loot" + std::to_string(k + 1) + "Chance";
        total += lootRecord.GetFloat(key.c_str());
        running[k] = total;
    }
    const float roll = gGameEngine->GetRandomGen().FGenerate(0.0f, total);
    int entry = 0;
    while (entry < kLootEntries - 1 && running[entry] < roll)
        ++entry;
    const std::string name = "loot" + std::to_string(entry + 1) + "Name";
    const std::string weight = "loot" + std::to_string(entry + 1) + "Weight";
    loader.Load(lootRecord, name.c_str(), weight.c_str(), kLootEntries,
                static_cast<unsigned>(gGameEngine->GetGameDifficulty()));
    loader.GetLootName(item.baseName, item.prefixName, item.suffixName,
                       gGameEngine->GetRandomGen());
}

void FixedItemController::LoadDropLoot() {
    if (!gGameEngine || !gGameEngine->IsServerOrSingle() || !mParent)
        return;
    gGameEngine->GetPlayerInfo(mPlayerInfo);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const LoadTable record = objects.GetLoadTable(mRecordName);
    if (!record.IsValid())
        return;
    const ChestClassification classification =
        GameEngine::ResolveChestClassificationEnum(record.GetString("lootClassification"));
    CalculateFixedItemLevel();
    std::vector<std::string> tables;
    record.GetStringArray("tables", tables);
    const std::string lootName = PickLootRecord(tables, mFixedItemLevel);
    const LoadTable loot = lootName.empty() ? LoadTable() : objects.GetLoadTable(lootName);
    unsigned int goldLevel = 0;
    if (loot.IsValid()) {
        const int level = loot.GetInt("goldGeneratorLevel");
        goldLevel = level > 0 ? static_cast<unsigned int>(level) : 0u;
        const unsigned int count = SelectLootNumber(loot);
        for (unsigned int i = 0; i < count; ++i) {
            ItemReplicaInfo item;
            SelectLoot(loot, item, goldLevel, classification);
            if (item.baseName.empty())
                continue;
            item.seed = gGameEngine->GetRandomSeed();
            DropAt(item);
        }
    }
    RunGoldGenerator(record.GetFloat("goldGeneratorChance"), goldLevel,
                     record.GetString("goldGenerator"));
    const ItemReplicaInfo perMember = mParent->GetDropPerPartyMemberItem();
    if (perMember.baseName.empty())
        return;
    const PartyManager* parties = gGameEngine->GetPartyManager();
    const int members = parties ? parties->GetNumInPlayersParty(mToucherId) : 1;
    for (int i = 0; i < members; ++i) {
        ItemReplicaInfo item = perMember;
        item.seed = gGameEngine->GetRandomSeed();
        DropAt(item);
    }
}

void FixedItemController::RunGoldGenerator(float chance, unsigned int level,
                                           const std::string& record) {
    if (record.empty() || !(chance > 0.0f))
        return;
    GoldGenerator generator;
    if (!generator.LoadFromDatabase(record))
        return;
    generator.SetChance(chance);
    generator.SetGeneratorLevel(static_cast<float>(level));
    const Character* toucher = Singleton<ObjectManager>::Get().GetObject<Character>(mToucherId);
    generator.SetPlayerLevel(toucher ? static_cast<float>(toucher->GetCharLevel()) : 0.0f);
    std::vector<ItemReplicaInfo> piles;
    generator.RunGenerator(piles);
    for (const ItemReplicaInfo& pile : piles)
        DropAt(pile);
}

}  // namespace GAME
