// Characters run along planned paths on the sample meadow: around its wall, slowing near the
// end, turning within their rotation limits, stopping at the end of the path, the same on every
// machine; plus teleports, turning and the small movement queries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/nav/DynamicObstacle.h"
#include "Engine/world/nav/Path.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/monster/states/MonsterStateHelpers.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/movement/CharacterMovementManager.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/characters/npc/Npc.h"
#include "Game/skills/Skill.h"
#include "MovementTestSupport.h"

namespace GAME::test {
namespace {

using AS = Character_ActionState;

// The meadow's first wall, over x and z.
bool InsideWall(const Vec3& p) {
    return p.x > 20.0f && p.x < 22.0f && p.z > 10.0f && p.z < 40.0f;
}

float Flat(const Vec3& a, const Vec3& b) {
    return Vec2(a.x - b.x, a.z - b.z).Length();
}

float Yaw(const Character& c) {
    const Vec3& z = c.GetCoords().coords.zAxis;
    return std::atan2(z.x, z.z);
}

float AngleBetween(float a, float b) {
    float d = std::fabs(a - b);
    return d > 3.14159265f ? 6.2831853f - d : d;
}

struct Walk {
    std::vector<Vec3> positions;
    std::vector<float> yaws;
    AS finalState = AS::Unknown;
    int framesOnLocalPath = 0;
};

// Runs a character from (10, 25) to (32, 25) across the wall, a frame at a time.
Walk RunAcrossTheWall(Character& hero, const WorldVec3& target) {
    Walk walk;
    hero.MoveTo(target, 0.0f);
    EXPECT_EQ(hero.GetActionState(), AS::Move);
    for (int frame = 0; frame < 1000 && hero.GetActionState() == AS::Move; ++frame) {
        gEngine->AdvanceFrame(kFrameMs);
        hero.UpdateSelf(kFrameMs);
        hero.PreAnimationUpdate(kFrameMs);
        walk.positions.push_back(hero.GetCoords().coords.origin);
        walk.yaws.push_back(Yaw(hero));
        if (hero.GetMovementManager().GetLocalPath())
            ++walk.framesOnLocalPath;
    }
    walk.finalState = hero.GetActionState();
    return walk;
}

class Movement : public MeadowTest {
protected:
    struct Armed {
        Character* walker;
        std::uint32_t slash, shot;
    };
    // A walker at (36, 40) with a melee and a ranged skill.
    Armed SpawnSlasher() {
        Character* walker = Spawn(36, 40);
        SkillManager& skills = walker->GetSkillManager();
        skills.LoadSkills("Records/Test/Slasher.dbr", 2);
        const Armed armed{walker, skills.FindSkillId("Records/Test/Slash.dbr"),
                          skills.FindSkillId("Records/Test/Shot.dbr")};
        EXPECT_NE(armed.slash, 0u);
        EXPECT_NE(armed.shot, 0u);
        return armed;
    }
};

TEST_F(Movement, RunsAroundTheWallSlowsNearTheEndAndStops) {
    Character* hero = SpawnRunner(10, 25);
    PlayRun(*hero);
    const WorldVec3 target = At(32, 25);
    const Walk walk = RunAcrossTheWall(*hero, target);

    ASSERT_EQ(walk.finalState, AS::ForcedStop);
    ASSERT_GT(walk.positions.size(), 10u);
    EXPECT_LT(Flat(walk.positions.back(), target.local), 0.05f);
    EXPECT_EQ(hero->GetPath(), nullptr);

    float travelled = 0.0f;
    std::vector<float> steps;
    for (std::size_t i = 1; i < walk.positions.size(); ++i) {
        EXPECT_FALSE(InsideWall(walk.positions[i])) << i;
        steps.push_back(Flat(walk.positions[i], walk.positions[i - 1]));
        travelled += steps.back();
    }
    // Around an end of the wall: longer than the straight 22.
    EXPECT_GT(travelled, 30.0f);
    // Cruising at the run clip's 5 m/s; within the last metre (the root's slowdown length)
    // slower, but never below 1 m/s.
    const float cruise = 5.0f * kFrameMs * 0.001f;
    EXPECT_NEAR(steps[steps.size() / 2], cruise, 1e-3f);
    const float slowest = 1.0f * kFrameMs * 0.001f;
    EXPECT_LT(steps[steps.size() - 2], cruise * 0.9f);
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        EXPECT_GE(steps[i], slowest - 1e-4f) << i;

    // Every turn stays within the fastest rotation, and at least one corner needed turning.
    const float fastest = hero->GetMaxRotationSpeed() * kFrameMs * 0.001f;
    float turned = 0.0f;
    for (std::size_t i = 1; i < walk.yaws.size(); ++i) {
        const float turn = AngleBetween(walk.yaws[i], walk.yaws[i - 1]);
        EXPECT_LE(turn, fastest + 1e-4f) << i;
        turned += turn;
    }
    EXPECT_GT(turned, 0.5f);

    // Standing, the next frame puts it on the path's end, and there it stays.
    Frame(*hero, kFrameMs);
    const Vec3 stopped = hero->GetCoords().coords.origin;
    EXPECT_LT(Flat(stopped, target.local), 0.01f);
    EXPECT_EQ(hero->GetPathPosition().local, stopped);
    for (int i = 0; i < 5; ++i)
        Frame(*hero, kFrameMs);
    EXPECT_EQ(hero->GetCoords().coords.origin, stopped);
}

TEST(MovementOnTwoMachines, PositionsAreIdentical) {
    // Two bystanders in the way make the walker plan local paths (with their C-runtime draws).
    std::vector<Walk> walks;
    for (int machine = 0; machine < 2; ++machine) {
        SampleWorldCopy copy;
        TestMachine tm{copy.Root()};
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        Region* meadow = World::Get().GetRegion("Meadow");
        auto place = [meadow](float x, float z) {
            auto* c = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
                "Records/Test/Runner.dbr");
            WorldVec3 p(meadow, Vec3(x, 5, z));
            p.PutOnFloor();
            World::Get().AddEntity(c, WorldCoords(meadow, Coords::FromOrigin(p.local)), true);
            c->InitialUpdate();
            c->ResetMovementManager();
            return c;
        };
        Character* hero = place(10, 25);
        place(16, 34);
        place(16, 16);
        PlayRun(*hero);
        WorldVec3 target(meadow, Vec3(32, 5, 25));
        target.PutOnFloor();
        walks.push_back(RunAcrossTheWall(*hero, target));
        ShutdownObjects();
    }
    EXPECT_EQ(walks[0].finalState, AS::ForcedStop);
    EXPECT_GT(walks[0].framesOnLocalPath, 0);
    ASSERT_EQ(walks[0].positions.size(), walks[1].positions.size());
    for (std::size_t i = 0; i < walks[0].positions.size(); ++i) {
        ASSERT_EQ(walks[0].positions[i], walks[1].positions[i]) << i;
        ASSERT_EQ(walks[0].yaws[i], walks[1].yaws[i]) << i;
    }
}

TEST_F(Movement, TeleportStopsAndPlacesOnTheFloor) {
    Character* hero = SpawnRunner(10, 25);
    PlayRun(*hero);
    hero->MoveTo(At(32, 25), 0.0f);
    Frame(*hero, kFrameMs);
    ASSERT_EQ(hero->GetActionState(), AS::Move);

    // Another machine's report of its position: a small drift is ignored, a larger one
    // re-plans the run from the reported point to the same target.
    const WorldVec3 before = hero->GetPathPosition();
    WorldVec3 drift = before;
    drift.Translate(Vec3(0.3f, 0, 0));
    hero->UpdatePathPosition(drift);
    EXPECT_EQ(hero->GetPathPosition(), before);
    hero->UpdatePathPosition(At(12, 20));
    EXPECT_EQ(hero->GetPathPosition(), At(12, 20));
    EXPECT_EQ(hero->GetPathTarget(), At(32, 25));
    ASSERT_NE(hero->GetPath(), nullptr);
    EXPECT_LT(Flat(hero->GetPath()->GetStart().local, At(12, 20).local), 0.05f);

    const WorldVec3 ground = At(40, 58);
    hero->TeleportToLocation(WorldCoords(meadow, Coords::FromOrigin(Vec3(40, 9, 58))));
    EXPECT_EQ(hero->GetActionState(), AS::ForcedStop);
    EXPECT_EQ(hero->GetPath(), nullptr);
    EXPECT_EQ(hero->GetCoords().coords.origin, ground.local);
    EXPECT_EQ(hero->GetPathPosition(), ground);
    for (int i = 0; i < 3; ++i)
        Frame(*hero, kFrameMs);
    EXPECT_EQ(hero->GetCoords().coords.origin, ground.local);
}

// A standing character is put back where its movement holds it every frame, facing as it did:
// after the world moved it (over the ground, or only up), and where it stayed.
TEST_F(Movement, AStandingCharacterIsPutBackWhereItsMovementHoldsIt) {
    struct Case {
        const char* name;
        Vec3 shift;
    };
    for (const Case& c :
         {Case{"stays", Vec3(0, 0, 0)}, Case{"moved over the ground", Vec3(1, 0, 0)},
          Case{"moved up", Vec3(0, 0.25f, 0)}}) {
        Character* hero = Spawn(12, 30);
        Frame(*hero, kFrameMs);
        ASSERT_FALSE(hero->IsMoving()) << c.name;
        const WorldCoords held = hero->GetCoords();
        WorldCoords moved = held;
        moved.coords.origin += c.shift;
        World::Get().SetCoords(hero, moved);
        Frame(*hero, kFrameMs);
        const WorldCoords& after = hero->GetCoords();
        EXPECT_EQ(after.region, held.region) << c.name;
        EXPECT_EQ(after.coords.origin, held.coords.origin) << c.name;
        EXPECT_EQ(after.coords.zAxis, held.coords.zAxis) << c.name;
        World::Get().RemoveEntity(hero);
    }
}

TEST_F(Movement, TurnsBetweenItsRotationLimits) {
    Character* hero = Spawn(40, 40);
    const WorldVec3 here = hero->GetPosition();
    // Straight behind: the fastest turn (12 rad/s), 0.12 rad in 10 ms.
    hero->RotateTowards(10, Vec3(0, 0, -1), here);
    EXPECT_NEAR(AngleBetween(Yaw(*hero), 0.0f), 0.12f, 1e-4f);
    // Nearly ahead: within the step, so it faces the direction exactly.
    const Vec3 slightly = Vec3(0.05f, 0, 1).Unit();
    hero->RotateTowards(100, slightly, here);
    EXPECT_NEAR(Yaw(*hero), std::atan2(slightly.x, slightly.z), 1e-5f);
    // Sideways (cosine 0): halfway between the limits, 10.5 rad/s.
    const float before = Yaw(*hero);
    const Vec3 side(std::cos(before), 0, -std::sin(before));
    hero->RotateTowards(10, side * 3.0f, here);
    EXPECT_NEAR(AngleBetween(Yaw(*hero), before), 0.105f, 1e-4f);
    // Attacking with the rotate flag, the frame turns it towards its target.
    Character* target = Spawn(30, 40);
    hero->SetActionState(AS::Attack);
    hero->SetCurrentAttackTarget(target->GetObjectId(), target->GetPosition(), -1);
    hero->RotateTowardsTarget(true);
    for (int i = 0; i < 30; ++i)
        Frame(*hero, kFrameMs);
    EXPECT_NEAR(Yaw(*hero), std::atan2(-1.0f, 0.0f), 1e-4f);
    // Another target turns it again; once that one is gone, back to the place named with it.
    Character* east = Spawn(50, 40);
    hero->SetCurrentAttackTarget(east->GetObjectId(), target->GetPosition(), -1);
    for (const bool gone : {false, true}) {
        if (gone)
            east->DestroyMe();
        for (int i = 0; i < 30; ++i)
            Frame(*hero, kFrameMs);
        EXPECT_NEAR(Yaw(*hero), std::atan2(gone ? -1.0f : 1.0f, 0.0f), 1e-4f);
    }
    hero->SetActionState(AS::ForcedStop);
    // Too short a direction, or a vertical one, keeps the facing but still places it.
    const float kept = Yaw(*hero);
    WorldVec3 moved = here;
    moved.Translate(Vec3(1, 0, 0));
    hero->RotateTowards(10, Vec3(0.1f, 0, 0), moved);
    hero->RotateTowards(10, Vec3(0, 2, 0), moved);
    EXPECT_FLOAT_EQ(Yaw(*hero), kept);
    EXPECT_EQ(hero->GetCoords().coords.origin, moved.local);
}

TEST_F(Movement, ASheepTurnsWithItsStrideAndOtherNpcsByTheirRecord) {
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("T/Sheep.dbr", R"({"Class": "Npc",
        "pathGenerationStyle": "Sheep", "minRotationSpeed": 1, "maxRotationSpeed": 2})"));
    ASSERT_TRUE(records.AddRecordText("T/Goat.dbr", R"({"Class": "Npc",
        "pathGenerationStyle": "sheep", "minRotationSpeed": 1, "maxRotationSpeed": 2})"));
    auto* sheep = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("T/Sheep.dbr");
    auto* goat = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("T/Goat.dbr");
    ASSERT_TRUE(sheep && goat);
    EXPECT_EQ(sheep->GetPathGenerationStyle(), CharacterPathGenerationStyle::Sheep);
    // Names match whole and by case: "sheep" is the default style, turning by the record.
    EXPECT_FLOAT_EQ(goat->GetMinRotationSpeed(), 1.0f);
    EXPECT_FLOAT_EQ(goat->GetMaxRotationSpeed(), 2.0f);
    World::Get().AddEntity(sheep, WorldCoords(meadow, Coords::FromOrigin(At(40, 40).local)), true);
    const WorldVec3 here = sheep->GetPosition();
    // Standing still, a sheep does not turn at all.
    EXPECT_FLOAT_EQ(sheep->GetMaxRotationSpeed(), 0.0f);
    sheep->RotateTowards(10, Vec3(0, 0, -1), here);
    EXPECT_FLOAT_EQ(Yaw(*sheep), 0.0f);
    PlayRun(*sheep);
    gEngine->AdvanceFrame(kFrameMs);
    const float stride = sheep->GetMotion().Length();
    ASSERT_GT(stride, 0.0f);
    EXPECT_FLOAT_EQ(sheep->GetMinRotationSpeed(), stride * 0.75f);
    EXPECT_FLOAT_EQ(sheep->GetMaxRotationSpeed(), stride * 2.25f);
    sheep->RotateTowards(10, Vec3(0, 0, -1), here);
    EXPECT_NEAR(AngleBetween(Yaw(*sheep), 0.0f), stride * 2.25f * 0.01f, 1e-5f);
}

