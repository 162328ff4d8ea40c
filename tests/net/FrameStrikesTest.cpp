// Strikes in a network game are held until the machines meet and then run in the order of their
// actors' ids, whichever machine decided them and whenever their packets came.
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "TestCommand.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kWolf = 0x3000;
constexpr std::uint32_t kBear = 0x2000;

TallyBook& StruckBook() {
    return Singleton<TallyBook>::Get();
}

void Strike(std::uint32_t actor, const std::string& note) {
    Singleton<ObjectManager>::Get().GetObject<Actor>(actor)->Enqueue(
        std::make_unique<TallyConfigCmd>(actor, 1, note));
}

TEST(FrameStrikes, AloneAStrikeRunsAtOnce) {
    TestMachine tm;
    MakeActor(kHero);
    Strike(kHero, "strike");
    EXPECT_EQ(StruckBook().executions, 1);
    EXPECT_EQ(FrameStrikes::Get().GetHeldCount(), 0u);
}

TEST(FrameStrikes, EveryMachineRunsAFramesStrikesInTheOrderOfTheirActors) {
    // The server's wolf and ogre strike, then a client's hero; the other client hears of the
    // hero's strike only through the server. Plain commands run as they come.
    NetTestGame game(2);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            for (std::uint32_t id : {kHero, kBear, kWolf})
                MakeActor(id);
        }
    ON_MACHINE(game.Server()) {
        Strike(kWolf, "strike wolf 1");
        Strike(kBear, "strike bear");
        Strike(kWolf, "strike wolf 2");
        Strike(kBear, "plain bear");
        EXPECT_EQ(StruckBook().notes, (std::vector<std::string>{"plain bear"}));
        EXPECT_EQ(FrameStrikes::Get().GetHeldCount(), 3u);
    }
    ON_MACHINE(game.Client(0)) {
        Strike(kHero, "strike hero");
        EXPECT_EQ(FrameStrikes::Get().GetHeldCount(), 1u);
    }
    // Delivered, then run on each machine once all have come.
    game.Pump();
    const std::vector<std::string> order{"plain bear", "strike hero", "strike bear",
                                         "strike wolf 1", "strike wolf 2"};
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            EXPECT_EQ(StruckBook().notes, order)
                << "on host " << gEngine->GetNetworkConnectionManager()->GetLocalHostId();
            EXPECT_EQ(FrameStrikes::Get().GetHeldCount(), 0u);
        }
}

TEST(FrameStrikes, TheEnginesNextFrameRunsTheStrikesHeld) {
    NetTestGame game(1);
    ON_MACHINE(game.Server()) {
        MakeActor(kHero);
        Strike(kHero, "strike");
        EXPECT_EQ(StruckBook().executions, 0);
        gEngine->AdvanceFrame(10);
        EXPECT_EQ(StruckBook().executions, 1);
    }
}

TEST(FrameStrikes, AChangeEachMachineMakesItselfWaitsForTheMeetingAndRunsInActorOrder) {
    // The server makes the change in its step, the client only when the news comes: held, it
    // lands among the strikes on both, in one order.
    const auto note = [](std::string text) {
        return [text = std::move(text)] { StruckBook().notes.push_back(text); };
    };
    {
        TestMachine alone;
        FrameStrikes::RunOrHold(kWolf, note("at once"));
        EXPECT_EQ(StruckBook().notes, (std::vector<std::string>{"at once"}));
    }
    NetTestGame game(1);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            for (std::uint32_t id : {kBear, kWolf})
                MakeActor(id);
            FrameStrikes::RunOrHold(kWolf, note("share"));
            Strike(kBear, "strike bear");
            EXPECT_TRUE(StruckBook().notes.empty());
            FrameStrikes::Get().RunHeld();
            EXPECT_EQ(StruckBook().notes, (std::vector<std::string>{"strike bear", "share"}));
        }
}

TEST(FrameStrikes, AStrikeMadeByAnotherCommandIsNotHeld) {
    // Every machine runs the outer command and makes the inner strike itself, at that point.
    struct Outer : TallyConfigCmd {
        using TallyConfigCmd::TallyConfigCmd;
        void Execute() override {
            innerHeld = FrameStrikes::Holds(TallyConfigCmd(kHero, 1, "strike"));
        }
        bool innerHeld = true;
    };
    NetTestGame game(1);
    ON_MACHINE(game.Server()) {
        EXPECT_TRUE(FrameStrikes::Holds(TallyConfigCmd(kHero, 1, "strike")));
        Outer outer(kHero, 1, "outer");
        outer.RunExecute();
        EXPECT_FALSE(outer.innerHeld);
    }
}

}  // namespace
}  // namespace GAME::test
