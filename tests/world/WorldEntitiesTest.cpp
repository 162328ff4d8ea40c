// Entities in the world: membership across regions and the order and reach of the queries.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "Engine/world/EntityGrid.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldSweep.h"
#include "WorldTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

WorldCoords At(Region* region, float x, float y, float z) {
    return WorldCoords(region, Coords::FromOrigin(Vec3(x, y, z)));
}

std::vector<std::uint32_t> Ids(const std::vector<Entity*>& entities) {
    std::vector<std::uint32_t> ids;
    for (const Entity* e : entities)
        ids.push_back(e->GetObjectId());
    return ids;
}

class WorldEntities : public ::testing::Test {
protected:
    void SetUp() override {
        // Two regions side by side along x: B starts where A ends.
        a = World::Get().AddRegion(
            std::make_unique<Region>("A", Vec3(0, 0, 0), Vec3(100, 50, 100)));
        b = World::Get().AddRegion(
            std::make_unique<Region>("B", Vec3(100, 0, 0), Vec3(100, 50, 100)));
    }
    TestMachine tm;
    Region* a = nullptr;
    Region* b = nullptr;
};

TEST_F(WorldEntities, MembershipFollowsAddMoveRemoveAndDestruction) {
    World& world = World::Get();
    Entity* e = MakeEntity();
    EXPECT_FALSE(e->IsInWorld());
    ASSERT_TRUE(world.AddEntity(e, At(a, 10, 0, 10), false));
    EXPECT_TRUE(e->IsInWorld());
    EXPECT_EQ(world.GetEntityCount(), 1u);

    // Moving into the other region refiles it there: a query of B finds it, one of A does not.
    world.SetCoords(e, At(b, 5, 0, 5));
    std::vector<Entity*> found;
    world.GetEntitiesInSphere(found, b, Sphere{Vec3(5, 0, 5), 1});
    EXPECT_EQ(found, std::vector<Entity*>{e});
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(10, 0, 10), 1});
    EXPECT_TRUE(found.empty());

    // Moving by the entity's own SetCoords refiles it too.
    e->SetCoords(At(a, 50, 0, 50));
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(50, 0, 50), 1});
    EXPECT_EQ(found, std::vector<Entity*>{e});

    EXPECT_TRUE(world.RemoveEntity(e));
    EXPECT_FALSE(e->IsInWorld());
    EXPECT_FALSE(world.RemoveEntity(e));
    EXPECT_EQ(world.GetEntityCount(), 0u);

    // An entity destroyed while standing in the world is forgotten by it.
    Entity* doomed = MakeEntity();
    world.AddEntity(doomed, At(a, 1, 0, 1), false);
    Singleton<ObjectManager>::Get().DestroyObject(doomed);
    EXPECT_EQ(world.GetEntityCount(), 0u);
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(1, 0, 1), 5});
    EXPECT_TRUE(found.empty());
}

TEST_F(WorldEntities, RefusesCoordinatesOutsideItsRegions) {
    Region stray("Stray");
    Entity* e = MakeEntity();
    EXPECT_FALSE(World::Get().AddEntity(e, At(&stray, 0, 0, 0), false));
    EXPECT_FALSE(World::Get().AddEntity(e, WorldCoords(), false));
    EXPECT_FALSE(World::Get().AddEntity(nullptr, At(a, 0, 0, 0), false));
    EXPECT_FALSE(e->IsInWorld());
    EXPECT_EQ(tm.CountLog("name no region"), 2);
    // A second region of a taken name is refused.
    EXPECT_EQ(World::Get().AddRegion(std::make_unique<Region>("A")), nullptr);

    // AddEntity with makeVisible shows a hidden entity.
    e->SetVisibility(false);
    ASSERT_TRUE(World::Get().AddEntity(e, At(a, 0, 0, 0), true));
    EXPECT_TRUE(e->IsVisible());
}

