// Spawn proxies on the machine that owns the game state: what a pool makes for a budget, how a
// proxy picks its pool (difficulty fallback, unified and unique groups), when it runs, what a
// saved proxy or ambush takes up again, how an ambush springs, and that the sample cave's
// proxies place the same creatures with the same ids on every load and every machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkIndexTable.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/streams/IOStream.h"
#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEventListener.h"
#include "Game/core/GameEvents.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/QuestNetMsg.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/actions/EntityActions.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/proxies/ProxyAccessoryPool.h"
#include "Game/world/proxies/ProxyAmbush.h"
#include "Game/world/proxies/ProxyPool.h"
#include "players/PlayersTestSupport.h"
#include "support/NetTestGame.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

void Record(const std::string& name, const std::string& json) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, json)) << name;
}

std::vector<std::string> NamesOf(const std::vector<std::uint32_t>& ids) {
    std::vector<std::string> names;
    for (std::uint32_t id : ids)
        if (const Object* object = Objects().GetObject(id))
            names.push_back(object->GetObjectName());
    return names;
}

// Cheap stand-ins for monster records: entities with a classification.
void CommonRecords() {
    Record("T/A.dbr", R"({"Class": "Entity"})");
    Record("T/B.dbr", R"({"Class": "Entity"})");
    Record("T/C.dbr", R"({"Class": "Entity", "monsterClassification": "Champion"})");
    Record("T/Boss.dbr", R"({"Class": "Entity", "monsterClassification": "Boss"})");
    Record("T/Budget10.dbr", R"({"difficultyEquation": "5*2"})");
    Record("T/Budget8.dbr", R"({"difficultyEquation": "4*2"})");
}

class Proxies : public ::testing::Test {
protected:
    Proxies() {
        InitializeObjects();
        gGameEngine->GetRandomGen().Seed(7);
        CommonRecords();
    }
    ~Proxies() override { ShutdownObjects(); }

    // A proxy of the record, loaded after its unique id is set (as the level does).
    template <class T = Proxy>
    T* Make(const std::string& record, const UniqueId& id = UniqueId()) {
        T* proxy = Objects().CreateObjectFromFile<T>(record, 0, false);
        if (!proxy)
            return nullptr;
        proxy->SetUniqueId(id);
        proxy->Load(Objects().GetLoadTable(record));
        return proxy;
    }
    std::vector<std::string> PoolOf(Proxy* proxy) {
        std::vector<std::uint32_t> ids;
        proxy->GetPrimaryObjects(ids);
        return NamesOf(ids);
    }

    TestMachine tm{TestMachine::SampleDataDir()};
};

