// Skills that spawn, across machines: the server's generator keeps two monsters beside its
// owner and every machine has them under the same ids; an actor appears where a character fell.
// A hostile client's spawn command about its own character runs only within what the skill
// makes, under new ids of the client's own band.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/monster/Monster.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/triggered/Skill_Spawners.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace spawn_net {

constexpr std::uint32_t kSummoner = 0x0F000001;
constexpr std::uint32_t kHero = (1u << 28) | 0x100;  // host 1's player
constexpr int kFrameMs = 33;
constexpr const char* kImp = "Records/NetSpawn/Imp.dbr";
constexpr const char* kTotem = "Records/NetSpawn/Totem.dbr";
constexpr const char* kLastGasp = "Records/NetSpawn/LastGasp.dbr";
constexpr const char* kRemains = "Records/NetSpawn/Remains.dbr";

const std::pair<const char*, const char*> kSpawnRecords[] = {
    {kImp, R"({"Class": "Monster", "characterLife": 50,
        "combatManagerRecord": "Records/Combat/Standard.dbr"})"},
    {kRemains, R"({"Class": "Prop"})"},
    {"Records/NetSpawn/Plain.dbr", R"({"Class": "Skill", "skillMaxLevel": 1})"},
    {kTotem, R"({"Class": "Skill_MonsterGenerator", "skillMaxLevel": 1,
        "spawnObjects": ["Records/NetSpawn/Imp.dbr"], "spawnObjectsTimeToLive": [0]})"},
    {kLastGasp, R"({"Class": "Skill_OnDeathSpawnActor", "skillMaxLevel": 1,
        "spawnObjects": ["Records/NetSpawn/Remains.dbr"]})"},
    {"Records/NetSpawn/Summoner.dbr", R"({"Class": "Character", "characterLife": 300,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetSpawn/Totem.dbr", "skillLevel1": 1,
        "skillName2": "Records/NetSpawn/LastGasp.dbr", "skillLevel2": 1})"},
    {"Records/NetSpawn/Hero.dbr", R"({"Class": "Character", "characterLife": 300,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetSpawn/LastGasp.dbr", "skillLevel1": 1,
        "skillName2": "Records/NetSpawn/Plain.dbr", "skillLevel2": 1})"},
};

class SpawnOverNetwork : public ::testing::Test {
protected:
    SpawnOverNetwork() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            for (const auto& [name, text] : kSpawnRecords)
                EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record] : {std::pair{kSummoner, "Records/NetSpawn/Summoner.dbr"},
                                      std::pair{kHero, "Records/NetSpawn/Hero.dbr"}}) {
                Character* c = MakeFighter(id, 10.0f, record);
                EXPECT_NE(c, nullptr) << record;
                if (c)
                    c->GetSkillManager().LoadSkills(record, 2);
            }
        }
        ON_MACHINE(game.Server()) {
            Find(kSummoner)->GetSkillManager().SetAsControllingManager();
        }
    }
    ~SpawnOverNetwork() override { game.OnEach(ShutdownObjects); }

    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            Find(kSummoner)->GetSkillManager().Update(kFrameMs);
        });
    }
    std::uint32_t Slot(bool second) {
        std::uint32_t id = 0;
        ON_MACHINE(game.Server()) {
            auto* totem = Singleton<ObjectManager>::Get().GetObject<Skill_MonsterGenerator>(
                Find(kSummoner)->GetSkillManager().FindSkillId(kTotem));
            id = totem ? totem->GetMonsterId(second) : 0;
        }
        return id;
    }
    // Whether each machine holds a living monster of the record under that id.
    std::vector<bool> ImpsOf(std::uint32_t id) {
        return game.OnEach([id] {
            const auto* imp = Singleton<ObjectManager>::Get().GetObject<Monster>(id);
            return imp && imp->IsAlive() && imp->IsOwnedByClient() && imp->GetObjectName() == kImp;
        });
    }
    // Sends a spawn of the hero's skill from the hostile client; true when the server ran it
    // and passed it on to the honest client.
    bool SendSpawn(std::vector<std::uint32_t> ids, std::uint32_t reference = 0) {
        std::unique_ptr<SpawnObjectConfigCmd> command;
        ON_MACHINE(game.Client(0)) {
            // At the hero's feet: places far away are refused on their own.
            const WorldCoords at = Find(kHero)->GetCoords();
            command = std::make_unique<SpawnObjectConfigCmd>(
                kHero, reference, at, 0, std::vector<WorldCoords>(ids.size(), at), ids, 7);
        }
        return game.SendFromClient(*command);
    }

    NetTestGame game;
};