TEST_F(WorldEntities, QueriesReportInsertionOrderAcrossCellsAndRegions) {
    World& world = World::Get();
    // Added in an order unrelated to grid cells or ids: far cell first, then nearer ones, one
    // of them across the region border.
    std::vector<Entity*> added;
    const Vec3 spots[] = {{99, 0, 99}, {90, 0, 90}, {95, 0, 97}, {98, 0, 92}};
    for (const Vec3& p : spots) {
        added.push_back(MakeEntity());
        world.AddEntity(added.back(), At(a, p.x, p.y, p.z), false);
    }
    Entity* across = MakeEntity();
    world.AddEntity(across, At(b, 1, 0, 95), false);  // world x 101
    added.push_back(across);
    // Re-filing an early entity keeps its place in the order.
    world.SetCoords(added[0], At(a, 96, 0, 96));

    std::vector<Entity*> found;
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(95, 0, 95), 8});
    EXPECT_EQ(found, added);

    found.clear();
    world.GetEntitiesInBox(found, a, ABBox{Vec3(89, -1, 89), Vec3(102, 1, 100)});
    EXPECT_EQ(found, added);

    // The list type keeps actors or the others.
    Actor* actor = MakeEntity<Actor>();
    world.AddEntity(actor, At(a, 95, 0, 95), false);
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(95, 0, 95), 8}, EntityListType::Actors);
    EXPECT_EQ(found, std::vector<Entity*>{actor});
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(95, 0, 95), 8}, EntityListType::Static);
    EXPECT_EQ(found, added);

    // A query appends to what the caller's vector holds.
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(90, 0, 90), 0.1f});
    ASSERT_EQ(found.size(), added.size() + 1);
    EXPECT_EQ(found.back(), added[1]);
}

// A crowd of thousands (order keys past several digits of the sort), scattered over cells and
// both regions, some taken out and put back (they rejoin at the end): a query still reports
// world order, after what the caller's vector already held.
TEST_F(WorldEntities, ACrowdComesBackInWorldOrder) {
    World& world = World::Get();
    std::vector<Entity*> added;
    std::uint32_t seed = 99;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 99.0f;
    };
    for (int i = 0; i < 3000; ++i) {
        added.push_back(MakeEntity());
        world.AddEntity(added.back(), At(i % 3 == 0 ? b : a, next(), 0, next()), false);
    }
    std::vector<Entity*> rejoined;
    for (std::size_t i = 7; i < added.size(); i += 211) {
        world.RemoveEntity(added[i]);
        rejoined.push_back(added[i]);
        added[i] = nullptr;
    }
    std::erase(added, nullptr);
    for (Entity* e : rejoined) {
        world.AddEntity(e, At(a, next(), 0, next()), false);
        added.push_back(e);
    }
    Entity* first = MakeEntity();
    std::vector<Entity*> found{first};
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(100, 0, 50), 400});
    ASSERT_EQ(found.size(), added.size() + 1);
    EXPECT_EQ(found.front(), first);
    EXPECT_TRUE(std::equal(added.begin(), added.end(), found.begin() + 1));
}

// World order survives ranks handed out again: a few found among many far apart in the order
// (sorted by digits), then the same after most of the world left and ranks were compacted
// (read back from marks), with late arrivals behind them.
TEST_F(WorldEntities, OrderHoldsAcrossSparseQueriesAndCompaction) {
    World& world = World::Get();
    std::vector<Entity*> near, far;
    const auto addNear = [&](int count) {
        for (int i = 0; i < count; ++i) {
            near.push_back(MakeEntity());
            world.AddEntity(near.back(), At(a, 10.0f + static_cast<float>(i % 5) * 0.1f, 0, 10),
                            false);
        }
    };
    addNear(32);
    for (int i = 0; i < 17000; ++i) {
        far.push_back(MakeEntity());
        world.AddEntity(far.back(), At(b, 50.0f + static_cast<float>(i % 40), 0, 80), false);
    }
    addNear(32);
    const auto expectNearInOrder = [&] {
        std::vector<Entity*> found;
        world.GetEntitiesInSphere(found, a, Sphere{Vec3(10, 0, 10), 2.0f});
        EXPECT_EQ(Ids(found), Ids(near));
    };
    expectNearInOrder();
    // The first near ones leave and come back behind the others; most of the crowd leaves.
    for (int i = 0; i < 8; ++i) {
        world.RemoveEntity(near[static_cast<std::size_t>(i)]);
        world.AddEntity(near[static_cast<std::size_t>(i)], At(a, 10, 0, 10), false);
    }
    std::rotate(near.begin(), near.begin() + 8, near.end());
    for (std::size_t i = 0; i < far.size(); ++i)
        if (i % 10 != 0)
            world.RemoveEntity(far[i]);
    expectNearInOrder();
    addNear(40);
    expectNearInOrder();
    std::vector<Entity*> crowd;
    world.GetEntitiesInSphere(crowd, b, Sphere{Vec3(70, 0, 80), 30.0f});
    ASSERT_EQ(crowd.size(), 1700u);
    for (std::size_t i = 0; i < crowd.size(); ++i)
        ASSERT_EQ(crowd[i], far[i * 10]) << i;
    // A sweep finds each kept rank's entry where the world keeps it: past the crowded cells'
    // growth, the removals' moves and the renumbering.
    std::vector<Entity*> swept;
    world.SweepSphere(
        b, Sphere{Vec3(70, 0, 80), 30.0f}, EntityListType::All,
        [](const EntityGrid::Entry&) { return true; },
        [&](const EntityGrid::Entry& entry) { swept.push_back(entry.entity); });
    EXPECT_EQ(swept, crowd);
}

