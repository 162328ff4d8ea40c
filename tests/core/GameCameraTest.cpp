// The follow camera: easing over frames, zoom limits, shake, target and transparency frustum.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Player.h"
#include "Game/core/GameCamera.h"
#include "Game/core/GameEngine.h"
#include "Game/core/camera/SmoothedValue.h"
#include "Game/core/camera/TransparencyGrid.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

constexpr Viewport kViewport{0, 0, 1024, 768};

// A camera with the limits of a settings record: distance 10..30 from 10, pitch 20..80 from 20.
GameCamera LimitedCamera() {
    GameCamera camera;
    camera.SetCameraDistanceDefault(10.0f);
    camera.SetCameraPitchDefault(20.0f);
    camera.SetCameraDistance(10.0f);
    camera.SetCameraPitch(DegreesToRadians(20.0f));
    camera.SetMovementExtents(10.0f, 30.0f, 20.0f, 80.0f);
    return camera;
}

TEST(SmoothedValue, EasesHalfwayPerFullStepAndSnapsWhenClose) {
    SmoothedValue value(10.0f, 0.5f, 0.001f, 10.0f, 30.0f);
    value.SetTarget(1.0f);
    EXPECT_TRUE(value.ApproachValue(1.0f));
    EXPECT_FLOAT_EQ(value.GetCurrent(), 0.5f);
    EXPECT_TRUE(value.ApproachValue(4.0f));  // the step time counts at most 1
    EXPECT_FLOAT_EQ(value.GetCurrentValue(), 25.0f);
    value.SetCurrent(0.9995f);
    EXPECT_TRUE(value.ApproachValue(0.0f));
    EXPECT_EQ(value.GetCurrent(), 1.0f);
    EXPECT_FALSE(value.ApproachValue(1.0f));

    value.AddZoom(-3.0f);
    EXPECT_EQ(value.GetTarget(), 0.0f);
    // A new range end keeps the value the current fraction stood for.
    value.SetLow(0.0f);
    EXPECT_FLOAT_EQ(value.GetCurrentValue(), 30.0f);
    // An equal range is read against its low end; an empty one at 0 stays finite.
    EXPECT_FLOAT_EQ(SmoothedValue(25.0f, 0.5f, 0.001f, 50.0f, 50.0f).GetCurrent(), 0.5f);
    EXPECT_EQ(SmoothedValue(25.0f, 0.5f, 0.001f, 0.0f, 0.0f).GetCurrent(), 0.0f);
}

TEST(GameCamera, ZoomEasesDistanceAndPitchOverFramesOfGameTime) {
    TestMachine tm;
    GameCamera camera = LimitedCamera();
    camera.Zoom(5.0f);  // every target fraction half-way up
    const float frames[] = {250, 250, 100};
    const float distances[] = {15.0f, 17.5f, 18.0f};
    const float pitches[] = {35.0f, 42.5f, 44.0f};
    for (int i = 0; i < 3; ++i) {
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(frames[i]));
        camera.UpdateFromInputImpl();
        EXPECT_NEAR(camera.GetCameraDistance(), distances[i], 1e-4f) << "frame " << i;
        EXPECT_NEAR(camera.GetCameraPitch(), DegreesToRadians(pitches[i]), 1e-6f);
        // The yaw has one value only.
        EXPECT_FLOAT_EQ(camera.GetCameraYaw(), DegreesToRadians(50.0f));
    }
    // A frame without game time moves nothing further than a snap.
    const float distance = camera.GetCameraDistance();
    camera.UpdateFromInputImpl();
    EXPECT_EQ(camera.GetCameraDistance(), distance);

    camera.Zoom(20.0f);
    EXPECT_EQ(camera.GetSmoothedDistance().GetTarget(), 1.0f);
    EXPECT_EQ(camera.GetSmoothedPitch().GetTarget(), 1.0f);
    camera.Zoom(-20.0f);
    EXPECT_EQ(camera.GetSmoothedDistance().GetTarget(), 0.0f);
    EXPECT_EQ(camera.GetSmoothedYaw().GetTarget(), 0.0f);

    // Reset from where it is: the present values stay and ease toward the defaults.
    camera.ResetToDefaults(false);
    EXPECT_NEAR(camera.GetCameraDistance(), 18.0f, 1e-4f);
    EXPECT_FLOAT_EQ(camera.GetSmoothedDistance().GetTargetValue(), 10.0f);
    EXPECT_FLOAT_EQ(camera.GetCameraFOV(), DegreesToRadians(30.0f));
    camera.ResetToDefaults(true);
    EXPECT_NEAR(camera.GetCameraDistance(), 10.0f, 1e-4f);
    EXPECT_NEAR(camera.GetCameraPitch(), DegreesToRadians(20.0f), 1e-6f);

    // Whatever the limits, the engine camera stays within 1..1000 and 0..89 degrees.
    camera.SetCameraDistance(5000.0f);
    camera.SetCameraPitch(DegreesToRadians(120.0f));
    camera.SetMovementExtents(0.0f, 5000.0f, 0.0f, 120.0f);
    gEngine->AdvanceGameTime(16);
    camera.UpdateFromInputImpl();
    EXPECT_EQ(camera.GetCameraDistance(), 1000.0f);
    EXPECT_FLOAT_EQ(camera.GetCameraPitch(), DegreesToRadians(89.0f));
}

