// A dead player comes back through the respawn activity: the controller starts it, waits for it
// to complete and for the configured death delay, then respawns the player, who stands idle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ai/player/PlayerControllerTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

// 2.5 s is longer than the activity takes to complete (a second of fade and one of loading) and
// shorter than it lives; 6 s outlives the activity, which is deleted once complete.
class PlayerDeath : public ::testing::TestWithParam<int> {};

TEST_P(PlayerDeath, TheRespawnWaitsForTheActivityAndTheDeathDelayThenTheHeroIdles) {
    const int delayMs = GetParam();
    PlayerControllerRoot root;
    root.Write("Records/Controllers/Player/PlayerController.dbr",
               R"({"Class": "ControllerPlayer", "controllerDeathDelay": )" +
                   std::to_string(delayMs / 1000.0) + "}");
    TestMachine tm(root.Root());
    PlayerScene scene;
    ASSERT_TRUE(scene.Start());
    ControllerPlayer& controller = *scene.controller;
    EXPECT_EQ(controller.GetDeathDelay(), delayMs);

    test::SetLife(*scene.hero, 0.0f, 200.0f);
    std::vector<std::string> states;
    int startedAt = -1;
    int respawnedAt = -1;
    for (int frame = 0; frame < 1000; ++frame) {
        scene.Frame(true);
        const std::string state = StateOf(controller);
        if (states.empty() || states.back() != state)
            states.push_back(state);
        if (startedAt < 0 && controller.GetRespawnActivity() != 0)
            startedAt = frame;
        if (respawnedAt < 0 && state == "Respawning")
            respawnedAt = frame;
        if (state == "Idle")
            break;
    }
    // "Dying" ignores the death that follows it.
    const std::vector<std::string> expected = {"Dying", "Respawning", "Idle"};
    EXPECT_EQ(states, expected);
    ASSERT_GE(startedAt, 0);
    // The delay runs from the frame that started the respawn activity, that frame included.
    EXPECT_GE((respawnedAt - startedAt + 1) * PlayerScene::kFrameMs, delayMs);
    EXPECT_TRUE(scene.hero->IsAlive());
    EXPECT_EQ(controller.GetRespawnActivity(), 0u);
    ShutdownObjects();
}

INSTANTIATE_TEST_SUITE_P(Delays, PlayerDeath, ::testing::Values(2500, 6000));

}  // namespace
}  // namespace GAME::test
