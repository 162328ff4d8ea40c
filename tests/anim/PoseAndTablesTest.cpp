// Poses and attach points come from the clip tables' skeletons; bad tables are logged by file,
// entry and field and never stop loading.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Engine/anim/AnimationChannels.h"
#include "Engine/anim/AnimationLibrary.h"
#include "Engine/anim/AnimationSystem.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/anim/Skeleton.h"
#include "Engine/media/graphics/GraphicsEngine.h"
#include "Engine/object/ObjectManager.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

void ExpectNear(const Vec3& actual, const Vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

class PoseTest : public ::testing::Test {
protected:
    void SetUp() override {
        actor = Singleton<ObjectManager>::Get().CreateObject<Actor>();
        actor->SetCoords(WorldCoords(nullptr, Coords::FromOrigin(Vec3(10, 0, 5))));
    }
    Vec3 At(const char* point) const { return actor->GetAttachedCoords(point).coords.origin; }

    TestMachine tm;  // tests/data/Animations/TestSkeleton.json
    Actor* actor = nullptr;
};

TEST_F(PoseTest, AttachPointsFollowTheSkeletonAndTheActor) {
    ExpectNear(At("Target"), Vec3(10, 1.5f, 5));
    ExpectNear(At("L Hand"), Vec3(10.5f, 1, 5));
    ExpectNear(At("Ground"), Vec3(10, 0, 5));
    ExpectNear(At("No Such Point"), Vec3(10, 0, 5));
    EXPECT_TRUE(actor->HasRigidBodyData());

    // Turned a quarter about the vertical axis, the hand swings with the actor.
    Coords turned = Coords::FromAxisAngle(Vec3(0, 1, 0), DegreesToRadians(90.0f));
    turned.origin = Vec3(10, 0, 5);
    actor->SetCoords(WorldCoords(nullptr, turned));
    const WorldCoords hand = actor->GetAttachedCoords("L Hand");
    ExpectNear(hand.coords.origin, turned.TransformPoint(Vec3(0.5f, 1, 0)));
    EXPECT_GT(std::abs(hand.coords.origin.z - 5.0f), 0.4f);
}

TEST_F(PoseTest, FramePosesMoveBonesAlongTheClip) {
    GraphicsAnim* reach = GraphicsEngine::Get().LoadAnimation("Test/Reach.anm");
    ASSERT_NE(reach, nullptr);
    EXPECT_EQ(reach->GetLength(), 10);
    EXPECT_EQ(reach->GetFrameRate(), 10);
    SkeletalPose pose;
    Coords hand;
    reach->GetFramePose(pose, 2.5f, false);
    ASSERT_TRUE(pose.GetAbsCoords(Name::Create("Bone_L_Hand"), hand));
    ExpectNear(hand.origin, Vec3(0.7f, 1, 0));
    reach->GetFramePose(pose, 2.5f, true);
    pose.GetAbsCoords(Name::Create("Bone_L_Hand"), hand);
    ExpectNear(hand.origin, Vec3(0.75f, 1, 0));
    reach->GetFramePose(pose, 99.0f, false);  // clamped to the last frame
    pose.GetAbsCoords(Name::Create("Bone_L_Hand"), hand);
    ExpectNear(hand.origin, Vec3(1.4f, 1, 0));

    // The actor shows its current frame...
    actor->PlayAnimation(0, reach, false, 1.0f, 0);
    AnimationSystem::Get().Update(500);
    EXPECT_EQ(actor->GetChannelFrame(0), 5);
    ExpectNear(At("L Hand"), Vec3(11.0f, 1, 5));
    // ...until a pose of its own is set; an empty pose gives the animated one back.
    SkeletalPose own;
    own.Reset(pose.GetSkeleton());
    ASSERT_TRUE(own.SetBoneCoords(Name::Create("Bone_L_Hand"), Coords::FromOrigin(Vec3(0, 0, 2))));
    EXPECT_FALSE(own.SetBoneCoords(Name::Create("Bone_Tail"), Coords()));
    actor->SetPose(own);
    ExpectNear(At("L Hand"), Vec3(10, 1, 7));
    actor->SetPose(SkeletalPose());
    ExpectNear(At("L Hand"), Vec3(11.0f, 1, 5));
    // Playing again drops a pose of its own.
    actor->SetPose(own);
    actor->PlayAnimation(0, reach, false, 1.0f, 0);
    ExpectNear(At("L Hand"), Vec3(10.5f, 1, 5));
}

// Lifts the hand by `lift` in every animated pose, and tells its channels when that changes.
class LiftingActor : public Actor {
    RTTI_DECLARE(LiftingActor)
public:
    void TweakPose(SkeletalPose& pose) const override {
        Coords hand;
        if (pose.GetBoneCoords(Name::Create("Bone_L_Hand"), hand)) {
            hand.origin.y += lift;
            pose.SetBoneCoords(Name::Create("Bone_L_Hand"), hand);
        }
    }
    // Without a lift the clip's own frame bounds answer.
    bool TweaksPose() const override { return lift != 0.0f; }
    void SetLift(float value) {
        lift = value;
        GetAnimationChannels().TweakChanged();
    }
    float lift = 0.0f;
};
RTTI_IMPLEMENT(LiftingActor, Actor)

// The bounds are kept while the pose cannot have changed; every change of clip, frame, own pose
// or tweak gives the bounds of the pose as it is now (worked out by hand from the skeleton:
// root at 0, spine 1 up, hand 0.5 aside plus a tenth of the reach per frame).
TEST(PoseBounds, KeptBoundsFollowEveryChangeOfThePose) {
    TestMachine tm;
    auto* actor = Singleton<ObjectManager>::Get().CreateObject<LiftingActor>();
    ASSERT_NE(actor, nullptr);
    GraphicsAnim* reach = GraphicsEngine::Get().LoadAnimation("Test/Reach.anm");
    ASSERT_NE(reach, nullptr);
    const Name hand = Name::Create("Bone_L_Hand");
    SkeletalPose forward;
    forward.Reset(reach->GetSkeleton());
    forward.SetBoneCoords(hand, Coords::FromOrigin(Vec3(0, 0, 2)));
    SkeletalPose up = forward;
    up.SetBoneCoords(hand, Coords::FromOrigin(Vec3(0, 3, 0)));
    const struct {
        const char* label;
        std::function<void()> change;
        Vec3 max;
    } steps[] = {
        {"bind pose", [] {}, Vec3(0.5f, 1, 0)},
        {"clip at frame 5",
         [&] {
             actor->PlayAnimation(0, reach, false, 1.0f, 0);
             AnimationSystem::Get().Update(500);
         },
         Vec3(1.0f, 1, 0)},
        {"later in the same frame", [] { AnimationSystem::Get().Update(50); }, Vec3(1.0f, 1, 0)},
        {"frame 7", [] { AnimationSystem::Get().Update(200); }, Vec3(1.2f, 1, 0)},
        {"the tweak lifts the hand", [&] { actor->SetLift(0.5f); }, Vec3(1.2f, 1.5f, 0)},
        {"an own pose, not tweaked", [&] { actor->SetPose(forward); }, Vec3(0, 1, 2)},
        {"another own pose", [&] { actor->SetPose(up); }, Vec3(0, 4, 0)},
        {"own pose dropped", [&] { actor->SetPose(SkeletalPose()); }, Vec3(1.2f, 1.5f, 0)},
        {"played again from the start", [&] { actor->PlayAnimation(0, reach, false, 1.0f, 0); },
         Vec3(0.5f, 1.5f, 0)},
        {"the lift taken back", [&] { actor->SetLift(0.0f); }, Vec3(0.5f, 1, 0)},
        {"frame 3, untweaked", [] { AnimationSystem::Get().Update(300); }, Vec3(0.8f, 1, 0)},
        {"lifted again in the same frame", [&] { actor->SetLift(0.25f); }, Vec3(0.8f, 1.25f, 0)},
    };
    for (const auto& step : steps) {
        step.change();
        Vec3 freshMin, freshMax;
        actor->GetPose().GetBounds(freshMin, freshMax);
        for (int ask = 0; ask < 2; ++ask) {  // the second answer is the kept one
            Vec3 min, max;
            actor->GetPoseBounds(min, max);
            ExpectNear(max, step.max);
            ExpectNear(min, Vec3(0, 0, 0));
            EXPECT_TRUE(min == freshMin && max == freshMax) << step.label;
        }
    }
    Singleton<ObjectManager>::Get().DestroyObjectEx(actor, "PoseAndTablesTest", __LINE__);
}

// A clip's frame bounds are those of its frame's pose, for any frame asked (clamped like the
// pose), asked first or again, and follow a motion added to the clip.
TEST(PoseBounds, ClipFrameBoundsAreThoseOfTheFramesPose) {
    TestMachine tm;
    const Skeleton* skeleton = Singleton<AnimationLibrary>::Get().GetDefaultSkeleton();
    ASSERT_NE(skeleton, nullptr);
    GraphicsAnim clip("Test/Bounds.anm", 1000.0f, 10, 1.0f, skeleton);
    const int hand = skeleton->FindBone(Name::Create("Bone_L_Hand"));
    ASSERT_GE(hand, 0);
    clip.AddBoneMotion(hand, Vec3(2, 0, 0));
    const struct {
        int frame;
        float handX;  // 0.5 aside plus a tenth of the reach per frame, the last frame at most
    } frames[] = {{0, 0.5f}, {4, 1.3f}, {9, 2.3f}, {4, 1.3f}, {-3, 0.5f}, {25, 2.3f}, {9, 2.3f}};
    // The root sinks by `drop` over the pass, the spine and the hand with it.
    auto check = [&](const char* label, float drop) {
        for (const auto& row : frames) {
            SkeletalPose pose;
            clip.GetFramePose(pose, static_cast<float>(row.frame), false);
            Vec3 freshMin, freshMax, min, max;
            pose.GetBounds(freshMin, freshMax);
            clip.GetFrameBounds(row.frame, min, max);
            EXPECT_TRUE(min == freshMin && max == freshMax) << label << " frame " << row.frame;
            const float sunk = drop * static_cast<float>(std::clamp(row.frame, 0, 9)) / 10.0f;
            ExpectNear(min, Vec3(0, -sunk, 0));
            ExpectNear(max, Vec3(row.handX, 1 - sunk, 0));
        }
    };
    check("one motion", 0.0f);
    // Every frame kept so far is stale once the clip gains a motion.
    const int root = skeleton->FindBone(Name::Create("Bone_Root"));
    ASSERT_GE(root, 0);
    clip.AddBoneMotion(root, Vec3(0, -1, 0));
    check("two motions", 1.0f);
}

TEST(AnimationTables, BadEntriesAreLoggedAndSkippedTheRestLoads) {
    TestMachine tm;
    AnimationLibrary& library = Singleton<AnimationLibrary>::Get();
    EXPECT_FALSE(library.AddTableText("garbage.json", "[1, 2"));
    EXPECT_EQ(tm.CountLog("garbage.json is not a JSON object"), 1);

    constexpr const char* kTable = R"({
      "skeletons": {"Bent": {"bones": [
          {"name": "Bone_A", "parent": ""},
          {"name": "Bone_B", "parent": "Bone_Nowhere"},
          {"name": "Bone_C", "parent": "Bone_A", "offset": [1, "x", 0]}],
        "attachPoints": [{"name": "Tip", "bone": "Bone_B"}]}},
      "clips": {
        "Bad/Negative.anm": {"length": -5},
        "Bad/Rate.anm": {"frameRate": 0},
        "Bad/Text.anm": {"length": "long"},
        "Bad/Late.anm": {"length": 100, "skeleton": "Bent",
                         "events": [{"name": "Late", "time": 500}, {"name": "On", "time": 50}]},
        "Bad/NoSkeleton.anm": {"skeleton": "Missing"},
        "Test/Reach.anm": {"length": 5}
      }})";
    EXPECT_TRUE(library.AddTableText("bad.json", kTable));
    EXPECT_EQ(tm.CountLog("bad.json: skeleton Bent: bone \"Bone_B\""), 1);
    EXPECT_EQ(tm.CountLog("bad.json: skeleton Bent: bad offset of bone Bone_C"), 1);
    EXPECT_EQ(tm.CountLog("attach point \"Tip\" skipped"), 1);
    EXPECT_EQ(tm.CountLog("clip Bad/Negative.anm: length"), 1);
    EXPECT_EQ(tm.CountLog("clip Bad/Rate.anm: length"), 1);
    EXPECT_EQ(tm.CountLog("clip Bad/Text.anm: length"), 1);
    EXPECT_EQ(tm.CountLog("clip Bad/Late.anm: event \"Late\""), 1);
    EXPECT_EQ(tm.CountLog("clip Bad/NoSkeleton.anm: unknown skeleton Missing"), 1);
    EXPECT_EQ(tm.CountLog("clip Test/Reach.anm defined twice"), 1);

    EXPECT_EQ(library.FindClip("Bad/Negative.anm"), nullptr);
    EXPECT_EQ(library.FindClip("Bad/Rate.anm"), nullptr);
    EXPECT_EQ(library.FindClip("Bad/Text.anm"), nullptr);
    const GraphicsAnim* late = library.FindClip("bad/late.anm");
    ASSERT_NE(late, nullptr);
    ASSERT_EQ(late->GetEvents().size(), 1u);
    EXPECT_EQ(late->GetEvents()[0].name.str(), "On");
    ASSERT_NE(late->GetSkeleton(), nullptr);
    EXPECT_EQ(late->GetSkeleton()->GetName(), "Bent");
    EXPECT_EQ(library.FindClip("Bad/NoSkeleton.anm")->GetSkeleton(), library.GetDefaultSkeleton());
    // The file's definition came first and stays.
    EXPECT_EQ(library.FindClip("Test/Reach.anm")->GetLengthMs(), 1000.0f);
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST(AnimationTables, TheSampleWorldsTablesLoadCleanly) {
    TestMachine tm(TestMachine::SampleDataDir());
    AnimationLibrary& library = Singleton<AnimationLibrary>::Get();
    EXPECT_GE(library.GetClipCount(), 2u);
    const GraphicsAnim* attack = library.FindClip("Creatures/Anims/Human_Attack.anm");
    ASSERT_NE(attack, nullptr);
    ASSERT_EQ(attack->GetEvents().size(), 1u);
    EXPECT_EQ(attack->GetEvents()[0].name.str(), "Hit");
    const Skeleton* skeleton = library.GetDefaultSkeleton();
    for (const char* point : {"Target", "Head", "Camera", "L Hand", "R Hand"})
        EXPECT_NE(skeleton->FindAttachPoint(Name::Create(point)), nullptr) << point;
    for (const LogLine& line : tm.Log())
        ADD_FAILURE() << line.text;
}

}  // namespace
}  // namespace GAME::test
