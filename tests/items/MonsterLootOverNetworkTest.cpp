// A slain monster's loot is decided once, by the server, and every machine ends up with the same
// drops: the same items under the same ids with the same seeds and gold amounts.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/oneshot/OneShot.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kDropper = 0x640;
constexpr std::uint32_t kFirstDropId = 0x0E000000;

struct Dropped {
    std::uint32_t id;
    ItemReplicaInfo record;
    std::uint32_t gold;
    bool operator==(const Dropped&) const = default;
};

// Drops take consecutive ids from the first of their band.
std::vector<Dropped> DropsHere() {
    std::vector<Dropped> drops;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id = kFirstDropId; const Item* item = objects.GetObject<Item>(id); ++id) {
        const auto* gold = dynamic_cast<const OneShot_Gold*>(item);
        drops.push_back({id, item->GetReplicaInfo(), gold ? gold->GetGoldValue() : 0u});
    }
    return drops;
}

std::vector<Dropped> KillDropperOnServer(std::uint32_t seed) {
    NetTestGame game(2);
    for (TestMachine* tm : game.Machines()) {
        MachineScope scope(tm->machine());
        InitializeObjects();
        game.TakeRole(*tm);
    }
    ON_MACHINE(game.Server()) {
        gGameEngine->GetRandomGen().Seed(seed);
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        auto* monster = objects.CreateObjectFromFile<Monster>("Records/Loot/Dropper.dbr", kDropper);
        if (!monster) {
            ADD_FAILURE() << "no monster from Records/Loot/Dropper.dbr";
            continue;
        }
        SetCharLevel(*monster, 6);
        auto* controller = objects.CreateObject<ControllerMonster>();
        controller->AttachParent(kDropper);
        controller->RunGoldGenerator(*monster);
        controller->CreateDropMiscItems();
    }
    game.Pump();
    const std::vector<std::vector<Dropped>> seen = game.OnEach(DropsHere);
    for (std::size_t machine = 1; machine < seen.size(); ++machine)
        EXPECT_EQ(seen[machine], seen[0]) << "machine " << machine;
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
    return seen[0];
}

TEST(MonsterLootOverNetwork, TheServersDropsReachEveryClientAsTheSameItemsIdsAndAmounts) {
    const std::vector<Dropped> drops = KillDropperOnServer(11);
    // Gold for level 6 lies in [24, 54] and is split in at most three piles; the first slot's item
    // always drops; the third slot's table may yield nothing.
    std::uint32_t gold = 0, piles = 0, sacks = 0;
    for (const Dropped& drop : drops) {
        if (drop.record.baseName == "Records/Loot/GoldPile.dbr") {
            ++piles;
            gold += drop.gold;
            EXPECT_EQ(drop.gold, drop.record.relicLevel);
        } else if (drop.record.baseName == "Records/Loot/ItemB.dbr") {
            ++sacks;
            EXPECT_GE(drop.record.seed, 1u);
        }
    }
    EXPECT_GE(piles, 1u);
    EXPECT_LE(piles, 3u);
    EXPECT_GE(gold, 24u);
    EXPECT_LE(gold, 54u);
    EXPECT_GE(sacks, 1u);
    // The same seed decides the same drops; another seed other amounts or seeds.
    EXPECT_EQ(KillDropperOnServer(11), drops);
    EXPECT_NE(KillDropperOnServer(12), drops);
}

}  // namespace
}  // namespace GAME::test
