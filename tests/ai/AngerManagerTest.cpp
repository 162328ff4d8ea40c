// The anger table: spreading and capping, decay and forgetting (beyond 50 m, friends, leavers),
// the target choice with the last target counted double, transfer and the display bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "AiTestSupport.h"
#include "Engine/media/MediaRecorder.h"
#include "Game/ai/anger/AngerManager.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/movement/SightDigest.h"
#include "ai/anger/ProvokedColumnsOf.h"

namespace GAME::test {
namespace {

class Anger : public ::testing::Test {
protected:
    void SetUp() override {
        region = World::Get().AddRegion(std::make_unique<Region>("F", Vec3(), Vec3(200, 50, 200)));
        me = Place("Records/AI/Foe.dbr", Team::Monster, 10);
        a = Place("Records/AI/Foe.dbr", Team::Human, 20);
        b = Place("Records/AI/Foe.dbr", Team::Human, 30);
    }
    Character* Place(const char* record, unsigned major, float x) {
        return PlaceCharacter(record, major, region, Vec3(x, 0, 10));
    }
    std::uint32_t Target(float tolerance) {
        const Character* c = anger.GetNewTarget(tolerance);
        return c ? c->GetObjectId() : 0;
    }
    float Of(const Character* c) const { return anger.GetAnger(c->GetObjectId()); }
    bool Holds(const Character* c) const { return anger.GetAngerTable().count(c->GetObjectId()); }
    // Lists who as a sweep would for a sight tick, and provokes the plain manager the same way.
    void ListSeen(const Character& who, float amount, AngerManager& plain,
                  std::vector<AngerTable::Provoked>& list, std::vector<float>& reach) const {
        World& world = World::Get();
        const std::uint32_t slot = world.GetSlotOf(&who);
        const EntityDigest& digest = SightDigest::Fetch(world, slot);
        AngerTable::Provoked p;
        ASSERT_TRUE(AngerManager::SightProvocation(digest, who.GetObjectId(), slot, amount, p));
        plain.AddAnger(digest, who.GetObjectId(), slot, amount);
        list.push_back(p);
        reach.push_back(
            (who.GetPosition().GetWorldPosition() - me->GetPosition().GetWorldPosition())
                .LengthSquared());
    }
    static void ExpectSameOutcome(const AngerManager& sight, const AngerManager& plain) {
        EXPECT_EQ(sight.GetAngerTable(), plain.GetAngerTable());
        EXPECT_EQ(sight.GetLastTarget(), plain.GetLastTarget());
        std::uint32_t closest[2] = {};
        float distance[2] = {};
        sight.GetClosestEnemy(closest[0], distance[0]);
        plain.GetClosestEnemy(closest[1], distance[1]);
        EXPECT_EQ(closest[0], closest[1]);
        EXPECT_EQ(distance[0], distance[1]);
    }
    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* region = nullptr;
    Character *me = nullptr, *a = nullptr, *b = nullptr;
    AngerManager anger;
};

TEST_F(Anger, AddingCapsScalesAndCalmsTheOthersAndUpdateDecays) {
    anger.AddAnger(a->GetObjectId(), 150.0f);
    EXPECT_FLOAT_EQ(Of(a), AngerManager::GetMaxAnger());
    anger.AddAnger(b->GetObjectId(), 10.0f);
    EXPECT_FLOAT_EQ(Of(a), 100.0f - 3.5f);
    // The multiplied amount is added and shared out over the three entries.
    Character* loud = Place("Records/AI/Provoking.dbr", Team::Human, 40);
    anger.AddAnger(loud->GetObjectId(), 9.0f);
    EXPECT_FLOAT_EQ(Of(loud), 18.0f);
    EXPECT_FLOAT_EQ(Of(b), 10.0f - 18.0f / 3 * 0.7f);
    // Nothing for a character that causes no anger, a dead one, or no character.
    Character* calm = Place("Records/AI/Calm.dbr", Team::Human, 40);
    Character* dead = Place("Records/AI/Foe.dbr", Team::Human, 40);
    dead->SetLifeState(Character_LifeState::Dead);
    const auto before = anger.GetAngerTable();
    for (std::uint32_t id : {calm->GetObjectId(), dead->GetObjectId(), 9999u})
        anger.AddAnger(id, 50.0f);
    EXPECT_EQ(anger.GetAngerTable(), before);

    // 5 forgiven over 500 ms; the closest is a, at 10 m.
    anger.Update(500, 10.0f, me);
    EXPECT_FLOAT_EQ(Of(a), 100.0f - 3.5f - 4.2f - 5.0f);
    EXPECT_NEAR(Of(b), 0.8f, 1e-4f);
    std::uint32_t closest = 0;
    float distance = 0;
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, a->GetObjectId());
    EXPECT_FLOAT_EQ(distance, 10.0f);
    // Without the monster the table still decays, and nothing is the closest any more.
    anger.Update(100, 10.0f, nullptr);
    EXPECT_FLOAT_EQ(Of(a), 100.0f - 3.5f - 4.2f - 5.0f - 1.0f);
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, 0u);
    // Dead or below zero: forgotten, and no longer the last target.
    a->SetLifeState(Character_LifeState::Dead);
    ASSERT_EQ(Target(0.0f), loud->GetObjectId());
    anger.Update(3000, 5.0f, me);
    EXPECT_TRUE(anger.GetAngerTable().empty());
    EXPECT_EQ(anger.GetLastTarget(), 0u);
}

