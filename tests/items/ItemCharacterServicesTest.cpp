// The services items use when no test stands in: skill names from the skills' profiles and
// granted skills made as item skills.
#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/items/ItemSkillAugment.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "ItemTestSupport.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class DefaultItemServices : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        SetItemTexts();
        auto& records = Singleton<RecordDatabase>::Get();
        ASSERT_TRUE(
            records.AddRecordText("Records/Items/Skills/Cleave.dbr",
                                  R"({"Class": "Skill", "skillDisplayName": "tagCleave"})"));
        ASSERT_TRUE(
            records.AddRecordText("Records/Items/Augmenting.dbr",
                                  R"({"augmentSkillName1": "Records/Items/Skills/Cleave.dbr",
                                              "augmentSkillLevel1": 2,
                                              "augmentMasteryName1": "Records/Items/Skills/None.dbr",
                                              "augmentMasteryLevel1": 1,
                                              "itemSkillName": "Records/Items/Skills/Cleave.dbr",
                                              "itemSkillLevel": 1})"));
    }
    void TearDown() override { ShutdownObjects(); }

    TestMachine tm;
};

TEST_F(DefaultItemServices, AugmentLinesNameTheSkillFromItsProfile) {
    LocalizationManager& texts = LocalizationManager::Instance();
    texts.SetText("tagCleave", L"Cleave");
    texts.SetText("ItemSkillIncrement", L"+%d to %s");
    texts.SetText("ItemMasteryIncrement", L"+%d to mastery %s");
    auto& objects = Singleton<ObjectManager>::Get();
    ASSERT_TRUE(objects.LoadTableFile("Records/Items/Augmenting.dbr"));
    ItemSkillAugment augment;
    augment.Load(objects.GetLoadTable("Records/Items/Augmenting.dbr"));
    ASSERT_EQ(augment.GetSkillAugments().size(), 1u);

    tm.ClearLog();
    std::vector<GameTextLine> lines;
    augment.GetUIDisplayText(GameTextClass_ItemBonuses, lines);
    ASSERT_GE(lines.size(), 2u);
    // The augment keeps the normalised record name, and still finds the skill.
    EXPECT_EQ(lines[0].text, L"+2 to Cleave");
    // A record that cannot be loaded leaves the name empty and says which record it was.
    EXPECT_EQ(lines[1].text, L"+1 to mastery ");
    EXPECT_EQ(tm.CountLog("records\\items\\skills\\none.dbr cannot be loaded"), 1);
}

TEST_F(DefaultItemServices, GrantedSkillsAreMadeAsItemSkills) {
    ItemCharacterServices& services = ItemCharacterServices::Get();
    const std::uint32_t id = services.CreateItemSkill("Records/Items/Skills/Cleave.dbr");
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(id);
    ASSERT_NE(skill, nullptr);
    EXPECT_TRUE(skill->IsItemSkill());

    tm.ClearLog();
    EXPECT_EQ(services.CreateItemSkill("Records/Items/Skills/None.dbr"), 0u);
    EXPECT_EQ(tm.CountLog("granted skill record Records/Items/Skills/None.dbr makes no skill"), 1);
}

TEST_F(DefaultItemServices, WornAugmentsRaiseTheWearersSkillsUntilTakenOff) {
    Character* warrior = MakeCharacter("Records/SkillManager/Warrior.dbr");
    ASSERT_NE(warrior, nullptr);
    SkillManager& skills = warrior->GetSkillManager();
    skills.LoadSkills("Records/SkillManager/Warrior.dbr", SkillManager::kMaxSkillEntries);
    const Skill* cleave = Singleton<ObjectManager>::Get().GetObject<Skill>(
        skills.FindSkillId("Records/SkillManager/Cleave.dbr"));
    ASSERT_NE(cleave, nullptr);
    const std::uint32_t bought = cleave->GetCurrentLevel();
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        "Records/Items/WarriorCharm.dbr",
        R"({"augmentSkillName1": "Records/SkillManager/Cleave.dbr", "augmentSkillLevel1": 2,
            "augmentMasteryName1": "Records/SkillManager/WarfareMastery.dbr",
            "augmentMasteryLevel1": 1, "augmentAllLevel": 1})"));
    auto& objects = Singleton<ObjectManager>::Get();
    ASSERT_TRUE(objects.LoadTableFile("Records/Items/WarriorCharm.dbr"));
    ItemSkillAugment charm;
    charm.Load(objects.GetLoadTable("Records/Items/WarriorCharm.dbr"));
    // The skill, its mastery and every skill each add their levels.
    charm.InstallOnCharacter(*warrior, 0);
    EXPECT_EQ(cleave->GetCurrentLevel(), bought + 4);
    charm.RemoveFromCharacter(*warrior, 0);
    EXPECT_EQ(cleave->GetCurrentLevel(), bought);
}

TEST_F(DefaultItemServices, AWornItemLendsItsSkillAtItsLevelUntilTakenOff) {
    Character* warrior = MakeCharacter("Records/SkillManager/Warrior.dbr");
    ASSERT_NE(warrior, nullptr);
    auto& objects = Singleton<ObjectManager>::Get();
    ASSERT_TRUE(objects.LoadTableFile("Records/Items/Augmenting.dbr"));
    ItemSkillAugment charm;
    charm.Load(objects.GetLoadTable("Records/Items/Augmenting.dbr"));
    charm.CreateItemSkills();
    SkillManager& skills = warrior->GetSkillManager();
    auto lent = [&]() -> const Skill* {
        return objects.GetObject<Skill>(skills.FindItemSkillId("Records/Items/Skills/Cleave.dbr"));
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        charm.InstallOnCharacter(*warrior, 0);
        ASSERT_NE(lent(), nullptr);
        EXPECT_TRUE(lent()->IsItemSkill());
        EXPECT_EQ(lent()->GetSkillLevel(), 1u);
        charm.RemoveFromCharacter(*warrior, 0);
        ASSERT_NE(lent(), nullptr);
        EXPECT_EQ(lent()->GetSkillLevel(), 0u);
    }
}

}  // namespace
}  // namespace GAME::test
