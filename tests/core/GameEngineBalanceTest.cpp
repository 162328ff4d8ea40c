// The root's game-balance attribute packs and the settings that attributes read from it.
#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/CharAttributeStore.h"
#include "Game/rules/DefenseAttribute.h"
#include "Game/rules/DefenseAttributeStore.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(GameEngineBalance, AttributePacksLoadFromTheSettingsRecord) {
    TestMachine tm;
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/Game/GameEngine.dbr", R"({
        "armorDefensiveAbsorption": 0.6,
        "monsterAttributePak": "Records/Attributes/SkillPack.dbr"})"));
    InitializeObjects();
    ASSERT_NE(static_cast<GameEngine*>(gGameEngine), nullptr);
    EXPECT_EQ(gGameEngine->GetMonsterAttributePak().GetRecordName(),
              "Records/Attributes/SkillPack.dbr");
    EXPECT_TRUE(gGameEngine->GetPlayerAttributePak().GetRecordName().empty());

    CharAttributeAccumulator monster;
    gGameEngine->GetMonsterAttributePak().GetCharAttributes(monster, 2);
    CharAttributeAccumulator player;
    gGameEngine->GetPlayerAttributePak().GetCharAttributes(player, 2);
    // SkillPack gives strength 5, 10, 15 by level.
    EXPECT_FLOAT_EQ(monster.GetValue(CharAttributeType::Strength), 10.0f);
    EXPECT_FLOAT_EQ(player.GetValue(CharAttributeType::Strength), 0.0f);

    // The packs load inside the root's constructor, yet their protection takes its absorption.
    const auto& packDefense =
        gGameEngine->GetMonsterAttributePak().GetDefenseStore().GetAttributes();
    ASSERT_FALSE(packDefense.empty());
    auto* packArmor =
        dynamic_cast<DefenseAttribute_BaseProtectionAbsorption*>(packDefense.at(0).get());
    ASSERT_NE(packArmor, nullptr);
    EXPECT_FLOAT_EQ(packArmor->GetAbsorption(), 0.6f);

    // Armor loaded while the root lives takes the root's absorption.
    DefenseAttributeStore_Equipment store;
    const LoadTable helm =
        Singleton<ObjectManager>::Get().GetLoadTable("Records/Attributes/Helm.dbr");
    store.Load(helm, nullptr, nullptr, true, CombatAttributeRegion::Head);
    auto* armor =
        dynamic_cast<DefenseAttribute_BaseProtectionAbsorption*>(store.GetAttributes().at(0).get());
    ASSERT_NE(armor, nullptr);
    EXPECT_FLOAT_EQ(armor->GetAbsorption(), 0.6f);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME
