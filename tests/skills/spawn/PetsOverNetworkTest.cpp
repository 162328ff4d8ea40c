// Summons across a server and a client: the deciding machine places the pets and reserves their
// ids, every machine makes the same pets, pets past the limit and pets of a stopped skill die
// everywhere, and a monster's summons wait until its burst is gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerPet.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/players/Team.h"
#include "Game/core/util/ServerObjectIds.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/spawn/Skill_SpawnPet.h"
#include "characters/MovementTestSupport.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace pets_net {

// A client's own character (its host in the top bits) with a player's summons.
constexpr std::uint32_t kSummoner = (1u << 28) | 0x100;
constexpr std::uint32_t kBeastLord = 0x0F000200;  // a character with a monster's summons
constexpr int kFrameMs = 33;

constexpr const char* kSummonerRecord = R"({"Class": "Character", "characterLife": 500,
    "characterMana": 500,
    "skillName1": "Records/NetPet/CallWolves.dbr", "skillLevel1": 1})";
constexpr const char* kBeastLordRecord = R"({"Class": "Character", "characterLife": 500,
    "characterMana": 500,
    "skillName1": "Records/NetPet/CallPack.dbr", "skillLevel1": 1})";
// Three wolves a use, two at most alive.
constexpr const char* kCallWolves = R"({"Class": "Skill_SpawnPet", "skillMaxLevel": 1,
    "spawnObjects": ["Records/NetPet/Wolf.dbr"], "petBurstSpawn": [3], "petLimit": [2],
    "skillManaCost": [15]})";
constexpr const char* kCallPack = R"({"Class": "Skill_SpawnPetMonster", "skillMaxLevel": 1,
    "spawnObjects": ["Records/NetPet/Wolf.dbr"], "petBurstSpawn": [2]})";
constexpr const char* kWolf = R"({"Class": "Monster", "characterLife": 60,
   
    "controller": "Records/NetPet/PetAI.dbr"})";
constexpr const char* kPetAI = R"({"Class": "ControllerPet"})";

struct PetView {
    std::uint32_t id = 0;
    bool alive = false;
    std::uint32_t master = 0;
    bool sameTeam = false;
    float x = 0.0f;
    float z = 0.0f;
    bool operator==(const PetView&) const = default;
};

