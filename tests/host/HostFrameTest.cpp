// The host's frame carries the engine's frame steps: clip events reach their actors and ragdolls
// come to rest through the frames of the host loop and of a networked test game, and a paused
// game holds both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/media/physics/PhysicsRagDoll.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Host/HostApp.h"
#include "support/NetTestGame.h"

namespace GAME::test {

// An actor that notes each clip event with the game time it came at.
class FrameProbeActor : public Actor {
    RTTI_DECLARE(FrameProbeActor)
public:
    void AnimationCallback(int channel, const Name& event) override {
        Actor::AnimationCallback(channel, event);
        heard.push_back(event.str() + "@" + std::to_string(gEngine->GetGameTime()));
    }
    std::vector<std::string> heard;
};

RTTI_IMPLEMENT(FrameProbeActor, Actor)

namespace {

constexpr const char* kClips = R"({"clips": {
  "Host/Swing.anm": {"length": 100, "events": [{"name": "Hit", "time": 40}]},
  "Host/Start.anm": {"length": 50, "events": [{"name": "Begin", "time": 0}]}
}})";

class CountingRagDoll : public PhysicsRagDoll {
public:
    using PhysicsRagDoll::PhysicsRagDoll;
    void OnDisabled() override { restedAt.push_back(gEngine->GetGameTime()); }
    std::vector<std::uint64_t> restedAt;
};

// An actor of the current machine already swinging.
FrameProbeActor* SwingingActor() {
    EXPECT_TRUE(Singleton<AnimationLibrary>::Get().AddTableText("host clips", kClips));
    auto* actor = Singleton<ObjectManager>::Get().CreateObject<FrameProbeActor>();
    actor->PlayAnimation(0, GraphicsEngine::Get().LoadAnimation("Host/Swing.anm"), false, 1.0f, 0);
    return actor;
}

TEST(HostFrame, ClipEventsAndRagdollRestsArriveThroughTheHostLoop) {
    TestMachine tm;
    InitializeObjects();
    FrameProbeActor* actor = SwingingActor();
    CountingRagDoll ragDoll(actor);
    ragDoll.Enable(50);

    RunFrame(30);
    EXPECT_TRUE(actor->heard.empty());
    EXPECT_TRUE(ragDoll.restedAt.empty());
    RunFrame(30);
    EXPECT_EQ(actor->heard, (std::vector<std::string>{"Hit@60"}));
    EXPECT_EQ(ragDoll.restedAt, (std::vector<std::uint64_t>{60}));

    // Paused frames add no game time and run no step: a clip started now does not even deliver
    // its event at 0, nor does a ragdoll without rest time come to rest.
    gEngine->SetGameTimePaused(true);
    actor->PlayAnimation(1, GraphicsEngine::Get().LoadAnimation("Host/Start.anm"), false, 1.0f, 0);
    ragDoll.Enable(0);
    for (int i = 0; i < 5; ++i)
        RunFrame(30);
    EXPECT_EQ(gEngine->GetGameTime(), 60u);
    EXPECT_EQ(actor->heard.size(), 1u);
    EXPECT_EQ(ragDoll.restedAt.size(), 1u);
    gEngine->SetGameTimePaused(false);
    RunFrame(30);
    EXPECT_EQ(ragDoll.restedAt, (std::vector<std::uint64_t>{60, 90}));
    RunFrame(30);
    EXPECT_EQ(actor->heard, (std::vector<std::string>{"Hit@60", "Begin@90", "End@120", "End@120"}));
    ShutdownObjects();
}

TEST(HostFrame, EveryMachineOfANetworkedTestGameRunsItsOwnEngineFrame) {
    NetTestGame game(2);
    const std::vector<FrameProbeActor*> actors = game.OnEach([] { return SwingingActor(); });
    game.RunFrames(1, 50);
    for (FrameProbeActor* actor : actors)
        EXPECT_EQ(actor->heard, (std::vector<std::string>{"Hit@50"}));
    game.RunFrames(1, 50);
    for (FrameProbeActor* actor : actors)
        EXPECT_EQ(actor->heard, (std::vector<std::string>{"Hit@50", "End@100"}));
}

}  // namespace
}  // namespace GAME::test
