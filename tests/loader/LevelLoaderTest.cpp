// The sample level loaded on the loader thread while the game thread keeps asking what the
// loader fills (objects, instance groups, unique ids, the root's proxy books): the same level as
// a load on the game thread, and no data race (CI runs this program under ThreadSanitizer).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/LevelLoader.h"
#include "Engine/world/UniqueIdMap.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/world/proxies/Proxy.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kLevel = "Levels/Sample/Sample.level";

// What the level placed and what its proxies made, by id and record.
std::vector<std::string> Describe() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    std::vector<std::string> lines;
    for (std::uint32_t id : World::Get().GetPlacedEntityIds()) {
        lines.push_back(std::to_string(id) + " " + objects.GetObject(id)->GetObjectName());
        if (auto* proxy = objects.GetObject<Proxy>(id)) {
            std::vector<std::uint32_t> made;
            proxy->GetPrimaryObjects(made);
            for (std::uint32_t object : made)
                lines.push_back("  " + std::to_string(object) + " " +
                                objects.GetObject(object)->GetObjectName());
        }
    }
    return lines;
}

std::vector<std::string> LoadOnGameThread() {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    gGameEngine->GetRandomGen().Seed(11);
    EXPECT_TRUE(World::Get().LoadLevel(kLevel));
    std::vector<std::string> lines = Describe();
    ShutdownObjects();
    return lines;
}

TEST(LevelLoaderThread, LoadsWhileTheGameThreadAsks) {
    const std::vector<std::string> expected = LoadOnGameThread();
    ASSERT_FALSE(expected.empty());

    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    gGameEngine->GetRandomGen().Seed(11);
    // Known before the load so the asks below meet the loader's own writes.
    const std::string heroBoss = "Records/Creatures/BoarChieftain.dbr";
    UniqueId lair;
    ASSERT_TRUE(lair.FromString("5a3c0d1e000000020000000000000001"));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    LevelLoader loader(kLevel);
    loader.Start();
    int asks = 0;
    while (!loader.IsDone()) {
        unsigned int pool = 0;
        gGameEngine->GetUnifiedProxyPoolName("Chieftain's Lairs", pool);
        gGameEngine->IsProxyHeroBossInGame(heroBoss);
        {
            GroupListLock lock;
            std::vector<std::string> names;
            InstanceGroupManager::Get()->GetGroupsThatContain(lair, names);
        }
        if (const std::uint32_t id = UniqueIdMap::Get().GetObjectId(lair))
            objects.GetObject<Proxy>(id);
        ++asks;
    }
    ASSERT_TRUE(loader.Finish());
    EXPECT_GT(asks, 0);
    EXPECT_EQ(Describe(), expected);
    // The game thread takes over: the proxies run on their first update.
    for (std::uint32_t id : std::vector(World::Get().GetPlacedEntityIds()))
        if (auto* proxy = objects.GetObject<Proxy>(id))
            proxy->InitialUpdate();
    EXPECT_TRUE(gGameEngine->IsProxyHeroBossInGame(heroBoss));
    ShutdownObjects();
}

TEST(LevelLoaderThread, AFailedLoadIsReported) {
    TestMachine tm(TestMachine::SampleDataDir());
    LevelLoader never("Levels/Sample/Nothing.level");
    EXPECT_FALSE(never.Finish()) << "never started";
    LevelLoader missing("Levels/Sample/Nothing.level");
    missing.Start();
    EXPECT_FALSE(missing.Finish());
    EXPECT_TRUE(missing.IsDone());
}

}  // namespace
}  // namespace GAME::test