class PetsOverNetwork : public ::testing::Test {
protected:
    PetsOverNetwork() : game(1, copy.Root()) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            for (auto [name, text] : {std::pair{"Records/NetPet/Summoner.dbr", kSummonerRecord},
                                      std::pair{"Records/NetPet/BeastLord.dbr", kBeastLordRecord},
                                      std::pair{"Records/NetPet/CallWolves.dbr", kCallWolves},
                                      std::pair{"Records/NetPet/CallPack.dbr", kCallPack},
                                      std::pair{"Records/NetPet/Wolf.dbr", kWolf},
                                      std::pair{"Records/NetPet/PetAI.dbr", kPetAI}})
                EXPECT_TRUE(records.AddRecordText(name, text)) << name;
            InitializeObjects();
            // The meadow's ground and paths give the summons their places.
            EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
            game.TakeRole(*tm);
            for (auto [id, record, x] :
                 {std::tuple{kSummoner, "Records/NetPet/Summoner.dbr", 14.0f},
                  std::tuple{kBeastLord, "Records/NetPet/BeastLord.dbr", 30.0f}})
                Place(id, record, x);
        }
        // The summoner is decided on the client (a client's own character), the beast lord
        // on the server.
        ON_MACHINE(game.Client(0)) {
            Find(kSummoner)->GetSkillManager().SetAsControllingManager();
        }
        ON_MACHINE(game.Server()) {
            Find(kBeastLord)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    // A character of the record standing on the meadow's floor at (x, 20).
    static void Place(std::uint32_t id, const char* record, float x) {
        auto* c = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record, id);
        ASSERT_NE(c, nullptr) << record;
        c->InitialUpdate();
        c->UpdateSelf(10);
        c->PreAnimationUpdate(10);
        c->GetSkillManager().LoadSkills(record, 1);
        c->SetTeam(TeamManager::DefaultPlayerTeam());
        Region* meadow = World::Get().GetRegion("Meadow");
        ASSERT_NE(meadow, nullptr);
        WorldVec3 at(meadow, Vec3(x, 5, 20));
        at.PutOnFloor();
        World::Get().AddEntity(c, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
        c->ResetMovementManager();
    }
    ~PetsOverNetwork() override { game.OnEach(ShutdownObjects); }
    static Skill_SpawnPet* Summons(std::uint32_t owner) {
        return Singleton<ObjectManager>::Get().GetObject<Skill_SpawnPet>(
            Find(owner)->GetSkillManager().GetSkillIdFromReference(0));
    }
    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t owner : {kSummoner, kBeastLord}) {
                for (std::uint32_t pet : Summons(owner)->GetPets())
                    if (Character* c = Find(pet)) {
                        if (!c->HasDoneInitialUpdate())
                            c->InitialUpdate();
                        c->UpdateSelf(kFrameMs);
                        c->PreAnimationUpdate(kFrameMs);
                    }
                Find(owner)->UpdateSelf(kFrameMs);
                Find(owner)->PreAnimationUpdate(kFrameMs);
            }
        });
    }
    void Summon(TestMachine& decider, std::uint32_t owner) {
        ON_MACHINE(decider) {
            Summons(owner)->ActivateNow(*Find(owner), Name(), 0, Find(owner)->GetPosition());
        }
        game.Pump();
    }
    std::vector<std::vector<PetView>> Views(std::uint32_t owner) {
        return game.OnEach([owner] {
            std::vector<PetView> views;
            for (std::uint32_t id : Summons(owner)->GetPets()) {
                const auto* pet = Singleton<ObjectManager>::Get().GetObject<Monster>(id);
                if (!pet) {
                    views.push_back({id});
                    continue;
                }
                const Vec3& at = pet->GetCoords().GetRegionCoords().origin;
                views.push_back(
                    {id, pet->IsAlive(), pet->GetMasterId(),
                     pet->GetTeam().GetTeamMajor() == Find(owner)->GetTeam().GetTeamMajor(), at.x,
                     at.z});
            }
            return views;
        });
    }

    SampleWorldCopy copy;
    NetTestGame game;
};

TEST_F(PetsOverNetwork, AClientsSummonsAreTheSamePetsEverywhereAndTheLimitLetsTheOldestGo) {
    Summon(game.Client(0), kSummoner);
    const auto views = Views(kSummoner);
    // Three came, the first went at once: two pets, alike on both machines, on their master's
    // side, under the ids the client reserved.
    ASSERT_EQ(views[0].size(), 2u);
    EXPECT_EQ(views[1], views[0]);
    for (const PetView& pet : views[0]) {
        EXPECT_TRUE(pet.alive);
        EXPECT_EQ(pet.master, kSummoner);
        EXPECT_TRUE(pet.sameTeam);
    }
    ON_MACHINE(game.Server()) {
        auto& objects = Singleton<ObjectManager>::Get();
        const Monster* first = objects.GetObject<Monster>(views[0][0].id);
        ASSERT_NE(first, nullptr);
        EXPECT_NE(objects.GetObject<ControllerPet>(first->GetControllerId()), nullptr);
    }
    // The one let go is dead everywhere: two of the summoner's pets live on each machine.
    Frames(2);
    for (int living : game.OnEach([] {
             int count = 0;
             auto& objects = Singleton<ObjectManager>::Get();
             for (std::uint32_t id : objects.GetObjectIds())
                 if (const auto* pet = objects.GetObject<Monster>(id))
                     count += pet->GetMasterId() == kSummoner && pet->IsAlive() ? 1 : 0;
             return count;
         }))
        EXPECT_EQ(living, 2);
    // Mana was paid once everywhere.
    for (float mana : game.OnEach([] { return Find(kSummoner)->GetPlayStats().GetManaUsed(); }))
        EXPECT_FLOAT_EQ(mana, 15.0f);

    // A second use: the two older pets make way, one at a time, on every machine.
    Summon(game.Client(0), kSummoner);
    Frames(2);
    const auto again = Views(kSummoner);
    ASSERT_EQ(again[0].size(), 2u);
    EXPECT_EQ(again[1], again[0]);
    for (const PetView& pet : again[0])
        EXPECT_FALSE(pet.id == views[0][0].id || pet.id == views[0][1].id);
}

