// Movement goals over the sample level's navigation mesh: a request steps around the bodies of
// the characters holding goals near it, replaces the asker's own goal, forgets dead and gone
// holders and leaves no obstacle behind. Patrol points hide outside the editor.
#include <gtest/gtest.h>

#include "AiTestSupport.h"
#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/world/nav/PathFinder.h"
#include "Game/ai/movement/MovementGoalManager.h"
#include "Game/ai/movement/PatrolPoint.h"

namespace GAME::test {
namespace {

float Apart(const WorldVec3& p, const WorldVec3& q) {
    return Vec2(p.local.x - q.local.x, p.local.z - q.local.z).Length();
}

class MovementGoals : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        meadow = World::Get().GetRegion("Meadow");
    }
    WorldVec3 At(float x, float z) {
        WorldVec3 p(meadow, Vec3(x, 5, z));
        p.PutOnFloor();
        return p;
    }
    std::uint32_t Place(float x, float z) {
        return PlaceCharacter("Records/AI/Foe.dbr", Team::Monster, meadow, At(x, z).local)
            ->GetObjectId();
    }
    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* meadow = nullptr;
    MovementGoalManager goals;
};

TEST_F(MovementGoals, RequestsStepAroundOtherHoldersAndReplaceTheirOwnGoal) {
    const std::uint32_t holder = Place(10, 25), second = Place(5, 5), third = Place(5, 8);
    EXPECT_EQ(goals.GetClosestMovePoint(holder, 0.5f, At(10, 25)), At(10, 25));
    EXPECT_EQ(goals.GetClosestMovePoint(holder, 0.5f, At(10.5f, 25)), At(10.5f, 25));
    ASSERT_EQ(goals.GetGoals().size(), 1u);

    // The holder's body stands on the wanted point: a free place beside it, obstacles gone.
    const WorldVec3 moved = goals.GetClosestMovePoint(second, 0.5f, At(10, 25));
    EXPECT_GE(Apart(moved, At(10, 25)), 0.5f + 0.5f - 1e-3f);
    EXPECT_LT(Apart(moved, At(10, 25)), 3.0f);
    EXPECT_EQ(PathFinder::Get().GetObstacleCount(), 0u);
    EXPECT_FALSE(PathFinder::Get().TestPointCollide(At(10, 25)));
    // Near goals but clear of every body: the wanted point itself.
    EXPECT_LT(Apart(goals.GetClosestMovePoint(third, 0.5f, At(13.5f, 25)), At(13.5f, 25)), 0.01f);
    ASSERT_EQ(goals.GetGoals().size(), 3u);
    EXPECT_EQ(goals.GetGoals()[1].point, moved);
}

TEST_F(MovementGoals, DeadAndGoneHoldersAreForgottenAndReleaseDropsOneGoal) {
    const std::uint32_t dead = Place(10, 25), gone = Place(12, 25), asker = Place(5, 5);
    goals.GetClosestMovePoint(dead, 0.5f, At(10, 25));
    goals.GetClosestMovePoint(gone, 0.5f, At(12, 25));
    auto& objects = Singleton<ObjectManager>::Get();
    objects.GetObject<Character>(dead)->SetLifeState(Character_LifeState::Dead);
    objects.DestroyObject(objects.GetObject(gone));
    EXPECT_EQ(goals.GetClosestMovePoint(asker, 0.5f, At(10, 25)), At(10, 25));
    ASSERT_EQ(goals.GetGoals().size(), 1u);
    goals.ReleaseMoveGoal(dead);
    EXPECT_EQ(goals.GetGoals().size(), 1u);
    goals.ReleaseMoveGoal(asker);
    EXPECT_TRUE(goals.GetGoals().empty());
}

TEST_F(MovementGoals, PatrolPointsHideInTheGameAndAreListedInTheEditor) {
    auto& objects = Singleton<ObjectManager>::Get();
    auto* hidden = static_cast<PatrolPoint*>(objects.CreateObject("PatrolPoint"));
    ASSERT_NE(hidden, nullptr);
    hidden->InitialUpdate();
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_EQ(EditorFilter::Get().GetCategory(hidden->GetObjectId()), -1);
    gEngine->SetEditor(true);
    auto* shown = objects.CreateObject<PatrolPoint>();
    shown->InitialUpdate();
    const std::uint32_t id = shown->GetObjectId();
    EXPECT_TRUE(shown->IsVisible());
    EXPECT_EQ(EditorFilter::Get().GetCategory(id), PatrolPoint::kEditorCategory);
    objects.DestroyObject(shown);
    EXPECT_EQ(EditorFilter::Get().GetCategory(id), -1);
}

}  // namespace
}  // namespace GAME::test
