// The scripted player's skills: its points go to the least raised of the class's fighting and
// passive skills, and in a fight it keeps its buff up, calls its pet and meets a far foe with its
// ranged skill; nothing is cast without a foe near.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/Team.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/spawn/Skill_SpawnPet.h"
#include "Host/HostApp.h"
#include "Host/play/PlayEventLog.h"
#include "Host/play/drivers/SkillDriver.h"
#include "HostRunSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kJavelin = "Records/Skills/Warfare/Javelin.dbr";
constexpr const char* kWarCry = "Records/Skills/Warfare/WarCry.dbr";
constexpr const char* kCallHound = "Records/Skills/Warfare/CallHound.dbr";
constexpr const char* kToughness = "Records/Skills/Warfare/Toughness.dbr";

class SkillDriverTest : public ::testing::Test {
protected:
    SkillDriverTest() : tm(TestMachine::SampleDataDir()), out(std::tmpfile()) {
        LocalizationManager::Instance().LoadFolder(TestMachine::SampleDataDir() + "/Text");
        InitializeObjects();
        gGameEngine->SetGameLoading(false);
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(
            PlayOptions::kDefaultClass);
        Place(*player, 20.0f, 5.0f);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(player->GetObjectId());
        player->SetIsControllingCharacter(true);
        player->InitialUpdate();
        log.emplace(out);
        log->Attach(player->GetObjectId());
        driver.emplace(*log);
    }
    ~SkillDriverTest() override {
        driver.reset();
        log.reset();
        World::Get().UnloadLevel();
        ShutdownObjects();
        std::fclose(out);
    }

    void Place(Character& character, float x, float z) {
        WorldVec3 at(meadow, Vec3(x, 0.0f, z));
        at.PutOnFloor();
        World::Get().AddEntity(&character, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
    }
    Character* Foe(float x, float z) {
        auto* foe = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
            "Records/Characters/SampleHero.dbr");
        foe->SetTeam(TeamManager::BuildTeam(Team::Monster, 0));
        Place(*foe, x, z);
        foe->InitialUpdate();
        test::SetLife(*foe, 5000.0f, 5000.0f);
        return foe;
    }
    Skill* Get(const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<Skill>(
            player->GetSkillManager().FindSkillId(record));
    }
    void Play(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            driver->Step(*player, gEngine->GetGameTime());
            RunFrame(33);
            log->Observe();
        }
    }
    std::string Printed() { return WrittenTo(out); }

    TestMachine tm;
    std::FILE* out;
    std::optional<PlayEventLog> log;
    Region* meadow = nullptr;
    Player* player = nullptr;
    std::optional<SkillDriver> driver;
};

TEST_F(SkillDriverTest, PointsGoToTheLeastRaisedFightingSkillsOneATurn) {
    player->GetExperienceLevelControl().AddSkillPoints(5 - player->GetSkillPoints());
    Play(7);
    EXPECT_EQ(player->GetSkillPoints(), 0u);
    // One each in the class's order, then the first again.
    EXPECT_EQ(Get(kJavelin)->GetSkillLevel(), 2u);
    EXPECT_EQ(Get(kWarCry)->GetSkillLevel(), 1u);
    EXPECT_EQ(Get(kCallHound)->GetSkillLevel(), 1u);
    EXPECT_EQ(Get(kToughness)->GetSkillLevel(), 1u);  // a passive lends its attributes: it counts
    EXPECT_EQ(Get("Records/Skills/Warfare/Onslaught.dbr")->GetSkillLevel(), 0u);
    const std::string printed = Printed();
    EXPECT_NE(printed.find("you learn Javelin (level 1)"), std::string::npos) << printed;
    EXPECT_NE(printed.find("you learn Javelin (level 2)"), std::string::npos) << printed;
    EXPECT_NE(printed.find("you learn Call of the Hound (level 1)"), std::string::npos) << printed;
    // Without a foe near nothing is cast.
    EXPECT_FALSE(dynamic_cast<SkillActivatedBuffSelf&>(*Get(kWarCry)).IsOn());
    EXPECT_EQ(printed.find("you cast"), std::string::npos) << printed;
}

TEST_F(SkillDriverTest, InAFightItKeepsItsBuffUpCallsItsPetAndStrikesFarFoes) {
    player->GetExperienceLevelControl().AddSkillPoints(4 - player->GetSkillPoints());
    Character* far = Foe(20.0f, 17.0f);  // 12 m
    Play(150);
    EXPECT_TRUE(dynamic_cast<SkillActivatedBuffSelf&>(*Get(kWarCry)).IsOn());
    EXPECT_EQ(dynamic_cast<Skill_SpawnPet&>(*Get(kCallHound)).GetPets().size(), 1u);
    EXPECT_LT(far->GetCurrentLife(), 5000.0f);
    const std::string printed = Printed();
    for (const char* line :
         {"you cast War Cry", "you cast Call of the Hound", "you cast Javelin",
          "comes to your side", "  Health: 70", "  What Hound can do:", "  3-5 Physical Damage"})
        EXPECT_NE(printed.find(line), std::string::npos) << line << "\n" << printed;
}

}  // namespace
}  // namespace GAME::test