TEST_F(Proxies, APoolMakesWhatItsBudgetAndCountsAllow) {
    struct Case {
        const char* what;
        const char* pool;
        const char* budget;             // the formula record, or none
        std::vector<std::string> made;  // "" matches any record
        int belowZeroLogs;
    };
    const Case cases[] = {
        {"picks until the budget runs out, then the minimum with the least difficult",
         R"("spawnMin": 3, "spawnMax": 5, "name1": "T/A.dbr", "weight1": 1, "difficulty1": 4,
            "name2": "T/B.dbr", "weight2": 1, "difficulty2": 4)",
         "T/Budget10.dbr",
         {"", "", "T/A.dbr"},
         0},
        {"an always-spawn entry comes as often as its defaulted limit, whatever the budget",
         R"("spawnMax": 3, "name1": "T/A.dbr", "difficulty1": 1, "name2": "T/B.dbr",
            "alwaysSpawn2": true)",
         nullptr,
         {"T/B.dbr", "T/B.dbr", "T/B.dbr"},
         0},
        {"a cutoff keeps a cheap entry out while the budget is large",
         R"("spawnMax": 2, "name1": "T/A.dbr", "weight1": 1, "difficulty1": 3, "limit1": 1,
            "name2": "T/B.dbr", "weight2": 1, "difficulty2": 1, "difficultyCutoff2": 5)",
         "T/Budget8.dbr",
         {"T/A.dbr", "T/B.dbr"},
         0},
        {"champions come first and count against the spawn maximum",
         R"("spawnMax": 2, "championMax": 1, "nameChampion1": "T/C.dbr",
            "weightChampion1": 1, "difficultyChampion1": 2,
            "name7": "T/A.dbr", "weight7": 1, "difficulty7": 1, "limit7": 9)",
         "T/Budget10.dbr",
         {"T/C.dbr", "T/A.dbr"},
         0},
        {"negative counts and prices are refused, not wrapped",
         R"("spawnMin": -2, "spawnMax": 1, "name1": "T/A.dbr", "weight1": 1,
            "difficulty1": -4)",
         nullptr,
         {"T/A.dbr"},
         2},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string pool = "T/Pool" + std::to_string(n) + ".dbr";
        const std::string proxy = "T/Proxy" + std::to_string(n++) + ".dbr";
        Record(pool, std::string("{") + c.pool + "}");
        Record(proxy,
               std::string(R"({"Class": "Proxy", "pool1": ")") + pool + R"(", "weight1": 1)" +
                   (c.budget ? std::string(R"(, "difficultyEquationFile": ")") + c.budget + "\""
                             : std::string()) +
                   "}");
        tm.ClearLog();
        Proxy* made = Make(proxy);
        ASSERT_NE(made, nullptr) << c.what;
        const std::vector<std::string> names = PoolOf(made);
        ASSERT_EQ(names.size(), c.made.size()) << c.what;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (!c.made[i].empty()) {
                EXPECT_EQ(names[i], c.made[i]) << c.what << ", object " << i;
            }
        }
        EXPECT_EQ(tm.CountLog("below 0"), c.belowZeroLogs) << c.what;
        // Nothing placed: the pool's objects go with the proxy.
        std::vector<std::uint32_t> ids;
        made->GetPrimaryObjects(ids);
        Objects().DestroyObject(made);
        for (std::uint32_t id : ids)
            EXPECT_EQ(Objects().GetObject(id), nullptr) << c.what;
    }
}

TEST_F(Proxies, AHeroOrBossIsMadeOncePerGame) {
    Record("T/BossPool.dbr",
           R"({"spawnMax": 1, "name1": "T/Boss.dbr", "alwaysSpawn1": true, "limit1": 1})");
    Record("T/BossProxy.dbr", R"({"Class": "Proxy", "pool1": "T/BossPool.dbr", "weight1": 1})");
    Proxy* first = Make("T/BossProxy.dbr");
    EXPECT_EQ(PoolOf(first), std::vector<std::string>{"T/Boss.dbr"});
    EXPECT_TRUE(gGameEngine->IsProxyHeroBossInGame("T/Boss.dbr"));
    EXPECT_TRUE(PoolOf(Make("T/BossProxy.dbr")).empty());
    // Destroyed unplaced, the boss may be made again.
    Objects().DestroyObject(first);
    EXPECT_FALSE(gGameEngine->IsProxyHeroBossInGame("T/Boss.dbr"));
    EXPECT_EQ(PoolOf(Make("T/BossProxy.dbr")).size(), 1u);
}

TEST_F(Proxies, DifficultyPicksItsKeysWithFallback) {
    Record("T/PoolA.dbr", R"({"spawnMax": 1, "name1": "T/A.dbr", "weight1": 1})");
    Record("T/PoolB.dbr", R"({"spawnMax": 1, "name1": "T/B.dbr", "weight1": 1})");
    Record("T/PoolC.dbr", R"({"spawnMax": 1, "name1": "T/C.dbr", "weight1": 1})");
    Record("T/Plain.dbr", R"({"Class": "Proxy", "pool1": "T/PoolA.dbr"})");
    Record("T/Epic.dbr", R"({"Class": "Proxy", "pool1": "T/PoolA.dbr",
                             "poolEpic1": "T/PoolB.dbr"})");
    Record("T/All.dbr", R"({"Class": "Proxy", "pool1": "T/PoolA.dbr",
                            "poolEpic1": "T/PoolB.dbr", "poolLegendary1": "T/PoolC.dbr"})");
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "T/All.dbr", "T/A.dbr"},  {1, "T/All.dbr", "T/B.dbr"},   {2, "T/All.dbr", "T/C.dbr"},
        {2, "T/Epic.dbr", "T/B.dbr"}, {2, "T/Plain.dbr", "T/A.dbr"}, {1, "T/Plain.dbr", "T/A.dbr"},
    };
    for (const auto& [difficulty, proxy, made] : cases) {
        gGameEngine->SetGameDifficulty(difficulty);
        EXPECT_EQ(PoolOf(Make(proxy)), std::vector<std::string>{made})
            << proxy << " at difficulty " << difficulty;
    }
}

