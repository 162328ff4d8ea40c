// A shield held in the left hand blocks melee and projectile hits while its recovery time has
// run out: the shield formula takes its defense off each payload and the recovery time starts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "rules/CombatantSetup.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using BlockStyle = ParametersCombatStyle;
constexpr const char* kBlockShield = "Records/Combat/TestShield.dbr";

struct ShieldBlock : ::testing::Test {
    TestMachine tm;
    ShieldBlock() { InitializeObjects(); }
    ~ShieldBlock() override { ShutdownObjects(); }
};

TEST_F(ShieldBlock, AShieldTakesItsDefenseOffBlockableHitsOncePerRecovery) {
    // The standard combat record with a projectile block formula beside the melee one.
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    std::ifstream file(TestMachine::TestDataDir() + "/Records/Combat/Standard.dbr");
    std::string combat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    combat.insert(combat.find('{') + 1,
                  R"("projectileBlockEquation": "blockChanceDV+blockChanceModifierDV",)");
    ASSERT_TRUE(records.AddRecordText("Records/Combat/ShieldCombat.dbr", combat));
    ASSERT_TRUE(records.AddRecordText(
        "Records/Combat/ShieldBearer.dbr",
        R"({"Class": "Character", "characterLife": 400, "characterDefensiveAbility": 40,
            "combatManagerRecord": "Records/Combat/ShieldCombat.dbr"})"));
    ASSERT_TRUE(records.AddRecordText(
        kBlockShield, R"({"Class": "WeaponArmor_Shield", "defensiveBlockChance": 100,
                     "defensiveBlock": 15, "blockRecoveryTime": 0.5})"));
    struct Case {
        BlockStyle style;
        bool shield;
        int elapsedBefore;  // ms of the defender's combat update before the hit
        float damage;       // of one fire payload of 40
    };
    const Case cases[] = {
        {BlockStyle::Probability, true, 0, 25.0f},     // blocked: 40 - 15
        {BlockStyle::Probability, true, 100, 40.0f},   // the shield still recovers
        {BlockStyle::Projectile, true, 500, 25.0f},    // recovered; projectiles are blocked too
        {BlockStyle::Direct, true, 500, 40.0f},        // a direct attack cannot be blocked
        {BlockStyle::Probability, false, 500, 40.0f},  // nothing in the left hand
    };
    auto& objects = Singleton<ObjectManager>::Get();
    Character* knight = objects.CreateObjectFromFile<Character>("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    knight->InitialUpdate();
    Character defender;
    Prepare(defender, "Records/Combat/ShieldBearer.dbr");
    ItemReplicaInfo record;
    record.baseName = kBlockShield;
    Item* shield = Item::CreateItem(record);
    ASSERT_NE(shield, nullptr);
    defender.GetInventory().AddItemToInventory(shield->GetObjectId(), false);
    RandomUniform random;
    random.Seed(5);
    for (const Case& c : cases) {
        const bool worn = defender.GetEquipManager().HasItem(shield->GetObjectId());
        if (c.shield && !worn)
            defender.AttachItemAction(shield->GetObjectId(), EquipLocation_LeftHand);
        if (!c.shield && worn)
            defender.DetachItemAction(shield->GetObjectId());
        defender.GetCombatManager().Update(c.elapsedBefore);
        // The defender is never dodged or missed by these numbers; direct attacks roll nothing.
        const float before = defender.GetCurrentLife();
        ParametersCombat attack(random);
        attack.attackerId = knight->GetObjectId();
        attack.combatStyle = c.style;
        attack.offensiveAbility = 1000.0f;
        attack.accumulator.AddDamage(
            std::make_unique<CombatAttributeAbsDamage>(CombatAttributeType::Fire, 40.0f));
        ASSERT_TRUE(defender.TakeAttack(attack)) << static_cast<int>(c.style);
        EXPECT_FLOAT_EQ(before - defender.GetCurrentLife(), c.damage)
            << static_cast<int>(c.style) << " after " << c.elapsedBefore << " ms";
        defender.GetCharacterBio().AddLifeFast(before - defender.GetCurrentLife());
    }
}

}  // namespace
}  // namespace GAME::test
