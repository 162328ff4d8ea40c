// The physics' flying bodies: fixed steps of game time, gravity, the first ground triangle or
// collidable entity along a step, bounces and rest.
#include <cmath>

#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/object/EngineClasses.h"
#include "ProjectileTestSupport.h"

namespace GAME::test {

class BodyProbe : public Actor {
    RTTI_DECLARE(BodyProbe)
public:
    void CollisionCallback(const CollisionData& data) override { touches.push_back(data); }
    bool CanCollide(const Entity& other) const override { return other.IsA<Tile>(); }
    std::vector<CollisionData> touches;
};
RTTI_IMPLEMENT(BodyProbe, Actor)

namespace {

struct BodyCase {
    const char* name;
    Vec3 start;
    Vec3 velocity;
    bool gravity;
    bool tileAhead;  // a Tile of radius 1 at (20, 1, 10)
    // Expected after 3 s:
    int touchKind;  // -1: no touch
    bool tileTouched;
    bool resting;
};

class PhysicsBodies : public ProjectileScene, public ::testing::WithParamInterface<BodyCase> {
protected:
    BodyProbe* Throw(const Vec3& start, const Vec3& velocity, bool gravity) {
        auto* body = Objects().CreateObject<BodyProbe>();
        World::Get().AddEntity(body, At(start.x, start.y, start.z), true);
        PhysicsEngine& physics = PhysicsEngine::Get();
        physics.SetPhysicsType(body, PhysicsEngine::kFlyingType);
        physics.SetGravity(body, gravity);
        physics.SetEntityLinearVelocity(body, velocity);
        return body;
    }
};

TEST_P(PhysicsBodies, FlyTouchAndRestAsTheCaseSays) {
    const BodyCase& c = GetParam();
    std::uint32_t tileId = 0;
    if (c.tileAhead) {
        auto* tile = Objects().CreateObject<Tile>();
        tile->SetBoundingRadius(1.0f);
        World::Get().AddEntity(tile, At(20, 1, 10), true);
        tileId = tile->GetObjectId();
    }
    BodyProbe* body = Throw(c.start, c.velocity, c.gravity);
    for (int i = 0; i < 60; ++i)
        gEngine->AdvanceFrame(50);
    if (c.touchKind < 0) {
        EXPECT_TRUE(body->touches.empty());
    } else {
        ASSERT_FALSE(body->touches.empty());
        EXPECT_EQ(body->touches.front().kind, c.touchKind);
        EXPECT_TRUE(body->touches.front().contact);
    }
    EXPECT_EQ(!body->touches.empty() && body->touches.front().entityId == tileId && tileId != 0,
              c.tileTouched);
    EXPECT_EQ(body->IsSimulationEnabled(), !c.resting);
    const Vec3 at = body->GetCoords().coords.origin;
    EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z));
    if (c.resting && c.touchKind > 0) {
        EXPECT_NEAR(at.y, 0.0f, 0.05f) << "rests on the ground";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhysicsBodies,
    ::testing::Values(
        BodyCase{"DroppedOnGrassLandsAndRests", {10, 5, 10}, {}, true, false, 1, false, true},
        BodyCase{"DroppedIntoWaterTouchesWater", {45, 5, 10}, {}, true, false, 7, false, true},
        BodyCase{"ThrownUpAndAcrossBouncesThenRests",
                 {10, 1, 10},
                 {6, 4, 0},
                 true,
                 false,
                 1,
                 false,
                 true},
        BodyCase{"LevelWithoutGravityNeverTouches",
                 {10, 1, 10},
                 {0, 0, 5},
                 false,
                 false,
                 -1,
                 false,
                 false},
        BodyCase{"NothingMovesItSoItRests", {10, 1, 10}, {}, false, false, -1, false, true},
        BodyCase{
            "StopsAtATileItMayCollideWith", {10, 1, 10}, {10, 0, 0}, false, true, 0, true, false},
        BodyCase{"FallsOutOfTheWorldAndRests", {10, -40, 200}, {}, true, false, -1, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectileScene, FlyingBodiesStepInFixedStepsOfGameTimeAlikeEveryTime) {
    PhysicsEngine& physics = PhysicsEngine::Get();
    const std::uint64_t before = physics.GetStepCount();
    gEngine->AdvanceFrame(25);  // two steps, 5 ms carried
    gEngine->AdvanceFrame(5);   // the carried 5 make a third
    EXPECT_EQ(physics.GetStepCount() - before, 3u);

    // The same throw twice gives the same path to the last bit.
    std::vector<Vec3> paths[2];
    for (auto& path : paths) {
        auto* body = Objects().CreateObject<BodyProbe>();
        World::Get().AddEntity(body, At(10, 2, 10), true);
        physics.SetPhysicsType(body, PhysicsEngine::kFlyingType);
        physics.SetGravity(body, true);
        physics.SetEntityLinearVelocity(body, Vec3(3.3f, 5.1f, -0.7f));
        for (int i = 0; i < 40; ++i) {
            gEngine->AdvanceFrame(33);
            path.push_back(body->GetCoords().coords.origin);
        }
        World::Get().RemoveEntity(body);
    }
    EXPECT_EQ(paths[0], paths[1]);
}

}  // namespace
}  // namespace GAME::test