TEST_F(Movement, SmallQueriesAndTheirEdges) {
    Character* hero = Spawn(40, 40);
    // 0.49 away is already there: no path is kept.
    WorldVec3 near = hero->GetPathPosition();
    near.Translate(Vec3(0.49f, 0, 0));
    EXPECT_TRUE(hero->AlreadyThere(near));
    hero->MoveTo(near, 0.0f);
    EXPECT_NE(hero->GetActionState(), AS::Move);
    EXPECT_EQ(hero->GetPath(), nullptr);
    // A point 0.05 away can be reached without planning (no ground is even needed there).
    WorldVec3 close = hero->GetPathPosition();
    close.Translate(Vec3(0, 0.05f, 0));
    EXPECT_TRUE(hero->CanMoveTo(close, 0.5f));
    // Through the wall: the path ends short of a point inside it.
    EXPECT_FALSE(hero->CanMoveTo(WorldVec3(meadow, Vec3(21, 0, 25)), 0.1f));
    EXPECT_TRUE(hero->CanMoveTo(At(10, 25), 0.5f));

    EXPECT_FLOAT_EQ(hero->GetExtents(), 0.5f);
    EXPECT_FLOAT_EQ(hero->GetPathMass(), 2.0f);  // standing
    hero->SetExtentsLarge();
    EXPECT_FLOAT_EQ(hero->GetExtents(), 1.75f);
    EXPECT_EQ(hero->GetSize(), 2);

    // A foe is approached to the edge of both bodies, along the path towards it.
    Character* foe = Spawn(44, 40, TeamManager::DefaultPlayerTeam());
    Character* walker = Spawn(36, 40);
    const WorldVec3 point = walker->GetMoveToPoint(foe->GetObjectId(), 0, WorldVec3());
    ASSERT_TRUE(point.IsValid());
    EXPECT_NEAR(Flat(point.local, foe->GetPathPosition().local), 1.0f, 0.05f);
    EXPECT_LT(point.local.x, 44.0f);
    // A friend is guarded from a slot of its defense ring, both extents and 2 away.
    Character* friendly = Spawn(44, 30);
    friendly->GetDefenseSlots().SetNumSlots(4);
    const WorldVec3 guard = walker->GetMoveToPoint(friendly->GetObjectId(), 0, WorldVec3());
    ASSERT_TRUE(guard.IsValid());
    EXPECT_NEAR(Flat(guard.local, friendly->GetPathPosition().local), 3.0f, 1e-4f);
    EXPECT_EQ(friendly->GetDefenseSlots().GetOccupant(1), walker->GetObjectId());
    // Its own id: where it stands.
    EXPECT_EQ(walker->GetMoveToPoint(walker->GetObjectId(), 0, WorldVec3()),
              walker->GetPathPosition());
}

