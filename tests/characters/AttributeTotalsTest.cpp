// The attribute totals a character keeps between frames follow every kind of source change:
// skill levels and their state, level augments, equipment, item sets and inserted relics. Debug
// builds also sum every kept answer again and abort on a difference.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CharacterTestSupport.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"
#include "Game/items/ItemEquipment.h"
#include "Game/items/equipment/EquipLocations.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kBearer = "Records/Test/Totals/Bearer.dbr";
constexpr const char* kMight = "Records/Test/Totals/Might.dbr";
constexpr const char* kMail = "Records/Test/Totals/Mail.dbr";
constexpr const char* kPair = "Records/Test/Totals/Pair.dbr";
constexpr const char* kGem = "Records/Test/Totals/Gem.dbr";

void AddRecords() {
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText(
        kBearer, R"({"Class": "Character", "characterStrength": 50, "characterLife": 300,
                     "combatManagerRecord": "Records/Combat/Standard.dbr",
                     "skillName1": "Records/Test/Totals/Might.dbr"})"));
    ASSERT_TRUE(records.AddRecordText(
        kMight, R"({"Class": "Skill_Passive", "skillMaxLevel": 2, "skillUltimateLevel": 3,
                    "characterStrength": [2, 4, 6]})"));
    ASSERT_TRUE(records.AddRecordText(
        kMail, R"({"Class": "ArmorProtective_UpperBody", "characterStrength": 5,
                   "itemSetName": "Records/Test/Totals/Pair.dbr"})"));
    ASSERT_TRUE(records.AddRecordText(kPair, R"({"Class": "ItemSet", "setName": "tagPair",
                   "setMembers": ["Records/Test/Totals/Mail.dbr"], "characterStrength": [3]})"));
    ASSERT_TRUE(records.AddRecordText(
        kGem, R"({"Class": "ItemRelic", "completedRelicLevel": 1, "characterStrength": [11]})"));
}

TEST(KeptAttributeTotals, FollowEveryKindOfSourceChange) {
    TestMachine tm;
    InitializeObjects();
    AddRecords();
    Character* bearer = MakeCharacter(kBearer);
    ASSERT_NE(bearer, nullptr);
    SkillManager& skills = bearer->GetSkillManager();
    skills.LoadSkills(kBearer, 1);
    auto* might = Singleton<ObjectManager>::Get().GetObject<Skill>(skills.FindSkillId(kMight));
    ASSERT_NE(might, nullptr);
    ItemReplicaInfo mailRecord;
    mailRecord.baseName = kMail;
    auto* mail = dynamic_cast<ItemEquipment*>(Item::CreateItem(mailRecord));
    ASSERT_NE(mail, nullptr);
    bearer->GetInventory().AddItemToInventory(mail->GetObjectId(), false);
    RunFrame(*bearer, 10);

    struct Case {
        const char* change;
        std::function<void()> apply;
        float strength;  // the total after the next frame
    };
    const Case cases[] = {
        {"nothing learnt yet", [] {}, 50.0f},
        {"level 1, enabled", [&] { might->ReceiveStateUpdate(SkillState(1, true), true); }, 52.0f},
        {"level 2", [&] { might->ReceiveStateUpdate(SkillState(2, true), true); }, 54.0f},
        {"augmented past its maximum", [&] { skills.SetSkillLevelAugment(kMight, 1); }, 56.0f},
        {"augment taken back", [&] { skills.RemoveSkillLevelAugment(kMight, 1); }, 54.0f},
        {"disabled", [&] { might->ReceiveStateUpdate(SkillState(2, false), true); }, 50.0f},
        {"mail worn, alone in its set",
         [&] { bearer->AttachItemAction(mail->GetObjectId(), EquipLocation_UpperBody); }, 58.0f},
        {"gem set into the worn mail", [&] { mail->AddRelic(kGem, "", 1); }, 69.0f},
        {"mail taken off", [&] { bearer->DetachItemAction(mail->GetObjectId()); }, 50.0f},
    };
    for (const Case& c : cases) {
        c.apply();
        RunFrame(*bearer, 10);
        EXPECT_FLOAT_EQ(bearer->GetTotalCharAttribute(CharAttributeType::Strength), c.strength)
            << c.change;
        // Frames without a change keep the totals as they are.
        RunFrame(*bearer, 10);
        EXPECT_FLOAT_EQ(bearer->GetTotalCharAttribute(CharAttributeType::Strength), c.strength)
            << c.change << ", a frame later";
    }
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