TEST_F(Anger, EnemiesBeyondFiftyMetresFriendsAndLeaversAreForgotten) {
    Character* gone = Place("Records/AI/Foe.dbr", Team::Human, 40);
    Character* mate = Place("Records/AI/Foe.dbr", Team::Monster, 15);
    for (Character* e : {a, b, gone, mate})
        anger.AddAnger(e->GetObjectId(), 50.0f);
    World::Get().SetCoords(a, WorldCoords(region, Coords::FromOrigin(Vec3(60, 0, 10))));
    World::Get().SetCoords(b, WorldCoords(region, Coords::FromOrigin(Vec3(60.01f, 0, 10))));
    World::Get().RemoveEntity(gone);
    anger.Update(0, 0.0f, me);
    EXPECT_TRUE(Holds(a));  // exactly 50 m
    EXPECT_FALSE(Holds(b));
    EXPECT_FALSE(Holds(gone));
    EXPECT_FALSE(Holds(mate));
}

TEST_F(Anger, TheLastTargetCountsDoubleAndTheMostHatedAlwaysWins) {
    anger.AddAnger(a->GetObjectId(), 10.0f);
    EXPECT_EQ(Target(10.0f), 0u);  // equal to the tolerance is not above it
    EXPECT_EQ(Target(9.0f), a->GetObjectId());
    EXPECT_EQ(Target(10.0f), a->GetObjectId());  // now scores 20
    anger.AddAnger(b->GetObjectId(), 23.0f);     // a: 1.95, doubled 3.9
    EXPECT_EQ(Target(0.0f), b->GetObjectId());
    anger.AddAnger(a->GetObjectId(), 30.0f);  // a: 31.95 beats b: 12.5 doubled
    EXPECT_EQ(Target(0.0f), a->GetObjectId());

    // The most hated needs no anger and leaves the last target alone; dead, Update drops it.
    Character* hated = Place("Records/AI/Foe.dbr", Team::Human, 12);
    anger.SetMostHatedEnemy(hated->GetObjectId());
    AngerManager heir;
    anger.TransferAnger(heir);
    EXPECT_EQ(heir.GetAngerTable(), anger.GetAngerTable());
    EXPECT_EQ(heir.GetNewTarget(1000.0f), hated);
    EXPECT_EQ(Target(1000.0f), hated->GetObjectId());
    EXPECT_EQ(anger.GetLastTarget(), a->GetObjectId());
    hated->SetLifeState(Character_LifeState::Dead);
    anger.Update(0, 0.0f, me);
    a->SetLifeState(Character_LifeState::Dead);  // skipped, though angrier
    EXPECT_EQ(Target(0.0f), b->GetObjectId());

    anger.SetMostHatedEnemy(b->GetObjectId());
    anger.Clear();
    EXPECT_TRUE(anger.GetAngerTable().empty());
    EXPECT_EQ(Target(-1.0f), 0u);
    EXPECT_EQ(anger.GetLastTarget(), b->GetObjectId());
}