TEST_F(Movement, APlaceOffTheMeshFailsEverySearchUntilTheCharacterLeavesIt) {
    Character* hero = Spawn(40, 40);
    const WorldVec3 inWall(meadow, Vec3(21, 0, 25));
    const WorldVec3 inCave(World::Get().GetRegion("Cave"), Vec3(4, 0, 4));
    WorldVec3 close = inWall;
    close.Translate(Vec3(0.05f, 0, 0));
    struct Case {
        WorldVec3 at, to;
        bool canMove, pathFound;
    };
    // In a row on one character: its later searches from the wall meet the kept place. A point
    // 0.05 away needs no path, though none starts there; a goal in another region fails a search
    // whose start is sound, and the next goal from there is reached.
    const Case cases[] = {{inWall, At(10, 25), false, false}, {inWall, At(32, 25), false, false},
                          {inWall, close, true, false},       {At(23, 25), At(32, 25), true, true},
                          {At(23, 25), inCave, false, false}, {At(23, 25), At(32, 20), true, true},
                          {inWall, At(10, 5), false, false},  {At(10, 5), At(10, 25), true, true}};
    for (const Case& c : cases) {
        hero->SetPathPosition(c.at);
        EXPECT_EQ(hero->CanMoveTo(c.to, 0.5f), c.canMove) << c.at.local.x << " to " << c.to.local.x;
        EXPECT_EQ(hero->GetMovementManager().FindPath(c.at, c.to) != nullptr, c.pathFound)
            << c.at.local.x << " to " << c.to.local.x;
    }
}

