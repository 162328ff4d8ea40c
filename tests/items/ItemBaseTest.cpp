// The item base: its record, sounds, sparkle timing, quest markers and its own record.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/physics/CollisionData.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/items/kinds/Weapon.h"
#include "Game/items/kinds/WeaponEnchantment.h"
#include "ItemTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class ItemBaseTest : public ::testing::Test {
protected:
    TestMachine machine;
    ItemBaseTest() { SetItemTexts(); }
    Item* Make(const char* name, std::uint32_t seed = 1) {
        return Item::CreateItem(Record(name, seed));
    }
    // Lays the item on the ground of this machine's world.
    void Place(Item& item, const Vec3& at = Vec3()) {
        if (!ground)
            ground = World::Get().AddRegion(std::make_unique<Region>("Ground"));
        ASSERT_TRUE(
            World::Get().AddEntity(&item, WorldCoords(ground, Coords::FromOrigin(at)), true));
    }
    Region* ground = nullptr;
};

TEST_F(ItemBaseTest, RecordValuesCostAndQuestMarker) {
    LocalizationManager::Instance().SetText("tagTablet", L"  Stone Tablet ");
    Item* tablet = Make("Records/Items/QuestTablet.dbr");
    ASSERT_NE(tablet, nullptr);
    EXPECT_EQ(tablet->GetItemClassification(), ItemClassification::Quest);
    EXPECT_TRUE(tablet->IncludeInMinimap());
    EXPECT_EQ(tablet->GetItemCost(), 124);  // 99 + 24.75 + 0.5
    std::vector<MinimapGameNugget> markers;
    Place(*tablet, Vec3(1, 2, 3));
    tablet->AppendDetailMapData(markers);
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_EQ(markers[0].kind, 8);
    EXPECT_EQ(markers[0].label, L"Stone Tablet");
    EXPECT_EQ(markers[0].position.local, Vec3(1, 2, 3));
    std::vector<GameTextLine> lines;
    tablet->GetUIDisplayText(nullptr, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].textClass, GameTextClass_ItemDescription);
    EXPECT_EQ(lines[1].text, L"tagTabletText");

    Item* pebble = Make("Records/Items/Pebble.dbr");
    EXPECT_FALSE(pebble->IncludeInMinimap());
    markers.clear();
    pebble->AppendDetailMapData(markers);
    EXPECT_TRUE(markers.empty());
    EXPECT_EQ(pebble->GetItemCost(), 0);
    EXPECT_EQ(pebble->GetDropSoundWater(), nullptr);
}

TEST_F(ItemBaseTest, OneLandingSoundPerArmingAndWaterPicksItsOwnPack) {
    Item* tablet = Make("Records/Items/QuestTablet.dbr");
    // Through the engine's own entry, as the physics tells it.
    Entity& body = *tablet;
    const auto landing = [](int kind) {
        CollisionData data;
        data.contact = true;
        data.kind = kind;
        return data;
    };
    body.CollisionCallback(landing(1));
    body.CollisionCallback(landing(1));
    EXPECT_EQ(tablet->GetDropSound3D()->GetPlayCount(), 1u);
    tablet->SetDropSoundToPlay();
    body.CollisionCallback(landing(Item::kWaterSurface));
    EXPECT_EQ(tablet->GetDropSound3D()->GetPlayCount(), 1u);
    EXPECT_EQ(tablet->GetDropSoundWater()->GetPlayCount(), 1u);
}

TEST_F(ItemBaseTest, OwnRecordKeepsItsIdAndNameAndRandomizeDoesNotReroll) {
    Item* tablet = Make("Records/Items/QuestTablet.dbr", 77);
    ItemReplicaInfo other = Record("Records/Items/Pebble.dbr", 5);
    other.objectId = 12345;
    tablet->SetItemReplicaInfo(other);
    EXPECT_EQ(tablet->GetReplicaInfo().objectId, tablet->GetObjectId());
    EXPECT_EQ(tablet->GetReplicaInfo().baseName, "Records/Items/QuestTablet.dbr");
    EXPECT_EQ(tablet->GetReplicaInfo().seed, 5u);
    tablet->RandomizeItem();
    EXPECT_EQ(tablet->GetReplicaInfo().seed, 5u);

    // A placed item that was never made from a record draws its seed from the root.
    InitializeObjects();
    auto* placed =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Item>("Records/Items/Pebble.dbr");
    ASSERT_FALSE(placed->IsInitialized());
    placed->RandomizeItem();
    EXPECT_TRUE(placed->IsInitialized());
    EXPECT_GE(placed->GetReplicaInfo().seed, 1u);
    EXPECT_LE(placed->GetReplicaInfo().seed, 32767u);
    ShutdownObjects();
}

