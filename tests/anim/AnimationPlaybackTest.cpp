// Clips advance by the frame step and call the actor back with their events and "End", in
// time order and in the right frame, whatever the step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/AnimationSystem.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "anim/ProbeActor.h"
#include "support/TestMachine.h"

namespace GAME::test {

RTTI_IMPLEMENT(ProbeActor, Actor)

namespace {

constexpr const char* kClips = R"({"clips": {
  "Test/Swing.anm": {"length": 1000, "frameRate": 30, "events": [{"name": "Hit", "time": 400}]},
  "Test/Start.anm": {"length": 500, "frameRate": 20,
                     "events": [{"name": "Begin", "time": 0}, {"name": "Mid", "time": 250}]},
  "Test/Fast.anm": {"length": 1000, "frameRate": 30, "speed": 2.0,
                    "events": [{"name": "Hit", "time": 400}]},
  "Test/Twice.anm": {"length": 600, "events": [{"name": "B", "time": 300},
                     {"name": "A", "time": 100}, {"name": "End", "time": 200}]}
}})";

class AnimationPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Singleton<AnimationLibrary>::Get().AddTableText("test clips", kClips));
        actor = Singleton<ObjectManager>::Get().CreateObject<ProbeActor>();
        ASSERT_NE(actor, nullptr);
    }
    GraphicsAnim* Load(const char* name) { return GraphicsEngine::Get().LoadAnimation(name); }
    // Runs frames 1..count of `step` milliseconds.
    void RunFrames(int count, int step) {
        for (int i = 0; i < count; ++i) {
            ++actor->frame;
            AnimationSystem::Get().Update(step);
        }
    }

    TestMachine tm;
    ProbeActor* actor = nullptr;
};

// The frame in which an event at absolute time t (from the start of play) must arrive.
int FrameOf(int t, int step) {
    return static_cast<int>(std::ceil(static_cast<double>(t) / step));
}

TEST_F(AnimationPlaybackTest, HitThenEndArriveInTheirFramesAtAnyStep) {
    for (int step : {1, 3, 7, 33, 100, 128, 399, 400, 401, 999, 1000, 1500}) {
        SCOPED_TRACE(step);
        actor->heard.clear();
        actor->frame = 0;
        actor->PlayAnimation(0, Load("test/swing.anm"), false, 1.0f, 250);
        RunFrames(2000 / step + 2, step);
        const std::vector<ProbeActor::Heard> expected = {{FrameOf(400, step), 0, "Hit"},
                                                         {FrameOf(1000, step), 0, "End"}};
        EXPECT_EQ(actor->heard, expected);
        EXPECT_FALSE(actor->GetAnimationChannels().IsPlaying(0));
        // A finished clip stays current on its last frame.
        EXPECT_EQ(actor->GetChannelAnimation(0), Load("Test/Swing.anm"));
        EXPECT_EQ(actor->GetChannelFrame(0), 29);
    }
}

TEST_F(AnimationPlaybackTest, LoopsSendEndAtEveryPassInTimeOrder) {
    for (int step : {1, 70, 300, 1000, 2500}) {
        SCOPED_TRACE(step);
        actor->heard.clear();
        actor->frame = 0;
        actor->PlayAnimation(0, Load("Test/Swing.anm"), true, 1.0f, 0);
        const int frames = 10000 / step;
        RunFrames(frames, step);
        std::vector<ProbeActor::Heard> expected;
        for (int pass = 0; 1000 * pass + 400 <= frames * step; ++pass) {
            expected.push_back({FrameOf(1000 * pass + 400, step), 0, "Hit"});
            if (1000 * (pass + 1) <= frames * step)
                expected.push_back({FrameOf(1000 * (pass + 1), step), 0, "End"});
        }
        EXPECT_EQ(actor->heard, expected);
        EXPECT_TRUE(actor->GetAnimationChannels().IsPlaying(0));
    }
}