TEST_F(Movement, APathKeptByCanMoveToIsTheSearchedPathWhenTaken) {
    Character* hero = SpawnRunner(10, 25);
    PlayRun(*hero);
    const WorldVec3 start = hero->GetPathPosition();
    // Round the wall (many corners) and straight (two).
    for (const WorldVec3& goal : {At(32, 25), At(10, 5), At(12, 27)}) {
        hero->SetPathPosition(start);
        ASSERT_TRUE(hero->CanMoveTo(goal, 0.5f)) << goal.local.x;
        const std::unique_ptr<Path> fresh = hero->GetMovementManager().FindPath(start, goal);
        ASSERT_NE(fresh, nullptr);
        hero->MoveTo(goal, 0.0f);
        const Path* taken = hero->GetPath();
        ASSERT_NE(taken, nullptr) << goal.local.x;
        EXPECT_EQ(taken->GetCorners(), fresh->GetCorners()) << goal.local.x;
        EXPECT_EQ(taken->GetPolygons(), fresh->GetPolygons()) << goal.local.x;
        EXPECT_EQ(taken->GetLength(), fresh->GetLength()) << goal.local.x;
        hero->CharacterStopMoving();
    }
}

// A path kept by CanMoveTo stays the one taken whatever searches run before the take: checks
// that fail (no path into the wall or to another region, a path refused as too long round the
// wall), a search of the path finder's own, another character's kept answer.
TEST_F(Movement, APathKeptByCanMoveToOutlivesTheSearchesAfterIt) {
    Character* hero = SpawnRunner(10, 25);
    Character* other = Spawn(12, 30);
    PlayRun(*hero);
    PathFinder& finder = World::Get().GetPathFinder();
    const WorldVec3 start = hero->GetPathPosition(), goal = At(32, 25);
    const WorldVec3 inWall(meadow, Vec3(21, 0, 25));
    const WorldVec3 inCave(World::Get().GetRegion("Cave"), Vec3(4, 0, 4));
    const std::function<void()> between[] = {
        [] {},
        [&] { EXPECT_FALSE(hero->CanMoveTo(inWall, 0.1f)); },
        [&] { EXPECT_FALSE(hero->CanMoveTo(inCave, 0.5f)); },
        [&] { EXPECT_FALSE(hero->GetMovementManager().CanMoveTo(start, At(32, 20), 0.5f, 1.01f)); },
        [&] {
            UnfinishedPathEnds ends;
            EXPECT_NE(
                finder.SearchUnfinished(0, start, At(10, 5), PathGenerationParams(), 30, ends),
                nullptr);
        },
        [&] { EXPECT_TRUE(other->CanMoveTo(At(40, 40), 0.5f)); }};
    for (std::size_t i = 0; i < std::size(between); ++i) {
        hero->SetPathPosition(start);
        ASSERT_TRUE(hero->CanMoveTo(goal, 0.5f)) << i;
        between[i]();
        const std::unique_ptr<Path> fresh = hero->GetMovementManager().FindPath(start, goal);
        ASSERT_NE(fresh, nullptr);
        hero->MoveTo(goal, 0.0f);
        ASSERT_NE(hero->GetPath(), nullptr) << i;
        EXPECT_EQ(hero->GetPath()->GetCorners(), fresh->GetCorners()) << i;
        EXPECT_EQ(hero->GetPath()->GetPolygons(), fresh->GetPolygons()) << i;
        hero->CharacterStopMoving();
    }
}

