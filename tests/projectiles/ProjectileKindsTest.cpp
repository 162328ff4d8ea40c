// The projectile kinds as their skills see them: what each reports, when it stops and when it
// is gone; the fragment draws and headings; the ballistic launch that never gives NaN.
#include <cmath>
#include <numbers>

#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/world/projectiles/ProjectileAreaEffect.h"
#include "Game/world/projectiles/ProjectileArrowLike.h"
#include "Game/world/projectiles/ProjectileFireballLike.h"
#include "Game/world/projectiles/ProjectileLobbed.h"
#include "ProjectileTestSupport.h"

namespace GAME::test {

RTTI_IMPLEMENT(TargetNotes, Skill)

namespace {

class ProjectileKinds : public ProjectileScene {
protected:
    ProjectileKinds() {
        AddRecord("Records/Test/Arrow.dbr",
                  R"({"Class": "ProjectileArrowLike", "projectileVelocity": 20,
                      "projectileDistance": 15, "projectileMissTimeToLive": 2.0})");
        AddRecord("Records/Test/Shard.dbr",
                  R"({"Class": "ProjectileFireballLike", "projectileVelocity": 10,
                      "projectileDistance": 3})");
        AddRecord(
            "Records/Test/Bomb.dbr",
            R"({"Class": "ProjectileExploding", "projectileVelocity": 10, "launchAngle": 45})");
        AddRecord("Records/Test/Grenade.dbr",
                  R"({"Class": "ProjectileGrenade", "projectileVelocity": 10, "launchAngle": 30})");
        AddRecord("Records/Test/Dud.dbr",
                  R"({"Class": "ProjectileGrenade", "projectileVelocity": 10, "launchAngle": 30,
                      "harmlessInFlight": 1})");
        AddRecord("Records/Test/Area.dbr", R"({"Class": "ProjectileAreaEffect"})");
        AddRecord("Records/Test/Glider.dbr",
                  R"({"Class": "ProjectileTerrainFollowing", "projectileVelocity": 10,
                      "projectileDistance": 60})");
    }
    // Runs frames until the projectile is gone (or the frames run out); the frames it took.
    int UntilGone(std::uint32_t id, int frames = 200, int ms = 50) {
        for (int i = 1; i <= frames; ++i) {
            Frame(ms);
            if (!Alive(id))
                return i;
        }
        return -1;
    }
    WorldVec3 Point(float x, float y, float z) const { return WorldVec3(field, Vec3(x, y, z)); }
};

struct ArrowCase {
    const char* name;
    float piercing;  // the info's chance
    float radius;    // the own modifier's explosion radius
    bool expectBoth;
    bool expectBeside;
};

