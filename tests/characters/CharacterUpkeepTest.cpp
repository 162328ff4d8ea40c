// A character's small upkeep: what stops it when it flies, the effects attached to it, its debug
// view and its own destruction.
#include <gtest/gtest.h>

#include "Engine/media/MediaRecorder.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/items/Item.h"
#include "Game/world/props/Decoration.h"
#include "Game/world/sounds/SoundObject.h"
#include "MovementTestSupport.h"

namespace GAME::test {
namespace {

class Upkeep : public MeadowTest {};

TEST_F(Upkeep, OnlyWhatIsNeitherItemCharacterNorSoundStopsAFlyingCharacter) {
    Character* flier = Spawn(40, 40);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const struct {
        Entity* other;
        bool stops;
    } cases[] = {
        {objects.CreateObject<Item>(), false},        {Spawn(42, 40), false},
        {objects.CreateObject<SoundObject>(), false}, {objects.CreateObject<Decoration>(), true},
        {objects.CreateObject<EffectEntity>(), true},
    };
    EXPECT_TRUE(flier->CanCollide(nullptr));
    for (const auto& c : cases) {
        ASSERT_NE(c.other, nullptr);
        EXPECT_EQ(flier->CanCollide(c.other), c.stops) << c.other->GetClassInfo().GetClassName();
        // The physics asks through the engine's entity.
        const Entity& asEntity = *flier;
        EXPECT_EQ(asEntity.CanCollide(*c.other), c.stops) << c.other->GetClassInfo().GetClassName();
    }
}

TEST_F(Upkeep, AttachedEffectsStopAndADetachedSpawnEffectOutlivesItsCharacter) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Character* hero = Spawn(40, 40);
    auto* glow = objects.CreateObject<EffectEntity>();
    auto* hat = objects.CreateObject<Decoration>();
    auto* loose = objects.CreateObject<EffectEntity>();
    for (EffectEntity* effect : {glow, loose})
        effect->StartEmitting();
    hero->Attach(glow, Coords::Identity(), "Head");
    hero->Attach(hat, Coords::Identity(), "Head");
    hero->StopAttachedEffects();
    EXPECT_FALSE(glow->IsEmitting());
    EXPECT_TRUE(loose->IsEmitting());

    // A spawn effect forgotten stays when its character goes; one still held goes with it.
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "T/Smoky.dbr",
        R"({"Class": "Character", "spawnEffect": "Records/Effects/Particles/Smoke.dbr"})"));
    const std::size_t placed = World::Get().GetEntityCount();
    std::uint32_t effects[2] = {};
    for (std::uint32_t& effect : effects) {
        auto* smoky = objects.CreateObjectFromFile<Character>("T/Smoky.dbr");
        ASSERT_NE(smoky, nullptr);
        World::Get().AddEntity(smoky, WorldCoords(meadow, Coords::FromOrigin(At(44, 40).local)),
                               true);
        smoky->StartSpawnEffect();
        effect = smoky->GetSpawnEffectId();
        ASSERT_NE(effect, 0u);
        if (&effect == &effects[0]) {
            smoky->DetachSpawnEffect();
            EXPECT_EQ(smoky->GetSpawnEffectId(), 0u);
        }
        const std::uint32_t id = smoky->GetObjectId();
        smoky->DestroyMe();
        EXPECT_EQ(objects.GetObject(id), nullptr);
    }
    EXPECT_NE(objects.GetObject(effects[0]), nullptr);
    EXPECT_EQ(objects.GetObject(effects[1]), nullptr);
    // Both characters left the world; the detached effect stays in it.
    EXPECT_EQ(World::Get().GetEntityCount(), placed + 1);
}

TEST_F(Upkeep, TheDebugViewIsDrawnOnlyWhileTheCharacterDataLogIsOn) {
    Character* hero = Spawn(40, 40);
    const MediaRecorder& media = MediaRecorder::Get();
    const auto spheres = [&] { return media.Count(MediaCall::RenderSphere); };
    std::uint64_t before = spheres();
    Frame(*hero, kFrameMs);
    EXPECT_EQ(spheres(), before);
    gEngine->SetCharacterDataLogEnabled(true);
    Frame(*hero, kFrameMs);
    EXPECT_GT(spheres(), before);
    gEngine->SetCharacterDataLogEnabled(false);
    before = spheres();
    Frame(*hero, kFrameMs);
    EXPECT_EQ(spheres(), before);
}

}  // namespace
}  // namespace GAME::test
