// The summary a player reads of a fighting creature: health, energy only when it has some, its
// abilities, and its bare-hand damage only when it shows no ability.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

TEST(CreatureSummary, EnergyAndDamageShowOnlyWhenThereIsSomethingToShow) {
    TestMachine tm;
    InitializeObjects();
    LocalizationManager& texts = LocalizationManager::Instance();
    texts.SetText("tagGnasher", L"Gnasher");
    texts.SetText("SkillPetDescriptionHealth", L"H %.0f");
    texts.SetText("SkillPetDescriptionMana", L"M %.0f");
    texts.SetText("tagSkillPetAbilities", L"A %s");
    texts.SetText("SkillPetDescriptionDamageMinOnly", L"D %.0f");
    texts.SetText("SkillPetDescriptionDamageMinMax", L"D %.0f-%.0f");
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("T/Shown.dbr", R"({"Class": "Skill_AttackInherent",
        "isPetDisplayable": true, "skillMaxLevel": 5})"));
    ASSERT_TRUE(records.AddRecordText("T/Hidden.dbr", R"({"Class": "Skill_AttackInherent",
        "skillMaxLevel": 5})"));

    struct Case {
        const char* kind;
        const char* extra;  // record fields beyond the class, life and name
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"Monster",
         R"("handHitDamageMin": 3, "handHitDamageMax": 3)",
         {L"H 50", L" ", L"A Gnasher", L"D 3", L" "}},
        {"Monster",
         R"("characterMana": 40, "handHitDamageMin": 2, "handHitDamageMax": 7,
            "skillName1": "T/Hidden.dbr", "skillLevel1": [2])",
         {L"H 50", L"M 40", L" ", L"A Gnasher", L"D 2-7", L" "}},
        {"Monster", R"("handHitDamageMax": 0)", {L"H 50", L" ", L"A Gnasher"}},
        // An ability listed: no damage line, whatever the hands do.
        {"Monster",
         R"("handHitDamageMin": 2, "handHitDamageMax": 7,
            "skillName1": "T/Shown.dbr", "skillLevel1": [2])",
         {L"H 50", L" ", L"A Gnasher", L" "}},
        {"AmbientCharacter",
         R"("handHitDamageMin": 1, "handHitDamageMax": 4)",
         {L"H 50", L" ", L"A Gnasher", L"D 1-4", L" "}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string record = "T/Creature" + std::to_string(++n) + ".dbr";
        ASSERT_TRUE(records.AddRecordText(
            record, std::string(R"({"Class": ")") + c.kind +
                        R"(", "characterLife": 50, "description": "tagGnasher", )" + c.extra +
                        "}"));
        auto* creature = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
        ASSERT_NE(creature, nullptr) << record;
        creature->InitialUpdate();
        std::vector<GameTextLine> lines;
        creature->CreateUISummaryText(GameTextClass_PetSkillStatsCurrent, lines);
        std::vector<std::wstring> shown;
        for (const GameTextLine& line : lines) {
            shown.push_back(line.text);
            // Blank lines are plain; the others take the caller's style.
            EXPECT_EQ(line.textClass, line.text == L" " ? GameTextClass_Default
                                                        : GameTextClass_PetSkillStatsCurrent);
        }
        EXPECT_EQ(shown, c.lines) << record;
    }
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