TEST(GameCamera, APausedFrameNeitherEasesNorShakesAndRestartsTheZoomTimer) {
    TestMachine tm;
    GameCamera camera = LimitedCamera();
    camera.Zoom(5.0f);
    camera.Shake(1000, 0.5f);
    gEngine->AdvanceGameTime(250);  // run before the pause, never seen by the camera
    gEngine->SetGameTimePaused(true);
    crt_srand(7);
    const int firstDraw = crt_rand();
    crt_srand(7);
    camera.UpdateFromInputImpl();
    EXPECT_EQ(camera.GetCameraDistance(), 10.0f);
    EXPECT_EQ(camera.GetShakeTimeLeft(), 1000);
    EXPECT_EQ(crt_rand(), firstDraw);  // no shake draws

    // Resumed: only the 100 ms since the paused frame count (0.4 of a full step).
    gEngine->SetGameTimePaused(false);
    gEngine->AdvanceGameTime(100);
    camera.UpdateFromInputImpl();
    EXPECT_NEAR(camera.GetCameraDistance(), 12.0f, 1e-4f);
    EXPECT_EQ(camera.GetShakeTimeLeft(), 900);
}

TEST(GameCamera, TheEngineDrivesItThroughItsEngineCamera) {
    TestMachine tm;
    Region region("vale");
    Player* player = Singleton<ObjectManager>::Get().CreateObject<Player>(0x23);
    player->SetCoords(WorldCoords(&region, Coords::FromOrigin(Vec3(20, 0, 20))));
    GameCamera camera = LimitedCamera();
    camera.SetPlayer(player);
    test::GameCameraTestAccess::SetTargetOffset(camera, Vec3(0, 0, 5));
    WorldCamera& engineCamera = camera;
    // Follows the player's "Camera" attach point (on the spine, 1.25 up), moved by the target
    // offset.
    engineCamera.Update();
    EXPECT_EQ(engineCamera.GetTarget().local, Vec3(20, 1.25f, 25));
    const Vec3 eye = engineCamera.GetPosition().local;
    EXPECT_EQ(engineCamera.GetPosition().region, &region);
    EXPECT_NEAR((Vec3(20, 1.25f, 25) - eye).Length(), 10.0f, 1e-4f);
    WorldFrustum view;
    engineCamera.GetFrustum(Viewport{}, view);
    EXPECT_TRUE(view.Contains(Vec3(20, 0, 25)));
    EXPECT_FALSE(view.Contains(Vec3(20, 0, 20) - (Vec3(20, 0, 25) - eye)));

    // Zoomed in and eased through the engine's input step: the same 10..30 range.
    camera.Zoom(10.0f);
    gEngine->AdvanceGameTime(250);
    engineCamera.UpdateFromInputImpl();
    EXPECT_NEAR(engineCamera.GetCameraDistance(), 20.0f, 1e-4f);
}

// The shake noise as the camera must draw it, from an LCG of our own.
struct ExpectedNoise {
    std::uint32_t state;
    float operator()(std::int32_t x) {
        state = state * 214013u + 2531011u;
        const float r = static_cast<float>((state >> 16) & 0x7FFF) * 3.051851e-5f * 100.0f;
        const float s = (static_cast<float>(x) + r) * 0.001f;
        const float pi = 3.14159265f;
        return (std::sin(2.0f * pi * s + 15.0f) * 0.3f + std::sin(pi * s * 3.78f + 27.0f) * 0.5f +
                std::sin(pi * s * 5.25f + 92.0f) * 0.9f + 3.0f) *
               0.21276596f;
    }
};