// A long run of provocations in scrambled id order, with deaths and decay between them, must
// leave every value bit-identical to subtracting each share from each other entry in turn.
TEST_F(Anger, ACrowdCalmsEveryOtherEntryOneSubtractionAtATime) {
    std::vector<Character*> crowd;
    for (int i = 0; i < 24; ++i)
        crowd.push_back(Place("Records/AI/Foe.dbr", Team::Human, 11.0f + static_cast<float>(i)));
    std::map<std::uint32_t, float> expected;
    const auto add = [&](const Character* who, float amount) {
        const std::uint32_t id = who->GetObjectId();
        anger.AddAnger(id, amount);
        if (!who->IsAlive())
            return;
        float& value = expected[id];
        value = std::min(value + amount, AngerManager::kMaxAnger);
        for (auto& [other, v] : expected)
            if (other != id)
                v -= amount / static_cast<float>(expected.size()) * 0.7f;
    };
    const auto update = [&](int ms, float rate) {
        anger.Update(ms, rate, me);
        for (auto it = expected.begin(); it != expected.end();) {
            const Character* c = Singleton<ObjectManager>::Get().GetObject<Character>(it->first);
            it->second -= static_cast<float>(ms) * 0.001f * rate;
            it = !c->IsAlive() || it->second < 0.0f ? expected.erase(it) : std::next(it);
        }
    };
    std::uint32_t seed = 7;
    for (int round = 0; round < 300; ++round) {
        seed = seed * 1664525u + 1013904223u;
        const Character* who = crowd[(seed >> 8) % crowd.size()];
        add(who, 0.37f + static_cast<float>((seed >> 4) % 97) * 0.173f);
        if (round % 40 == 39) {
            crowd[(seed >> 16) % crowd.size()]->SetLifeState(Character_LifeState::Dead);
            update(200, 3.3f);
        }
    }
    ASSERT_EQ(anger.GetAngerTable().size(), expected.size());
    ASSERT_GT(expected.size(), 10u);
    for (const auto& [id, value] : expected) {
        ASSERT_TRUE(anger.GetAngerTable().contains(id));
        EXPECT_EQ(anger.GetAnger(id), value) << "entry " << id;
    }
}

// Enough entries that Update reads characters well ahead of the one it weighs, with the closest
// ones leaving the table in each way: the survivors keep their order and values, and the closest
// enemy is the nearest survivor, never a nearer entry that was dropped.
TEST_F(Anger, ACrowdDropsTheForgottenAndFindsTheClosestSurvivor) {
    std::vector<Character*> crowd;
    for (int i = 0; i < 20; ++i)
        crowd.push_back(Place("Records/AI/Foe.dbr", Team::Human, 40.0f - static_cast<float>(i)));
    for (const Character* c : crowd)
        anger.AddAnger(c->GetObjectId(), 30.0f);
    crowd[19]->SetLifeState(Character_LifeState::Dead);
    crowd[18]->SetTeam(TeamManager::BuildTeam(Team::Monster, 0));
    const std::uint32_t destroyed = crowd[17]->GetObjectId();
    Singleton<ObjectManager>::Get().DestroyObject(crowd[17]);
    std::vector<std::pair<std::uint32_t, float>> expected;
    for (std::size_t i = 0; i < 17; ++i)
        if (Of(crowd[i]) >= 0.0f)
            expected.emplace_back(crowd[i]->GetObjectId(), Of(crowd[i]));
    ASSERT_GT(expected.size(), 8u);
    EXPECT_TRUE(anger.GetAngerTable().contains(destroyed));

    anger.Update(0, 0.0f, me);
    std::vector<std::pair<std::uint32_t, float>> kept;
    for (std::size_t slot = 0; slot < anger.GetAngerTable().size(); ++slot)
        kept.emplace_back(anger.GetAngerTable().IdAt(slot), anger.GetAngerTable().ValueAt(slot));
    EXPECT_EQ(kept, expected);
    std::uint32_t closest = 0;
    float distance = 0.0f;
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, crowd[16]->GetObjectId());
    EXPECT_FLOAT_EQ(distance, 14.0f);
}

