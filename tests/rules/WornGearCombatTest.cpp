// What a character wears takes part in the attacks on it: a shield held in the left hand blocks
// melee and projectile hits while its recovery time has run out (the shield formula takes its
// defense off each payload and the recovery time starts), and body armor protects its region.
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

struct WornGear : ::testing::Test {
    TestMachine tm;
    WornGear() { InitializeObjects(); }
    ~WornGear() override { ShutdownObjects(); }

    // The standard combat record with `change` applied to its text.
    static std::string StandardCombat() {
        std::ifstream file(TestMachine::TestDataDir() + "/Records/Combat/Standard.dbr");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    static void Replace(std::string& text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
};

TEST_F(WornGear, AShieldTakesItsDefenseOffBlockableHitsOncePerRecovery) {
    // The standard combat record with a projectile block formula beside the melee one.
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    std::string combat = StandardCombat();
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

TEST_F(WornGear, BodyArmorProtectsTheTorsoOnlyWhileWorn) {
    std::string combat = StandardCombat();
    for (const char* region : {"Unprotected", "Head", "Arms", "Legs"})
        Replace(combat, std::string("\"combatRegion") + region + "Chance\": ",
                std::string("\"combatRegion") + region + "Chance\": 0, \"unused" + region + "\": ");
    Replace(combat, "\"combatRegionTorsoChance\": 40", "\"combatRegionTorsoChance\": 100");
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/Combat/TorsoCombat.dbr", combat));
    ASSERT_TRUE(records.AddRecordText("Records/Combat/Armored.dbr",
                                      R"({"Class": "Character", "characterLife": 400,
            "combatManagerRecord": "Records/Combat/TorsoCombat.dbr"})"));
    ASSERT_TRUE(records.AddRecordText(
        "Records/Combat/TestHauberk.dbr",
        R"({"Class": "ArmorProtective_UpperBody", "defensiveProtection": [60]})"));
    auto& objects = Singleton<ObjectManager>::Get();
    Character* knight = objects.CreateObjectFromFile<Character>("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    knight->InitialUpdate();
    Character defender;
    Prepare(defender, "Records/Combat/Armored.dbr");
    ItemReplicaInfo record;
    record.baseName = "Records/Combat/TestHauberk.dbr";
    Item* hauberk = Item::CreateItem(record);
    ASSERT_NE(hauberk, nullptr);
    defender.GetInventory().AddItemToInventory(hauberk->GetObjectId(), false);
    RandomUniform random;
    random.Seed(9);
    auto strike = [&] {
        const float before = defender.GetCurrentLife();
        ParametersCombat attack(random);
        attack.attackerId = knight->GetObjectId();
        attack.combatStyle = BlockStyle::Direct;
        attack.accumulator.AddDamage(std::make_unique<CombatAttributeDamage_BasePhysical>(
            CombatAttributeType::Physical, 100.0f, 0.0f, false));
        EXPECT_TRUE(defender.TakeAttack(attack));
        const float taken = before - defender.GetCurrentLife();
        defender.GetCharacterBio().AddLifeFast(taken);
        return taken;
    };
    const float bare = strike();
    defender.AttachItemAction(hauberk->GetObjectId(), EquipLocation_UpperBody);
    const float armored = strike();
    defender.DetachItemAction(hauberk->GetObjectId());
    EXPECT_FLOAT_EQ(bare, 100.0f);
    EXPECT_FLOAT_EQ(armored, 40.0f);  // 100 - 60 protection
    EXPECT_FLOAT_EQ(strike(), bare);
}

}  // namespace
}  // namespace GAME::test