TEST(GameCamera, AShakeIsAFixedSequenceForASeedAndFadesOut) {
    TestMachine tm;
    Region region("cave");
    GameCamera camera = LimitedCamera();
    camera.SetTarget(WorldVec3(&region, Vec3(1, 2, 3)));
    crt_srand(99);
    ExpectedNoise noise{99};
    camera.Shake(1000, 0.5f);
    int left = 1000;
    for (int frame = 0; frame < 4; ++frame) {
        gEngine->AdvanceGameTime(250);
        camera.UpdateFromInputImpl();
        const auto g = static_cast<std::int32_t>(gEngine->GetGameTime());
        const float amplitude = static_cast<float>(left) / 1000.0f * 0.5f;
        // One draw per axis, x first.
        const float x = (noise(g) - 0.5f) * amplitude;
        const float y = (noise((g + 1500) * 37) - 0.5f) * amplitude;
        const float z = (noise((g + 3800) * 17) - 0.5f) * amplitude;
        const Vec3 expected(x, y, z);
        EXPECT_FLOAT_EQ(camera.GetCameraOffset().x, expected.x) << "frame " << frame;
        EXPECT_FLOAT_EQ(camera.GetCameraOffset().y, expected.y);
        EXPECT_FLOAT_EQ(camera.GetCameraOffset().z, expected.z);
        left -= 250;
        EXPECT_EQ(camera.GetShakeTimeLeft(), left);
        if (left > 0) {
            EXPECT_EQ(camera.GetTarget().local, Vec3(1, 2, 3) + camera.GetCameraOffset());
        }
    }
    // Over: no more draws, and the target is still again.
    gEngine->AdvanceGameTime(250);
    camera.UpdateFromInputImpl();
    EXPECT_EQ(camera.GetTarget().local, Vec3(1, 2, 3));
    noise.state = noise.state * 214013u + 2531011u;
    EXPECT_EQ(crt_rand(), static_cast<int>((noise.state >> 16) & 0x7FFF));
}

// A camera 18 away at pitch 50 looking at (20, 0, 20) of the region.
GameCamera SceneCamera(Region& region, Player* player) {
    GameCamera camera;
    camera.SetCameraDistanceDefault(18.0f);
    camera.SetCameraPitchDefault(50.0f);
    camera.ResetToDefaults(true);
    camera.SetTarget(WorldVec3(&region, Vec3(20, 0, 20)));
    if (player) {
        player->SetCoords(WorldCoords(&region, Coords::FromOrigin(Vec3(20, 0, 20))));
        camera.SetPlayer(player);
    }
    camera.Update();
    camera.UpdateTransparencyFrustum(kViewport);
    return camera;
}

TEST(GameCamera, TheTransparencyFrustumLiesBetweenCameraAndPlayer) {
    TestMachine tm;
    Region region("vale");
    const GameCamera plain = SceneCamera(region, nullptr);
    EXPECT_EQ(plain.GetTransparencyHeight(), 0.0f);
    EXPECT_EQ(plain.GetTransparencyFrustum().GetNumPlanes(), 7u);
    EXPECT_EQ(plain.GetTransparencyFrustum().GetRegion(), &region);

    Player* player = Singleton<ObjectManager>::Get().CreateObject<Player>(0x22);
    const GameCamera camera = SceneCamera(region, player);
    // The camera looks at the player's "Camera" attach point, 1.25 above its feet.
    EXPECT_FLOAT_EQ(camera.GetTransparencyHeight(), 3.25f);
    const WorldFrustum& frustum = camera.GetTransparencyFrustum();
    EXPECT_EQ(frustum.GetNumPlanes(), 8u);
    const Vec3 eye = camera.GetViewFrame().origin;
    const Vec3 target(20, 1.25f, 20);
    EXPECT_NEAR((target - eye).Length(), 18.0f, 1e-3f);
    EXPECT_TRUE(frustum.Contains(Lerp(eye, target, 0.5f)));          // the wall in the way
    EXPECT_FALSE(frustum.Contains(Lerp(eye, target, 0.95f)));        // beside the player
    EXPECT_FALSE(frustum.Contains(target + (target - eye) * 0.5f));  // beyond him
    EXPECT_FALSE(frustum.Contains(Lerp(eye, target, 0.5f) + camera.GetViewFrame().xAxis * 5.0f));
}

TEST(GameCamera, TheTargetOffsetIsBoundedAndOnlyMovesATargetInARegion) {
    TestMachine tm;
    GameCamera camera;
    test::GameCameraTestAccess::SetTargetOffset(camera, Vec3(100, -20, -41));
    camera.ClampTargetOffset();
    EXPECT_EQ(camera.GetTargetOffset(), Vec3(40, -15, -40));
    camera.SetTarget(WorldVec3(nullptr, Vec3(1, 1, 1)));
    camera.Update();  // no player: the target stays
    EXPECT_EQ(camera.GetTarget().local, Vec3(1, 1, 1));
    Region region("vale");
    camera.SetTarget(WorldVec3(&region, Vec3(1, 1, 1)));
    EXPECT_EQ(camera.GetTarget().local, Vec3(41, -14, -39));
}

