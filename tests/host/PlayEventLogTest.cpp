// What the play log prints: a kill with the experience the root's reward brought, the level it
// raised printed after the kill, the player's death and its respawn, and nothing for others; a
// foe's skills once each, and what a skill spawned near the player once.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Host/play/PlayEventLog.h"
#include "HostRunSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kPlayer = 0x31;
constexpr std::uint32_t kMonster = 0x4002;
constexpr std::uint32_t kBystander = 0x4003;

class PlayEventLogTest : public ::testing::Test {
protected:
    PlayEventLogTest() : out(std::tmpfile()), log(out) {
        InitializeObjects();
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        player = objects.CreateObjectFromFile<Player>("Records/Players/TestHero.dbr", kPlayer);
        player->InitialUpdate();
        monster = objects.CreateObjectFromFile<Character>("Records/Characters/Brute.dbr", kMonster);
        monster->ReceiveExperience(60);  // worth 120 to its killer under the test settings
        objects.CreateObject<Character>(kBystander);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kPlayer);
        log.Attach(kPlayer);
    }
    ~PlayEventLogTest() override {
        ShutdownObjects();
        std::fclose(out);
    }

    void Die(std::uint32_t victim, std::uint32_t attacker) {
        GameEvent_CreatureDeath event;
        event.objectId = victim;
        event.attackerId = attacker;
        SendGameEvent(event, "CreatureDeath");
    }
    std::string Printed() { return WrittenTo(out); }

    TestMachine tm;
    std::FILE* out;
    PlayEventLog log;  // built before the root, as the host does
    Player* player = nullptr;
    Character* monster = nullptr;
};

TEST_F(PlayEventLogTest, AKillShowsItsExperienceAndTheLevelItRaisedFollows) {
    gGameEngine->RegisterDamage(kMonster, kPlayer, 50.0f);
    Die(kMonster, kPlayer);
    ASSERT_GT(player->GetCharLevel(), 1u);
    const std::string printed = Printed();
    const std::size_t kill = printed.find("you killed Brute 16386 (+120 experience)");
    const std::size_t level = printed.find("you reached level 2");
    const std::size_t points = printed.find("skill points to spend:");
    ASSERT_NE(kill, std::string::npos) << printed;
    ASSERT_NE(level, std::string::npos) << printed;
    ASSERT_NE(points, std::string::npos) << printed;
    EXPECT_LT(kill, level) << printed;
    EXPECT_EQ(log.GetKills(), 1);
    EXPECT_LT(kill, points) << printed;
}

TEST_F(PlayEventLogTest, ThePlayersDeathAndRespawnAreShownAndOthersDeathsPlainly) {
    Die(kBystander, kMonster);
    Die(kPlayer, kMonster);
    player->SetLifeState(Character_LifeState::Dead);
    log.Observe();
    player->SetLifeState(Character_LifeState::Respawning);
    log.Observe();
    EXPECT_EQ(Printed().find("respawned"), std::string::npos);
    player->SetLifeState(Character_LifeState::Alive);
    log.Observe();
    log.Observe();
    const std::string printed = Printed();
    EXPECT_NE(printed.find("16387 was killed by Brute 16386\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("you died, killed by Brute 16386"), std::string::npos) << printed;
    EXPECT_EQ(log.GetDeaths(), 1);
    EXPECT_EQ(log.GetKills(), 0);  // the bystander was not the player's kill
    // Once, on the frame the player stood up again.
    const std::size_t respawn = printed.find("you respawned at (");
    ASSERT_NE(respawn, std::string::npos) << printed;
    EXPECT_EQ(printed.find("respawned", respawn + 14), std::string::npos) << printed;
}

TEST_F(PlayEventLogTest, AMonsterTakingThePlayerOnIsNoticedOncePerFight) {
    Region* field =
        World::Get().AddRegion(std::make_unique<Region>("Field", Vec3(), Vec3(200, 50, 200)));
    auto at = [field](float x) { return WorldCoords(field, Coords::FromOrigin(Vec3(x, 0, 10))); };
    World::Get().AddEntity(player, at(10), true);
    World::Get().AddEntity(monster, at(14), true);
    const WorldVec3 there = player->GetPosition();

    log.Observe();
    monster->SetCurrentAttackTarget(kPlayer, there, 0);
    log.Observe();
    log.Observe();
    monster->SetCurrentAttackTarget(0, WorldVec3(), -1);
    log.Observe();
    monster->SetCurrentAttackTarget(kPlayer, there, 0);
    log.Observe();
    // A corpse's last target is no fight.
    monster->SetLifeState(Character_LifeState::Dead);
    log.Observe();
    monster->SetLifeState(Character_LifeState::Alive);
    log.Observe();

    const std::string printed = Printed();
    std::size_t joins = 0;
    for (std::size_t at = printed.find("Brute 16386 joins the fight"); at != std::string::npos;
         at = printed.find("Brute 16386 joins the fight", at + 1))
        ++joins;
    EXPECT_EQ(joins, 3u) << printed;
}

TEST_F(PlayEventLogTest, AFoesSkillsAndWhatSkillsSpawnAreShownOnceEach) {
    Region* field =
        World::Get().AddRegion(std::make_unique<Region>("Field", Vec3(), Vec3(200, 50, 200)));
    auto at = [field](float x) { return WorldCoords(field, Coords::FromOrigin(Vec3(x, 0, 10))); };
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    World::Get().AddEntity(player, at(10), true);
    World::Get().AddEntity(monster, at(14), true);
    // A summons of the monster's, a wall of no one's, and one far off.
    Character* pet = objects.CreateObject<Character>(0x0C000001);
    Character* wall = objects.CreateObject<Character>(0x0C000002);
    Character* far = objects.CreateObject<Character>(0x0C000003);
    test::SetMasterId(*pet, kMonster);
    for (auto [spawned, x] :
         {std::pair{pet, 12.0f}, std::pair{wall, 8.0f}, std::pair{far, 90.0f}}) {
        spawned->SetOwnedByClient(true);
        World::Get().AddEntity(spawned, at(x), true);
    }
    monster->SetCurrentAttackTarget(kPlayer, player->GetPosition(), 0);
    monster->GetPlayStats().SkillUsed("Records/Skills/Howl.dbr");
    log.Observe();
    monster->GetPlayStats().SkillUsed("Records/Skills/Howl.dbr");
    monster->GetPlayStats().SkillUsed("Records/Skills/Quake.dbr");
    log.Observe();
    log.Observe();

    const std::string printed = Printed();
    const auto count = [&](const std::string& line) {
        std::size_t n = 0;
        for (std::size_t i = printed.find(line); i != std::string::npos;
             i = printed.find(line, i + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("Brute 16386 uses Howl"), 1u) << printed;
    EXPECT_EQ(count("Brute 16386 uses Quake"), 1u) << printed;
    EXPECT_EQ(count("201326593 comes to Brute 16386's side"), 1u) << printed;
    EXPECT_EQ(count("201326594 rises"), 1u) << printed;
    EXPECT_EQ(count("201326595"), 0u) << printed;
}

}  // namespace
}  // namespace GAME::test
