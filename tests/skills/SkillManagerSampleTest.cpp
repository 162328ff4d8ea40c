#include <gtest/gtest.h>

#include "../characters/CharacterTestSupport.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/SkillKinds.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

TEST(SkillManagerSample, SampleHeroLoadsTheWarfareTreeLevelsASkillAndTakesAMastery) {
    TestMachine tm(TestMachine::SampleDataDir());
    InitializeObjects();
    Character* hero = MakeCharacter("Records/Characters/SampleHero.dbr");
    ASSERT_NE(hero, nullptr);
    SkillManager& skills = hero->GetSkillManager();
    ASSERT_NE(skills.LoadDefaultSkills(), 0u);
    skills.LoadSkills("Records/Skills/Warfare/WarfareTree.dbr", 25);
    ASSERT_EQ(skills.GetSkillList().size(), 9u);
    EXPECT_EQ(skills.GetDefaultWPChanceWeight(), 100u);

    auto& objects = Singleton<ObjectManager>::Get();
    auto* onslaught =
        objects.GetObject<Skill>(skills.FindSkillId("Records/Skills/Warfare/Onslaught.dbr"));
    auto* mastery = objects.GetObject<Skill_Mastery>(
        skills.FindSkillId("Records/Skills/Warfare/WarfareMastery.dbr"));
    ASSERT_NE(onslaught, nullptr);
    ASSERT_NE(mastery, nullptr);
    EXPECT_EQ(onslaught->GetMasteryId(), mastery->GetObjectId());
    EXPECT_EQ(onslaught->GetModifiers().size(), 1u);

    // Level 2 unlocks the first mastery; one point buys it, one more the attack.
    EXPECT_EQ(skills.GetSkillMasteriesAllowed(), 0u);
    hero->IncrementCharLevel();
    EXPECT_EQ(skills.GetSkillMasteriesAllowed(), 1u);
    skills.IncrementSkill(mastery->GetObjectId(), 1);
    skills.IncrementSkill(onslaught->GetObjectId(), 1);
    EXPECT_EQ(skills.GetSkillMasteriesActive(), 1u);
    EXPECT_EQ(skills.GetNumMasteryPoints(), 1u);
    EXPECT_EQ(skills.GetNumRegularSkillPoints(), 1u);
    EXPECT_FLOAT_EQ(onslaught->GetManaCost(), 5.0f);

    RunFrame(*hero, 100);
    EXPECT_EQ(onslaught->GetCurrentLevel(), 1u);
    EXPECT_EQ(skills.GetCurrentSkillReclamationCost(), 100u);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
