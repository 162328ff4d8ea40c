// A character's death handlers: the list's life cycle, the effect at the body, and the actor
// spawned under the id the deciding machine reserved, alike on every machine.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/death/DeathManager.h"
#include "Game/rules/death/PlayEffectDeathHandler.h"
#include "Game/rules/death/SpawnActorDeathHandler.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

struct Death {
    Character* character = nullptr;
    std::unique_ptr<DeathManager> manager;
    PlayEffectDeathHandler* effect = nullptr;
};

Death MakeDeath() {
    Death death;
    death.character = MakeCharacter("Records/Characters/Spawner.dbr");
    death.manager = std::make_unique<DeathManager>(death.character);
    auto effect = std::make_unique<PlayEffectDeathHandler>(death.character);
    death.effect = effect.get();
    death.manager->AddHandler(std::move(effect));
    death.manager->AddHandler(std::make_unique<SpawnActorDeathHandler>(death.character));
    return death;
}

const Name& Callback(const char* text) {
    static std::vector<std::unique_ptr<Name>> names;
    names.push_back(std::make_unique<Name>(Name::Create(text)));
    return *names.back();
}

Character* Spawned(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Character>(id);
}

TEST(DeathManager, HandlersRunFromExecuteToPostProcessOnTheirEvents) {
    TestMachine tm;
    InitializeObjects();
    Death death = MakeDeath();
    ASSERT_NE(death.character, nullptr);
    DeathManager& manager = *death.manager;
    EXPECT_FALSE(manager.IsFinished());
    EXPECT_FALSE(manager.IsRunning());  // a living character's frame skips it

    const std::vector<std::uint32_t> ids = manager.CreateObjectIds();
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_FALSE(manager.SetObjectIds({}));  // too short: refused
    // An id in use (here the body's own) spawns nothing and leaves the body alone.
    ASSERT_TRUE(manager.SetObjectIds({death.character->GetObjectId()}));
    manager.AnimationCallback(Callback("spawnDeathActor"));
    EXPECT_EQ(Spawned(death.character->GetObjectId()), death.character);
    EXPECT_EQ(death.character->GetObjectName(), "Records/Characters/Spawner.dbr");
    ASSERT_TRUE(manager.SetObjectIds(ids));
    manager.Execute();
    // The effect plays at the body and its handler is done; the spawn waits for its callback.
    auto* emitter =
        Singleton<ObjectManager>::Get().GetObject<EffectEntity>(death.effect->GetEffectId());
    ASSERT_NE(emitter, nullptr);
    EXPECT_TRUE(emitter->IsEmitting());
    EXPECT_EQ(emitter->GetAttachParentId(), death.character->GetObjectId());
    EXPECT_EQ(Spawned(ids[0]), nullptr);
    EXPECT_TRUE(manager.IsRunning());
    manager.Update(100);
    EXPECT_FALSE(manager.IsFinished());

    manager.AnimationCallback(Callback("spawnDeathActor"));
    Character* spawned = Spawned(ids[0]);
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(spawned->GetObjectName(), "Records/Characters/Brute.dbr");
    EXPECT_EQ(spawned->GetSpawnPoint().GetRegionCoords().origin,
              death.character->GetCoords().GetRegionCoords().origin);
    EXPECT_FALSE(manager.IsFinished());
    manager.AnimationCallback(Callback("End"));
    EXPECT_TRUE(manager.IsFinished());
    manager.PostProcess();
    EXPECT_FALSE(manager.IsFinished());
    EXPECT_FALSE(manager.IsRunning());
    manager.Reset();
    EXPECT_FALSE(manager.IsFinished());
    EXPECT_FALSE(manager.IsRunning());
    manager.Execute();
    EXPECT_TRUE(manager.IsRunning());
    EXPECT_FALSE(manager.IsFinished());  // the spawn handler waits for "End" again
    ShutdownObjects();
}

TEST(DeathManager, ReservedIdsSpawnTheSameActorIdOnEveryMachine) {
    TestMachine decider;
    TestMachine peer;
    std::vector<std::uint32_t> ids;
    std::uint32_t deciderSpawn = 0;
    ON_MACHINE(decider) {
        InitializeObjects();
        Death death = MakeDeath();
        ids = death.manager->CreateObjectIds();
        ASSERT_TRUE(death.manager->SetObjectIds(ids));
        death.manager->Execute();
        death.manager->AnimationCallback(Callback("spawnDeathActor"));
        if (Spawned(ids.at(0)))
            deciderSpawn = ids[0];
        ShutdownObjects();
    }
    ON_MACHINE(peer) {
        InitializeObjects();
        Death death = MakeDeath();
        // The peer's own next ids differ: the actor spawns under the carried id.
        for (int i = 0; i < 3; ++i)
            Singleton<ObjectManager>::Get().CreateObjectID();
        ASSERT_TRUE(death.manager->SetObjectIds(ids));
        death.manager->Execute();
        death.manager->AnimationCallback(Callback("spawnDeathActor"));
        Character* spawned = Spawned(deciderSpawn);
        ASSERT_NE(spawned, nullptr);
        EXPECT_EQ(spawned->GetObjectName(), "Records/Characters/Brute.dbr");
        ShutdownObjects();
    }
    EXPECT_NE(deciderSpawn, 0u);
}

}  // namespace
}  // namespace GAME::test