// A sight tick weighs the enemies its sweep listed from the distances the sweep measured: the
// table, the closest enemy and the last target come out as from provoking them one by one and
// updating, with the unlisted entries (dead, or only out of sight) weighed as before and listed
// ones beyond fifty metres dropped.
TEST_F(Anger, ASightTickWeighsTheListedFromTheSweepsDistances) {
    std::vector<Character*> crowd;
    // The last three but one stand beyond fifty metres.
    for (float x : {12.0f, 14.0f, 19.0f, 23.0f, 30.0f, 41.0f, 61.0f, 64.0f, 75.0f, 13.0f})
        crowd.push_back(Place("Records/AI/Foe.dbr", Team::Human, x));
    struct Case {
        std::size_t listEvery;  // every n-th of the crowd is listed (0: none)
        int ms;
        float rate;
        bool killUnlisted;  // the first unlisted one dies first
    };
    const Case cases[] = {
        {1, 200, 3.0f, false},  {2, 400, 30.0f, false}, {0, 200, 3.0f, false},
        {3, 1000, 12.0f, true}, {1, 600, 55.0f, false},
    };
    for (const Case& c : cases) {
        AngerManager sight, plain;
        for (const Character* who : crowd) {
            sight.AddAnger(*who, 9.0f);
            plain.AddAnger(*who, 9.0f);
        }
        // The last target counts as it goes: both forget it when its entry is dropped.
        ASSERT_EQ(sight.GetNewTarget(0.0f), plain.GetNewTarget(0.0f));
        std::vector<AngerTable::Provoked> list;
        std::vector<float> reach;
        bool killed = !c.killUnlisted;
        for (std::size_t i = 0; i < crowd.size(); ++i) {
            Character* who = crowd[i];
            if (!who->IsAlive())
                continue;  // a sweep lists the living only
            if (c.listEvery == 0 || i % c.listEvery != 0) {
                if (!killed)
                    who->SetLifeState(Character_LifeState::Dead);
                killed = true;
                continue;
            }
            ListSeen(*who, 0.5f * static_cast<float>(i + 1), plain, list, reach);
        }
        sight.SightTick(ProvokedColumnsOf(list), reach.data(), list.size(), c.ms, c.rate, *me);
        plain.Update(c.ms, c.rate, me);
        SCOPED_TRACE(testing::Message() << "every " << c.listEvery << ", " << c.ms << " ms");
        ExpectSameOutcome(sight, plain);
        for (std::size_t i = 6; i < 9; ++i)
            EXPECT_FALSE(sight.GetAngerTable().contains(crowd[i]->GetObjectId()));
    }
}

// Crowds of whole eights and a remainder, listed in full or with gaps, into new or old entries:
// the table, the last target and the closest enemy come out as from provoking one by one and
// updating. Pairs stand at the same distance (the first of them is the closest), some beyond
// fifty metres, the earliest calmed below 0, some unlisted ones dead (the hated among them);
// away from the world every entry goes.
TEST_F(Anger, ASightTickSettlesWholeEightsAsOneAtATime) {
    std::vector<Character*> crowd;
    for (int i = 0; i < 15; ++i) {
        const float d = static_cast<float>(1 + (i * 23) % 60);
        crowd.push_back(
            PlaceCharacter("Records/AI/Foe.dbr", Team::Human, region, Vec3(10.0f + d, 0, 10)));
        crowd.push_back(
            PlaceCharacter("Records/AI/Foe.dbr", Team::Human, region, Vec3(10.0f, 0, 10.0f + d)));
    }
    // The remainder's one stands far enough that the closest is among the eights.
    crowd.push_back(Place("Records/AI/Foe.dbr", Team::Human, 48.5f));
    World& world = World::Get();
    struct Case {
        bool old;               // every enemy angered before the tick
        std::size_t hated;      // ... and this one most (the last target)
        std::size_t skipEvery;  // the i-th with i % skipEvery == 1 is not listed (0: all listed)
        int ms;
        float rate;
        bool away;          // the monster leaves the world before the tick
        bool kill = false;  // every other unlisted one dies first (and stays dead)
    };
    const Case cases[] = {
        {false, 0, 0, 200, 3.0f, false},      {true, 0, 0, 400, 20.0f, false},
        {true, 10, 0, 200, 3.0f, false},      {false, 0, 5, 200, 3.0f, false},
        {true, 3, 4, 1000, 6.0f, false},      {true, 0, 0, 200, 3.0f, true},
        {false, 0, 0, 200, 3.0f, true},       {true, 5, 4, 400, 6.0f, false, true},
        {true, 9, 4, 200, 3.0f, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "skip " << c.skipEvery << ", hated " << c.hated
                                        << ", away " << c.away << ", kill " << c.kill);
        const auto listed = [&](std::size_t i) { return !c.skipEvery || i % c.skipEvery != 1; };
        const auto dies = [&](std::size_t i) {
            return c.kill && !listed(i) && (i / c.skipEvery) % 2 == 1;
        };
        AngerManager sight, plain;
        if (c.old) {
            for (std::size_t i = 0; i < crowd.size(); ++i) {
                const float amount = i == c.hated ? 60.0f : 9.0f;
                sight.AddAnger(*crowd[i], amount);
                plain.AddAnger(*crowd[i], amount);
            }
            ASSERT_EQ(sight.GetNewTarget(0.0f), crowd[c.hated]);
            ASSERT_EQ(plain.GetNewTarget(0.0f), crowd[c.hated]);
        }
        std::vector<AngerTable::Provoked> list;
        std::vector<float> reach;
        for (std::size_t i = 0; i < crowd.size(); ++i) {
            if (dies(i))
                crowd[i]->SetLifeState(Character_LifeState::Dead);
            if (!listed(i))
                continue;
            Character* who = crowd[i];
            ListSeen(*who, 0.5f * static_cast<float>(i + 1), plain, list, reach);
        }
        if (c.away)
            world.RemoveEntity(me);
        sight.SightTick(ProvokedColumnsOf(list), reach.data(), list.size(), c.ms, c.rate, *me);
        plain.Update(c.ms, c.rate, me);
        if (c.away)
            world.AddEntity(me, WorldCoords(region, Coords::FromOrigin(Vec3(10, 0, 10))), true);
        ExpectSameOutcome(sight, plain);
        const std::size_t kept = sight.GetAngerTable().size();
        if (c.away) {
            EXPECT_EQ(kept, 0u);
            continue;
        }
        // Some of every eight go, and the hated one beyond fifty metres takes the target along.
        EXPECT_GT(kept, 8u);
        EXPECT_LT(kept, crowd.size() - 4);
        if (c.old) {
            EXPECT_EQ(sight.GetLastTarget() == 0, c.hated == 10 || dies(c.hated));
        }
        for (std::size_t slot = 0; slot < kept; ++slot)
            EXPECT_EQ(sight.GetAngerTable().HintAt(slot),
                      world.GetSlotOf(FindCharacter(sight.GetAngerTable().IdAt(slot))));
    }
}

