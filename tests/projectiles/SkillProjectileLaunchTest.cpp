// A skill's projectiles: the launch every machine makes from the create-projectile command, and
// the hits a projectile reports back, which only the controlling machine turns into a result.
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "Game/skills/projectile/Skill_AttackProjectile.h"
#include "Game/world/projectiles/ProjectileArrowLike.h"
#include "skills/SkillTestSupport.h"
#include "skills/SkillUseProbe.h"

namespace GAME::test {

RTTI_IMPLEMENT(SkillUseProbe, SkillActivated)

namespace {

class LaunchingManager : public RecordingSkillManager {
public:
    LaunchingManager() { ControlWith(capture); }
    CapturingSkillServices capture;
};

class SkillProjectileLaunch : public ::testing::Test {
protected:
    SkillProjectileLaunch() {
        InitializeObjects();
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(records.AddRecordText("Records/SkillUse/Bow.dbr",
                                          R"({"Class": "SkillUseProbe", "skillMaxLevel": 1,
                "skillProjectileName": ["Records/SkillUse/Bolt.dbr"]})"));
        EXPECT_TRUE(
            records.AddRecordText("Records/SkillUse/Bolt.dbr",
                                  R"({"Class": "ProjectileArrowLike", "projectileVelocity": 10,
                "projectileDistance": 20})"));
        region = World::Get().AddRegion(
            std::make_unique<Region>("Field", Vec3(0, 0, 0), Vec3(100, 50, 100)));
        caster = Singleton<ObjectManager>::Get().CreateObject<Character>();
        caster->SetTeam(TeamManager::DefaultPlayerTeam());
        World::Get().AddEntity(caster, At(10, 10), true);
        caster->InitialUpdate();
        manager.SetParent(caster);
        skill = Singleton<ObjectManager>::Get().CreateObjectFromFile<SkillUseProbe>(
            "Records/SkillUse/Bow.dbr");
        skill->SetManager(&manager);
        skill->SetSkillLevel(1);
    }
    ~SkillProjectileLaunch() override { ShutdownObjects(); }

    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 1, z)));
    }

    TestMachine tm;
    LaunchingManager manager;
    Region* region = nullptr;
    Character* caster = nullptr;
    SkillUseProbe* skill = nullptr;
};

TEST_F(SkillProjectileLaunch, TheCommandsIdNamesTheProjectileUnlessItNamesSomethingHere) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const std::uint32_t fresh = objects.CreateObjectID();
    const WorldVec3 aim(region, Vec3(10, 0, 30));
    for (std::uint32_t id : {fresh, caster->GetObjectId()}) {
        const std::size_t before = objects.GetObjectCount();
        skill->CreateProjectile(*caster, 0, At(10, 11), 0, aim, id, 99);
        EXPECT_EQ(objects.GetObjectCount(), before + 1) << "one projectile more, nothing less";
        ASSERT_NE(objects.GetObject<Character>(caster->GetObjectId()), nullptr);
        ProjectileArrowLike* arrow = nullptr;
        for (std::uint32_t each : objects.GetObjectIds())
            if (auto* a = objects.GetObject<ProjectileArrowLike>(each); a && a->IsInWorld())
                arrow = a;
        ASSERT_NE(arrow, nullptr);
        EXPECT_EQ(arrow->GetObjectId() == id, id == fresh);
        EXPECT_EQ(arrow->GetInfo().skillId, skill->GetObjectId());
        EXPECT_EQ(arrow->GetInfo().casterId, caster->GetObjectId());
        EXPECT_EQ(arrow->GetInfo().targetPosition, aim);
        EXPECT_EQ(arrow->GetInfo().team, caster->GetTeam());
        EXPECT_EQ(arrow->GetState(), ProjectileArrowLike::Flying);
        arrow->DeleteProjectile();
    }
    EXPECT_EQ(tm.CountLog("is in use here; a fresh one is taken"), 1);
}

TEST_F(SkillProjectileLaunch, AProjectileAttackLaunchesItsOwnRecordOrSaysItCannot) {
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/SkillUse/Dart.dbr",
                                      R"({"Class": "Skill_AttackProjectile", "skillMaxLevel": 1,
                "skillProjectileName": ["Records/SkillUse/Bolt.dbr"]})"));
    ASSERT_TRUE(records.AddRecordText("Records/SkillUse/Dud.dbr",
                                      R"({"Class": "Skill_AttackProjectile", "skillMaxLevel": 1,
                "skillProjectileName": ["Records/SkillUse/Nothing.dbr"]})"));
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const char* record : {"Records/SkillUse/Dart.dbr", "Records/SkillUse/Dud.dbr"}) {
        auto* dart = objects.CreateObjectFromFile<Skill_AttackProjectile>(record);
        ASSERT_NE(dart, nullptr);
        dart->SetManager(&manager);
        dart->SetSkillLevel(1);
        const std::uint32_t id = objects.CreateObjectID();
        dart->CreateProjectile(*caster, 1, At(10, 11), 0, WorldVec3(region, Vec3(10, 0, 30)), id,
                               5);
        auto* arrow = objects.GetObject<ProjectileArrowLike>(id);
        EXPECT_EQ(arrow != nullptr, record == std::string("Records/SkillUse/Dart.dbr"));
        if (arrow) {
            EXPECT_EQ(arrow->GetInfo().skillId, dart->GetObjectId());
        }
    }
    EXPECT_EQ(tm.CountLog("Failed to spawn projectile ("), 1);
}

struct ReportCase {
    const char* name;
    bool controlling;
    bool casterExists;
    std::size_t targets;
    std::size_t results;
};

class ProjectileReports : public SkillProjectileLaunch,
                          public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ProjectileReports, BecomeAResultOnlyOnTheControllingMachineAndOnlyWithTargets) {
    const ReportCase& c = GetParam();
    manager.SetControlling(c.controlling);
    ProjectileInfo info;
    info.skillId = skill->GetObjectId();
    info.casterId = c.casterExists ? caster->GetObjectId() : 12345;
    std::vector<std::uint32_t> targets(c.targets, 7u);
    manager.capture.IncHitIteration();
    skill->TargetInformation(info, At(0, 0), targets);
    ASSERT_EQ(manager.capture.results.size(), c.results);
    if (c.results) {
        EXPECT_EQ(manager.capture.results[0].targets, targets);
        EXPECT_FALSE(manager.capture.results[0].useWeapon);
        EXPECT_EQ(manager.capture.GetHitIteration(), 0u) << "a projectile's hit charges nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectileReports,
                         ::testing::Values(ReportCase{"Controlling", true, true, 2, 1},
                                           ReportCase{"NothingFound", true, true, 0, 0},
                                           ReportCase{"ElsewhereNothingIsSent", false, true, 2, 0},
                                           ReportCase{"CasterGone", true, false, 2, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace GAME::test
