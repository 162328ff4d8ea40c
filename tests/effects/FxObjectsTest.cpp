#include "EffectsTestSupport.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/world/WorldShapes.h"
#include "Game/world/effects/FxMesh.h"
#include "Game/world/effects/FxPak.h"

namespace GAME::test {
namespace {

using FxObjects = EffectsTest;

TEST_F(FxObjects, MeshEffectFadesInSustainsFadesOutAndGoesWhenItsAnimationEnded) {
    // Fade in 200, sustain 500, fade out 300; the clip runs 1000 ms and displaces grass at 100.
    FxMesh* ring = Make<FxMesh>("Records/Effects/Meshes/FireRing.dbr");
    const std::uint32_t id = ring->GetObjectId();
    ring->AddToWorld(At(10, 0, 10));
    ring->InitialUpdate();
    EXPECT_TRUE(ring->IsStarted());
    EXPECT_TRUE(ring->AddToScene());
    auto brightness = [&] { return ring->GetMeshInstance()->GetDiffuseColor().r; };

    Frame(100, {id});
    EXPECT_EQ(ring->GetPhase(), FxMesh::kFadeIn);
    EXPECT_FLOAT_EQ(brightness(), 0.5f);
    EXPECT_EQ(World::Get().GetDisturbanceCount(), 1u);
    EXPECT_FLOAT_EQ(World::Get().GetLastDisturbance().radius, 2.5f);
    Frame(100, {id});
    EXPECT_EQ(ring->GetPhase(), FxMesh::kSustain);
    Frames(5, 100, {id});
    EXPECT_EQ(ring->GetPhase(), FxMesh::kFadeOut);
    Frame(100, {id});
    EXPECT_NEAR(brightness(), 2.0f / 3.0f, 1e-6);
    Frame(100, {id});
    EXPECT_EQ(ring->GetPhase(), FxMesh::kFadeOut);
    // The fade out ends at 1000 ms, the very frame the clip ends: the effect goes.
    Frame(100, {id});
    EXPECT_FALSE(Alive(id));
}

TEST_F(FxObjects, MeshEffectWithoutTimesShowsFullyUntilItsClipEnds) {
    FxMesh* flash = Make<FxMesh>("Records/Effects/Meshes/Flash.dbr");
    const std::uint32_t id = flash->GetObjectId();
    flash->AddToWorld(At(0, 0, 0));
    flash->InitialUpdate();
    EXPECT_EQ(flash->GetPhase(), FxMesh::kNone);
    Frame(200, {id});
    EXPECT_FLOAT_EQ(flash->GetMeshInstance()->GetDiffuseColor().r, 1.0f);
    EXPECT_FALSE(flash->HasAnimationEnded());
    Frame(100, {id});
    EXPECT_FALSE(Alive(id));

    // Outside the world a finished effect stays for its owner to dispose of.
    FxMesh* held = Make<FxMesh>("Records/Effects/Meshes/Flash.dbr");
    held->Start();
    Frames(4, 100, {held->GetObjectId()});
    EXPECT_TRUE(held->HasAnimationEnded());
    EXPECT_TRUE(Alive(held->GetObjectId()));
}

TEST_F(FxObjects, EffectsArePickedOnlyInTheEditorAndReportTheirParentsPlace) {
    FxMesh* flash = Make<FxMesh>("Records/Effects/Meshes/Flash.dbr");
    flash->AddToWorld(At(0, 0, 10));
    const WorldRay ray{region, Vec3(0, 0, 0), Vec3(0, 0, 1)};
    WorldIntersection hit;
    EXPECT_FALSE(flash->GetIntersection(ray, hit, 1));
    gEngine->SetEditor(true);
    EXPECT_FALSE(flash->GetIntersection(ray, hit, 0));
    ASSERT_TRUE(flash->GetIntersection(ray, hit, 1));
    EXPECT_FLOAT_EQ(hit.distance, 9.0f);  // a unit sphere, whatever the bounding radius
    EXPECT_FLOAT_EQ(hit.point.z, 9.0f);

    EXPECT_FLOAT_EQ(flash->GetMyWorldCoords().coords.origin.z, 10.0f);
    Entity* owner = Objects().CreateObject<Entity>();
    owner->SetCoords(At(5, 0, 0));
    flash->SetParent(owner);
    EXPECT_FLOAT_EQ(flash->GetMyRegionCoords().origin.x, 5.0f);
    Objects().DestroyObject(owner);
    EXPECT_FLOAT_EQ(flash->GetMyRegionCoords().origin.z, 10.0f);
}

TEST_F(FxObjects, OneShotPackSpawnsItsPartsAtItsPlaceAndLeavesOnTheNextUpdate) {
    FxPak* pack = Make<FxPak>("Records/Effects/Packs/Explosion.dbr");
    const std::uint32_t id = pack->GetObjectId();
    World::Get().AddEntity(pack, At(20, 1, 30), true);
    const std::size_t before = World::Get().GetEntityCount();
    const auto emits = Calls(MediaCall::StartEmitting);
    pack->InitialUpdate();
    EXPECT_TRUE(pack->GetParticleEffectNames().empty());
    EXPECT_TRUE(pack->GetMeshEffectNames().empty());
    EXPECT_EQ(World::Get().GetEntityCount(), before + 2);
    EXPECT_EQ(Calls(MediaCall::StartEmitting), emits + 1);
    const MediaRecord* placed = MediaRecorder::Get().Last(MediaCall::EffectAddToWorld);
    ASSERT_NE(placed, nullptr);
    EXPECT_FLOAT_EQ(placed->values[0], 120.0f);  // world x: region offset 100
    ASSERT_EQ(pack->GetActivateSound()->GetPlayCount(), 1u);
    EXPECT_FLOAT_EQ(pack->GetActivateSound()->GetLastPlayed().where.local.z, 30.0f);

    pack->UpdateSelf(0);
    EXPECT_TRUE(Alive(id));
    pack->UpdateSelf(16);
    EXPECT_FALSE(Alive(id));
}

}  // namespace
}  // namespace GAME::test