TEST_F(AnimationPlaybackTest, SpeedsScaleTheClock) {
    // Clip speed 2, play speed 1.5, multiplier 0.5: 1.5 clip ms per frame ms.
    actor->PlayAnimation(1, Load("Test/Fast.anm"), false, 1.5f, 0);
    actor->SetAnimationSpeedMultiplier(1, 0.5f);
    RunFrames(10, 100);
    const std::vector<ProbeActor::Heard> expected = {{3, 1, "Hit"}, {7, 1, "End"}};
    EXPECT_EQ(actor->heard, expected);
}

TEST_F(AnimationPlaybackTest, EventsAtTheStartAndTableEndsAreHandledOnce) {
    actor->PlayAnimation(0, Load("Test/Start.anm"), true, 1.0f, 0);
    RunFrames(1, 0);  // a frame of no time still delivers the clip's first instant
    RunFrames(1, 0);
    RunFrames(2, 250);
    const std::vector<ProbeActor::Heard> started = {
        {1, 0, "Begin"}, {3, 0, "Mid"}, {4, 0, "End"}, {4, 0, "Begin"}};
    EXPECT_EQ(actor->heard, started);

    // Out-of-order events are sorted; an "End" listed in the table is not sent twice.
    actor->heard.clear();
    actor->PlayAnimation(0, Load("Test/Twice.anm"), false, 1.0f, 0);
    RunFrames(1, 600);
    const std::vector<ProbeActor::Heard> twice = {{5, 0, "A"}, {5, 0, "B"}, {5, 0, "End"}};
    EXPECT_EQ(actor->heard, twice);
}

TEST_F(AnimationPlaybackTest, CallbacksMayReplaceOrStopTheClip) {
    GraphicsAnim* swing = Load("Test/Swing.anm");
    GraphicsAnim* start = Load("Test/Start.anm");
    // On "Hit" the actor switches clip: the rest of the swing (its "End") never comes, and the
    // new clip starts on the next frame.
    actor->onEvent = [&](const std::string& event) {
        if (event == "Hit")
            actor->PlayAnimation(0, start, false, 1.0f, 0);
    };
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    RunFrames(1, 2000);
    RunFrames(1, 600);
    const std::vector<ProbeActor::Heard> replaced = {
        {1, 0, "Hit"}, {2, 0, "Begin"}, {2, 0, "Mid"}, {2, 0, "End"}};
    EXPECT_EQ(actor->heard, replaced);

    actor->heard.clear();
    actor->onEvent = [&](const std::string&) { actor->StopAnimations(); };
    actor->PlayAnimation(0, swing, true, 1.0f, 0);
    RunFrames(3, 1000);
    ASSERT_EQ(actor->heard.size(), 1u);
    EXPECT_FALSE(actor->GetAnimationChannels().IsAnyPlaying());
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 0u);
}

// A clip that one actor's event starts on another waits for the next step, whether the other
// actor is listed before or after it: the order of the list must not decide how far it runs.
TEST_F(AnimationPlaybackTest, ClipsStartedByAnotherActorsEventWaitForTheNextStep) {
    auto& objects = Singleton<ObjectManager>::Get();
    ProbeActor* before = objects.CreateObject<ProbeActor>();
    ProbeActor* after = objects.CreateObject<ProbeActor>();
    GraphicsAnim* swing = Load("Test/Swing.anm");
    GraphicsAnim* twice = Load("Test/Twice.anm");
    actor->onEvent = [&](const std::string& event) {
        if (event == "Hit")
            for (ProbeActor* other : {before, after})
                other->PlayAnimation(0, swing, false, 1.0f, 0);
    };
    // Listed in this order: before, the striker, after.
    before->PlayAnimation(0, twice, true, 1.0f, 0);
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    after->PlayAnimation(0, twice, true, 1.0f, 0);
    auto hits = [](const ProbeActor* a) {
        return std::count_if(a->heard.begin(), a->heard.end(),
                             [](const ProbeActor::Heard& h) { return h.event == "Hit"; });
    };
    RunFrames(1, 400);
    for (const ProbeActor* other : {before, after}) {
        EXPECT_EQ(other->GetAnimationChannels().GetChannel(0)->anim, swing);
        EXPECT_EQ(other->GetAnimationChannels().GetChannel(0)->timeMs, 0.0);
        EXPECT_EQ(hits(other), 0);
    }
    RunFrames(1, 400);
    EXPECT_EQ(hits(before), 1);
    EXPECT_EQ(hits(after), 1);
}