TEST_F(WorldEntities, BoundingRadiusDecidesSphereAndRayHits) {
    World& world = World::Get();
    Entity* big = MakeEntity();
    big->SetBoundingRadius(5.0f);
    world.AddEntity(big, At(a, 50, 0, 50), false);
    Entity* small = MakeEntity();
    world.AddEntity(small, At(a, 50, 0, 58), false);

    // The big one reaches a sphere 6 away; the small one (radius 0.5) does not reach 2 away.
    std::vector<Entity*> found;
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(50, 0, 44), 1.5f});
    EXPECT_EQ(found, std::vector<Entity*>{big});
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(50, 0, 60.6f), 2.0f});
    EXPECT_TRUE(found.empty());

    // A ray along +z meets the big one first, then the small one; a short ray only the big one.
    const WorldRay ray{a, Vec3(50, 0, 30), Vec3(0, 0, 1)};
    world.GetAllIntersections(ray, found, 100);
    EXPECT_EQ(found, (std::vector<Entity*>{big, small}));
    found.clear();
    world.GetAllIntersections(ray, found, 16);
    EXPECT_EQ(found, std::vector<Entity*>{big});

    WorldIntersection hit;
    ASSERT_TRUE(world.GetIntersection(ray, hit, 100, false));
    EXPECT_EQ(hit.entityId, big->GetObjectId());
    EXPECT_FLOAT_EQ(hit.distance, 15.0f);
    // Without ground, a ground-only ray hits nothing.
    EXPECT_FALSE(world.GetIntersection(ray, hit, 100, true));
    EXPECT_EQ(hit.distance, kInfinity);
}

// A body standing on its position is met by rays at the height of its lift, also after the
// lift changed while it stood in the world; spheres and boxes still test its position.
TEST_F(WorldEntities, RaysMeetABodyAtItsLift) {
    World& world = World::Get();
    Entity* body = MakeEntity();
    world.AddEntity(body, At(a, 50, 0, 50), false);
    body->SetRayLift(1.4f);
    struct Case {
        float height;
        bool met;
    } cases[] = {{1.4f, true}, {1.8f, true}, {0.2f, false}, {2.0f, false}};
    for (const Case& c : cases) {
        const WorldRay ray{a, Vec3(50, c.height, 30), Vec3(0, 0, 1)};
        std::vector<Entity*> found;
        world.GetAllIntersections(ray, found, 100);
        EXPECT_EQ(found.size(), c.met ? 1u : 0u) << c.height;
        WorldIntersection hit;
        EXPECT_EQ(world.GetIntersection(ray, hit, 100, false), c.met) << c.height;
    }
    std::vector<Entity*> found;
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(50, 0, 50), 0.1f});
    EXPECT_EQ(found, std::vector<Entity*>{body});
}

TEST_F(WorldEntities, QueriesSeeEveryMoveAndResizeOfAnEntityAlreadyFiled) {
    World& world = World::Get();
    Entity* e = MakeEntity();
    world.AddEntity(e, At(a, 50, 0, 50), false);
    std::vector<Entity*> found;
    // A step that stays inside its grid cell still moves it for the queries.
    e->SetCoords(At(a, 52, 0, 50));
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(50, 0, 50), 1.0f});
    EXPECT_TRUE(found.empty());
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(52.5f, 0, 50), 0.1f});
    EXPECT_EQ(found, std::vector<Entity*>{e});

    // Growing while it stands: the larger sphere is what the next query tests.
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(52, 0, 53), 1.0f});
    EXPECT_TRUE(found.empty());
    e->SetBoundingRadius(2.5f);
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(52, 0, 53), 1.0f});
    EXPECT_EQ(found, std::vector<Entity*>{e});

    // Grown beyond any radius filed before, it is still found from a cell its centre is not in.
    Entity* far = MakeEntity();
    world.AddEntity(far, At(a, 70, 0, 50), false);
    far->SetBoundingRadius(15.0f);
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(56, 0, 50), 0.5f});
    EXPECT_EQ(found, std::vector<Entity*>{far});
    e->SetBoundingRadius(0.5f);
    far->SetBoundingRadius(0.5f);
    found.clear();
    world.GetEntitiesInSphere(found, a, Sphere{Vec3(56, 0, 50), 0.5f});
    EXPECT_TRUE(found.empty());
}

