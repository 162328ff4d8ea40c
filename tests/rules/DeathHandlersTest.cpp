// The death handlers a character builds from its record, each one's effect on the body, the
// body's removal outside its own update, and the ids of the die packet on a second machine.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/graphics/Light.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/rules/death/DeathRemovals.h"
#include "Game/rules/death/DefaultDeathHandler.h"
#include "Game/rules/death/DissolveActorDeathHandler.h"
#include "Game/rules/death/FadeActorDeathHandler.h"
#include "characters/CharacterTestSupport.h"
#include "core/GamePacketsTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

Name N(const char* text) {
    return Name::Create(text);
}

ObjectManager& Objects() {
    return Singleton<ObjectManager>::Get();
}

// What the die action does on every machine: the carried ids, then the list.
bool StartDeath(Character& character, const std::vector<std::uint32_t>& ids) {
    character.SetLifeState(Character_LifeState::Dying);
    DeathManager* manager = character.GetDeathManager();
    if (!manager || !manager->SetObjectIds(ids))
        return false;
    manager->Execute();
    return true;
}

struct DeathFixture : ::testing::Test {
    TestMachine tm;
    DeathFixture() { InitializeObjects(); }
    ~DeathFixture() override { ShutdownObjects(); }
};

using DeathHandlers = DeathFixture;

TEST_F(DeathHandlers, TheListFollowsTheRecord) {
    struct Case {
        const char* record;
        std::size_t handlers;
        std::size_t ids;
    };
    const Case cases[] = {
        {"Records/Characters/Brute.dbr", 1, 0},      // the default handler only
        {"Records/Characters/Dissolver.dbr", 2, 0},  // + dissolve
        {"Records/Characters/Fader.dbr", 2, 0},      // + fade
        {"Records/Characters/Spawner.dbr", 3, 1},    // + spawn, effect
        {"Records/Characters/Bones.dbr", 4, 2},      // + sound, spawn, bones
    };
    for (const Case& c : cases) {
        Character* character = MakeCharacter(c.record);
        ASSERT_NE(character, nullptr) << c.record;
        ASSERT_NE(character->GetDeathManager(), nullptr) << c.record;
        EXPECT_EQ(character->GetDeathManager()->GetHandlerCount(), c.handlers) << c.record;
        EXPECT_EQ(character->GetDeathManager()->GetObjectIdCount(), c.ids) << c.record;
    }
}

TEST_F(DeathHandlers, DefaultFinishesWithoutAnAnimationHidesTheBodyAndStopsItsEffects) {
    Character* body = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(body, nullptr);
    auto* smoke =
        Objects().CreateObjectFromFile<EffectEntity>("Records/Characters/Fx/DyingSmoke.dbr");
    ASSERT_NE(smoke, nullptr);
    body->Attach(smoke, Coords::Identity(), "Target");
    smoke->StartEmitting();

    DefaultDeathHandler handler(body);
    handler.Execute();
    // No death animation can play yet: the handler is done at once, and the off-screen body of
    // a non-player is hidden.
    EXPECT_TRUE(handler.IsFinished());
    EXPECT_FALSE(body->IsVisible());
    EXPECT_FALSE(smoke->IsEmitting());
    EXPECT_TRUE(smoke->IsLightFading());

    handler.Reset();
    EXPECT_FALSE(handler.IsFinished());
    handler.AnimationCallback(N("ragDoll"));
    EXPECT_FALSE(handler.IsFinished());
    handler.ExternalEvent(N("PhysicsComplete"));
    EXPECT_TRUE(handler.IsFinished());
    handler.Reset();
    handler.AnimationCallback(N("End"));
    EXPECT_TRUE(handler.IsFinished());
}

