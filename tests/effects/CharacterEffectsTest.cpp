#include "EffectsTestSupport.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/sound/SoundPak.h"
#include "Game/characters/Character.h"
#include "Game/world/effects/CharFxPak.h"
#include "Game/world/effects/FxMesh.h"
#include "Game/world/effects/SpecialFX.h"

namespace GAME::test {
namespace {

constexpr const char* kFirePack = "Records/Effects/Packs/FireDamage.dbr";
constexpr const char* kSparks = "Records/Effects/Particles/Sparks.dbr";  // 500 ms particles

class CharacterEffects : public EffectsTest {
protected:
    CharacterEffects() {
        hero = Objects().CreateObject<Character>();
        World::Get().AddEntity(hero, At(5, 0, 5), true);
        hero->SetTintColor(Color{0.9f, 0.9f, 0.9f, 1.0f});
    }
    EffectEntity* Particle(std::uint32_t id) { return Find<EffectEntity>(id); }
    Character* hero = nullptr;
};

TEST_F(CharacterEffects, APackStartsOnceFadesItsSoundAndItsParticlesDetachOnlyWhenDead) {
    CharFxPak pack;
    pack.LoadFromDatabase(kFirePack);
    pack.SetParent(hero->GetObjectId());
    pack.InitializeFxPak();
    ASSERT_EQ(pack.GetMeshEffectIds().size(), 1u);
    ASSERT_EQ(pack.GetParticleEffectIds().size(), 2u);
    const auto& slots = hero->GetFxManager().GetParticleSlots();
    // The attach list is shorter than the particle list: the second has no attach point.
    EXPECT_EQ(slots.at(pack.GetParticleEffectIds()[0]).attachPoint, "Target");
    EXPECT_EQ(slots.at(pack.GetParticleEffectIds()[1]).attachPoint, "");

    const auto emitsBefore = Calls(MediaCall::StartEmitting);
    pack.Enable(true);
    pack.Start();  // a second start changes nothing
    EXPECT_EQ(Calls(MediaCall::StartEmitting) - emitsBefore, 2u);
    for (std::uint32_t id : pack.GetParticleEffectIds()) {
        ASSERT_NE(Particle(id), nullptr);
        EXPECT_TRUE(Particle(id)->IsEmitting());
        EXPECT_EQ(Particle(id)->GetAttachParentId(), hero->GetObjectId());
    }
    FxMesh* ring = Find<FxMesh>(pack.GetMeshEffectIds()[0]);
    ASSERT_NE(ring, nullptr);
    const std::uint32_t ringId = ring->GetObjectId();
    EXPECT_EQ(ring->GetAttachParentId(), hero->GetObjectId());
    EXPECT_EQ(ring->GetAttachPoint().c_str(), std::string("Target"));
    EXPECT_EQ(ring->GetPhase(), FxMesh::kFadeIn);
    EXPECT_FLOAT_EQ(hero->GetTintColor().g, 0.4f);
    EXPECT_EQ(pack.GetStartSound()->GetPlayCount(), 1u);
    EXPECT_EQ(pack.GetActiveSound()->GetTrackedObject(), hero->GetObjectId());
    EXPECT_TRUE(pack.GetActiveSound()->IsPlaying());

    Frame(100, {});
    pack.Enable(false);
    pack.Stop();  // already stopped: no second stop sound
    EXPECT_FALSE(pack.IsStarted());
    EXPECT_FLOAT_EQ(hero->GetTintColor().g, 0.9f);
    EXPECT_EQ(pack.GetActiveSound()->GetTrackedObject(), 0u);
    EXPECT_FLOAT_EQ(pack.GetActiveSound()->GetLastFadeTime(), 10.0f);
    EXPECT_FALSE(pack.GetActiveSound()->IsPlaying());
    EXPECT_EQ(pack.GetStopSound()->GetPlayCount(), 1u);
    EXPECT_FALSE(ring->IsAttached());
    EXPECT_TRUE(ring->IsComplete());

    // Sparks live 500 ms after the stop, smoke 1500 ms: each detaches when its own have died.
    const std::uint32_t sparks = pack.GetParticleEffectIds()[0];
    const std::uint32_t smoke = pack.GetParticleEffectIds()[1];
    Frame(400, {});
    hero->GetFxManager().Update(400);
    EXPECT_TRUE(slots.at(sparks).attached);
    Frame(200, {});
    hero->GetFxManager().Update(200);
    EXPECT_FALSE(slots.at(sparks).attached);
    EXPECT_TRUE(slots.at(smoke).attached);

    pack.UnLoad();
    EXPECT_TRUE(pack.GetParticleEffectIds().empty());
    EXPECT_FALSE(Alive(ringId));
    Frame(1000, {});
    hero->GetFxManager().Update(1000);
    EXPECT_TRUE(slots.empty());
    EXPECT_FALSE(Alive(sparks));
    EXPECT_FALSE(Alive(smoke));
}

TEST_F(CharacterEffects, CopiesShareTheSoundsAndAPackWithoutCharacterDoesNothing) {
    std::uint32_t soundId = 0;
    {
        CharFxPak original;
        original.LoadFromDatabase(kFirePack);
        soundId = original.GetStartSound()->GetObjectId();
        CharFxPak copy(original);
        {
            CharFxPak last;
            last = copy;
        }
        EXPECT_TRUE(Alive(soundId));
        original.Start();  // no parent: not started
        EXPECT_FALSE(original.IsStarted());
        EXPECT_TRUE(original.GetStartSound()->GetPlayCount() == 0);
    }
    EXPECT_FALSE(Alive(soundId));
}

TEST_F(CharacterEffects, ManagerRefusesBadNamesIgnoresRemovedIdsAndRunsOneShots) {
    PFxManager& fx = hero->GetFxManager();
    EXPECT_EQ(fx.AddParticleEffect("", "Target"), 0u);
    EXPECT_EQ(fx.AddParticleEffect("Records/Effects/Nothing.dbr", "Target"), 0u);
    EXPECT_EQ(fx.AddMeshEffect(""), 0u);
    EXPECT_EQ(fx.AddMeshEffect(kSparks), 0u);  // not a mesh effect
    EXPECT_TRUE(fx.GetParticleSlots().empty());
    EXPECT_TRUE(fx.GetMeshSlots().empty());

    std::uint32_t id = fx.AddParticleEffect(kSparks, "Head");
    const std::uint32_t kept = id;
    fx.RemoveParticleEffect(id);
    EXPECT_EQ(id, 0u);
    fx.StartParticleEffect(kept);
    EXPECT_FALSE(Particle(kept)->IsEmitting());
    fx.Update(1);
    EXPECT_FALSE(Alive(kept));

    fx.OneShotParticleEffect(kSparks, "Head");
    ASSERT_EQ(hero->GetAttachedChildren().size(), 1u);
    const std::uint32_t shot = hero->GetAttachedChildren()[0];
    EXPECT_TRUE(Particle(shot)->IsEmitting());
    EXPECT_TRUE(fx.GetParticleSlots().empty());
    Particle(shot)->StopEmitting();
    Frame(400, {shot});
    EXPECT_TRUE(Alive(shot));
    Frame(200, {shot});
    EXPECT_FALSE(Alive(shot));
    EXPECT_TRUE(hero->GetAttachedChildren().empty());
}

TEST_F(CharacterEffects, HeldEffectIsDestroyedUnlessItEverStarted) {
    SpecialFX unused;
    unused.LoadFX(kSparks, hero);
    const std::uint32_t first = unused.GetEffect()->GetObjectId();
    EXPECT_FALSE(unused.GetEffect()->IsEmitting());
    EXPECT_EQ(unused.GetEffect()->GetAttachParentId(), hero->GetObjectId());
    unused.ReleaseFx(At(1, 0, 1));
    EXPECT_FALSE(Alive(first));

    SpecialFX flight;
    flight.LoadFX(kSparks, hero);
    SpecialFX shared = flight;
    flight.StartFx();
    EffectEntity* effect = shared.GetEffect();
    EXPECT_TRUE(effect->IsEmitting());
    flight.StopFx();
    flight.ReleaseFx(At(7, 0, 7));
    EXPECT_EQ(flight.GetEffect(), nullptr);
    EXPECT_TRUE(effect->IsInWorld());
    EXPECT_FALSE(effect->IsAttached());
    EXPECT_FLOAT_EQ(effect->GetPosition().local.x, 7.0f);
    const std::uint32_t released = effect->GetObjectId();
    Frame(600, {released});
    EXPECT_FALSE(Alive(released));
}

}  // namespace
}  // namespace GAME::test
