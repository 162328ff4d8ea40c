// What the game settings let a player be: its speed and defense caps per difficulty, the
// player attribute pack added at the game's balance difficulty, and what its death costs.
#include <gtest/gtest.h>

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kCappedHero = "Records/Players/CappedHero.dbr";

class PlayerBalance : public ::testing::Test {
protected:
    void SetUp() override {
        auto& records = Singleton<RecordDatabase>::Get();
        // Attack speed caps whose maximum lies below the minimum.
        ASSERT_TRUE(records.AddRecordText("Records/Game/GameEngine.dbr", R"({
            "playerAttributePak": "Records/Attributes/SkillPack.dbr",
            "playerDefenseCap": [70, 75, 80],
            "playerRunSpeedCapMin": [50, 0, 50],
            "playerRunSpeedCapMax": [150, 150, 120],
            "playerAttackSpeedCapMin": [80, 80, 80],
            "playerAttackSpeedCapMax": [60, 60, 60],
            "playerSpellCastSpeedCapMin": [90, 90, 90],
            "deathPenaltyEquation": "currentPlayerLevel * 10",
            "deathPenaltyMax": 1000})"));
        ASSERT_TRUE(records.AddRecordText(kCappedHero, R"({
            "Class": "Player",
            "characterLife": 100,
            "characterRunSpeed": 100,
            "characterAttackSpeed": 200,
            "characterSpellCastSpeed": 100,
            "levelFileName": "Records/Characters/HeroLevels.dbr"})"));
        InitializeObjects();
        player = Singleton<ObjectManager>::Get().CreateObjectFromFile<Player>(kCappedHero);
        ASSERT_NE(player, nullptr);
        player->InitialUpdate();
        Frame();
    }
    // The biography gathers its totals before the animations of a frame.
    void Frame() {
        gEngine->AdvanceGameTime(10);
        player->UpdateSelf(10);
        player->PreAnimationUpdate(10);
    }
    void TearDown() override { ShutdownObjects(); }

    TestMachine tm;
    Player* player = nullptr;
};

TEST_F(PlayerBalance, SpeedAndDefenseCapsFollowTheDifficultyOfTheGame) {
    gGameEngine->SetGameDifficulty(0);
    EXPECT_FLOAT_EQ(player->GetDefenseAttributeCap(), 70.0f);
    EXPECT_FLOAT_EQ(player->CapRunSpeed(10.0f), 50.0f);  // 50 % of the base 100
    EXPECT_FLOAT_EQ(player->CapRunSpeed(120.0f), 120.0f);
    EXPECT_FLOAT_EQ(player->CapRunSpeed(400.0f), 150.0f);
    // Low 160, high 120 of the base 200: the maximum wins on both sides.
    EXPECT_FLOAT_EQ(player->CapAttackSpeed(10.0f), 120.0f);
    EXPECT_FLOAT_EQ(player->CapAttackSpeed(500.0f), 120.0f);
    // A cap without its maximum leaves the speed alone.
    EXPECT_FLOAT_EQ(player->CapSpellCastSpeed(5.0f), 5.0f);
    // The real speed passes through the cap too.
    EXPECT_FLOAT_EQ(player->GetAttackSpeed(), 120.0f);

    gGameEngine->SetGameDifficulty(1);
    EXPECT_FLOAT_EQ(player->GetDefenseAttributeCap(), 75.0f);
    EXPECT_FLOAT_EQ(player->CapRunSpeed(10.0f), 10.0f);  // minimum 0: no cap

    gGameEngine->SetGameDifficulty(2);
    EXPECT_FLOAT_EQ(player->GetDefenseAttributeCap(), 80.0f);
    EXPECT_FLOAT_EQ(player->CapRunSpeed(400.0f), 120.0f);
}

TEST_F(PlayerBalance, ThePlayerPackIsAddedAtTheBalanceDifficulty) {
    // SkillPack gives strength 5, 10, 15 by level.
    gGameEngine->SetGameBalanceLevel(2);
    Frame();
    EXPECT_FLOAT_EQ(player->GetTotalCharAttribute(CharAttributeType::Strength), 10.0f);
    gGameEngine->SetGameBalanceLevel(3);
    Frame();
    EXPECT_FLOAT_EQ(player->GetTotalCharAttribute(CharAttributeType::Strength), 15.0f);

    gGameEngine->SetGameBalanceLevel(1);
    CombatAttributeAccumulator defense;
    player->GetAllDefenseAttributes(defense);
    EXPECT_FALSE(defense.GetDefensePayloads().empty());

    // Its fire damage reaches what the skill manager gathers for an attack.
    CombatAttributeAccumulator offense;
    player->GetSkillManager().CollectAvailableOffensiveDamageAttributes(0, offense);
    const auto& damage = offense.GetDamagePayloads();
    EXPECT_TRUE(std::any_of(damage.begin(), damage.end(), [](const auto& payload) {
        return payload->GetType() == CombatAttributeType::Fire;
    }));
}

TEST_F(PlayerBalance, DeathCostsThePenaltyOfTheSettingsAndTheStatisticsKeepIt) {
    test::SetCharLevel(*player, 1);
    player->GetExperienceLevelControl().SetExperiencePoints(500);
    player->CharacterIsDying();
    EXPECT_EQ(player->GetExperienceLevelControl().GetExperiencePoints(), 490u);
    EXPECT_EQ(player->GetPlayStats().GetExperienceLost(), -10);
}

}  // namespace
}  // namespace GAME::test
