#include <gtest/gtest.h>

#include "CharacterTestSupport.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Game/characters/movement/InterpenetrationManager.h"
#include "Game/core/GameCamera.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class InterpenetrationTest : public ::testing::Test {
protected:
    InterpenetrationTest() {
        region = World::Get().AddRegion(
            std::make_unique<Region>("Yard", Vec3(), Vec3(-10, -10, -10), Vec3(110, 50, 110)));
        auto ground = std::make_unique<GroundMesh>();
        ground->AddTriangle(Vec3(0, 0, 0), Vec3(0, 0, 100), Vec3(100, 0, 0), PhysicsSurface::Stone);
        ground->AddTriangle(Vec3(100, 0, 0), Vec3(0, 0, 100), Vec3(100, 0, 100),
                            PhysicsSurface::Stone);
        ground->Finish();
        region->SetGround(std::move(ground));
        Look(50, 50);
    }
    // The view of the camera around the point (it sees little beside its target).
    void Look(float x, float z) {
        camera.SetTarget(WorldVec3(region, Vec3(x, 0, z)));
        camera.Update();
    }
    Character* Standing(float x, float z) {
        Character* c = MakeCharacter(kHeroRecord);
        World::Get().AddEntity(c, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z))), true);
        return c;
    }
    float X(const Character* c) const { return c->GetPosition().local.x; }

    TestMachine tm;
    Region* region = nullptr;
    GameCamera camera;
    InterpenetrationManager fixup;
};

TEST_F(InterpenetrationTest, OverlapsArePushedApartByPathMass) {
    struct Case {
        const char* what;
        float massA, massB;
        bool bMoving;
        float movedA, movedB;  // along the line from A to B
    };
    const Case cases[] = {
        {"equal masses share the overlap", 1, 1, false, -0.2f, 0.2f},
        {"the moving one takes two thirds", 1, 1, true, -0.4f / 3, 0.8f / 3},
        {"a weightless one is never pushed", 0, 1, false, 0.0f, 0.4f},
        {"a weightless partner leaves all to the other", 1, 0, false, -0.4f, 0.0f},
    };
    const float z = 50.0f;
    float x = 44.0f;
    for (const Case& c : cases) {
        Character* a = Standing(x, z);
        Character* b = Standing(x + 0.6f, z);
        a->SetPathMass(c.massA);
        b->SetPathMass(c.massB);
        if (c.bMoving)
            b->SetActionState(Character_ActionState::Move);
        Look(x + 0.3f, z);
        fixup.FixupCharacterCollisions(camera);
        EXPECT_NEAR(X(a) - x, c.movedA, 1e-4f) << c.what;
        EXPECT_NEAR(X(b) - x - 0.6f, c.movedB, 1e-4f) << c.what;
        EXPECT_FLOAT_EQ(a->GetPosition().local.z, z) << c.what;
        x += 3.0f;
    }
}

TEST_F(InterpenetrationTest, LeavesWhatItMayNotOrCannotMove) {
    Character* a = Standing(50, 50);
    Character* b = Standing(50, 50);  // the same place: no direction to push along
    fixup.FixupCharacterCollisions(camera);
    EXPECT_FLOAT_EQ(X(a), 50.0f);
    EXPECT_FLOAT_EQ(X(b), 50.0f);

    Character* far = Standing(30.0f, 30);
    Character* near = Standing(30.5f, 30);
    Look(30.25f, 30);
    gEngine->SetNetworkMode(true, true);  // one machine's view must not move shared state
    fixup.FixupCharacterCollisions(camera);
    EXPECT_FLOAT_EQ(X(far), 30.0f);
    gEngine->SetNetworkMode(false, false);
    fixup.FixupCharacterCollisions(camera);
    EXPECT_LT(X(far), 30.0f);
    EXPECT_GT(X(near), 30.5f);

    Character* edge = Standing(0.1f, 70);
    Character* inner = Standing(0.15f, 70);  // pushes `edge` off the floor, pass after pass
    Look(0.3f, 70);
    fixup.FixupCharacterCollisions(camera);
    EXPECT_FLOAT_EQ(X(edge), 0.1f);
    EXPECT_GT(X(inner), 0.15f);
}

}  // namespace
}  // namespace GAME::test