// The same question again once the path is taken, a barrier (standing, or a passing one) put up
// in between or not: the answer and the path kept for the next move are a new search's.
TEST_F(Movement, ASearchRepeatedAfterTheTakeIsAnsweredAsANewOne) {
    Character* hero = SpawnRunner(10, 25);
    PlayRun(*hero);
    const WorldVec3 start = hero->GetPathPosition(), goal = At(10, 5);
    DynamicObstacle standing;
    const struct {
        DynamicObstacle* barrier;
    } cases[] = {{nullptr}, {&standing}, {&World::Get().GetPathFinder().PassingObstacle(0)}};
    for (const auto& c : cases) {
        hero->SetPathPosition(start);
        ASSERT_TRUE(hero->CanMoveTo(goal, 0.5f));
        hero->MoveTo(goal, 0.0f);
        if (c.barrier) {
            ASSERT_TRUE(c.barrier->Create(
                meadow, OrientedBox::FromAxisAligned(Vec3(10, 1, 15), Vec3(6, 1, 0.5f))));
            c.barrier->AttachForSize(hero->GetSize());
        }
        const std::unique_ptr<Path> fresh = hero->GetMovementManager().FindPath(start, goal);
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(fresh->GetLength() > 21.0f, c.barrier != nullptr);
        EXPECT_TRUE(hero->CanMoveTo(goal, 0.5f));
        hero->MoveTo(goal, 0.0f);
        if (c.barrier)
            c.barrier->Detach();
        ASSERT_NE(hero->GetPath(), nullptr);
        EXPECT_EQ(hero->GetPath()->GetCorners(), fresh->GetCorners()) << (c.barrier != nullptr);
        hero->CharacterStopMoving();
    }
}

