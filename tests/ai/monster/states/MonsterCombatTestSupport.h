#pragma once
// A private copy of the sample world with a monster ("Records/Test/Brute.dbr", a claw attack,
// run, walk and attack clips) whose behaviour record each test writes, and a hero of the human
// team to fight. Frames run the engine's step, then every character's.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/movement/SlotManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "support/TestMachine.h"

namespace GAME::test {

class CombatWorldCopy {
public:
    CombatWorldCopy() {
        static int counter = 0;
        namespace fs = std::filesystem;
        mRoot = fs::temp_directory_path() /
                ("monster_combat_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot);
        const fs::path data = TestMachine::SampleDataDir();
        for (const char* folder : {"Levels", "Animations", "Records", "Text"})
            fs::copy(data / folder, mRoot / folder, fs::copy_options::recursive);
        fs::remove(mRoot / "Levels/Sample/Sample.navcache");
        fs::create_directories(mRoot / "Records/Combat");
        fs::copy(fs::path(TestMachine::TestDataDir()) / "Records/Combat/Standard.dbr",
                 mRoot / "Records/Combat/Standard.dbr");
    }
    ~CombatWorldCopy() {
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }
    std::string Root() const { return mRoot.string(); }

private:
    std::filesystem::path mRoot;
};

inline constexpr const char* kClaw = "Records/Test/Claw.dbr";
inline constexpr const char* kBuff = "Records/Test/Roar.dbr";
inline constexpr const char* kBite = "Records/Test/Bite.dbr";
inline constexpr const char* kShot = "Records/Test/Shot.dbr";
inline constexpr const char* kPoke = "Records/Test/Poke.dbr";
inline constexpr const char* kBrute = "Records/Test/Brute.dbr";
inline constexpr const char* kBruteBrain = "Records/Test/BruteBrain.dbr";
inline constexpr const char* kHero = "Records/Test/Hero.dbr";
// The tests' combat rules: hits land at 80 % plus a quarter of the ability gap.
inline constexpr const char* kCombat = "Records/Combat/Standard.dbr";

class MonsterCombatTest : public ::testing::Test {
protected:
    void SetUp() override { OpenWorld(); }
    // The root, the sample level and the test records on the current machine.
    void OpenWorld() {
        characters.clear();
        defined = false;
        InitializeObjects();
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
        ASSERT_NE(meadow, nullptr);
        Record(kClaw, R"({"Class": "Skill_AttackInherent", "skillMaxLevel": 1,
            "skillManaCost": [0], "offensivePhysicalMin": [40], "offensivePhysicalMax": [40]})");
        Record(kBite, R"({"Class": "Skill_AttackInherent", "skillMaxLevel": 1,
            "skillManaCost": [0], "offensivePhysicalMin": [10], "offensivePhysicalMax": [10]})");
        // A plain skill keeps its distance (an attack's follows the weapon): 15 for "Long".
        Record(kShot, R"({"Class": "Skill", "skillMaxLevel": 1, "distanceProfile": "Long"})");
        Record(kPoke, R"({"Class": "Skill", "skillMaxLevel": 1, "distanceProfile": "Short"})");
        Record(kBuff, R"({"Class": "Skill", "skillMaxLevel": 1})");
        Record(kHero, R"({"Class": "Character", "characterLife": 100,
            "combatManagerRecord": "Records/Combat/Standard.dbr",
            "characterRunSpeed": 100, "characterDefensiveAbility": 0,
            "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
            "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm"})");
    }
    void TearDown() override { ShutdownObjects(); }

    void Record(const char* name, const std::string& text) {
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
    }
    WorldVec3 At(float x, float z) const {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    }

    // Writes the monster's records: its behaviour record's keys and extra keys of its own
    // record (JSON bodies without braces); `legs` gives it run and walk clips.
    void DefineBrute(const std::string& behaviour = "", const std::string& extra = "",
                     bool legs = true, const char* attack = kClaw) {
        Record(kBruteBrain, R"({"Class": "ControllerMonster")" +
                                std::string(behaviour.empty() ? "" : ", ") + behaviour + "}");
        std::string record = R"({"Class": "Monster", "controller": ")" + std::string(kBruteBrain) +
                             R"(", "characterLife": 100,
            "characterRunSpeed": 100, "characterAttackSpeed": 1.0,
            "characterOffensiveAbility": 100, "characterStrength": 50,
            "combatManagerRecord": "Records/Combat/Standard.dbr",
            "skillName1": "Records/Test/Claw.dbr", "skillLevel1": 1,
            "skillName2": "Records/Test/Roar.dbr", "skillLevel2": 1,
            "skillName3": "Records/Test/Bite.dbr", "skillLevel3": 1,
            "skillName4": "Records/Test/Shot.dbr", "skillLevel4": 1,
            "skillName5": "Records/Test/Poke.dbr", "skillLevel5": 1,
            "unarmedAttackAnim1": "Creatures/Anims/Human_Attack.anm", "attackSkillName": ")" +
                             std::string(attack) + "\"";
        if (legs)
            record += R"(, "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
            "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm")";
        if (!extra.empty())
            record += ", " + extra;
        Record(kBrute, record + "}");
        defined = true;
    }
    // A monster of the brute records standing at (x, z); its first frame has not run yet.
    Monster* SpawnMonster(float x, float z) {
        if (!defined)
            DefineBrute();
        auto* monster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(kBrute);
        EXPECT_NE(monster, nullptr);
        if (!monster)
            return nullptr;
        World::Get().AddEntity(monster, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        monster->InitialUpdate();
        monster->ResetMovementManager();
        characters.push_back(monster);
        return monster;
    }
    Character* SpawnHero(float x, float z) {
        auto* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(kHero);
        EXPECT_NE(hero, nullptr);
        hero->InitialUpdate();
        hero->SetTeam(TeamManager::BuildTeam(Team::Human, 0));
        World::Get().AddEntity(hero, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)), true);
        hero->ResetMovementManager();
        // A fighting controller: it ends the hero when its life runs out.
        auto* brain = Singleton<ObjectManager>::Get().CreateObject<ControllerCombat>();
        brain->AttachParent(hero->GetObjectId());
        hero->SetControllerId(brain->GetObjectId());
        characters.push_back(hero);
        return hero;
    }
    static ControllerMonster* Brain(Monster* monster) {
        return Singleton<ObjectManager>::Get().GetObject<ControllerMonster>(
            monster->GetControllerId());
    }
    static std::uint32_t SkillId(Monster* monster, const char* record) {
        return monster->GetSkillManager().FindSkillId(record);
    }
    // The name of the state that executes now ("" for none).
    static std::string Executing(ControllerMonster* brain) {
        const char* name = brain->GetExecutingStateName();
        return name ? name : "";
    }
    // One frame of `ms`: the engine's step (clips), then every character's.
    void Frame(int ms = 33) {
        gEngine->AdvanceFrame(static_cast<std::uint32_t>(ms));
        for (Character* character : characters) {
            character->UpdateSelf(ms);
            character->PreAnimationUpdate(ms);
        }
    }

    // One copy for the whole program: the first test's navigation cache serves the others.
    static const CombatWorldCopy& Copy() {
        static const CombatWorldCopy copy;
        return copy;
    }

    TestMachine tm{Copy().Root()};
    Region* meadow = nullptr;
    std::vector<Character*> characters;
    bool defined = false;
};

}  // namespace GAME::test