TEST_F(PetsOverNetwork, PetTemplatesLeaveTheIdsEveryMachineHandsOutAlike) {
    // A template has the same id everywhere; what it makes (a full controller on the server,
    // a stub on the client) comes from each machine's own band, so the common counter goes on
    // alike. Made again on one machine only (a brought character's skill raised there), a
    // template keeps its id and the counter stays where the others have it.
    const auto ids = [&] {
        return game.OnEach([] {
            std::vector<std::uint32_t> seen;
            for (std::uint32_t owner : {kSummoner, kBeastLord}) {
                const Character* pet = Summons(owner)->GetPetTemplate();
                EXPECT_NE(pet, nullptr);
                if (!pet)
                    continue;
                EXPECT_FALSE(IsInServerIdBand(ServerIdBand::Templates, pet->GetObjectId()));
                EXPECT_TRUE(IsInServerIdBand(ServerIdBand::Templates, pet->GetControllerId()));
                seen.push_back(pet->GetObjectId());
            }
            seen.push_back(Singleton<ObjectManager>::Get().CreateObjectID());
            return seen;
        });
    };
    const auto first = ids();
    EXPECT_EQ(first[1], first[0]);
    ON_MACHINE(game.Client(0)) {
        Summons(kSummoner)->PreLoadPet();
    }
    const auto again = ids();
    EXPECT_EQ(again[1], again[0]);
}

TEST_F(PetsOverNetwork, StoppingTheSkillKillsEveryPetEverywhere) {
    Summon(game.Server(), kBeastLord);
    const auto views = Views(kBeastLord);
    ASSERT_EQ(views[0].size(), 2u);
    EXPECT_EQ(views[1], views[0]);
    const std::vector<std::uint32_t> pets = {views[0][0].id, views[0][1].id};
    Frames(1);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Summons(kBeastLord)->StopSkill(*Find(kBeastLord));
        }
    Frames(2);
    for (std::uint32_t id : pets)
        for (bool alive : game.OnEach([id] { return Find(id)->IsAlive(); }))
            EXPECT_FALSE(alive) << std::hex << id;
}

TEST_F(PetsOverNetwork, AMonstersSummonsWaitUntilItsWholeBurstIsGone) {
    Summon(game.Server(), kBeastLord);
    Frames(2);
    const auto available = [&] {
        bool result = false;
        ON_MACHINE(game.Server()) {
            result = Summons(kBeastLord)->SetAvailability(false, false);
        }
        return result;
    };
    EXPECT_FALSE(available());
    // One of the two dies: still held back; a use now would top up to nothing more than one.
    ON_MACHINE(game.Server()) {
        Find(Summons(kBeastLord)->GetPets()[0])->SetLifeState(Character_LifeState::Dead);
    }
    Frames(2);
    EXPECT_FALSE(available());
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Summons(kBeastLord)->GetNumPets(*Find(kBeastLord)), 1u);
        Find(Summons(kBeastLord)->GetPets()[0])->SetLifeState(Character_LifeState::Dead);
    }
    Frames(2);
    EXPECT_TRUE(available());
}

}  // namespace pets_net
}  // namespace GAME::test
