// The stand-ins for drawing, effects, physics and the camera record what they are asked per
// machine, and keep the state callers read back (dissolve over, particles alive, ragdoll rest).
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/graphics/DebugRenderManager.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/graphics/Light.h"
#include "Engine/media/graphics/WorldCamera.h"
#include "Engine/media/physics/PhysicsEngine.h"
#include "Engine/media/physics/PhysicsRagDoll.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

Actor* NewActor() {
    return Singleton<ObjectManager>::Get().CreateObject<Actor>();
}

TEST(MediaStandIns, EachMachineRecordsItsOwnCallsInABoundedRing) {
    TestMachine a;
    TestMachine b;
    std::uint32_t id = 0;
    ON_MACHINE(a) {
        Actor* actor = NewActor();
        id = actor->GetObjectId();
        actor->SetTintColor(Color{0.5f, 0.25f, 1.0f, 1.0f});
        actor->SetMesh("Meshes/Knight.msh");
        actor->SetMesh("Meshes/Ghost.msh");
        actor->SetBaseTexture("Tex/Ghost.tex");
        actor->RestoreMesh();
        EXPECT_EQ(actor->GetMeshInstance().GetMesh(), "Meshes/Knight.msh");
        EXPECT_FLOAT_EQ(actor->GetTintColor().g, 0.25f);
    }
    ON_MACHINE(b) {
        EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::SetTintColor), 0u);
        EXPECT_EQ(MediaRecorder::Get().Last(MediaCall::SetMesh), nullptr);
    }
    ON_MACHINE(a) {
        MediaRecorder& recorder = MediaRecorder::Get();
        EXPECT_EQ(recorder.Count(MediaCall::SetMesh), 2u);
        const MediaRecord* tint = recorder.Last(MediaCall::SetTintColor, id);
        ASSERT_NE(tint, nullptr);
        EXPECT_FLOAT_EQ(tint->values[2], 1.0f);
        EXPECT_EQ(recorder.Last(MediaCall::RestoreMesh)->Text(), "Meshes/Knight.msh");

        // A long run keeps counting but holds only the latest calls.
        for (std::uint32_t i = 1; i <= 300; ++i)
            recorder.Record(MediaCall::RenderSphere, 1000 + i,
                            "a name far longer than the room "
                            "a record keeps for its text, by far");
        EXPECT_EQ(recorder.Count(MediaCall::RenderSphere), 300u);
        EXPECT_EQ(recorder.Last(MediaCall::RenderSphere)->objectId, 1300u);
        EXPECT_EQ(recorder.Last(MediaCall::RenderSphere, 1001), nullptr);
        EXPECT_EQ(recorder.Last(MediaCall::SetMesh), nullptr);  // pushed out
        EXPECT_EQ(recorder.Last(MediaCall::RenderSphere)->Text().size(), 63u);
        EXPECT_STREQ(GetMediaCallName(MediaCall::RagDollRest), "RagDollRest");
    }
}

TEST(MediaStandIns, DissolveEndsAfterItsGameTime) {
    TestMachine tm;
    Actor* actor = NewActor();
    GraphicsMeshInstance& mesh = actor->GetMeshInstance();
    EXPECT_FALSE(actor->GetIsDissolved());
    mesh.BeginDissolve(255, 0, 0, 1.5f, "Tex/Dissolve.tex");
    gEngine->AdvanceGameTime(1499);
    EXPECT_FALSE(actor->GetIsDissolved());
    gEngine->AdvanceGameTime(1);
    EXPECT_TRUE(actor->GetIsDissolved());
    const MediaRecord* record = MediaRecorder::Get().Last(MediaCall::BeginDissolve);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Text(), "Tex/Dissolve.tex");
    EXPECT_FLOAT_EQ(record->values[0], 255.0f);
    mesh.BeginUnDissolve(0, 0, 255, 1.0f, "Tex/Dissolve.tex");
    EXPECT_FALSE(actor->GetIsDissolved());
    mesh.BeginDissolve(0, 0, 0, -3.0f, "");
    EXPECT_TRUE(actor->GetIsDissolved());
}

