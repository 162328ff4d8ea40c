// Objects moved by telekinesis: thrown, dropped, summoned and let go.
#include "Engine/media/MediaRecorder.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"
#include "ProjectileTestSupport.h"

namespace GAME::test {
namespace {

class Telekinesis : public ProjectileScene {
protected:
    Telekinesis() {
        AddRecord("Records/Test/Boulder.dbr",
                  R"({"Class": "ProjectileTelekinesis", "projectileVelocity": 15,
                      "initialImpactSound": "Records/Sounds/Effects/Boom.dbr"})");
        AddRecord("Records/Test/Pot.dbr",
                  R"({"Class": "ProjectileTelekinesis", "explodeOnFirstImpact": 1})");
    }
    ProjectileTelekinesis* Make(const char* record, float x, float y, float z) {
        auto* object = Objects().CreateObjectFromFile<ProjectileTelekinesis>(record);
        EXPECT_NE(object, nullptr);
        object->SetBoundingRadius(1.0f);  // its reach when it looks for targets
        ProjectileInfo info = Info(x, y, z, WorldVec3(field, Vec3(x + 10, 0, z)));
        object->LoadInfo(info, 11);
        object->AddProjectileModifier(Own());
        return object;
    }
    std::uint64_t Sounds() const { return MediaRecorder::Get().Count(MediaCall::SoundPlay); }
};

TEST_F(Telekinesis, AThrownObjectReportsFriendAndFoeOnceNeverItsCasterAndBurstsOnImpact) {
    caster->SetCoords(At(10, 0, 30));
    const std::uint32_t friendly = Place(14, 30, Heroes())->GetObjectId();
    const std::uint32_t beast = Place(17, 30, Beasts())->GetObjectId();
    ProjectileTelekinesis* boulder = Make("Records/Test/Boulder.dbr", 10, 1, 30);
    const std::uint32_t id = boulder->GetObjectId();
    const std::uint64_t sounds = Sounds();
    boulder->ProjectileGo();
    EXPECT_EQ(boulder->GetInfo().team.GetTeamMajor(), Team::Hostile);
    float last = 0.0f;
    for (int i = 0; i < 60 && Alive(id); ++i) {
        last = boulder->GetCoords().coords.origin.x;
        Frame(50);
    }
    EXPECT_FALSE(Alive(id));
    EXPECT_GT(last, 19.0f) << "gone where it struck the ground";
    EXPECT_EQ(skill->Hits(), (std::vector<std::uint32_t>{friendly, beast}));
    EXPECT_EQ(Sounds() - sounds, 1u) << "the first impact only";
}

struct DropCase {
    const char* record;
    bool stays;
};

class Drops : public Telekinesis, public ::testing::WithParamInterface<DropCase> {};

TEST_P(Drops, LandIdleAndBlockPathsOnceAtRestOrBurstOnFirstImpact) {
    const DropCase& c = GetParam();
    ProjectileTelekinesis* object = Make(c.record, 30, 4, 30);
    const std::uint32_t id = object->GetObjectId();
    const std::uint64_t sounds = Sounds();
    object->ProjectileFall();
    EXPECT_EQ(object->GetState(), ProjectileTelekinesis::Falling);
    EXPECT_FALSE(object->HasPathObstacle()) << "a moving object blocks nothing";
    Frames(80, 25);
    ASSERT_EQ(Alive(id), c.stays);
    if (!c.stays)
        return;
    EXPECT_EQ(object->GetState(), ProjectileTelekinesis::Idle);
    EXPECT_TRUE(object->IsIdle());
    EXPECT_FALSE(object->IsSimulationEnabled());
    EXPECT_TRUE(object->HasPathObstacle());
    EXPECT_EQ(Sounds() - sounds, 1u) << "bounces after the first impact are silent";
}

INSTANTIATE_TEST_SUITE_P(Kinds, Drops,
                         ::testing::Values(DropCase{"Records/Test/Boulder.dbr", true},
                                           DropCase{"Records/Test/Pot.dbr", false}));

TEST_F(Telekinesis, ASummonedObjectIsLetGoAfterItsComeTimeEvenWithoutItsSkill) {
    ProjectileTelekinesis* boulder = Make("Records/Test/Boulder.dbr", 20, 0.5f, 20);
    World::Get().AddEntity(boulder, At(20, 0.5f, 20), true);
    boulder->ProjectileCome(caster->GetObjectId());
    Objects().DestroyObject(skill);
    EXPECT_TRUE(boulder->IsInUse());
    Frames(299, 50);  // 14.95 s
    EXPECT_TRUE(boulder->IsInUse());
    Frames(2, 50);
    EXPECT_FALSE(boulder->IsInUse());
    EXPECT_EQ(boulder->GetState(), ProjectileTelekinesis::Idle);
}

}  // namespace
}  // namespace GAME::test