// A sight tick fills an empty table elsewhere and keeps a block only as large as what stays
// needs (with the usual room to grow), however many it listed; the next table filled that way
// shares nothing with it.
TEST_F(Anger, ASightTickIntoAnEmptyTableKeepsRoomForWhatStays) {
    std::vector<Character*> crowd;
    for (int i = 0; i < 64; ++i)
        crowd.push_back(
            Place("Records/AI/Foe.dbr", Team::Human, 11.0f + 0.5f * static_cast<float>(i)));
    struct Case {
        int ms;
        float rate;
        bool reserved;  // room made for the crowd before the tick
    };
    const Case cases[] = {
        {200, 3.0f, false}, {1000, 30.0f, false}, {1000, 500.0f, false}, {1000, 30.0f, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ms << " ms at " << c.rate);
        AngerManager first, firstPlain, second, secondPlain;
        if (c.reserved)
            first.ExpectEnemies(crowd.size());
        const std::size_t reservedRoom = first.GetAngerTable().capacity();
        const auto tick = [&](AngerManager& sight, AngerManager& plain, std::size_t from) {
            std::vector<AngerTable::Provoked> list;
            std::vector<float> reach;
            for (std::size_t i = from; i < crowd.size(); ++i)
                ListSeen(*crowd[i], 4.0f + static_cast<float>(i % 5), plain, list, reach);
            sight.SightTick(ProvokedColumnsOf(list), reach.data(), list.size(), c.ms, c.rate, *me);
            plain.Update(c.ms, c.rate, me);
        };
        tick(first, firstPlain, 0);
        tick(second, secondPlain, 20);
        ExpectSameOutcome(first, firstPlain);
        ExpectSameOutcome(second, secondPlain);
        const AngerTable& table = first.GetAngerTable();
        const std::size_t wanted =
            table.size() + std::min(table.size() / 4, AngerManager::kRoomToGrow);
        EXPECT_GE(table.capacity(), std::max(wanted, reservedRoom));
        if (!c.reserved) {
            EXPECT_LE(table.capacity(), std::max<std::size_t>(wanted + wanted / 4, 8));
        }
        if (c.rate > 100.0f) {
            EXPECT_TRUE(table.empty());
        }
    }
}

TEST_F(Anger, BarsShowTheMostHatedFullThenEachEntry) {
    Character* gone = Place("Records/AI/Foe.dbr", Team::Human, 40);
    anger.AddAnger(gone->GetObjectId(), 10.0f);
    anger.AddAnger(a->GetObjectId(), 40.0f);
    anger.AddAnger(b->GetObjectId(), 60.0f);  // a: 40 - 14
    Singleton<ObjectManager>::Get().DestroyObject(gone);
    anger.SetMostHatedEnemy(b->GetObjectId());
    std::vector<AngerLevel> bars;
    anger.GetAngerLevels(bars);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].name, b->GetObjectName());
    EXPECT_FLOAT_EQ(bars[0].value, 100.0f);
    EXPECT_FLOAT_EQ(bars[0].color.r, 1.0f);
    EXPECT_FLOAT_EQ(bars[1].value, 26.0f);
    EXPECT_FLOAT_EQ(bars[1].color.g, 0.74f);
    EXPECT_EQ(bars[2].name, b->GetObjectName());
    // Each display draws every bar as a statistic graph, the last one drawn last.
    const MediaRecorder& media = MediaRecorder::Get();
    const std::uint64_t before = media.Count(MediaCall::StatisticGraph);
    anger.ShowAngerLevels();
    anger.ShowAngerLevels();
    EXPECT_EQ(media.Count(MediaCall::StatisticGraph), before + 6);
    const MediaRecord* last = media.Last(MediaCall::StatisticGraph);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Text(), b->GetObjectName());
    EXPECT_FLOAT_EQ(last->values[0], bars[2].value);
    EXPECT_FLOAT_EQ(last->values[1], bars[2].color.r);
    EXPECT_FLOAT_EQ(last->values[2], bars[2].color.g);
    EXPECT_EQ(tm.CountLog("not available yet"), 0);
}

}  // namespace
}  // namespace GAME::test