TEST_F(DeathHandlers, DissolveShrinksItsLightAndTheBodyGoesAtTheNextFrameStep) {
    Character* body = MakeCharacter("Records/Characters/Dissolver.dbr");
    ASSERT_NE(body, nullptr);
    const std::uint32_t id = body->GetObjectId();
    ASSERT_TRUE(StartDeath(*body, {}));
    EXPECT_EQ(body->GetLifeState(), Character_LifeState::Dying);
    EXPECT_TRUE(body->GetMeshInstance().IsDissolving());

    std::uint32_t lightId = 0;
    for (std::uint32_t child : body->GetAttachedChildren())
        if (Objects().GetObject<Light>(child))
            lightId = child;
    auto* light = Objects().GetObject<Light>(lightId);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->GetAttachPoint(), N("Target"));
    EXPECT_FLOAT_EQ(light->GetColor().r, 1.0f);
    EXPECT_FLOAT_EQ(light->GetColor().g, 0.0f);
    EXPECT_EQ(body->GetAttachedChildren().size(), 2u);  // the light and the effect

    // 5 units a second off the radius of 10, never below 0.
    RunFrame(*body, 1000);
    EXPECT_FLOAT_EQ(light->GetRadius(), 5.0f);
    EXPECT_FALSE(body->GetDeathManager()->IsFinished());
    RunFrame(*body, 999);
    EXPECT_NEAR(light->GetRadius(), 0.005f, 1e-4f);
    EXPECT_NE(Objects().GetObject<Character>(id), nullptr);

    // The dissolve has run its 2 s: the list finishes and post-processes inside the body's own
    // update, and the body is still whole for the rest of that update.
    RunFrame(*body, 1);
    EXPECT_TRUE(Singleton<DeathRemovals>::Get().IsPending(id));
    ASSERT_EQ(Objects().GetObject<Character>(id), body);
    RunFrame(*body, 16);
    EXPECT_EQ(Objects().GetObject<Character>(id), body);

    gGameEngine->Update(16);
    EXPECT_EQ(Objects().GetObject<Character>(id), nullptr);
    EXPECT_FALSE(Singleton<DeathRemovals>::Get().IsPending(id));
    gGameEngine->Update(16);  // nothing left to remove
}

TEST_F(DeathHandlers, DissolveOnCallbackStartsOnItsCallbackAndEndsOnEnd) {
    Character* body = MakeCharacter("Records/Characters/LateDissolver.dbr");
    ASSERT_NE(body, nullptr);
    DissolveActorDeathHandler handler(body);
    handler.Execute();
    EXPECT_FALSE(body->GetMeshInstance().IsDissolving());
    EXPECT_TRUE(body->GetAttachedChildren().empty());

    handler.AnimationCallback(N("dissolve"));
    EXPECT_TRUE(body->GetMeshInstance().IsDissolving());
    const std::uint32_t lightId = handler.GetLightId();
    const std::uint32_t effectId = handler.GetEffectId();
    auto* effect = Objects().GetObject<EffectEntity>(effectId);
    ASSERT_NE(Objects().GetObject<Light>(lightId), nullptr);
    ASSERT_NE(effect, nullptr);
    effect->StartEmitting();
    EXPECT_FALSE(handler.IsFinished());

    // "End" before the mesh has dissolved: the light goes, the effect stays in the world.
    handler.AnimationCallback(N("End"));
    EXPECT_TRUE(handler.IsFinished());
    EXPECT_EQ(Objects().GetObject(lightId), nullptr);
    EXPECT_EQ(handler.GetLightId(), 0u);
    EXPECT_EQ(Objects().GetObject<EffectEntity>(effectId), effect);
    EXPECT_FALSE(effect->IsAttached());
    EXPECT_FALSE(effect->IsEmitting());
    EXPECT_TRUE(effect->GetDeleteWhenDone());
    EXPECT_TRUE(body->GetAttachedChildren().empty());

    // The physics end finishes it unless the behaviour is "Dissolve".
    handler.Reset();
    handler.ExternalEvent(N("PhysicsComplete"));
    EXPECT_TRUE(handler.IsFinished());
    Character* dissolver = MakeCharacter("Records/Characters/Dissolver.dbr");
    DissolveActorDeathHandler early(dissolver);
    early.Execute();
    early.ExternalEvent(N("PhysicsComplete"));
    EXPECT_FALSE(early.IsFinished());
}

TEST_F(DeathHandlers, FadeDarkensTheTintAndStartsOverAfterARespawn) {
    Character* body = MakeCharacter("Records/Characters/Fader.dbr");
    ASSERT_NE(body, nullptr);
    body->SetTintColor(Color{0.8f, 0.6f, 0.4f, 1.0f});
    FadeActorDeathHandler handler(body);
    handler.Execute();
    EXPECT_FLOAT_EQ(handler.GetFadeTime(), 1000.0f);
    handler.Update(250);
    EXPECT_FLOAT_EQ(body->GetTintColor().r, 0.6f);
    EXPECT_FLOAT_EQ(body->GetTintColor().g, 0.45f);
    EXPECT_FLOAT_EQ(body->GetTintColor().b, 0.3f);
    EXPECT_FALSE(handler.IsFinished());
    handler.Update(750);
    EXPECT_TRUE(handler.IsFinished());
    EXPECT_FLOAT_EQ(body->GetTintColor().r, 0.0f);

    // A second death fades for its whole time again.
    handler.Reset();
    body->SetTintColor(Color{1.0f, 1.0f, 1.0f, 1.0f});
    handler.Execute();
    handler.Update(100);
    EXPECT_FALSE(handler.IsFinished());
    EXPECT_FLOAT_EQ(body->GetTintColor().r, 0.9f);
}