TEST_F(SpawnOverNetwork, TheGeneratorsMonstersStandOnEveryMachineAndDeadOnesAreReplaced) {
    Frames(2);
    const std::uint32_t first = Slot(false);
    const std::uint32_t second = Slot(true);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, first);
    for (std::uint32_t id : {first, second})
        EXPECT_EQ(ImpsOf(id), (std::vector<bool>{true, true, true})) << std::hex << id;
    // Beside the owner, on either side.
    const std::vector<float> sides = game.OnEach(
        [=] { return Find(first)->GetPosition().local.x - Find(second)->GetPosition().local.x; });
    for (float side : sides)
        EXPECT_FLOAT_EQ(side, 4.0f);

    // The first dies: only its slot is filled again, and everywhere.
    game.OnEach([=] {
        Find(first)->SetLifeState(Character_LifeState::Dead);
        return 0;
    });
    Frames(2);
    EXPECT_EQ(Slot(true), second);
    const std::uint32_t replacement = Slot(false);
    EXPECT_NE(replacement, first);
    EXPECT_EQ(ImpsOf(replacement), (std::vector<bool>{true, true, true}));

    // A dead owner refills nothing.
    game.OnEach([=] {
        Find(second)->SetLifeState(Character_LifeState::Dead);
        Find(kSummoner)->SetLifeState(Character_LifeState::Dead);
        return 0;
    });
    Frames(2);
    EXPECT_EQ(Slot(true), second);
}

TEST_F(SpawnOverNetwork, AnActorRisesWhereTheOwnerFellOnEveryMachine) {
    game.OnEach([] {
        Find(kSummoner)->ImDying();
        return 0;
    });
    game.Pump();
    // The server's first id of the spawn band, on the floor where the owner stood.
    const std::vector<bool> remains = game.OnEach([] {
        const auto* entity = Singleton<ObjectManager>::Get().GetObject<Entity>(0x0C000000);
        return entity && entity->IsInWorld() && entity->GetObjectName() == kRemains &&
               entity->GetPosition().local.x == 10.0f;
    });
    EXPECT_EQ(remains, (std::vector<bool>{true, true, true}));
}

TEST_F(SpawnOverNetwork, AClientsSpawnRunsOnlyWithinWhatItsSkillMakes) {
    constexpr std::uint32_t kBand = 0x0C100000;  // host 1's part of the spawn band
    struct Case {
        std::vector<std::uint32_t> ids;
        std::uint32_t reference;
        const char* reason;
    };
    const Case cases[] = {
        {{kBand + 5, kBand + 6}, 0, "more than the skill spawns"},
        {{kBand + 5}, 1, "more than the skill spawns"},
        {{kBand + 5}, 9, "no such skill of the character"},
        {{0x0C000005}, 0, "an id that is not new or not the client's"},
        {{kSummoner}, 0, "an id that is not new or not the client's"},
        {{kHero}, 0, "an id that is not new or not the client's"},
    };
    for (const Case& c : cases) {
        ON_MACHINE(game.Server()) {
            gEngine->AdvanceGameTime(NetFaultLog::kWindowMs);
        }
        game.Server().ClearLog();
        EXPECT_FALSE(SendSpawn(c.ids, c.reference)) << c.reason;
        EXPECT_EQ(game.Server().CountLog(c.reason), 1) << c.reason;
    }
    // Nothing was replaced anywhere.
    for (std::uint32_t id : {kSummoner, kHero})
        for (bool present : game.OnEach([id] { return Find(id) != nullptr; }))
            EXPECT_TRUE(present);
    // One new object of its own band from the on-death skill runs on the server and goes on
    // (the hostile machine sent the packet alone and made nothing itself).
    EXPECT_TRUE(SendSpawn({kBand + 5}));
    EXPECT_EQ(game.OnEach([] {
        return Singleton<ObjectManager>::Get().GetObject<Entity>(kBand + 5) != nullptr;
    }),
              (std::vector<bool>{true, false, true}));
}

}  // namespace spawn_net
}  // namespace GAME::test
