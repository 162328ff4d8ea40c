// The damage register and the experience a death is worth.
#include <gtest/gtest.h>

#include <cstdint>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerInfo.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

constexpr std::uint32_t kPlayer = 0x31;
constexpr std::uint32_t kPet = 0x4001;
constexpr std::uint32_t kMonster = 0x4002;
constexpr std::uint32_t kStranger = 0x4003;

class RewardsTest : public ::testing::Test {
protected:
    explicit RewardsTest(const char* settings = nullptr) {
        if (settings) {
            EXPECT_TRUE(
                Singleton<RecordDatabase>::Get().AddRecordText(GameEngine::kRecordName, settings));
        }
        InitializeObjects();
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        player = objects.CreateObject<Player>(kPlayer);
        test::SetCharLevel(*player, 6);
        pet = objects.CreateObject<Character>(kPet);
        test::SetMasterId(*pet, kPlayer);
        monster = objects.CreateObject<Character>(kMonster);
        test::SetCharLevel(*monster, 9);
        monster->ReceiveExperience(40);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kPlayer);
    }
    ~RewardsTest() override { ShutdownObjects(); }

    void Die(std::uint32_t victim, std::uint32_t attacker) {
        GameEvent_CreatureDeath event;
        event.objectId = victim;
        event.attackerId = attacker;
        SendGameEvent(event, "CreatureDeath");
    }

    TestMachine tm;
    Player* player = nullptr;
    Character* pet = nullptr;
    Character* monster = nullptr;
};

TEST_F(RewardsTest, APetsHitsCountForItsMaster) {
    gGameEngine->RegisterDamage(kMonster, kPlayer, 30.0f);
    gGameEngine->RegisterDamage(kMonster, kPet, 50.0f);
    gGameEngine->RegisterDamage(kMonster, kStranger, 20.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetDamageByAttacker(kPlayer, kMonster), 80.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetDamageByAttacker(kPet, kMonster), 0.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetPlayerDamagePercent(kPlayer, kMonster), 0.8f);
    EXPECT_EQ(gGameEngine->GetMasterAttacker(kPet), kPlayer);
    EXPECT_EQ(gGameEngine->GetMasterAttacker(kStranger), kStranger);

    // Hits on a player are not registered.
    gGameEngine->RegisterDamage(kPlayer, kMonster, 10.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetTotalDamageDone(kPlayer), 0.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetPlayerDamagePercent(kMonster, kPlayer), 0.0f);
}

TEST_F(RewardsTest, AKillByPlayerAndPetCreditsThePlayerOnceWithTheFormulasReward) {
    gGameEngine->RegisterDamage(kMonster, kPlayer, 30.0f);
    gGameEngine->RegisterDamage(kMonster, kPet, 70.0f);
    gGameEngine->SetGameDifficulty(1);
    // The test settings: experience = monsterExperience * 2; the whole damage is the player's.
    Die(kMonster, kPet);
    EXPECT_EQ(player->GetExperiencePoints(), 80u);
    EXPECT_EQ(pet->GetExperiencePoints(), 0u);
    EXPECT_FLOAT_EQ(gGameEngine->GetTotalDamageDone(kMonster), 0.0f);
    EXPECT_EQ(gGameEngine->GetFormulaVariables().monsterLevel, 9u);
    EXPECT_EQ(gGameEngine->GetFormulaVariables().numberOfPlayers, 1u);
    EXPECT_EQ(gGameEngine->GetFormulaVariables().maxPlayerLevel, 6u);
    EXPECT_EQ(gGameEngine->GetFormulaVariables().gameDifficulty, 1u);

    // The entry is gone: a second death event shares nothing more.
    Die(kMonster, kPet);
    EXPECT_EQ(player->GetExperiencePoints(), 80u);
}

TEST_F(RewardsTest, ADeathWithoutItsCreatureStillClearsTheEntry) {
    gGameEngine->RegisterDamage(0x4444, kPlayer, 5.0f);
    Die(0x4444, kPlayer);
    EXPECT_FLOAT_EQ(gGameEngine->GetTotalDamageDone(0x4444), 0.0f);
    EXPECT_EQ(player->GetExperiencePoints(), 0u);
}