TEST_F(ItemBaseTest, AnItemLyingInTheWorldIsRandomizedOnItsFirstUpdate) {
    InitializeObjects();
    const struct Case {
        const char* what;
        bool placed;
    } cases[] = {{"placed in the world", true}, {"held nowhere", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* pebble =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<Item>("Records/Items/Pebble.dbr");
        ASSERT_NE(pebble, nullptr);
        if (c.placed)
            Place(*pebble, Vec3(4, 0, 4));
        pebble->InitialUpdate();
        EXPECT_EQ(pebble->IsInitialized(), c.placed);
        EXPECT_EQ(pebble->IsInWorld(), c.placed);
    }
    ShutdownObjects();
}

TEST_F(ItemBaseTest, SparkleCountdownRunsOnlyForUncommonItemsInTheWorld) {
    Item* tablet = Make("Records/Items/QuestTablet.dbr");
    Item* pebble = Make("Records/Items/Pebble.dbr");
    for (Item* item : {tablet, pebble}) {
        EXPECT_GE(item->GetSparkleCountdown(), 3000);
        EXPECT_LE(item->GetSparkleCountdown(), 4999);
    }
    const int before = tablet->GetSparkleCountdown();
    tablet->UpdateSelf(100);
    EXPECT_EQ(tablet->GetSparkleCountdown(), before);  // not in the world
    Place(*tablet);
    tablet->UpdateSelf(100);
    EXPECT_EQ(tablet->GetSparkleCountdown(), before - 100);
    tablet->UpdateSelf(before);  // below 0: sparkles and draws the next time
    EXPECT_GE(tablet->GetSparkleCountdown(), 3000);
    Place(*pebble);
    const int common = pebble->GetSparkleCountdown();
    pebble->UpdateSelf(100);
    EXPECT_EQ(pebble->GetSparkleCountdown(), common);
}

TEST_F(ItemBaseTest, CostReportNamesTheRecordAndEquipmentAddsItsSummaries) {
    Item* sword = Make("Records/Items/RoundingSword.dbr", 42);
    machine.ClearLog();
    sword->DumpCostAttributes();
    EXPECT_EQ(machine.CountLog("Name: Records/Items/RoundingSword.dbr"), 1);
    EXPECT_EQ(machine.CountLog("  Seed:        42"), 1);
    EXPECT_EQ(machine.CountLog("Total Attr Count"), 1);
    EXPECT_EQ(machine.CountLog("^bCalculated Cost: 100.000000, Rounded Cost: 100.000000"), 1);
}

TEST_F(ItemBaseTest, BowEnchantmentTakesBowSoundsTintAndProjectileUntilCleared) {
    ScopedServices scoped;
    auto* bow = dynamic_cast<Weapon*>(Make("Records/Items/Bow.dbr"));
    ASSERT_NE(bow, nullptr);
    EXPECT_EQ(bow->GetProjectileName(), "Records/Items/Arrow.dbr");
    bow->SetWeaponEnchantment(nullptr, "Records/Items/FireEnchantment.dbr");
    ASSERT_NE(bow->GetEnchantment(), nullptr);
    EXPECT_NE(bow->GetEnchantment()->GetSwipeSound(), nullptr);
    EXPECT_EQ(bow->GetProjectileName(), "Records/Items/FireArrow.dbr");
    EXPECT_EQ(bow->GetCurrentTrailName(), "Records/Items/FireTrail.dbr");
    EXPECT_FLOAT_EQ(bow->GetTint().g, 0.2f);
    bow->PlaySwipeSound(WorldVec3());
    EXPECT_EQ(bow->GetEnchantment()->GetSwipeSound()->GetPlayCount(), 1u);
    bow->ClearWeaponEnchantment(nullptr);
    EXPECT_EQ(bow->GetEnchantment(), nullptr);
    EXPECT_FLOAT_EQ(bow->GetTint().g, 1.0f);
    EXPECT_EQ(bow->GetProjectileName(), "Records/Items/Arrow.dbr");

    // A spear's enchantment reads the melee sounds and keeps the spear's projectile.
    auto* spear = dynamic_cast<Weapon*>(Make("Records/Items/Spear.dbr"));
    spear->SetWeaponEnchantment(nullptr, "Records/Items/FireEnchantment.dbr");
    ASSERT_NE(spear->GetEnchantment()->GetSwipeSound(), nullptr);
    EXPECT_EQ(spear->GetEnchantment()->GetSwipeSound()->GetObjectName(),
              "Records/Items/WaterSound.dbr");
    EXPECT_EQ(spear->GetProjectileName(), "");
}

// Clearing an enchantment stops its flames: in the hands of a character in the world they are
// left there to die out and then go; otherwise they go at once. Nothing is left behind.
TEST_F(ItemBaseTest, AClearedEnchantmentsFlamesDieOutInTheWorldOrGoAtOnce) {
    ScopedServices scoped;
    Region* meadow =
        World::Get().AddRegion(std::make_unique<Region>("Meadow", Vec3(), Vec3(50, 20, 50)));
    ASSERT_NE(meadow, nullptr);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const bool inWorld : {true, false}) {
        auto* holder = objects.CreateObject<Character>();
        ASSERT_NE(holder, nullptr);
        if (inWorld)
            World::Get().AddEntity(holder, WorldCoords(meadow, Coords::FromOrigin(Vec3(9, 0, 9))),
                                   true);
        auto* spear = dynamic_cast<Weapon*>(Make("Records/Items/Spear.dbr"));
        ASSERT_NE(spear, nullptr);
        spear->SetWeaponEnchantment(holder, "Records/Items/FireEnchantment.dbr");
        EffectEntity* flames = nullptr;
        for (std::uint32_t id : objects.GetObjectIds()) {
            auto* effect = objects.GetObject<EffectEntity>(id);
            if (effect && effect->GetObjectName() == "Records/Items/Flames.dbr")
                flames = effect;
        }
        ASSERT_NE(flames, nullptr);
        const std::uint32_t id = flames->GetObjectId();
        spear->ClearWeaponEnchantment(holder);
        if (!inWorld) {
            EXPECT_EQ(objects.GetObject(id), nullptr);
            continue;
        }
        ASSERT_EQ(objects.GetObject<EffectEntity>(id), flames);
        EXPECT_TRUE(flames->IsInWorld());
        EXPECT_FALSE(flames->IsEmitting());
        EXPECT_FALSE(flames->IsAttached());
        for (int ms = 0; ms < 1000 && objects.GetObject(id); ms += 100) {
            gEngine->AdvanceGameTime(100);
            flames->UpdateSelf(100);
        }
        EXPECT_EQ(objects.GetObject(id), nullptr);
    }
}

}  // namespace
}  // namespace GAME::test