// Queries test a cell's crowd by its packed lanes (four or eight at a time): the one wide body
// among narrow ones is found by its own radius and lift wherever it stands in the cell, also
// after a removal moved it.
TEST_F(WorldEntities, AWideBodyIsFoundInAnyLaneOfItsCell) {
    struct Case {
        int count, wide, removed;  // removed: -1 for none
    } cases[] = {{1, 0, -1}, {8, 7, -1}, {9, 8, -1}, {17, 9, -1}, {17, 16, 3}};
    float z = 12;  // a crowd to a row of cells, apart from the others' reach
    for (const Case& c : cases) {
        std::vector<Entity*> crowd;
        for (int i = 0; i < c.count; ++i) {
            crowd.push_back(MakeEntity());
            World::Get().AddEntity(crowd.back(), At(a, 49 + 0.25f * i, 0, z), false);
        }
        Entity* wide = crowd[static_cast<std::size_t>(c.wide)];
        wide->SetBoundingRadius(4.0f);
        wide->SetRayLift(6.0f);
        if (c.removed >= 0)
            World::Get().RemoveEntity(crowd[static_cast<std::size_t>(c.removed)]);
        std::vector<Entity*> found, hit, boxed;
        const float x = wide->GetPosition().local.x;
        World::Get().GetEntitiesInSphere(found, a, Sphere{Vec3(x, 0, z + 4), 0.5f});
        World::Get().GetAllIntersections(WorldRay{a, Vec3(40, 6, z), Vec3(1, 0, 0)}, hit, 30);
        World::Get().GetEntitiesInBox(
            boxed, a, ABBox{Vec3(x - 0.1f, -1, z + 3.5f), Vec3(x + 0.1f, 1, z + 3.9f)});
        EXPECT_EQ(found, std::vector<Entity*>{wide}) << c.count << " " << c.wide;
        EXPECT_EQ(hit, std::vector<Entity*>{wide}) << c.count << " " << c.wide;
        EXPECT_EQ(boxed, std::vector<Entity*>{wide}) << c.count << " " << c.wide;
        z += 16;
    }
}

TEST_F(WorldEntities, FrustumSeesOnlyWhatIsInFront) {
    World& world = World::Get();
    Entity* ahead = MakeEntity();
    Entity* behind = MakeEntity();
    Entity* aside = MakeEntity();
    world.AddEntity(ahead, At(a, 50, 0, 70), false);
    world.AddEntity(behind, At(a, 50, 0, 30), false);
    world.AddEntity(aside, At(a, 90, 0, 52), false);
    // Looking along +z from (50, 0, 50) with a 60-degree view.
    const WorldFrustum view =
        WorldFrustum::FromPinhole(a, Coords::FromOrigin(Vec3(50, 0, 50)), 1.0472f, 1.0f, 0.1f, 100);
    std::vector<Entity*> found;
    world.GetEntitiesInFrustum(found, view);
    EXPECT_EQ(Ids(found), Ids({ahead}));
}

TEST_F(WorldEntities, APartOfTheViewCutByMorePlanesSeesLess) {
    World& world = World::Get();
    Entity* right = MakeEntity();
    Entity* left = MakeEntity();
    Entity* straddling = MakeEntity();  // left of the axis, its sphere reaching across
    Entity* tooClose = MakeEntity();
    world.AddEntity(right, At(a, 53, 0, 60), false);
    world.AddEntity(left, At(a, 47, 0, 60), false);
    straddling->SetBoundingRadius(1.0f);
    world.AddEntity(straddling, At(a, 49.5f, 0, 60), false);
    tooClose->SetBoundingRadius(0.0f);
    world.AddEntity(tooClose, At(a, 50.01f, 0, 50.05f), false);
    // The right half of the picture of a camera at (50, 0, 50) looking along +z; x is its right.
    WorldFrustum view = WorldFrustum::FromPinhole(a, Coords::FromOrigin(Vec3(50, 0, 50)), 1.0472f,
                                                  1.0f, 0.1f, 100, Rect{0.5f, 0.0f, 0.5f, 1.0f});
    EXPECT_EQ(view.GetNumPlanes(), 6u);
    std::vector<Entity*> found;
    world.GetEntitiesInFrustum(found, view);
    EXPECT_EQ(found, (std::vector<Entity*>{right, straddling}));
    EXPECT_FALSE(view.Contains(Vec3(50.01f, 0, 50.05f)));  // before the near plane
    // A point given in the neighbouring region is taken through world space.
    EXPECT_TRUE(view.Contains(WorldVec3(b, Vec3(-47, 0, 60))));
    EXPECT_FALSE(view.Contains(WorldVec3(b, Vec3(-53, 0, 60))));

    // Cut at z 55 of the region: nothing of the row at 60 is left.
    EXPECT_TRUE(view.AddPlane(Plane::Through(Vec3(0, 0, -1), Vec3(0, 0, 55))));
    found.clear();
    world.GetEntitiesInFrustum(found, view);
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(view.Contains(Vec3(51, 0, 54)));

    // The planes are bounded: a full frustum refuses more and keeps what it holds.
    EXPECT_TRUE(view.AddPlane(Plane::Through(Vec3(0, 1, 0), Vec3(0, -10, 0))));
    const Plane everything = Plane::Through(Vec3(0, 1, 0), Vec3(0, -20, 0));
    EXPECT_FALSE(view.AddPlane(everything));
    EXPECT_EQ(view.GetNumPlanes(), static_cast<std::size_t>(WorldFrustum::kMaxPlanes));
    EXPECT_TRUE(view.Contains(Vec3(51, 0, 54)));
    EXPECT_FALSE(view.Contains(Vec3(51, -15, 54)));
}

TEST_F(WorldEntities, ConeTakesWhatLiesWithinItsAngleAndLength) {
    World& world = World::Get();
    Entity* inside = MakeEntity();  // on the axis, 8 ahead
    Entity* edge = MakeEntity();    // 25 degrees off the axis: outside a 20-degree cone...
    Entity* wide = MakeEntity();    // ...unless its radius reaches in
    Entity* behind = MakeEntity();
    Entity* tooFar = MakeEntity();
    world.AddEntity(inside, At(a, 50, 0, 58), false);
    world.AddEntity(edge, At(a, 50 + 10 * Sin(0.4363f), 0, 50 + 10 * Cos(0.4363f)), false);
    wide->SetBoundingRadius(1.0f);
    world.AddEntity(wide, At(a, 50 - 10 * Sin(0.4363f), 0, 50 + 10 * Cos(0.4363f)), false);
    world.AddEntity(behind, At(a, 50, 0, 45), false);
    world.AddEntity(tooFar, At(a, 50, 0, 62), false);
    std::vector<Entity*> found;
    world.GetEntitiesInCone(found, WorldVec3(a, Vec3(50, 0, 50)), Vec3(0, 0, 2),
                            20.0f * 0.017453292f, 11.0f);
    EXPECT_EQ(found, (std::vector<Entity*>{inside, wide}));
    found.clear();
    world.GetEntitiesInCone(found, WorldVec3(a, Vec3(50, 0, 50)), Vec3(), 1.0f, 11.0f);
    EXPECT_TRUE(found.empty());
}

TEST(WorldMachines, TwoMachinesReportTheSameOrder) {
    // The same sequence of adds and moves on two machines gives the same query answers, though
    // object ids and addresses differ.
    auto run = [] {
        Region* r = World::Get().AddRegion(std::make_unique<Region>("R"));
        std::vector<Entity*> placed;
        for (int i = 0; i < 200; ++i) {
            placed.push_back(MakeEntity());
            const float x = static_cast<float>((i * 37) % 100),
                        z = static_cast<float>((i * 53) % 100);
            World::Get().AddEntity(placed.back(), At(r, x, 0, z), false);
        }
        for (int i = 0; i < 200; i += 3)
            World::Get().SetCoords(placed[i], At(r, 50.0f + i % 7, 0, 50.0f - i % 5));
        std::vector<Entity*> found;
        World::Get().GetEntitiesInSphere(found, r, Sphere{Vec3(50, 0, 50), 20});
        std::vector<int> order;
        for (Entity* e : found)
            order.push_back(
                static_cast<int>(std::find(placed.begin(), placed.end(), e) - placed.begin()));
        return order;
    };
    TestMachine first;
    const std::vector<int> one = run();
    TestMachine second;
    std::vector<int> two;
    ON_MACHINE(second) two = run();
    EXPECT_GT(one.size(), 60u);
    EXPECT_EQ(one, two);
    EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
}

}  // namespace
}  // namespace GAME::test