TEST(MediaStandIns, EffectsEmitAndTheirParticlesOutliveTheStop) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Fx/Sparks.dbr", R"({"Class": "EffectEntity", "particleLifetime": 200})"));
    auto* effect =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>("Records/Fx/Sparks.dbr");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->GetParticleLifetime(), 200);
    EXPECT_FALSE(effect->HasLiveParticles());
    effect->StartEmitting();
    gEngine->AdvanceGameTime(1000);
    effect->StopEmitting();
    gEngine->AdvanceGameTime(199);
    EXPECT_TRUE(effect->HasLiveParticles());
    gEngine->AdvanceGameTime(1);
    EXPECT_FALSE(effect->HasLiveParticles());
    effect->StartEmitting();
    effect->StopEmitting();
    effect->ResetEmitter();  // forgets what it emitted
    EXPECT_FALSE(effect->HasLiveParticles());

    effect->FadeLight();
    // Outside any region the world refuses the effect (and says so); it is still placed.
    effect->AddToWorld(WorldCoords(nullptr, Coords::FromOrigin(Vec3(1, 2, 3))), true);
    EXPECT_EQ(tm.CountLog("not added: its coordinates name no region"), 1);
    EXPECT_FALSE(effect->IsInWorld());
    EXPECT_TRUE(effect->IsLightFading());
    EXPECT_EQ(effect->GetPosition().local, Vec3(1, 2, 3));
    MediaRecorder& recorder = MediaRecorder::Get();
    EXPECT_EQ(recorder.Count(MediaCall::StartEmitting), 2u);
    EXPECT_EQ(recorder.Count(MediaCall::StopEmitting), 2u);
    EXPECT_FLOAT_EQ(recorder.Last(MediaCall::EffectAddToWorld, effect->GetObjectId())->values[1],
                    2.0f);
    Region* field = World::Get().AddRegion(std::make_unique<Region>("Field"));
    effect->AddToWorld(WorldCoords(field, Coords::FromOrigin(Vec3(4, 5, 6))), true);
    EXPECT_TRUE(effect->IsInWorld());
    EXPECT_EQ(effect->GetPosition().local, Vec3(4, 5, 6));

    auto* light = Singleton<ObjectManager>::Get().CreateObject<Light>();
    light->SetColor(Color{1.0f, 0.0f, 0.0f, 1.0f});
    light->SetRadius(10.0f);
    EXPECT_FLOAT_EQ(light->GetRadius(), 10.0f);
    EXPECT_FLOAT_EQ(recorder.Last(MediaCall::LightRadius, light->GetObjectId())->values[0], 10.0f);
}

class CountingRagDoll : public PhysicsRagDoll {
public:
    using PhysicsRagDoll::PhysicsRagDoll;
    void SetInitialState() override {
        ++initialStates;
        SetLinearVelocity(Vec3(0, 3, 0));
        SetLinearVelocity(1, Vec3(1, 0, 0));
    }
    void OnDisabled() override {
        ++rests;
        if (onRest)
            onRest();
    }
    int initialStates = 0;
    int rests = 0;
    std::function<void()> onRest;
};

TEST(MediaStandIns, ARagDollComesToRestAfterItsTime) {
    TestMachine tm;  // tests/data/Animations: a three-bone default skeleton
    Actor* actor = NewActor();
    actor->SetCoords(WorldCoords(nullptr, Coords::FromOrigin(Vec3(4, 0, 0))));
    PhysicsEngine& physics = PhysicsEngine::Get();
    physics.SetRagDollRestTime(500);
    CountingRagDoll ragDoll(actor);
    ragDoll.Enable();
    ASSERT_EQ(ragDoll.GetNumRigidBodies(), 3);
    EXPECT_EQ(ragDoll.GetRigidBodyCoords(2).origin, Vec3(4.5f, 1, 0));
    EXPECT_EQ(ragDoll.initialStates, 1);
    EXPECT_EQ(ragDoll.GetLinearVelocity(0), Vec3(0, 3, 0));
    EXPECT_EQ(ragDoll.GetLinearVelocity(1), Vec3(1, 0, 0));
    EXPECT_EQ(ragDoll.GetLinearVelocity(7), Vec3());

    physics.Update(200);
    physics.Update(299);
    EXPECT_EQ(ragDoll.rests, 0);
    EXPECT_TRUE(ragDoll.IsEnabled());
    physics.Update(1);
    EXPECT_EQ(ragDoll.rests, 1);
    EXPECT_FALSE(ragDoll.IsEnabled());
    EXPECT_EQ(ragDoll.GetLinearVelocity(0), Vec3());
    physics.Update(1000);
    EXPECT_EQ(ragDoll.rests, 1);
    EXPECT_EQ(physics.GetActiveRagDollCount(), 0u);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::RagDollRest), 1u);

    // A ragdoll may destroy itself or another one when it comes to rest.
    auto first = std::make_unique<CountingRagDoll>(actor);
    auto second = std::make_unique<CountingRagDoll>(actor);
    first->onRest = [&] {
        second.reset();
        first.reset();
    };
    first->Enable(0);
    second->Enable(0);
    physics.Update(16);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(physics.GetActiveRagDollCount(), 0u);
}