TEST_F(AnimationPlaybackTest, ActorsDestroyedByEventsAreDroppedSafely) {
    auto& objects = Singleton<ObjectManager>::Get();
    ProbeActor* self = objects.CreateObject<ProbeActor>();
    ProbeActor* victim = objects.CreateObject<ProbeActor>();
    // One actor goes on its own "Hit"; another takes a later-listed actor with it.
    self->onEvent = [&](const std::string&) { objects.DestroyObjectEx(self, __FILE__, __LINE__); };
    actor->onEvent = [&](const std::string&) {
        if (victim) {
            objects.DestroyObjectEx(victim, __FILE__, __LINE__);
            victim = nullptr;
        }
    };
    self->PlayAnimation(0, Load("Test/Swing.anm"), true, 1.0f, 0);
    actor->PlayAnimation(0, Load("Test/Swing.anm"), false, 1.0f, 0);
    victim->PlayAnimation(0, Load("Test/Swing.anm"), false, 1.0f, 0);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 3u);
    RunFrames(3, 500);
    const std::vector<ProbeActor::Heard> heard = {{1, 0, "Hit"}, {2, 0, "End"}};
    EXPECT_EQ(actor->heard, heard);
    EXPECT_EQ(objects.GetObject(victim ? victim->GetObjectId() : 0), nullptr);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 0u);
}

// Channels leave the frame's list when they stop and join again when they start: whether started
// twice, or stopped and restarted by their own event in the frame, they are listed once and
// advance once per step.
TEST_F(AnimationPlaybackTest, RestartedChannelsAreListedOnceAndAdvanceOncePerStep) {
    GraphicsAnim* swing = Load("Test/Swing.anm");
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    RunFrames(2, 600);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 0u);

    actor->heard.clear();
    actor->frame = 0;
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 1u);
    RunFrames(3, 200);
    EXPECT_EQ(actor->heard, (std::vector<ProbeActor::Heard>{{2, 0, "Hit"}}));

    // Stopped and started again inside its own callback: still one entry, one advance a step.
    actor->heard.clear();
    actor->frame = 0;
    actor->onEvent = [&](const std::string& event) {
        if (event != "Hit")
            return;
        actor->StopAnimations();
        actor->PlayAnimation(0, swing, false, 1.0f, 0);
    };
    actor->PlayAnimation(0, swing, false, 1.0f, 0);
    RunFrames(1, 500);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 1u);
    actor->onEvent = nullptr;
    RunFrames(1, 300);
    EXPECT_EQ(actor->GetAnimationChannels().GetChannel(0)->timeMs, 300.0);
}

TEST_F(AnimationPlaybackTest, UnknownClipsAreNullAndLoggedOnceAndUsesAreCounted) {
    EXPECT_EQ(Load("Test/Missing.anm"), nullptr);
    EXPECT_EQ(Load("TEST\\missing.anm"), nullptr);
    EXPECT_EQ(tm.CountLog("unknown animation"), 1);
    actor->PlayAnimation(0, nullptr, false, 1.0f, 0);
    actor->PlayAnimation(7, Load("Test/Swing.anm"), false, 1.0f, 0);
    EXPECT_EQ(AnimationSystem::Get().GetActiveCount(), 0u);

    GraphicsEngine& graphics = GraphicsEngine::Get();
    GraphicsAnim* a = Load("Test/Swing.anm");
    GraphicsAnim* b = Load("test/SWING.anm");
    EXPECT_EQ(a, b);
    EXPECT_EQ(graphics.GetUseCount(a), 3);  // the one above too
    graphics.UnloadAnimation(a);
    graphics.UnloadAnimation(b);
    graphics.UnloadAnimation(a);
    graphics.UnloadAnimation(a);  // one too many changes nothing
    EXPECT_EQ(graphics.GetUseCount(a), 0);
    // The default clip always exists, even without tables.
    GraphicsAnim* fallback = Load(GraphicsAnim::GetDefaultName());
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->GetLength(), 30);
}

}  // namespace
}  // namespace GAME::test