TEST_F(Movement, RandomPointsTakeTwoDrawsATryAndFromThePondOnlyTheirOwnPlace) {
    Character* hero = Spawn(40, 40);
    // On the pond's bed: a floor without the mesh.
    const WorldVec3 inPond(meadow, Vec3(12, -1.5f, 50));
    PathGenerationParams params;
    Character::GetPathGenerationParams(params);
    ASSERT_FALSE(World::Get().GetPathFinder().FindsStart(hero->GetSize(), inPond, params));
    const WorldVec3 open = At(30, 30);
    struct Case {
        WorldVec3 at;
        float radius;
        bool found;
    };
    // No search starts in the pond: far tries fail, the second call meeting the kept place, and
    // a point within 0.1 needs none. From open ground a far point is found.
    const Case cases[] = {
        {inPond, 3.0f, false}, {inPond, 3.0f, false}, {inPond, 0.02f, true}, {open, 3.0f, true}};
    for (const Case& c : cases) {
        hero->SetPathPosition(c.at);
        crt_srand(7);
        WorldVec3 point;
        const bool found = PickRandomPointInVicinity(point, *hero, c.at, c.radius, c.radius, 0, 0);
        const int next = crt_rand();
        EXPECT_EQ(found, c.found) << c.at.local.x << " r " << c.radius;
        // Every try draws a radius and an angle, whatever becomes of it.
        crt_srand(7);
        int tries = 0;
        while (crt_rand() != next && tries < 12)
            ++tries;
        EXPECT_EQ(tries % 2, 0) << c.at.local.x << " r " << c.radius;
        if (!found) {
            EXPECT_EQ(tries, 10) << c.at.local.x;
            continue;
        }
        EXPECT_NEAR(Flat(point.local, c.at.local), c.radius, 1e-3f) << c.at.local.x;
        EXPECT_TRUE(hero->CanMoveTo(point, 0.5f)) << c.at.local.x;
    }
}

