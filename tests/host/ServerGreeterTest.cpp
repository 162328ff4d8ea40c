#include "Host/ServerGreeter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "HostRunSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// A server and three clients over loopback, each with its game root, as the host runs them.
class ServerGreeterTest : public ::testing::Test {
protected:
    ServerGreeterTest() {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
        }
        ON_MACHINE(game.Server()) {
            greeter.Install();
        }
    }
    ~ServerGreeterTest() override {
        game.OnEach(ShutdownObjects);
        std::fclose(out);
    }

    void Greet(int client, const std::wstring& from) {
        ON_MACHINE(game.Client(client)) {
            gGameEngine->GetNetworkInterface()->HandleChatMessage(from, L"hello", 0, {});
        }
    }
    int Answer() {
        int hosts = 0;
        ON_MACHINE(game.Server()) {
            hosts = greeter.AnswerNewGreetings(out);
        }
        game.Pump();
        return hosts;
    }
    std::vector<std::wstring> WelcomesOf(int client) {
        std::vector<std::wstring> texts;
        ON_MACHINE(game.Client(client)) {
            for (const auto& notification : gGameEngine->GetUINotifications())
                texts.insert(texts.end(), notification.texts.begin(), notification.texts.end());
        }
        return texts;
    }
    std::string Printed() { return WrittenTo(out); }

    NetTestGame game{3};
    ServerGreeter greeter;
    std::FILE* out = std::tmpfile();
};

TEST_F(ServerGreeterTest, EachClientIsWelcomedByItsOwnHostIdAndCountedOnce) {
    ASSERT_NE(out, nullptr);
    Greet(0, L"host 1");
    Greet(1, L"host 2");
    game.Pump();
    EXPECT_EQ(Answer(), 2);
    // Greeting twice, or under another's name, counts once and is answered with the real id.
    Greet(0, L"host 1");
    Greet(2, L"host 2");
    game.Pump();
    EXPECT_EQ(Answer(), 3);
    EXPECT_EQ(Answer(), 3);

    // The second welcome of host 1 repeats the first, which the notifications keep once.
    EXPECT_EQ(WelcomesOf(0), std::vector<std::wstring>{L"welcome, host 1"});
    EXPECT_EQ(WelcomesOf(1), std::vector<std::wstring>{L"welcome, host 2"});
    EXPECT_EQ(WelcomesOf(2), std::vector<std::wstring>{L"welcome, host 3"});
    const std::string printed = Printed();
    EXPECT_NE(printed.find("gamehost: host 3 as \"host 2\" says \"hello\"\n"), std::string::npos)
        << printed;
    std::size_t fromHost1 = 0;
    for (std::size_t at = 0; (at = printed.find("host 1 as", at)) != std::string::npos; ++at)
        ++fromHost1;
    EXPECT_EQ(fromHost1, 2u);
    EXPECT_EQ(greeter.GetClientsGreeted(), 3);
}

TEST_F(ServerGreeterTest, ControlCharactersOfAGreetingArePrintedEscaped) {
    ASSERT_NE(out, nullptr);
    Greet(0, L"\x1b[2J\rhost 1\n");
    game.Pump();
    EXPECT_EQ(Answer(), 1);
    EXPECT_EQ(Printed(), "gamehost: host 1 as \"\\x1B[2J\\rhost 1\\n\" says \"hello\"\n");
}

}  // namespace
}  // namespace GAME::test
