// The root's view of the main player and the tracked music targets follows the characters' own
// life state and teleporting flag, not merely whether their objects exist.
#include <gtest/gtest.h>

#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class RootLifeState : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

TEST_F(RootLifeState, PlayerAliveAndWaitingFollowTheMainPlayersStates) {
    GameEngine& root = *gGameEngine;
    EXPECT_FALSE(root.IsPlayerAlive());
    EXPECT_TRUE(root.IsGameWaiting());
    auto* player = Singleton<ObjectManager>::Get().CreateObject<Player>(9);
    ASSERT_NE(player, nullptr);
    root.GetPlayerManagerClient()->SetMainPlayer(9);
    root.SetGameLoading(false);
    EXPECT_TRUE(root.IsPlayerAlive());
    EXPECT_FALSE(root.IsGameWaiting());

    player->SetTeleporting(true);
    EXPECT_TRUE(root.IsGameWaiting());
    player->SetTeleporting(false);
    player->SetLifeState(Character_LifeState::Dying);
    EXPECT_FALSE(root.IsPlayerAlive());
    EXPECT_TRUE(root.IsGameWaiting());
    player->SetLifeState(Character_LifeState::Respawning);
    EXPECT_FALSE(root.IsPlayerAlive());
}

TEST_F(RootLifeState, MusicTracksTheDeathOfAPlayerThatStillExists) {
    GameEngine& root = *gGameEngine;
    auto* player = Singleton<ObjectManager>::Get().CreateObject<Player>(12);
    ASSERT_NE(player, nullptr);
    Jukebox& jukebox = Singleton<Jukebox>::Get();
    jukebox.SetTrackedPlayer(12);
    root.Update(10);
    EXPECT_FALSE(jukebox.IsTrackedPlayerDead());
    player->SetLifeState(Character_LifeState::Dead);
    root.Update(10);
    EXPECT_TRUE(jukebox.IsTrackedPlayerDead());
}

}  // namespace
}  // namespace GAME::test