TEST_F(Movement, AClientsCopyHoldsTheDefenseSlotItsSentMoveNames) {
    Character* friendly = Spawn(44, 30);
    Character* guard = Spawn(36, 30);
    SlotManager& ring = friendly->GetDefenseSlots();
    ring.SetNumSlots(4);
    WorldVec3 nearest;
    friendly->RequestDefenseSlot(nearest, guard->GetObjectId(), true, false);
    ASSERT_TRUE(nearest.IsValid());
    // The server's controller chose another slot than this machine would: the copy, which has
    // no brain here, takes the one the move names.
    const WorldVec3 sent = ring.GetSlotPosition(ring.GetSlotPosition(3) == nearest ? 2 : 3);
    gEngine->SetNetworkMode(true, false);
    guard->SetCurrentAttackTarget(friendly->GetObjectId(), sent, 0);
    guard->MoveTo(sent, 0.0f);
    gEngine->SetNetworkMode(false, false);
    for (std::size_t i = 0; i < ring.GetNumSlots(); ++i)
        EXPECT_EQ(ring.GetOccupant(i), ring.GetSlotPosition(i) == sent ? guard->GetObjectId() : 0u)
            << "slot " << i;
}

TEST_F(Movement, SkillsGiveTheirReachAndAMeleeSkillTakesAnAttackSlot) {
    const auto [walker, slash, shot] = SpawnSlasher();
    ASSERT_FALSE(HasFailure());
    SkillManager& skills = walker->GetSkillManager();
    Character* foe = Spawn(44, 40, TeamManager::DefaultPlayerTeam());
    const std::uint32_t me = walker->GetObjectId(), them = foe->GetObjectId();

    const float melee = gGameEngine->GetMeleeRange();
    const float far = gGameEngine->GetLongRange();
    EXPECT_FLOAT_EQ(Character::GetTargetDistance(me, them, slash), melee + 1.0f);
    EXPECT_FLOAT_EQ(Character::GetTargetDistance(me, 0, shot), far + 0.5f);
    EXPECT_FLOAT_EQ(Character::GetTargetDistance(me, them, 0), 0.0f);
    EXPECT_FLOAT_EQ(Character::GetTargetDistance(me, them, them), 0.0f);  // not a skill

    // Melee: the foe hands out a slot of its ring, at the skill's reach.
    foe->GetAttackSlots().SetNumSlots(4);
    const WorldVec3 slot = walker->GetMoveToPoint(them, slash, WorldVec3());
    ASSERT_TRUE(slot.IsValid());
    EXPECT_NEAR(Flat(slot.local, foe->GetPathPosition().local), melee + 1.0f, 1e-3f);
    EXPECT_EQ(foe->GetAttackSlots().GetOccupant(0) + foe->GetAttackSlots().GetOccupant(1) +
                  foe->GetAttackSlots().GetOccupant(2) + foe->GetAttackSlots().GetOccupant(3),
              me);

    // A target named by the skill's reference keeps the skill's id.
    walker->SetCurrentAttackTarget(them, foe->GetPosition(),
                                   static_cast<int>(skills.GetSkillReferenceNumber(shot)));
    std::uint32_t id = 0, skill = 0;
    WorldVec3 where;
    walker->GetCurrentAttackTarget(id, where, skill);
    EXPECT_EQ(skill, shot);

    // A restored run towards a target carries its stored skill through to the target.
    walker->SetInitialStateInfo(AS::Move, At(40, 30), them, slash);
    walker->RestoreLifeState();
    walker->GetCurrentAttackTarget(id, where, skill);
    EXPECT_EQ(id, them);
    EXPECT_EQ(skill, slash);
}

// One character asks in turn with each skill: each answer is the skill filed under its id at the
// time (its reach, a slot only for melee), and a destroyed skill answers as none.
TEST_F(Movement, EachMoveToPointTakesTheSkillFiledUnderItsIdThen) {
    const auto [walker, slash, shot] = SpawnSlasher();
    ASSERT_FALSE(HasFailure());
    Character* foe = Spawn(44, 40, TeamManager::DefaultPlayerTeam());
    SlotManager& ring = foe->GetAttackSlots();
    ring.SetNumSlots(4);
    // Both extents are 0.5; the walker stands 8 away, so a longer reach leaves it where it is.
    const float melee = gGameEngine->GetMeleeRange() + 1.0f;
    const float far = std::min(gGameEngine->GetLongRange() + 1.0f, 8.0f);
    struct Case {
        const char* name;
        std::uint32_t skill;
        bool destroyFirst;
        float reach;
        bool slot;
    };
    for (const Case& c :
         {Case{"shot", shot, false, far, false}, Case{"slash", slash, false, melee, true},
          Case{"shot again", shot, false, far, false},
          Case{"slash destroyed", slash, true, 1.0f, false},
          Case{"no skill", 0, false, 1.0f, false}}) {
        if (c.destroyFirst)
            Singleton<ObjectManager>::Get().DestroyObject(
                Singleton<ObjectManager>::Get().GetObject<Skill>(c.skill));
        ring.ReleaseSlot(walker->GetObjectId());
        const WorldVec3 point = walker->GetMoveToPoint(foe->GetObjectId(), c.skill, WorldVec3());
        ASSERT_TRUE(point.IsValid()) << c.name;
        EXPECT_NEAR(Flat(point.local, foe->GetPathPosition().local), c.reach, 1e-3f) << c.name;
        bool held = false;
        for (std::size_t i = 0; i < ring.GetNumSlots(); ++i)
            held = held || ring.GetOccupant(i) == walker->GetObjectId();
        EXPECT_EQ(held, c.slot) << c.name;
    }
}