class RecordingGrid : public TransparencyGrid {
public:
    Vec3 GetCellSpacing() const override { return {2, 3, 2}; }
    IntVec3 GetCellCount() const override { return {10, 2, 10}; }
    // A wall along z in lattice column 4 from z 3 to 8, on the ground row.
    bool GetLatticeValue(int x, int y, int z) const override {
        return x == 4 && y == 0 && z >= 3 && z <= 8;
    }
    void UpdateTransparency(const std::array<Plane, 6>& box) override { boxes.push_back(box); }
    static bool Inside(const std::array<Plane, 6>& box, const Vec3& point) {
        for (const Plane& plane : box)
            if (plane.Distance(point) < 0.0f)
                return false;
        return true;
    }
    std::vector<std::array<Plane, 6>> boxes;
};

TEST(GameCamera, UndergroundTheWallRunsInFrontOfTheTargetAreFaded) {
    TestMachine tm;
    Region region("cave");
    RecordingGrid grid;
    GameCamera camera;
    camera.SetCameraDistanceDefault(18.0f);
    camera.SetCameraPitchDefault(50.0f);
    camera.ResetToDefaults(true);
    test::GameCameraTestAccess::SetTransparencyGrid(camera, &grid);
    camera.SetTarget(WorldVec3(&region, Vec3(5, 1, 5)));
    camera.Update();
    camera.UpdateTransparencyFrustum(kViewport);

    // The view runs toward +x and +z. Along z the column left of the target's cell holds the
    // wall from lattice 3 to 8; the walk stops on the first unset points, 2 and 9.
    ASSERT_EQ(grid.boxes.size(), 2u);
    const auto& alongZ = grid.boxes[0];
    EXPECT_TRUE(RecordingGrid::Inside(alongZ, {4, 2, 2.1f}));
    EXPECT_TRUE(RecordingGrid::Inside(alongZ, {5.4f, 4.9f, 8.9f}));
    EXPECT_FALSE(RecordingGrid::Inside(alongZ, {4, 2, 1.9f}));
    EXPECT_FALSE(RecordingGrid::Inside(alongZ, {4, 2, 9.1f}));
    EXPECT_FALSE(RecordingGrid::Inside(alongZ, {5.6f, 5.1f, 5}));
    // Along x, the row before the target's cell has no wall: only the crossing point's span.
    const auto& alongX = grid.boxes[1];
    EXPECT_TRUE(RecordingGrid::Inside(alongX, {6.5f, 1, 5.4f}));
    EXPECT_FALSE(RecordingGrid::Inside(alongX, {5.9f, 1, 4}));
    EXPECT_FALSE(RecordingGrid::Inside(alongX, {7.1f, 1, 4}));

    // A line of sight parallel to z never meets a run along z; outside the grid nothing is walked.
    grid.boxes.clear();
    camera.SetCameraYaw(0.0f);
    camera.Update();
    camera.UpdateTransparencyFrustum(kViewport);
    EXPECT_EQ(grid.boxes.size(), 1u);
    grid.boxes.clear();
    camera.SetTarget(WorldVec3(&region, Vec3(-5, 1, 5)));
    camera.Update();
    camera.UpdateTransparencyFrustum(kViewport);
    EXPECT_TRUE(grid.boxes.empty());
}

TEST(GameCamera, TheRootsFrustumForAPlayerLooksFromItsPosition) {
    TestMachine tm;
    InitializeObjects();
    Region region("vale");
    WorldFrustum frustum;
    gGameEngine->GetFrustumForPlayer(frustum, WorldVec3(&region, Vec3(3, 0, 3)));
    EXPECT_EQ(frustum.GetRegion(), &region);
    EXPECT_EQ(frustum.GetNumPlanes(), 6u);
    const Vec3 ahead(std::sin(DegreesToRadians(50.0f)), 0, std::cos(DegreesToRadians(50.0f)));
    EXPECT_TRUE(frustum.Contains(Vec3(3, 0, 3) + ahead * 20.0f));
    EXPECT_FALSE(frustum.Contains(Vec3(3, 0, 3) - ahead * 20.0f));
    EXPECT_FALSE(frustum.Contains(Vec3(3, 0, 3) + ahead * 2000.0f));
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME
