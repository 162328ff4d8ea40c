// A held click on a hostile character walks the player to it and strikes with the default attack
// until it dies, decided on the server and replayed on a client: both end with the same
// positions and vitals.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/net/NetworkConnectionManager.h"
#include "Game/core/GameEngine.h"
#include "ai/player/PlayerControllerTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kFightHero = 0x5000;
constexpr std::uint32_t kFoe = 0x5001;

struct Snapshot {
    Vec3 hero;
    Vec3 foe;
    float heroLife = 0.0f;
    float heroMana = 0.0f;
    float foeLife = 0.0f;
    Character_LifeState foeState{};
    bool operator==(const Snapshot&) const = default;
};

TEST(PlayerFight, AHeldClickWalksToAFoeAndStrikesItDeadAlikeOnServerAndClient) {
    PlayerControllerRoot root;
    NetTestGame game(1, root.Root());
    PlayerScene scenes[2];
    for (int i = 0; i < 2; ++i) {
        ON_MACHINE(*game.Machines()[i]) {
            const bool server = i == 0;
            ASSERT_TRUE(scenes[i].Start(kFightHero, server));
            if (server)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            // The copy on the client dies when the server says so.
            scenes[i].PlaceFoe(24, 24, kFoe, server);
        }
    }
    PlayerScene& server = scenes[0];
    Character* foe = server.characters.front();

    int frames = 0;
    bool dead = false;
    game.RunFrames(600, PlayerScene::kFrameMs, [&](TestMachine&, int index) {
        PlayerScene& scene = scenes[index];
        if (index == 0 && foe->IsAlive()) {
            // The button goes down on the foe and stays down.
            scene.controller->SetCombatEnemy(kFoe);
            std::uint32_t target = kFoe;
            scene.controller->HandleActionFromMouse(true, false, false, frames > 0,
                                                    foe->GetPathPosition(), target);
            ++frames;
            // The client hears of the click before its own frame runs: no position correction
            // exists to undo a frame of lag.
            game.Pump();
        }
        dead = dead || !foe->IsAlive();
        scene.UpdateAll(true);
    });
    EXPECT_TRUE(dead);
    EXPECT_LT(frames, 600);

    const std::vector<Snapshot> ends = game.OnEach([] {
        ObjectManager& objects = Singleton<ObjectManager>::Get();
        const auto* hero = objects.GetObject<Character>(kFightHero);
        const auto* foe = objects.GetObject<Character>(kFoe);
        return Snapshot{hero->GetPathPosition().local, foe->GetPathPosition().local,
                        hero->GetCurrentLife(),        hero->GetCurrentMana(),
                        foe->GetCurrentLife(),         foe->GetLifeState()};
    });
    EXPECT_EQ(ends[0], ends[1]);
    EXPECT_LE(ends[0].foeLife, 0.0f);
    EXPECT_NE(ends[0].foeState, Character_LifeState::Alive);
    // The hero stands by the foe it struck.
    EXPECT_LT(Flat(WorldVec3(nullptr, ends[0].hero), WorldVec3(nullptr, ends[0].foe)), 3.0f);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
}

TEST(PlayerFight, AClientsPlayerWhoseLifeRunsOutDiesWhenTheServerSaysSo) {
    // Its client does not decide the death (the server would refuse it); the server does, and
    // both machines then count the same death.
    PlayerControllerRoot root;
    NetTestGame game(1, root.Root());
    PlayerScene scenes[2];
    for (int i = 0; i < 2; ++i) {
        ON_MACHINE(*game.Machines()[i]) {
            const bool server = i == 0;
            ASSERT_TRUE(scenes[i].Start(kFightHero, !server));
            if (server)
                gGameEngine->SetAsNetworkServer();
            else
                gGameEngine->SetAsNetworkClient();
            // A strike lands alike on every machine.
            scenes[i].hero->SubtractLife(scenes[i].hero->GetCurrentLife() + 1.0f,
                                         PlayStatsDamageType{});
        }
    }
    ON_MACHINE(game.Client(0)) {
        scenes[1].UpdateAll(true);
        EXPECT_TRUE(scenes[1].hero->IsAlive()) << "the client decided its own death";
    }
    game.RunFrames(5, PlayerScene::kFrameMs,
                   [&](TestMachine&, int index) { scenes[index].UpdateAll(true); });
    const auto ends = game.OnEach([] {
        auto* hero = Singleton<ObjectManager>::Get().GetObject<Character>(kFightHero);
        return std::pair(hero->GetLifeState(), hero->GetPlayStats().GetDeaths());
    });
    EXPECT_NE(ends[0].first, Character_LifeState::Alive);
    EXPECT_EQ(ends[0], ends[1]);
    EXPECT_EQ(ends[0].second, 1u);
    EXPECT_EQ(game.Server().CountLog("the server decides this action"), 0);
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            ShutdownObjects();
        }
}

}  // namespace
}  // namespace GAME::test
