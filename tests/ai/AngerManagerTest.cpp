// The anger table: spreading and capping of anger, decay and forgetting, the choice of target
// with the last target counted double, and the display bars.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "AiTestSupport.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/anger/AngerManager.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class Anger : public ::testing::Test {
protected:
    void SetUp() override {
        region =
            World::Get().AddRegion(std::make_unique<Region>("Field", Vec3(), Vec3(200, 50, 200)));
        me = Place("Records/AI/Foe.dbr", Team::Monster, 10);
        a = Place("Records/AI/Foe.dbr", Team::Human, 20);
        b = Place("Records/AI/Foe.dbr", Team::Human, 30);
    }
    Character* Place(const char* record, unsigned major, float x) {
        return PlaceCharacter(record, major, region, Vec3(x, 0, 10));
    }
    void Move(Character* c, float x) {
        World::Get().SetCoords(c, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, 10))));
    }
    std::uint32_t Target(AngerManager& anger, float tolerance) {
        const Character* c = anger.GetNewTarget(tolerance);
        return c ? c->GetObjectId() : 0;
    }
    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* region = nullptr;
    Character *me = nullptr, *a = nullptr, *b = nullptr;
    AngerManager anger;
};

TEST_F(Anger, AddingCapsScalesAndCalmsTheOthers) {
    anger.AddAnger(a->GetObjectId(), 150.0f);
    EXPECT_FLOAT_EQ(anger.GetAnger(a->GetObjectId()), AngerManager::GetMaxAnger());
    anger.AddAnger(b->GetObjectId(), 10.0f);
    EXPECT_FLOAT_EQ(anger.GetAnger(a->GetObjectId()), 100.0f - 10.0f / 2 * 0.7f);
    EXPECT_FLOAT_EQ(anger.GetAnger(b->GetObjectId()), 10.0f);

    // The multiplied amount is what is added and what the others lose (3 entries).
    Character* loud = Place("Records/AI/Provoking.dbr", Team::Human, 40);
    anger.AddAnger(loud->GetObjectId(), 9.0f);
    EXPECT_FLOAT_EQ(anger.GetAnger(loud->GetObjectId()), 18.0f);
    EXPECT_FLOAT_EQ(anger.GetAnger(b->GetObjectId()), 10.0f - 18.0f / 3 * 0.7f);

    // Nothing for a character that causes no anger, a dead one, or no character at all.
    Character* calm = Place("Records/AI/Calm.dbr", Team::Human, 40);
    Character* dead = Place("Records/AI/Foe.dbr", Team::Human, 40);
    dead->SetLifeState(Character_LifeState::Dead);
    const auto before = anger.GetAngerTable();
    anger.AddAnger(calm->GetObjectId(), 50.0f);
    anger.AddAnger(dead->GetObjectId(), 50.0f);
    anger.AddAnger(9999, 50.0f);
    EXPECT_EQ(anger.GetAngerTable(), before);
}

TEST_F(Anger, UpdateDecaysForgetsAndFindsTheClosest) {
    anger.AddAnger(a->GetObjectId(), 20.0f);
    anger.AddAnger(b->GetObjectId(), 30.0f);  // a: 20 - 10.5 = 9.5
    anger.Update(500, 10.0f, me);             // 5 forgiven
    EXPECT_FLOAT_EQ(anger.GetAnger(a->GetObjectId()), 4.5f);
    EXPECT_FLOAT_EQ(anger.GetAnger(b->GetObjectId()), 25.0f);
    std::uint32_t closest = 0;
    float distance = 0;
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, a->GetObjectId());
    EXPECT_FLOAT_EQ(distance, 10.0f);

    // Below zero: forgotten, and no longer the last target.
    ASSERT_EQ(Target(anger, 0.0f), b->GetObjectId());
    anger.Update(1000, 5.0f, me);
    EXPECT_EQ(anger.GetAngerTable().count(a->GetObjectId()), 0u);
    anger.Update(5000, 5.0f, me);
    EXPECT_TRUE(anger.GetAngerTable().empty());
    EXPECT_EQ(anger.GetLastTarget(), 0u);
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, 0u);
}

TEST_F(Anger, EnemiesBeyondFiftyMetresFriendsAndLeaversAreForgotten) {
    Character* c = Place("Records/AI/Foe.dbr", Team::Human, 40);
    Character* friendly = Place("Records/AI/Foe.dbr", Team::Monster, 15);
    for (Character* e : {a, b, c, friendly})
        anger.AddAnger(e->GetObjectId(), 50.0f);
    Move(a, 60.0f);   // exactly 50 from me: kept
    Move(b, 60.01f);  // just beyond
    World::Get().RemoveEntity(c);
    anger.Update(0, 0.0f, me);
    EXPECT_EQ(anger.GetAngerTable().count(a->GetObjectId()), 1u);
    EXPECT_EQ(anger.GetAngerTable().count(b->GetObjectId()), 0u);
    EXPECT_EQ(anger.GetAngerTable().count(c->GetObjectId()), 0u);
    EXPECT_EQ(anger.GetAngerTable().count(friendly->GetObjectId()), 0u);
}

TEST_F(Anger, TheLastTargetCountsDoubleAndTheMostHatedAlwaysWins) {
    anger.AddAnger(a->GetObjectId(), 10.0f);
    EXPECT_EQ(Target(anger, 10.0f), 0u);  // equal to the tolerance is not above it
    EXPECT_EQ(Target(anger, 9.0f), a->GetObjectId());
    EXPECT_EQ(Target(anger, 10.0f), a->GetObjectId());  // now scores 20

    // b needs more than twice a's anger to take over.
    anger.AddAnger(b->GetObjectId(), 23.0f);  // a: 10 - 8.05 = 1.95, b 23 > 3.9
    EXPECT_EQ(Target(anger, 0.0f), b->GetObjectId());
    anger.AddAnger(a->GetObjectId(), 30.0f);  // a: 31.95, b: 23 - 10.5 = 12.5, doubled 25
    EXPECT_EQ(Target(anger, 0.0f), a->GetObjectId());

    // A most hated enemy needs no anger and leaves the last target alone; it dies: cleared.
    Character* hated = Place("Records/AI/Foe.dbr", Team::Human, 12);
    anger.SetMostHatedEnemy(hated->GetObjectId());
    EXPECT_EQ(Target(anger, 1000.0f), hated->GetObjectId());
    EXPECT_EQ(anger.GetLastTarget(), a->GetObjectId());
    hated->SetLifeState(Character_LifeState::Dead);
    anger.Update(0, 0.0f, me);
    EXPECT_EQ(Target(anger, 0.0f), a->GetObjectId());

    // Dead entries are skipped.
    a->SetLifeState(Character_LifeState::Dead);
    EXPECT_EQ(Target(anger, 0.0f), b->GetObjectId());
}

TEST_F(Anger, ClearTransferAndDisplay) {
    anger.AddAnger(a->GetObjectId(), 40.0f);
    anger.AddAnger(b->GetObjectId(), 60.0f);
    anger.SetMostHatedEnemy(b->GetObjectId());
    AngerManager heir;
    anger.TransferAnger(heir);
    EXPECT_EQ(heir.GetAngerTable(), anger.GetAngerTable());
    EXPECT_EQ(Target(heir, 1000.0f), b->GetObjectId());

    std::vector<AngerLevel> bars;
    anger.GetAngerLevels(bars);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].name, b->GetObjectName());
    EXPECT_FLOAT_EQ(bars[0].value, 100.0f);
    EXPECT_FLOAT_EQ(bars[0].color.r, 1.0f);
    EXPECT_FLOAT_EQ(bars[1].value, 40.0f - 21.0f);
    EXPECT_FLOAT_EQ(bars[1].color.r, 0.19f);
    EXPECT_FLOAT_EQ(bars[1].color.g, 0.81f);
    anger.ShowAngerLevels();
    anger.ShowAngerLevels();
    EXPECT_EQ(tm.CountLog("statistic graph"), 1);

    EXPECT_EQ(Target(anger, 0.0f), b->GetObjectId());
    anger.SetMostHatedEnemy(0);
    EXPECT_EQ(Target(anger, 0.0f), b->GetObjectId());  // sets the last target
    anger.SetMostHatedEnemy(a->GetObjectId());
    anger.Clear();
    EXPECT_TRUE(anger.GetAngerTable().empty());
    EXPECT_EQ(Target(anger, -1.0f), 0u);  // the most hated is gone too
    EXPECT_EQ(anger.GetLastTarget(), b->GetObjectId());
}

}  // namespace
}  // namespace GAME::test