TEST_F(RewardsTest, AClientNeitherRegistersNorRewards) {
    gGameEngine->RegisterDamage(kMonster, kPlayer, 30.0f);
    gGameEngine->SetAsNetworkClient();
    gGameEngine->RegisterDamage(kMonster, kPlayer, 30.0f);
    Die(kMonster, kPlayer);
    EXPECT_EQ(player->GetExperiencePoints(), 0u);
    gGameEngine->SetAsNetworkStub();
    EXPECT_FLOAT_EQ(gGameEngine->GetTotalDamageDone(kMonster), 30.0f);
}

class RewardFormulaTest : public RewardsTest, public ::testing::WithParamInterface<int> {
protected:
    RewardFormulaTest() : RewardsTest(Settings()) {}
    static const char* Settings() {
        static const char* const kSettings[] = {
            R"({"experienceEquation": "monsterExperience - 43.7"})",
            R"({"experienceEquation": "(monsterExperience / 8) + 7.5"})",
            R"({"experienceEquation": "(monsterExperience * 100000000) * 100000000"})",
        };
        return kSettings[GetParam()];
    }
};

TEST_P(RewardFormulaTest, RewardsRoundToTheNearestAndStayInRange) {
    // With 40 experience: -3.7 gives 0, 12.5 gives 13, 4e17 the largest reward.
    const unsigned int expected[] = {0u, 13u, 4294967295u};
    EXPECT_EQ(gGameEngine->CalculateExperienceReward(3, 40), expected[GetParam()]);
    EXPECT_EQ(monster->GetExperienceReward(), expected[GetParam()]);
}
INSTANTIATE_TEST_SUITE_P(Formulas, RewardFormulaTest, ::testing::Values(0, 1, 2));

struct Bounds {
    int low;
    int high;
    unsigned int level;
    unsigned int expected;
};

TEST(DeathPenalty, TheFormulasValueClampedToTheRecordsBounds) {
    // The formula: 100 per level of the dying player plus the killer's level.
    const Bounds cases[] = {
        {10, 5000, 6, 609u},    // within the bounds
        {10, 5000, 80, 5000u},  // lowered to the maximum
        {0, 5000, 0, 9u},       // a level-0 player loses the killer's level
        {700, 5000, 0, 700u},   // raised to the minimum
        {10, 5, 3, 5u},         // crossed: the maximum wins
        {-50, -5, 3, 0u},       // a maximum below zero gives no penalty, not a wrapped one
        {INT32_MAX, INT32_MAX, 0, 2147483647u},
    };
    for (const Bounds& bounds : cases) {
        TestMachine tm;
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            GameEngine::kRecordName,
            "{\"deathPenaltyEquation\": \"(currentPlayerLevel * 100) + monsterLevel\","
            " \"deathPenaltyMin\": " +
                std::to_string(bounds.low) +
                ", \"deathPenaltyMax\": " + std::to_string(bounds.high) + "}"));
        InitializeObjects();
        auto& objects = Singleton<ObjectManager>::Get();
        Player* player = objects.CreateObject<Player>(kPlayer);
        test::SetCharLevel(*player, bounds.level);
        test::SetCharLevel(*objects.CreateObject<Character>(kMonster), 9);
        EXPECT_EQ(gGameEngine->GetPlayerDeathExperiencePenalty(player, kMonster), bounds.expected)
            << bounds.low << ".." << bounds.high << " at level " << bounds.level;
        ShutdownObjects();
    }
}

TEST(DeathPenalty, WithoutAFormulaThePenaltyIsTheMinimum) {
    TestMachine tm;
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
        GameEngine::kRecordName, R"({"deathPenaltyMin": 25, "deathPenaltyMax": 100})"));
    InitializeObjects();
    EXPECT_EQ(gGameEngine->GetPlayerDeathExperiencePenalty(nullptr, 0), 25u);
    EXPECT_EQ(gGameEngine->CalculateExperienceReward(4, 77), 77u);  // base experience unchanged
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME
