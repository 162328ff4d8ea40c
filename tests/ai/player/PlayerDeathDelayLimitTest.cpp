// A record's death delay past what a time can hold is held at the longest time (or none, when
// negative) rather than wrapped into an overflowing countdown.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ai/player/PlayerControllerTestSupport.h"

namespace GAME::test {
namespace {

TEST(PlayerDeathDelay, ATimeOutsideTheIntegerRangeIsHeldAtItsEnd) {
    const struct {
        const char* seconds;
        int ms;
    } cases[] = {{"1e30", INT_MAX}, {"3e9", INT_MAX}, {"-1e30", 0}, {"-2", 0}, {"1.5", 1500}};
    for (const auto& c : cases) {
        PlayerControllerRoot root;
        root.Write("Records/Controllers/Player/PlayerController.dbr",
                   std::string(R"({"Class": "ControllerPlayer", "controllerDeathDelay": )") +
                       c.seconds + "}");
        TestMachine tm(root.Root());
        PlayerScene scene;
        ASSERT_TRUE(scene.Start());
        EXPECT_EQ(scene.controller->GetDeathDelay(), c.ms) << c.seconds;
        // Dead and counting down for a while: the countdown stays within its type.
        scene.hero->SetLife(0.0f, 200.0f);
        for (int frame = 0; frame < 200; ++frame)
            scene.Frame(true);
        EXPECT_FALSE(scene.hero->IsAlive() && c.ms == INT_MAX) << c.seconds;
    }
}

}  // namespace
}  // namespace GAME::test