TEST_F(Movement, DisallowedRotationKeepsTheFacing) {
    auto* stiff =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>("Records/Test/Stiff.dbr");
    ASSERT_NE(stiff, nullptr);
    World::Get().AddEntity(stiff, WorldCoords(meadow, Coords::FromOrigin(At(10, 25).local)), true);
    stiff->InitialUpdate();
    stiff->ResetMovementManager();
    ASSERT_FLOAT_EQ(stiff->GetRunSpeed(), 1.0f);
    stiff->RotateTowardsTarget(true);
    EXPECT_FALSE(stiff->IsRotatingTowardsTarget());
    // Its own run animation carries it.
    const Walk walk = RunAcrossTheWall(*stiff, At(32, 25));
    EXPECT_EQ(walk.finalState, AS::ForcedStop);
    ASSERT_FALSE(walk.positions.empty());
    for (float yaw : walk.yaws)
        EXPECT_FLOAT_EQ(yaw, 0.0f);
    EXPECT_LT(Flat(walk.positions.back(), At(32, 25).local), 0.05f);
}

TEST_F(Movement, RestoredRunLastsAsLongAsItsActionAndAWalkToo) {
    Character* hero = SpawnRunner(10, 25);
    PlayRun(*hero);
    hero->SetInitialStateInfo(AS::Move, At(32, 25), 0, 0);
    hero->RestoreLifeState();
    EXPECT_EQ(hero->GetActionState(), AS::Move);
    ASSERT_NE(hero->GetActionHandler().GetCurrentAction(), nullptr);
    EXPECT_EQ(hero->GetPathTarget(), At(32, 25));
    int frames = 0;
    while (hero->GetActionState() == AS::Move && frames++ < 1000)
        Frame(*hero, kFrameMs);
    // The end of the path stops the run and its action with it.
    EXPECT_EQ(hero->GetActionState(), AS::ForcedStop);
    EXPECT_EQ(hero->GetActionHandler().GetCurrentAction(), nullptr);
    Frame(*hero, kFrameMs);
    EXPECT_LT(Flat(hero->GetCoords().coords.origin, At(32, 25).local), 0.01f);

    // A stored walk starts a walk the same way; the stored state is used once.
    hero->SetInitialStateInfo(AS::Walk, At(40, 30), 0, 0);
    hero->RestoreLifeState();
    EXPECT_EQ(hero->GetActionState(), AS::Walk);
    EXPECT_NE(hero->GetPath(), nullptr);
    hero->CharacterStopMoving();
    EXPECT_EQ(hero->GetPath(), nullptr);
    hero->RestoreLifeState();
    EXPECT_EQ(hero->GetActionState(), AS::ForcedStop);
}

TEST_F(Movement, WithoutARunAnimationTheCharacterStaysStanding) {
    // A record without run clips, and no record at all (no animations whatever).
    for (const bool record : {true, false}) {
        Character* legless = record
                                 ? Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
                                       "Records/Test/Legless.dbr")
                                 : Singleton<ObjectManager>::Get().CreateObject<Character>();
        ASSERT_NE(legless, nullptr);
        World::Get().AddEntity(legless, WorldCoords(meadow, Coords::FromOrigin(At(10, 25).local)),
                               true);
        legless->ResetMovementManager();
        legless->MoveTo(At(32, 25), 0.0f);
        EXPECT_EQ(legless->GetActionState(), AS::ForcedStop) << record;
        EXPECT_EQ(legless->GetPath(), nullptr) << record;
        Frame(*legless, kFrameMs);
        EXPECT_EQ(legless->GetCoords().coords.origin, At(10, 25).local) << record;
        legless->WalkTo(At(32, 25), 0.0f);
        EXPECT_EQ(legless->GetPath(), nullptr) << record;
        World::Get().RemoveEntity(legless);
    }
}

}  // namespace
}  // namespace GAME::test
