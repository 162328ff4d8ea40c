// The player's paper doll and light, its texture choice, its texts and the kills it keeps.
#include <gtest/gtest.h>

#include "Engine/media/graphics/Light.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEvents.h"
#include "PlayerTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/TestAccess.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kLitHero = "Records/Players/LitHero.dbr";

class PlayerPaperDoll : public ::testing::Test {
protected:
    void SetUp() override {
        auto& records = Singleton<RecordDatabase>::Get();
        ASSERT_TRUE(records.AddRecordText("Records/Test/HeroLight.dbr", R"({"Class": "Light"})"));
        ASSERT_TRUE(records.AddRecordText(kLitHero, R"({
            "Class": "Player",
            "characterLife": 200,
            "levelFileName": "Records/Characters/HeroLevels.dbr",
            "skillTree1": "Records/Players/TestTree.dbr",
            "playerLight": "Records/Test/HeroLight.dbr",
            "playerTextures": ["Records/Textures/HeroA.tex", "Records/Textures/HeroB.tex"]})"));
        InitializeObjects();
        player = objects().CreateObjectFromFile<Player>(kLitHero);
        ASSERT_NE(player, nullptr);
        player->SetIsControllingCharacter(true);
        player->InitialUpdate();
        player->SetPlayerName(L"Ada");
        test::SetCharLevel(*player, 7);
    }
    void TearDown() override { ShutdownObjects(); }
    static ObjectManager& objects() { return Singleton<ObjectManager>::Get(); }

    TestMachine tm;
    Player* player = nullptr;
};

TEST_F(PlayerPaperDoll, TheControllingPlayerCarriesItsLightAboveIt) {
    auto* light = objects().GetObject<Light>(player->GetPlayerLight());
    ASSERT_NE(light, nullptr);
    EXPECT_TRUE(light->GetForceShadows());
    EXPECT_EQ(light->GetAttachParentId(), player->GetObjectId());
    EXPECT_FLOAT_EQ(light->GetAttachOffset().origin.y, 5.0f);

    const std::uint32_t lightId = light->GetObjectId();
    player->RemoveLight();
    EXPECT_EQ(player->GetPlayerLight(), 0u);
    EXPECT_EQ(objects().GetObject(lightId), nullptr);
    // A doll still standing when the machine shuts down goes with its player (under ASan).
    player->CreatePaperDoll();
    EXPECT_NE(player->GetPaperDoll(), nullptr);
}

TEST_F(PlayerPaperDoll, TheDollIsACopyInARegionOfItsOwnThatFollowsTheTexture) {
    player->PickNewTexture(9);  // clamped to the last
    EXPECT_EQ(player->GetPlayerTexture(), "Records/Textures/HeroB.tex");
    player->CreatePaperDoll();
    Player* doll = player->GetPaperDoll();
    ASSERT_NE(doll, nullptr);
    ASSERT_NE(doll, player);
    EXPECT_TRUE(doll->IsCopy());
    EXPECT_FALSE(doll->IsControllingCharacter());
    EXPECT_EQ(doll->GetPlayerName(), L"Ada");
    EXPECT_EQ(doll->GetCharLevel(), 7u);
    EXPECT_EQ(doll->GetPlayerTexture(), "Records/Textures/HeroB.tex");
    ASSERT_NE(player->GetPaperDollRegion(), nullptr);
    EXPECT_EQ(doll->GetRegion(), player->GetPaperDollRegion());
    EXPECT_FLOAT_EQ(doll->GetPosition().GetRegionPosition().x, 0.0f);
    EXPECT_EQ(doll->GetActionHandler().GetActionType(), CharacterActionType_LongIdle);
    // The doll has no light of its own; the player keeps its one.
    EXPECT_EQ(doll->GetPlayerLight(), 0u);
    EXPECT_NE(player->GetPlayerLight(), 0u);

    player->PickNewTexture(-4);  // clamped to the first
    EXPECT_EQ(doll->GetPlayerTexture(), "Records/Textures/HeroA.tex");

    // A new doll replaces the old, which goes with its region; so does the player's.
    const std::uint32_t first = doll->GetObjectId();
    player->CreatePaperDoll();
    EXPECT_EQ(objects().GetObject(first), nullptr);
    const std::uint32_t second = player->GetPaperDoll()->GetObjectId();
    player->UpdateSelf(10);
    objects().DestroyObjectEx(player, __FILE__, __LINE__);
    EXPECT_EQ(objects().GetObject(second), nullptr);
}

TEST_F(PlayerPaperDoll, TextsNameTheClassOnlyWhenThePlayerHasOne) {
    LocalizationManager& texts = LocalizationManager::Instance();
    texts.SetText("SimpleStringFormat", L"%s");
    texts.SetText("tagTestClass", L"Duelist");
    auto* bare = objects().CreateObject<Player>();  // no masteries: no class
    bare->SetPlayerName(L"Bo");
    EXPECT_EQ(bare->GetClassTag(), "");
    EXPECT_EQ(bare->GetRolloverDescription(), L"Bo");
    EXPECT_EQ(bare->GetGameDescription(false), L"Bo -  (1)");
    test::PlayerTestAccess::SetClassTag(*bare, "tagTestClass");
    EXPECT_EQ(bare->GetRolloverDescription(), L"Bo ~ Duelist");
    EXPECT_EQ(bare->GetGameDescription(false), L"Bo - Duelist (1)");
}

TEST_F(PlayerPaperDoll, OnlyAGreaterKillReplacesTheGreatestMonsterKilled) {
    auto kill = [this](const wchar_t* name, std::uint32_t level, float life) {
        auto* victim = objects().CreateObject<Player>();
        victim->SetPlayerName(name);
        test::SetCharLevel(*victim, level);
        test::SetLife(*victim, life, life);
        test::SetMana(*victim, 0.0f, 0.0f);
        GameEvent_CreatureDeath event;
        event.objectId = victim->GetObjectId();
        event.attackerId = player->GetObjectId();
        player->OnCreatureDeath(event);
    };
    const PlayStats& stats = player->GetPlayStats();
    kill(L"Ogre", 10, 300.0f);  // 3000
    EXPECT_EQ(stats.GetGreatestMonsterKilledLevel(), 10u);
    EXPECT_EQ(stats.GetGreatestMonsterKilledLifeAndMana(), 300u);
    kill(L"Imp", 20, 100.0f);  // 2000: not greater
    EXPECT_EQ(stats.GetGreatestMonsterKilledLevel(), 10u);
    kill(L"Troll", 5, 700.0f);  // 3500
    EXPECT_EQ(stats.GetGreatestMonsterKilledLevel(), 5u);
    EXPECT_EQ(stats.GetGreatestMonsterKilledLifeAndMana(), 700u);
    EXPECT_EQ(stats.GetGreatestMonsterKilledName(), L"Troll -  (5)");
}

}  // namespace
}  // namespace GAME::test