TEST_F(Proxies, UnifiedGroupsShareThePoolAndUniqueGroupsSpawnOnce) {
    Record("T/PoolA.dbr", R"({"spawnMax": 1, "name1": "T/A.dbr", "weight1": 1})");
    Record("T/PoolB.dbr", R"({"spawnMax": 1, "name1": "T/B.dbr", "weight1": 1})");
    Record("T/Either.dbr", R"({"Class": "Proxy", "pool1": "T/PoolA.dbr", "weight1": 5,
                               "pool2": "T/PoolB.dbr", "weight2": 5})");
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        gGameEngine->GetRandomGen().Seed(seed);
        gGameEngine->ClearProxyInfo();
        groups.ClearGroups();
        InstanceGroup* unified = groups.AddGroup("Band", "Unified Proxies");
        InstanceGroup* unique = groups.AddGroup("Lairs", "Unique Proxies");
        std::vector<std::string> bandPools;
        for (std::uint32_t i = 1; i <= 4; ++i) {
            unified->AddMember(UniqueId(1, seed, i, 0));
            bandPools.push_back(PoolOf(Make("T/Either.dbr", UniqueId(1, seed, i, 0))).at(0));
        }
        EXPECT_EQ(std::count(bandPools.begin(), bandPools.end(), bandPools[0]), 4) << seed;
        for (std::uint32_t i = 1; i <= 3; ++i)
            unique->AddMember(UniqueId(2, seed, i, 0));
        int spawning = 0;
        for (std::uint32_t i = 1; i <= 3; ++i) {
            Proxy* lair = Make("T/Either.dbr", UniqueId(2, seed, i, 0));
            const bool selected = gGameEngine->IsUniqueProxySelected(lair);
            EXPECT_EQ(lair->GetMainPool() != nullptr, selected) << seed;
            spawning += selected ? 1 : 0;
        }
        EXPECT_EQ(spawning, 1) << seed;
    }
    // A proxy in no group is ordinary and never selected; an empty group selects nothing.
    Proxy* loner = Make("T/Either.dbr", UniqueId(3, 3, 3, 3));
    EXPECT_EQ(gGameEngine->GetProxyType(loner), ProxyType_None);
    EXPECT_FALSE(gGameEngine->IsUniqueProxySelected(loner));
    EXPECT_TRUE(gGameEngine->LoadAndSelectOneProxy(groups.AddGroup("Empty", "x")).IsNull());
    unsigned int pool = 77;
    EXPECT_FALSE(gGameEngine->GetUnifiedProxyPoolName("Empty", pool));
    EXPECT_EQ(pool, 77u);
}

TEST_F(Proxies, LimitsAndFormulasReadThePlayersLevels) {
    Record("T/Limits.dbr", R"({"minPlayerLevelEquationNormal": "(averagePlayerLevel*1)+10",
                               "maxPlayerLevelEquationNormal": "20+0"})");
    Record("T/Limited.dbr", R"({"Class": "Proxy", "difficultyLimitsFile": "T/Limits.dbr",
                                "difficultyEquationFile": ""})");
    tm.ClearLog();
    // No player yet: the average is 0, the lower limit the formula gives from it, 10.
    EXPECT_EQ(Make("T/Limited.dbr")->GetLimitedAverageLevel(), 10u);
    EXPECT_EQ(tm.CountLog("was not found"), 0);  // the empty formula file is not asked for
    // A player of level 5: the limit formula reads 5 (not the 0 of before), the limit is 15.
    gGameEngine->GetPlayerManagerClient()->SetMainPlayer(
        MakePlayer(PlayerId(0, 0x55), L"Scout", 5)->GetObjectId());
    EXPECT_EQ(Make("T/Limited.dbr")->GetLimitedAverageLevel(), 15u);
    Proxy* proxy = Make("T/Limited.dbr");
    EXPECT_EQ(proxy->RunEquation("poolValue*3", 4), 12);
    EXPECT_EQ(proxy->RunEquation("", 4), 4);
    EXPECT_EQ(proxy->RunEquation("((", 5), 5);
    float value = -1;
    EXPECT_FALSE(proxy->GetDesignerVariable("nonsense", value));
    EXPECT_EQ(value, 0.0f);
}

// Quest actions named after a proxy act on what it made; one that disables it stops it for good.
TEST_F(Proxies, QuestActionsReachAProxysObjectsAndDisableIt) {
    Record("T/QuestPool.dbr", R"({"spawnMax": 2, "name1": "T/A.dbr", "alwaysSpawn1": true})");
    Record("T/QuestProxy.dbr", R"({"Class": "Proxy", "pool1": "T/QuestPool.dbr", "weight1": 1})");
    const auto action = [](auto made, const char* key) {
        IOStream properties;
        std::string name = "T/QuestProxy.dbr";
        properties.StreamString(key, name);
        IOStream read(properties.GetBytes());
        made->SerializeChildProperties(read);
        return made;
    };
    auto kill = action(std::make_unique<Action_KillCreature>(0), "creatureRecord");
    auto disable = action(std::make_unique<Action_DisableProxy>(0), "proxy");
    Proxy* proxy = Make("T/QuestProxy.dbr");
    ASSERT_NE(proxy, nullptr);
    std::vector<std::uint32_t> made;
    proxy->GetPrimaryObjects(made);
    ASSERT_EQ(made.size(), 2u);
    disable->Fire(0, false);
    GameEvent_GenericEntity appeared;
    appeared.objectName = proxy->GetObjectName();
    appeared.objectId = proxy->GetObjectId();
    SendGameEvent(appeared, "GenericEntityInitialUpdate");
    EXPECT_EQ(kill->GetBound(), made);
    EXPECT_TRUE(proxy->IsDone());
    EXPECT_FALSE(disable->IsPendingFire());
}

// The deciding machine tells the others what a proxy made, naming the proxy by its network
// index; each machine binds the listeners of that name, and a skill action the list its name
// fills.
TEST_F(Proxies, AProxysSpawnTravelsByNetworkIndexToTheListenersOfItsName) {
    Record("T/QuestPool.dbr", R"({"spawnMax": 2, "name1": "T/A.dbr", "alwaysSpawn1": true})");
    Record("T/QuestProxy.dbr", R"({"Class": "Proxy", "pool1": "T/QuestPool.dbr", "weight1": 1})");
    // As the level loader fills it: the level's records in file order.
    NetworkIndexTable& names = NetworkIndexTable::Get();
    names.Add("T/Elsewhere.dbr");
    const std::uint32_t source = names.Add("T/QuestProxy.dbr");
    const std::uint32_t target = names.Add("T/Victims.dbr");
    IOStream properties;
    std::string skill = "T/Bolt.dbr", from = "T/QuestProxy.dbr", to = "t\\victims.DBR";
    properties.StreamString("skill", skill);
    properties.StreamString("source", from);
    properties.StreamString("target", to);
    IOStream read(properties.GetBytes());
    auto fire = std::make_unique<Action_FireSkill>(0);
    fire->SerializeChildProperties(read);

    Proxy* proxy = Make("T/QuestProxy.dbr");
    ASSERT_NE(proxy, nullptr);
    std::vector<std::uint32_t> made;
    proxy->GetPrimaryObjects(made);
    GameEvent_GenericEntity appeared;
    appeared.objectName = proxy->GetObjectName();
    appeared.objectId = proxy->GetObjectId();
    SendGameEvent(appeared, "GenericEntityInitialUpdate");
    const auto& kept = QuestRepository::Get()->GetProxySpawns();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].proxyNameIndex, source);
    EXPECT_EQ(kept[0].primaryObjects, made);
    EXPECT_EQ(fire->GetBound(), made);

    using Ids = std::vector<std::uint32_t>;
    const struct {
        std::uint32_t index;
        std::uint32_t sender;
        Ids sent, sources, targets;
        int unknown;
    } cases[] = {
        {target, PlayerId(1, 5), {0x71, 0x72}, made, {0x71, 0x72}, 0},  // the targets only
        {source, PlayerId(1, 5), {0x73}, {0x73}, {0x71, 0x72}, 0},
        {99, PlayerId(1, 5), {0x75}, {0x73}, {0x71, 0x72}, 1},
    };
    for (const auto& c : cases) {
        tm.ClearLog();
        QuestNetMsg_ProxySpawn spawn;
        spawn.proxyNameIndex = c.index;
        spawn.primaryObjects = c.sent;
        spawn.accessoryObjects = {0x7201};
        std::vector<std::uint32_t> words;
        WriteProxySpawn(spawn, c.sender, words);
        EXPECT_TRUE(QuestRepository::Get()->RecvNetMsg(words));
        EXPECT_EQ(fire->GetBound(), c.sources) << c.index;
        EXPECT_EQ(fire->GetTargets(), c.targets) << c.index;
        EXPECT_EQ(tm.CountLog("which no record of this level has"), c.unknown) << c.index;
    }
}

TEST_F(Proxies, ARestoredProxyMakesNothingAndDrawsNothing) {
    Record("T/PoolA.dbr", R"({"spawnMax": 3, "name1": "T/A.dbr", "weight1": 1})");
    Record("T/Run.dbr", R"({"Class": "Proxy", "pool1": "T/PoolA.dbr", "weight1": 1})");
    Proxy* original = Make("T/Run.dbr");
    original->Disable();
    BinaryWriter saved;
    original->SaveState(saved);

    const std::uint32_t state = gGameEngine->GetRandomGen().GetState();
    const std::size_t objects = Objects().GetObjectCount();
    auto* restored = Objects().CreateObjectFromFile<Proxy>("T/Run.dbr", 0, false);
    BinaryReader reader(saved.GetBuffer());
    restored->RestoreState(reader);
    restored->Load(Objects().GetLoadTable("T/Run.dbr"));
    EXPECT_TRUE(restored->IsDone());
    EXPECT_EQ(restored->GetMainPool(), nullptr);
    EXPECT_EQ(gGameEngine->GetRandomGen().GetState(), state);
    EXPECT_EQ(Objects().GetObjectCount(), objects + 1);
}

TEST_F(Proxies, AnAccessoryChestCarriesTheBudgetAsItsLevel) {
    Record("T/Stash.dbr", R"({"fixedItemChance": 100, "fixedItemWeight1": 5,
                             "fixedItemName2": "Records/Objects/Chests/OldChest.dbr"})");
    Record("T/Nothing.dbr", R"({"fixedItemChance": 100})");
    Record("T/Stashed.dbr", R"({"Class": "Proxy", "accessory1": "T/Stash.dbr",
                               "difficultyEquationFile": "T/Budget10.dbr"})");
    Record("T/Bare.dbr", R"({"Class": "Proxy", "accessory1": "T/Nothing.dbr"})");
    std::vector<std::uint32_t> ids;
    Make("T/Stashed.dbr")->GetAccessoryObjects(ids);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(Objects().GetObject<FixedItem>(ids[0])->GetProxyLevel(), 10u);
    ids.clear();
    Proxy* bare = Make("T/Bare.dbr");
    bare->GetAccessoryObjects(ids);
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(bare->GetMainPool(), nullptr);
}

TEST_F(Proxies, PlacedMonstersKnowTheirProxyAndWalkItsGroupsRoute) {
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    Record("T/Two.dbr", R"({"spawnMin": 2, "spawnMax": 2,
                           "name1": "Records/Creatures/Boar.dbr", "weight1": 1})");
    Record("T/Patrol.dbr", R"({"Class": "Proxy", "pool1": "T/Two.dbr", "weight1": 1})");
    InstanceGroupManager& groups = *InstanceGroupManager::Get();
    const UniqueId proxyId(4, 4, 4, 1), stopA(4, 4, 4, 2), stopB(4, 4, 4, 3);
    InstanceGroup* route = groups.AddGroup("Den Route", "ProxyPatrollers");
    route->AddMember(proxyId);
    InstanceGroup* stops = groups.AddGroup("Den Stops", "Patrol Points", route);
    stops->AddMember(stopA);
    stops->AddMember(stopB);
    Proxy* proxy = Make("T/Patrol.dbr", proxyId);
    WorldVec3 at(World::Get().GetRegion("Cave"), Vec3(22, 0, 27));  // where the den stands
    at.PutOnFloor();
    World::Get().AddEntity(proxy, WorldCoords(at.region, Coords::FromOrigin(at.local)), true);
    proxy->InitialUpdate();
    std::vector<std::uint32_t> placed;
    proxy->GetPlacedObjects(placed);
    ASSERT_EQ(placed.size(), 2u);
    for (std::uint32_t id : placed) {
        auto* monster = Objects().GetObject<Monster>(id);
        ASSERT_TRUE(monster->IsInWorld());
        EXPECT_EQ(monster->GetProxyParent(), "T/Patrol.dbr");
        EXPECT_EQ(monster->GetProxyNumSiblings(), 2u);
        monster->InitialUpdate();
        const ControllerMonster* brain = monster->GetMonsterController();
        EXPECT_EQ(brain->GetProxy(), proxyId);
        EXPECT_EQ(brain->GetPatrolPoints(), (std::vector<UniqueId>{stopA, stopB}));
    }
    // Run once: a second update places nothing more.
    proxy->InitialUpdate();
    proxy->GetPlacedObjects(placed);
    EXPECT_EQ(placed.size(), 2u);
}

// The sample cave, loaded on a machine seeded alike: what its proxies placed, with ids.
std::vector<std::pair<std::uint32_t, std::string>> LoadCave(std::uint32_t seed) {
    gGameEngine->GetRandomGen().Seed(seed);
    EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    std::vector<std::pair<std::uint32_t, std::string>> placed;
    for (std::uint32_t id : std::vector(World::Get().GetPlacedEntityIds()))
        if (auto* proxy = Objects().GetObject<Proxy>(id)) {
            proxy->InitialUpdate();
            std::vector<std::uint32_t> ids;
            proxy->GetPlacedObjects(ids);
            if (auto* ambush = dynamic_cast<ProxyAmbush*>(proxy))
                ids = ambush->GetWaitingObjects();
            for (std::uint32_t object : ids)
                placed.emplace_back(object, Objects().GetObject(object)->GetObjectName());
        }
    return placed;
}

TEST(SampleCaveProxies, EveryLoadAndEveryMachinePlacesTheSameCreatures) {
    std::vector<std::pair<std::uint32_t, std::string>> first;
    for (int load = 0; load < 2; ++load) {
        TestMachine tm(TestMachine::SampleDataDir());
        InitializeObjects();
        const auto placed = LoadCave(3);
        if (load == 0)
            first = placed;
        else
            EXPECT_EQ(placed, first);
        ShutdownObjects();
    }
    // The den (a champion among them), one chieftain of the two lairs, two waiting in ambush.
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(std::count_if(
                  first.begin(), first.end(),
                  [](const auto& p) { return p.second.find("Chieftain") != std::string::npos; }),
              1);

    // Server and clients each load the level and run its proxies alike.
    NetTestGame game(2, TestMachine::SampleDataDir());
    const auto placed = game.OnEach([] {
        InitializeObjects();
        if (gEngine->IsServer())
            gGameEngine->SetAsNetworkServer();
        else
            gGameEngine->SetAsNetworkClient();
        return LoadCave(3);
    });
    // A network game keeps its templates' products in ids of each machine's own, so its shared
    // ids differ from a single-player load's: the machines agree, the creatures are the same.
    EXPECT_EQ(placed[1], placed[0]);
    EXPECT_EQ(placed[2], placed[0]);
    const auto names = [](const auto& list) {
        std::vector<std::string> out;
        for (const auto& entry : list)
            out.push_back(entry.second);
        return out;
    };
    EXPECT_EQ(names(placed[0]), names(first));
    game.OnEach([] {
        ShutdownObjects();
        return 0;
    });
}