class ArrowFlights : public ProjectileKinds, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowFlights, ReportWhatTheirPathAndExplosionsReach) {
    const ArrowCase& c = GetParam();
    const std::uint32_t first = Place(6, 5, Beasts(), 1.5f)->GetObjectId();
    const std::uint32_t second = Place(11, 5, Beasts(), 1.5f)->GetObjectId();
    const std::uint32_t beside = Place(6, 7.6f, Beasts())->GetObjectId();  // off the path
    ProjectileInfo info = Info(2, 1, 5, Point(14, 0, 5));
    info.piercingChance = c.piercing;
    auto* arrow = Launch<ProjectileArrowLike>("Records/Test/Arrow.dbr", info, 77, {Own(c.radius)});
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->GetState(), ProjectileArrowLike::Flying);
    EXPECT_GT(UntilGone(arrow->GetObjectId()), 0);

    std::vector<std::uint32_t> expected{first};
    if (c.expectBeside)
        expected.push_back(beside);
    if (c.expectBoth)
        expected.push_back(second);
    EXPECT_EQ(skill->Hits(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArrowFlights,
    ::testing::Values(ArrowCase{"StopsAtTheFirstTarget", 0.0f, 0.0f, false, false},
                      ArrowCase{"PiercesEveryTargetOnce", 200.0f, 0.0f, true, false},
                      ArrowCase{"ExplodesAroundItsHit", 0.0f, 3.0f, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectileKinds, AnArrowThatMissesSticksForItsMissTimeAndWaterSwallowsIt) {
    // Into the grass 6 ahead: stuck 2 s.
    auto* stuck =
        Launch<ProjectileArrowLike>("Records/Test/Arrow.dbr", Info(2, 1, 20, Point(8, -1, 20)), 5);
    ASSERT_NE(stuck, nullptr);
    const std::uint32_t stuckId = stuck->GetObjectId();
    Frames(20);  // 1 s: landed long ago
    ASSERT_TRUE(Alive(stuckId));
    EXPECT_EQ(stuck->GetState(), ProjectileArrowLike::Stopped);
    EXPECT_FALSE(stuck->IsSimulationEnabled());
    EXPECT_GT(UntilGone(stuckId, 30), 10) << "gone after its miss time";

    // Into the pool: gone on the update after it touches.
    auto* sunk = Launch<ProjectileArrowLike>("Records/Test/Arrow.dbr",
                                             Info(38, 1, 20, Point(44, -1, 20)), 5);
    ASSERT_NE(sunk, nullptr);
    EXPECT_LT(UntilGone(sunk->GetObjectId(), 20), 10);
    EXPECT_TRUE(skill->Hits().empty());
}

TEST_F(ProjectileKinds, AFireballBurstsAtTheEndOfItsRange) {
    auto* shard = Launch<ProjectileFireballLike>("Records/Test/Shard.dbr",
                                                 Info(2, 1, 30, Point(14, 0, 30)), 9);
    ASSERT_NE(shard, nullptr);
    const int frames = UntilGone(shard->GetObjectId());
    // 3 units at 10 per second, then one more update.
    EXPECT_GE(frames, 6);
    EXPECT_LE(frames, 8);
}

TEST_F(ProjectileKinds, AnotherSkillsFragmentsSpareTheHitTargetAndTakeNoPathTargets) {
    auto* other = Objects().CreateObject<TargetNotes>();
    const std::uint32_t first = Place(6, 5, Beasts(), 1.5f)->GetObjectId();
    ProjectileModifierStruct fragments;
    fragments.skillId = other->GetObjectId();
    fragments.radius = 3.0f;
    fragments.fragmentRecord = "Records/Test/Shard.dbr";
    fragments.fragmentCountMin = fragments.fragmentCountMax = 3;
    Launch("Records/Test/Arrow.dbr", Info(2, 1, 5, Point(14, 0, 5)), 21, {Own(), fragments});
    std::size_t most = 0;
    for (int i = 0; i < 30; ++i) {
        Frame(50);
        most = std::max(most, CountProjectiles(other->GetObjectId()));
    }
    EXPECT_EQ(skill->Hits(), std::vector<std::uint32_t>{first});
    EXPECT_EQ(most, 3u) << "three fragments of the other skill in flight at once";
    EXPECT_TRUE(other->Hits().empty()) << "the hit target is filtered, and no path for it";
}

struct FragmentCase {
    int count;
    int step;
};

class FragmentHeadings : public ProjectileKinds,
                         public ::testing::WithParamInterface<FragmentCase> {};

TEST_P(FragmentHeadings, AccumulateTheStepAndEachJitterFromTheLaunchSeed) {
    const FragmentCase& c = GetParam();
    ProjectileModifierStruct own = Own();
    own.fragmentRecord = "Records/Test/Shard.dbr";
    own.fragmentCountMin = own.fragmentCountMax = static_cast<std::uint32_t>(c.count);
    const std::uint32_t seed = 4242;
    auto* bomb = Launch<ProjectileExploding>("Records/Test/Bomb.dbr",
                                             Info(10, 1, 40, Point(16, 0, 40)), seed, {own});
    ASSERT_NE(bomb, nullptr);
    const std::uint32_t bombId = bomb->GetObjectId();
    std::vector<ProjectileBase*> fragments;
    for (int i = 0; i < 100 && fragments.empty(); ++i) {
        Frame(20);
        if (Alive(bombId))
            continue;
        std::vector<Entity*> entities;
        World::Get().GetEntitiesInSphere(entities, field, Sphere{Vec3(50, 0, 50), 1000.0f});
        for (Entity* entity : entities)
            if (entity->IsA<ProjectileBase>())
                fragments.push_back(static_cast<ProjectileBase*>(entity));
    }
    ASSERT_EQ(fragments.size(), static_cast<std::size_t>(c.count));

    // The caster has no fumble: the bomb's first draw is the count.
    RandomUniform draws;
    draws.Seed(seed);
    ASSERT_EQ(draws.IGenerate(c.count, c.count), c.count);
    int heading = 0;
    for (ProjectileBase* fragment : fragments) {
        heading += c.step + draws.IGenerate(-30, 30);
        const std::uint32_t fragmentSeed = static_cast<std::uint32_t>(draws.IGenerate(1, 32767));
        const Vec3 facing = fragment->GetInfo().start.coords.zAxis;
        const float angle = std::atan2(facing.x, facing.z) * 180.0f / std::numbers::pi_v<float>;
        EXPECT_NEAR(std::remainder(angle - static_cast<float>(heading), 360.0f), 0.0f, 0.01f);
        EXPECT_NEAR(fragment->GetInfo().start.coords.origin.y, 1.0f, 0.01f) << "floor + 1";
        (void)fragmentSeed;
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, FragmentHeadings,
                         ::testing::Values(FragmentCase{4, 90}, FragmentCase{7, 51}));

struct GrenadeCase {
    const char* record;
    int stateAtHit;  // flying, or landed (and then rested)
};

class Grenades : public ProjectileKinds, public ::testing::WithParamInterface<GrenadeCase> {};

TEST_P(Grenades, BurstOnTheFirstTargetOrWhereTheyRest) {
    const GrenadeCase& c = GetParam();
    // Tall enough to meet the arc in flight; six from where the grenade comes to rest.
    const std::uint32_t beast = Place(14, 40, Beasts(), 2.5f)->GetObjectId();
    auto* grenade =
        Launch<ProjectileGrenade>(c.record, Info(10, 1, 40, Point(18, 0, 40)), 3, {Own(6.0f)});
    ASSERT_NE(grenade, nullptr);
    const std::uint32_t id = grenade->GetObjectId();
    int stateAtHit = -1;
    for (int i = 0; i < 200 && Alive(id); ++i) {
        const int state = grenade->GetState();
        Frame(20);
        if (stateAtHit < 0 && !skill->Hits().empty())
            stateAtHit = state;
    }
    EXPECT_FALSE(Alive(id));
    EXPECT_EQ(stateAtHit, c.stateAtHit);
    EXPECT_EQ(skill->Hits(), std::vector<std::uint32_t>{beast});
}

INSTANTIATE_TEST_SUITE_P(Kinds, Grenades,
                         ::testing::Values(GrenadeCase{"Records/Test/Grenade.dbr", 1},
                                           GrenadeCase{"Records/Test/Dud.dbr", 2}));

struct AreaCase {
    std::uint32_t duration;
    std::vector<int> pulsesAt;  // ms after launch
    int goneBy;
};

class AreaEffects : public ProjectileKinds, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(AreaEffects, PulseEverySecondOfTheirDurationReportingEveryoneAgain) {
    const AreaCase& c = GetParam();
    Place(30, 50, Beasts());
    ProjectileInfo info = Info(1, 1, 5, Point(30, 0, 50));
    info.duration = c.duration;
    auto* area = Launch<ProjectileAreaEffect>("Records/Test/Area.dbr", info, 1, {Own(3.0f)});
    ASSERT_NE(area, nullptr);
    const std::uint32_t id = area->GetObjectId();
    std::vector<int> pulses;
    auto count = [&] { return skill->Hits().size(); };
    if (count() > 0)
        pulses.push_back(0);
    int gone = -1;
    for (int t = 100; t <= 4000 && gone < 0; t += 100) {
        const std::size_t before = count();
        Frame(100);
        if (count() > before)
            pulses.push_back(t);
        if (!Alive(id))
            gone = t;
    }
    EXPECT_EQ(pulses, c.pulsesAt);
    EXPECT_EQ(gone, c.goneBy);
}

INSTANTIATE_TEST_SUITE_P(Durations, AreaEffects,
                         ::testing::Values(AreaCase{3, {1000, 2000}, 3000}, AreaCase{0, {0}, 100}));

TEST_F(ProjectileKinds, AnAreaEffectTellsItsSkillOfTheFriendsInside) {
    Place(30, 52, Heroes());
    auto* area = Launch<ProjectileAreaEffect>("Records/Test/Area.dbr",
                                              Info(1, 1, 5, Point(30, 0, 50)), 1, {Own(3.0f)});
    ASSERT_NE(area, nullptr);
    ASSERT_FALSE(skill->reports.empty());
    EXPECT_TRUE(skill->reports.back().friends);
    EXPECT_EQ(skill->reports.back().ids.size(), 1u);
}

TEST_F(ProjectileKinds, ATerrainFollowerKeepsItsHeightOverAStepAndClosesOnADrop) {
    ProjectileInfo info = Info(20, 1, 50, Point(0, 0, 0));
    info.start.coords = Coords::FromDirection(Vec3(20, 1, 50), Vec3(0, 0, 1), Vec3(0, 1, 0));
    auto* glider = Launch<ProjectileTerrainFollowing>("Records/Test/Glider.dbr", info, 2);
    ASSERT_NE(glider, nullptr);
    EXPECT_FLOAT_EQ(glider->GetHoverHeight(), 1.0f);
    std::vector<float> overDrop;
    for (int i = 0; i < 80 && Alive(glider->GetObjectId()); ++i) {
        Frame(50);
        if (!Alive(glider->GetObjectId()))
            break;
        const Vec3 at = glider->GetCoords().coords.origin;
        if (at.z > 62.0f && at.z < 68.0f) {
            EXPECT_NEAR(at.y, 2.2f, 0.001f) << "1.0 over the 1.2 step";
        }
        if (at.z > 81.0f)
            overDrop.push_back(at.y + 3.0f);
    }
    ASSERT_GE(overDrop.size(), 3u);
    // Each update closes a quarter of what is left above the hover height.
    EXPECT_NEAR(overDrop[1] - 1.0f, 0.75f * (overDrop[0] - 1.0f), 0.01f);
    EXPECT_NEAR(overDrop[2] - 1.0f, 0.75f * (overDrop[1] - 1.0f), 0.01f);
}

struct LaunchCase {
    const char* name;
    Vec3 target;  // thrown from (10, 1, 30)
    float angleDegrees;
};

class BallisticLaunches : public ProjectileKinds,
                          public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(BallisticLaunches, NeverGiveANaNAndAlwaysLeaveTheGround) {
    const LaunchCase& c = GetParam();
    AddRecord("Records/Test/Lob.dbr",
              R"({"Class": "ProjectileExploding", "projectileVelocity": 10, "launchAngle": )" +
                  std::to_string(c.angleDegrees) + "}");
    auto* bomb = Launch<ProjectileExploding>("Records/Test/Lob.dbr",
                                             Info(10, 1, 30, WorldVec3(field, c.target)), 8);
    ASSERT_NE(bomb, nullptr);
    const Vec3 v = PhysicsEngine::Get().GetEntityLinearVelocity(bomb->GetObjectId());
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << c.name;
    EXPECT_GT(v.Length(), 0.0f);
    if (c.target.y > 1.0f) {
        EXPECT_GT(v.y, 0.0f) << "rises toward a target above it";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BallisticLaunches,
                         ::testing::Values(LaunchCase{"Level", {20, 1, 30}, 45},
                                           LaunchCase{"BelowTheStart", {20, -2, 30}, 30},
                                           LaunchCase{"AboveTheArcGoesSteeper", {20, 6, 30}, 10},
                                           LaunchCase{"FarAboveGoesStraight", {14, 15, 30}, 10},
                                           LaunchCase{"NearlyOverhead", {10.1f, 15, 30}, 10},
                                           LaunchCase{"AtTheStart", {10, 1, 30}, 45}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectileKinds, TheLaunchAngleIsReadBetweenTenAndEightyDegrees) {
    for (auto [given, read] : {std::pair{5.0f, 10.0f}, {85.0f, 80.0f}, {45.0f, 45.0f}}) {
        const std::string record = "Records/Test/Angle" + std::to_string(int(given)) + ".dbr";
        AddRecord(record, R"({"Class": "ProjectileGrenade", "launchAngle": )" +
                              std::to_string(given) + "}");
        auto* grenade = Objects().CreateObjectFromFile<ProjectileGrenade>(record);
        ASSERT_NE(grenade, nullptr);
        EXPECT_FLOAT_EQ(grenade->GetLaunchAngle(), read) << given;
        Objects().DestroyObject(grenade);
    }
}

}  // namespace
}  // namespace GAME::test