TEST_F(DeathHandlers, BonesAreCarriedUntilEndThenLetOutWithTheBodysScale) {
    Character* body = MakeCharacter("Records/Characters/Bones.dbr");
    ASSERT_NE(body, nullptr);
    body->SetScale(1.5f);
    DeathManager& manager = *body->GetDeathManager();
    const std::vector<std::uint32_t> ids = manager.CreateObjectIds();
    ASSERT_EQ(ids.size(), 2u);
    ASSERT_TRUE(StartDeath(*body, ids));

    // In list order: the spawn handler has the first id (it waits for nothing: spawned now),
    // the bones handler the second (carried inside the body).
    auto* spawned = Objects().GetObject<Character>(ids[0]);
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(spawned->GetObjectName(), "Records/Characters/Brute.dbr");
    auto* bones = Objects().GetObject<Monster>(ids[1]);
    ASSERT_NE(bones, nullptr);
    EXPECT_EQ(bones->GetObjectName(), "Records/Monsters/Wolf.dbr");
    EXPECT_EQ(bones->GetAttachParentId(), body->GetObjectId());
    // Carried without its brain, which it gets back when it is let out.
    const std::uint32_t brain = bones->GetControllerId();
    EXPECT_EQ(bones->GetMonsterController(), nullptr);
    // The sound handler and the default one are done; the spawn and bones wait for "End".
    EXPECT_FALSE(manager.IsFinished());

    manager.AnimationCallback(N("End"));
    EXPECT_FALSE(bones->IsAttached());
    EXPECT_FLOAT_EQ(bones->GetScale(), 1.5f);
    ASSERT_NE(bones->GetMonsterController(), nullptr);
    EXPECT_NE(bones->GetControllerId(), brain);
    EXPECT_EQ(bones->GetMonsterController()->GetParentId(), bones->GetObjectId());
    EXPECT_TRUE(manager.IsFinished());
    RunFrame(*body, 16);
    EXPECT_FALSE(manager.IsFinished());  // post-processed by the body's update
    EXPECT_FALSE(Singleton<DeathRemovals>::Get().IsPending(body->GetObjectId()));
}

TEST_F(DeathHandlers, ARespawnResetsTheListAndKeepsAQueuedBody) {
    Character* body = MakeCharacter("Records/Characters/Fader.dbr");
    ASSERT_NE(body, nullptr);
    const std::uint32_t id = body->GetObjectId();
    ASSERT_TRUE(StartDeath(*body, {}));
    RunFrame(*body, 1000);
    ASSERT_TRUE(Singleton<DeathRemovals>::Get().IsPending(id));
    body->StartRespawn(body->GetSpawnPoint());
    EXPECT_EQ(body->GetLifeState(), Character_LifeState::Respawning);
    EXPECT_FALSE(Singleton<DeathRemovals>::Get().IsPending(id));
    gGameEngine->Update(16);
    EXPECT_EQ(Objects().GetObject<Character>(id), body);
    // The next death runs the list from the start.
    ASSERT_TRUE(StartDeath(*body, {}));
    RunFrame(*body, 500);
    EXPECT_FALSE(Singleton<DeathRemovals>::Get().IsPending(id));
    RunFrame(*body, 500);
    EXPECT_TRUE(Singleton<DeathRemovals>::Get().IsPending(id));
}

// A die packet from a peer with one id for two handlers is refused whole: nothing spawns.
TEST_F(DeathHandlers, AShortIdListFromAPeerSpawnsNothing) {
    Character* body = MakeCharacter("Records/Characters/Bones.dbr");
    ASSERT_NE(body, nullptr);
    DiePacket packet;
    packet.character = body->GetObjectId();
    packet.deathHandlerIds = {4000};
    const std::size_t before = Objects().GetObjectCount();
    tm.ClearLog();
    EXPECT_FALSE(StartDeath(*body, ReadBack(packet)->deathHandlerIds));
    EXPECT_EQ(Objects().GetObjectCount(), before);
    EXPECT_EQ(tm.CountLog("1 object ids for 2 handlers"), 1);
}

}  // namespace
}  // namespace GAME::test