TEST(MediaStandIns, PhysicsKeepsVelocitiesUntilTheEntityLeavesTheSimulation) {
    TestMachine tm;
    Actor* actor = NewActor();
    PhysicsEngine& physics = PhysicsEngine::Get();
    physics.SetEntityLinearVelocity(actor, Vec3(0, 4, 0));
    physics.SetEntityAngularVelocity(actor, Vec3(-8, 2, 8));
    EXPECT_EQ(physics.GetEntityLinearVelocity(actor->GetObjectId()), Vec3(0, 4, 0));
    EXPECT_EQ(physics.GetEntityAngularVelocity(actor->GetObjectId()), Vec3(-8, 2, 8));
    physics.RemoveEntityFromSimulation(actor);
    EXPECT_TRUE(physics.IsRemovedFromSimulation(actor->GetObjectId()));
    EXPECT_EQ(physics.GetEntityLinearVelocity(actor->GetObjectId()), Vec3());
    physics.SetEntityLinearVelocity(nullptr, Vec3(1, 1, 1));  // ignored
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::SetEntityLinearVelocity), 1u);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::RemoveEntityFromSimulation), 1u);

    DebugRenderManager::Get().RenderSphere(WorldVec3(nullptr, Vec3(1, 2, 3)), 0.1f,
                                           Color{0.25f, 1.0f, 0.25f, 1.0f});
    const MediaRecord* sphere = MediaRecorder::Get().Last(MediaCall::RenderSphere);
    ASSERT_NE(sphere, nullptr);
    EXPECT_EQ(sphere->Text(), "FF40FF40");
    EXPECT_FLOAT_EQ(sphere->values[3], 0.1f);
}

TEST(MediaStandIns, TheCameraSeesThroughAPinholeFrustum) {
    TestMachine tm;
    Region region("Outdoors", Vec3(100, 0, 0));
    WorldCamera camera;
    camera.SetTarget(WorldVec3(&region, Vec3(0, 0, 0)));
    camera.SetCameraDistance(10.0f);
    camera.SetCameraPitch(DegreesToRadians(45.0f));
    camera.SetCameraYaw(0.0f);
    camera.SetCameraFOV(DegreesToRadians(30.0f));
    camera.Update();
    const Vec3 eye = camera.GetPosition().local;
    EXPECT_NEAR(eye.y, 7.0710678f, 1e-4f);
    EXPECT_NEAR(eye.z, -7.0710678f, 1e-4f);
    EXPECT_EQ(camera.GetPosition().region, &region);

    WorldFrustum view;
    camera.GetFrustum(Viewport{}, view);
    EXPECT_EQ(view.count, 6);
    EXPECT_TRUE(view.Contains(Vec3(0, 0, 0)));
    EXPECT_TRUE(view.Contains(Vec3(2, 0, 0)));
    EXPECT_FALSE(view.Contains(Vec3(0, 14, -14)));  // behind the camera
    EXPECT_FALSE(view.Contains(Vec3(6, 0, 0)));     // beyond the side at this distance
    EXPECT_TRUE(view.Contains(WorldVec3(nullptr, Vec3(101, 0, 0))));  // world space
    EXPECT_FALSE(view.Contains(WorldVec3(nullptr, Vec3(1, 0, 0))));

    // The middle tenth of the screen sees the target but not a step beside it; a short
    // sub-frustum stops before it.
    WorldFrustum middle;
    camera.GetSubFrustum(Viewport{}, Rect{0.45f, 0.45f, 0.1f, 0.1f}, 20.0f, middle);
    EXPECT_TRUE(middle.Contains(Vec3(0, 0, 0)));
    EXPECT_FALSE(middle.Contains(Vec3(1, 0, 0)));
    camera.GetSubFrustum(Viewport{}, Rect{0.45f, 0.45f, 0.1f, 0.1f}, 5.0f, middle);
    EXPECT_FALSE(middle.Contains(Vec3(0, 0, 0)));
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::CameraDistance), 1u);
}

}  // namespace
}  // namespace GAME::test