TEST_F(Proxies, AnAmbushSpringsOnPlayersAndSavesWhatWaits) {
    ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
    Record("T/Pack.dbr", R"({"spawnMin": 3, "spawnMax": 3,
                             "name1": "Records/Creatures/Boar.dbr", "weight1": 1})");
    Record("T/Ambush.dbr", R"({"Class": "ProxyAmbush", "pool1": "T/Pack.dbr", "weight1": 1,
                               "alertArea": 5, "minProxyPopulation": 1,
                               "maxProxyPopulation": 1})");
    Region* cave = World::Get().GetRegion("Cave");
    auto* ambush = Make<ProxyAmbush>("T/Ambush.dbr");
    World::Get().AddEntity(ambush, WorldCoords(cave, Coords::FromOrigin(Vec3(4, 0, 18))), true);
    ambush->InitialUpdate();
    ASSERT_EQ(ambush->GetWaitingObjects().size(), 3u);

    ambush->UpdateSelf(100);
    EXPECT_EQ(ambush->GetWaitingObjects().size(), 3u) << "no player near";
    auto* player = Objects().CreateObjectFromFile<Player>("Records/Characters/Players/Warden.dbr");
    World::Get().AddEntity(player, WorldCoords(cave, Coords::FromOrigin(Vec3(6, 0, 18))), true);
    ambush->UpdateSelf(100);
    ASSERT_EQ(ambush->GetActiveObjects().size(), 1u);
    const Entity* first = Objects().GetObject<Entity>(ambush->GetActiveObjects()[0]);
    EXPECT_EQ(first->GetCoords().GetPosition(), ambush->GetCoords().GetPosition());
    ambush->UpdateSelf(100);
    EXPECT_EQ(ambush->GetWaitingObjects().size(), 2u) << "the cap of one holds";
    Objects().DestroyObject(Objects().GetObject(ambush->GetActiveObjects()[0]));
    ambush->UpdateSelf(100);  // prunes the gone one
    ambush->UpdateSelf(100);
    EXPECT_EQ(ambush->GetWaitingObjects().size(), 1u);

    // Saved with one waiting and one gone; a record of another class is never made.
    Objects().DestroyObject(Objects().GetObject(ambush->GetWaitingObjects()[0]));
    BinaryWriter saved;
    ambush->SaveState(saved);
    saved.WriteUInt32(0);  // a trailing word nobody reads
    auto* restored = Objects().CreateObjectFromFile<ProxyAmbush>("T/Ambush.dbr", 0, false);
    BinaryReader reader(saved.GetBuffer());
    tm.ClearLog();
    restored->RestoreState(reader);
    restored->Load(Objects().GetLoadTable("T/Ambush.dbr"));
    EXPECT_TRUE(restored->GetWaitingObjects().empty());
    EXPECT_EQ(tm.CountLog("Unable to create and restore file (InvalidProxyObjectSaved)"), 1);

    BinaryWriter hostile;
    restored->Proxy::SaveState(hostile);
    hostile.WriteUInt32(2);
    hostile.WriteString("Records/Creatures/Skills/WolfBite.dbr");
    hostile.WriteString("Records/Creatures/Boar.dbr");
    auto* third = Objects().CreateObjectFromFile<ProxyAmbush>("T/Ambush.dbr", 0, false);
    BinaryReader hostileReader(hostile.GetBuffer());
    third->RestoreState(hostileReader);
    EXPECT_EQ(NamesOf(third->GetWaitingObjects()),
              std::vector<std::string>{"Records/Creatures/Boar.dbr"});
}

}  // namespace
}  // namespace GAME::test
