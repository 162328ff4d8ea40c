// A hostile client's spawn commands: summons come only from its own character's skill, no more
// than one use makes, under ids that name nothing yet, near the character; and a pet goes only
// at its own master's word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetFaultLog.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Player.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "players/PlayersTestSupport.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"
#include "trust/TrustTestSupport.h"

namespace GAME::test {
namespace spawn_trust {

constexpr const char* kSummonerRecord = R"({"Class": "Player",
    "skillName1": "Records/TrustPet/Call.dbr", "skillLevel1": 1})";
constexpr const char* kCall = R"({"Class": "Skill_SpawnPet", "skillMaxLevel": 1,
    "spawnObjects": ["Records/TrustPet/Hound.dbr"], "petBurstSpawn": [2]})";
constexpr const char* kHound = R"({"Class": "Monster", "characterLife": 60,
    "controller": "Records/TrustPet/PetAI.dbr"})";
constexpr const char* kPetAI = R"({"Class": "ControllerPet"})";
constexpr std::uint32_t kFresh1 = 0x0C100001;  // host 1's part of the spawn band
constexpr std::uint32_t kFresh2 = 0x0C100002;

WorldCoords At(float x) {
    return WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(x, 0, 10)));
}

class SpawnTrust : public ::testing::Test {
protected:
    SpawnTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            for (auto [name, text] : {std::pair{"Records/TrustPet/Summoner.dbr", kSummonerRecord},
                                      std::pair{"Records/TrustPet/Call.dbr", kCall},
                                      std::pair{"Records/TrustPet/Hound.dbr", kHound},
                                      std::pair{"Records/TrustPet/PetAI.dbr", kPetAI}})
                EXPECT_TRUE(records.AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, name, x] :
                 {std::tuple{kHostile, L"Hostile", 10.0f}, std::tuple{kHonest, L"Honest", 14.0f}}) {
                Player* player = MakePlayer(id, name, 3);
                player->SetCoords(At(x));
                player->GetSkillManager().LoadSkills("Records/TrustPet/Summoner.dbr", 1);
            }
        }
    }
    ~SpawnTrust() override { game.OnEach(ShutdownObjects); }
    // The command as a client's machine sends it, without running it there.
    void SendFrom(TestMachine& client, ActorConfigCommand&& command) {
        game.SendFromClient(command, &client == &game.Client(0) ? 0 : 1, 0);
    }
    std::vector<std::uint32_t> MastersOf(std::uint32_t id) {
        return game.OnEach([id] {
            const auto* c = Singleton<ObjectManager>::Get().GetObject<Character>(id);
            return c ? c->GetMasterId() : 0u;
        });
    }

    NetTestGame game;
};

TEST_F(SpawnTrust, SummonsBeyondWhatTheSkillMakesOrUnderTakenIdsAreRefused) {
    struct Row {
        const char* what;
        std::uint32_t reference;
        std::vector<std::uint32_t> ids;
        float x;
    };
    const Row refused[] = {
        {"an id that names the other player", 0, {kHonest}, 11.0f},
        {"more than one use makes", 0, {kFresh1, kFresh2, kFresh2 + 1}, 11.0f},
        {"one id twice", 0, {kFresh1, kFresh1}, 11.0f},
        {"far from the character", 0, {kFresh1}, 90.0f},
        {"a skill the character does not have", 7, {kFresh1}, 11.0f},
    };
    for (const Row& row : refused) {
        std::vector<WorldCoords> places(row.ids.size(), At(row.x));
        SendFrom(game.Client(0),
                 SpawnObjectConfigCmd(kHostile, row.reference, At(10.0f), 0, places, row.ids, 1));
    }
    // Three lines, the rest counted for the window's summary.
    EXPECT_EQ(game.Server().CountLog("Net: refused SpawnObjectConfigCmdPacket"), 3);
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(NetFaultLog::Get().GetSuppressed(), 2u);
    }
    // The honest player is still the honest player everywhere; no summons came.
    for (bool player : game.OnEach(
             [] { return Singleton<ObjectManager>::Get().GetObject<Player>(kHonest) != nullptr; }))
        EXPECT_TRUE(player);
    EXPECT_EQ(MastersOf(kFresh1), (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST_F(SpawnTrust, OwnSummonsComeEverywhereAndGoOnlyAtTheirMastersWord) {
    SendFrom(game.Client(0), SpawnObjectConfigCmd(kHostile, 0, At(10.0f), 0, {At(11.0f), At(12.0f)},
                                                  {kFresh1, kFresh2}, 1));
    EXPECT_EQ(game.Server().CountLog("Net: refused"), 0);
    // The sender ran nothing of what it only sent; the server and the other client made both.
    EXPECT_EQ(MastersOf(kFresh1), (std::vector<std::uint32_t>{kHostile, 0, kHostile}));
    EXPECT_EQ(MastersOf(kFresh2), (std::vector<std::uint32_t>{kHostile, 0, kHostile}));
    // Their first frame, as the world's would give it.
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            for (std::uint32_t id : {kFresh1, kFresh2})
                if (auto* pet = Singleton<ObjectManager>::Get().GetObject<Character>(id))
                    pet->InitialUpdate();
        }

    const auto alive = [&](std::uint32_t id) {
        bool result = false;
        ON_MACHINE(game.Server()) {
            result = Singleton<ObjectManager>::Get().GetObject<Character>(id)->IsAlive();
        }
        return result;
    };
    // The honest client cannot send the hostile one's pet away; its master can.
    SendFrom(game.Client(1), ReleasePetConfigCmd(kHonest, kFresh1));
    EXPECT_TRUE(alive(kFresh1));
    SendFrom(game.Client(1), ReleasePetConfigCmd(kHostile, kFresh1));
    EXPECT_TRUE(alive(kFresh1));
    SendFrom(game.Client(0), ReleasePetConfigCmd(kHostile, kFresh1));
    EXPECT_FALSE(alive(kFresh1));
    EXPECT_TRUE(alive(kFresh2));
}

}  // namespace spawn_trust
}  // namespace GAME::test
