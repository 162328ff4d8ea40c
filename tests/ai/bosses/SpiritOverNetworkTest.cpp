// A statue woken by a spirit's blow on the server rises on the client too: the server's statue
// controller decides inside the blow's command, and its team, invincibility and anger still
// reach the client, which has no such controller.
#include <gtest/gtest.h>

#include <utility>

#include "Engine/sys/Machine.h"
#include "ai/monster/states/MonsterCombatTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kStatueId = 0x20000;
constexpr std::uint32_t kSpiritId = 0x20100;

const std::pair<const char*, const char*> kSpiritRecords[] = {
    {"Records/Test/NetQuicken.dbr", R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1,
        "distanceProfile": "Short", "skillManaCost": [0]})"},
    {"Records/Test/NetSpiritBrain.dbr", R"({"Class": "ControllerSpirit"})"},
    {"Records/Test/NetStatueBrain.dbr", R"({"Class": "ControllerSpiritHost"})"},
    {"Records/Test/NetSpirit.dbr", R"({"Class": "Monster", "characterLife": 50,
        "characterSpellCastSpeed": 1.0, "characterRunSpeed": 100,
        "controller": "Records/Test/NetSpiritBrain.dbr",
        "skillName1": "Records/Test/NetQuicken.dbr", "skillLevel1": 1,
        "specialAttack5SkillName": "Records/Test/NetQuicken.dbr",
        "unarmedRespawnAnim": "Creatures/Anims/Human_Rise.anm",
        "unarmedSpellAttackAnim": "Creatures/Anims/Human_Invoke.anm",
        "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
        "unarmedDieAnim1": "Creatures/Anims/Human_Die.anm"})"},
    {"Records/Test/NetStatue.dbr", R"({"Class": "SpiritHost", "characterLife": 80,
        "controller": "Records/Test/NetStatueBrain.dbr",
        "unarmedSpecialAnim1": "Creatures/Anims/Human_Idle.anm",
        "unarmedSpecialAnimRef1": "StatueSit",
        "unarmedSpecialAnim2": "Creatures/Anims/Human_Rise.anm",
        "unarmedSpecialAnimRef2": "StatueRise"})"},
};

Monster* PlaceMonster(const char* record, std::uint32_t id, float x, float z) {
    auto* monster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record, id);
    Region* meadow = World::Get().GetRegion("Meadow");
    WorldVec3 at(meadow, Vec3(x, 5, z));
    at.PutOnFloor();
    World::Get().AddEntity(monster, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
    monster->InitialUpdate();
    monster->ResetMovementManager();
    return monster;
}

TEST(SpiritOverNetwork, AStatueASpiritWakesOnTheServerRisesOnTheClient) {
    CombatWorldCopy copy;
    NetTestGame game(1, copy.Root());
    for (int index = 0; index < 2; ++index)
        ON_MACHINE(*game.Machines()[index]) {
            InitializeObjects();
            if (index == 0)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
            for (const auto& [name, text] : kSpiritRecords)
                ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text));
            PlaceMonster("Records/Test/NetStatue.dbr", kStatueId, 20, 20);
            PlaceMonster("Records/Test/NetSpirit.dbr", kSpiritId, 14, 20);
        }
    game.RunFrames(300, 33, [](TestMachine&, int) {
        for (std::uint32_t id : {kStatueId, kSpiritId})
            if (auto* c = Singleton<ObjectManager>::Get().GetObject<Character>(id)) {
                c->UpdateSelf(33);
                c->PreAnimationUpdate(33);
            }
    });
    const auto seen = game.OnEach([] {
        auto& objects = Singleton<ObjectManager>::Get();
        const auto* statue = objects.GetObject<Character>(kStatueId);
        const auto* spirit = objects.GetObject<Character>(kSpiritId);
        return std::make_tuple(statue->GetTeam() == TeamManager::DefaultMonsterTeam(),
                               statue->IsInvincible(), statue->CausesAnger(),
                               spirit && spirit->IsAlive());
    });
    EXPECT_EQ(seen[0], std::make_tuple(true, false, true, false));
    EXPECT_EQ(seen[1], seen[0]);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
}

}  // namespace
}  // namespace GAME::test
