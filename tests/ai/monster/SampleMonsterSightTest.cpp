// A sample wolf of the world's data, given a watchful behaviour record, sees the hero standing
// within its sight, grows angry over the 200 ms ticks, takes the hero as its target and picks its
// bite; two machines running the same frames agree on every number.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "ai/AiTestSupport.h"

namespace GAME::test {
namespace {

// The sample data with a wolf whose behaviour record lets sight anger outrun forgiveness.
class WatchfulWolfData {
public:
    WatchfulWolfData() : mRoot(std::filesystem::path(mAi.Root()) / "data") {
        namespace fs = std::filesystem;
        fs::copy(TestMachine::SampleDataDir(), mRoot, fs::copy_options::recursive);
        std::ofstream(mRoot / "Records/Creatures/Controllers/WatchfulAI.dbr")
            << R"({"Class": "ControllerMonster", "ViewDistance": 15, "SightAngerRate": 60,
                   "ForgiveRate": 10})";
        std::ofstream(mRoot / "Records/Creatures/WatchfulWolf.dbr") << R"({"Class": "Monster",
            "characterLife": 140, "charLevel": [4, 14, 24],
            "controller": "Records/Creatures/Controllers/WatchfulAI.dbr",
            "skillName1": "Records/Creatures/Skills/WolfBite.dbr", "skillLevel1": [1, 2, 3],
            "skillName2": "Records/Creatures/Skills/WolfLunge.dbr", "skillLevel2": [1, 1, 2],
            "attackSkillName": "Records/Creatures/Skills/WolfBite.dbr",
            "specialAttackSkillName": "Records/Creatures/Skills/WolfLunge.dbr",
            "specialAttackTimeout": 2.0, "specialAttackDelay": 6.0, "specialAttackChance": 35,
            "specialAttackRange": "ShortRange"})";
    }
    std::string Root() const { return mRoot.string(); }

private:
    AiDataRoot mAi;  // a private folder, removed at the end
    std::filesystem::path mRoot;
};

// What one machine saw.
struct Sighting {
    std::vector<float> angerByFrame;
    std::uint32_t target = 0;
    std::string skill;
    int nextDraw = 0;
    bool operator==(const Sighting&) const = default;
};

// One machine's run: the wolf at x = 10, the hero 10 m away (inside the 15 m of sight, outside
// the inner 5 m), 30 frames of 50 ms.
Sighting Watch(TestMachine& tm) {
    Sighting seen;
    ON_MACHINE(tm) {
        InitializeObjects();
        crt_srand(11);
        Region* region =
            World::Get().AddRegion(std::make_unique<Region>("F", Vec3(), Vec3(200, 50, 200)));
        auto* wolf = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(
            "Records/Creatures/WatchfulWolf.dbr");
        ControllerMonster* controller = wolf ? wolf->GetMonsterController() : nullptr;
        EXPECT_NE(controller, nullptr);
        if (controller) {
            wolf->InitialUpdate();
            World::Get().AddEntity(wolf, WorldCoords(region, Coords::FromOrigin(Vec3(10, 0, 10))),
                                   true);
            // The record's bite and lunge, installed as the monster installs them, so that this
            // test stands on the controller alone.
            const SkillManager& skills = wolf->GetSkillManager();
            controller->SetNormalAttackSkill(
                skills.FindSkillId("Records/Creatures/Skills/WolfBite.dbr"));
            controller->SetSpecialAttackSkill(
                skills.FindSkillId("Records/Creatures/Skills/WolfLunge.dbr"), 2000, 6000, 35,
                ControllerMonster::GetSkillRangeFromString("ShortRange"));
            const Character* hero = PlaceCharacter("Records/Characters/SampleHero.dbr", Team::Human,
                                                   region, Vec3(20, 0, 10));
            for (int frame = 0; frame < 30; ++frame) {
                gEngine->AdvanceFrame(50);
                wolf->UpdateSelf(50);
                wolf->PreAnimationUpdate(50);
                seen.angerByFrame.push_back(
                    controller->GetAngerManager().GetAnger(hero->GetObjectId()));
            }
            seen.target = controller->GetMostHatedEnemy();
            EXPECT_EQ(seen.target, hero->GetObjectId());
            if (const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(
                    controller->ChooseBestSkill(seen.target, false)))
                seen.skill = skill->GetObjectName();
            seen.nextDraw = crt_rand();
        }
        ShutdownObjects();
    }
    return seen;
}

TEST(SampleMonsterSight, TheWolfHatesTheHeroInSightAndPicksItsBiteAlikeOnTwoMachines) {
    WatchfulWolfData data;
    TestMachine first(data.Root());
    TestMachine second(data.Root());
    const Sighting one = Watch(first);
    const Sighting two = Watch(second);
    // Anger grew tick by tick, and the bite was chosen (the lunge waits and needs short range).
    ASSERT_EQ(one.angerByFrame.size(), 30u);
    EXPECT_GT(one.angerByFrame[4], 0.0f);
    EXPECT_GT(one.angerByFrame.back(), one.angerByFrame[4]);
    EXPECT_EQ(one.skill, "Records/Creatures/Skills/WolfBite.dbr");
    EXPECT_EQ(one, two);
}

}  // namespace
}  // namespace GAME::test
