// The projectile attack kinds on the deciding machine: what a burst, a ring or fan, an area
// effect and a drop send, how many and where; the projectiles a ring's spawn command makes; a
// pet-raising skill's pets and the monster's wait for them; the modifier and the small utility
// kinds.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillSpawnIds.h"
#include "Game/skills/modifiers/Skill_ProjectileModifier.h"
#include "Game/skills/projectile/Skill_AttackProjectile.h"
#include "Game/skills/projectile/Skill_AttackProjectileAreaEffect.h"
#include "Game/skills/projectile/Skill_AttackProjectileBurst.h"
#include "Game/skills/projectile/Skill_AttackProjectileRing.h"
#include "Game/skills/projectile/Skill_AttackProjectileSpawnPet.h"
#include "Game/skills/utility/Skill_GiveBonus.h"
#include "Game/skills/utility/Skill_Utility.h"
#include "Game/world/effects/FxPak.h"
#include "Game/world/projectiles/ProjectileBase.h"
#include "Game/world/projectiles/ProjectileTelekinesis.h"
#include "Game/world/props/OrmenosDropZone.h"
#include "skills/SkillTestSupport.h"

namespace GAME::test {
namespace {

struct SentShot {
    WorldCoords origin;
    std::uint32_t target = 0;
    WorldVec3 aim;
    std::uint32_t firstFlag = 0;
    std::uint32_t hitIteration = 0;
};

struct SentSpawn {
    WorldCoords coords;
    std::vector<WorldCoords> places;
    std::vector<std::uint32_t> ids;
};

class KindServices : public RecordingSkillServices {
public:
    void SendTargetResult(std::uint32_t, const std::vector<std::uint32_t>& targets,
                          const WorldCoords&, std::uint32_t, std::uint32_t, bool) override {
        results.push_back(targets);
    }
    void SendCreateProjectile(std::uint32_t, const WorldCoords& origin, std::uint32_t target,
                              const WorldVec3& aim, std::uint32_t, std::uint32_t flag) override {
        shots.push_back({origin, target, aim, flag, GetHitIteration()});
    }
    void SendSpawnObject(std::uint32_t, const WorldCoords& coords, std::uint32_t,
                         const std::vector<WorldCoords>& places,
                         const std::vector<std::uint32_t>& ids, std::uint32_t) override {
        spawns.push_back({coords, places, ids});
    }
    std::vector<std::vector<std::uint32_t>> results;
    std::vector<SentShot> shots;
    std::vector<SentSpawn> spawns;
};

class KindManager : public RecordingSkillManager {
public:
    KindManager() { ControlWith(kinds); }
    KindServices kinds;
};

const std::pair<const char*, const char*> kProjectileRecords[] = {
    {"Records/Kinds/Bolt.dbr", R"({"Class": "ProjectileArrowLike", "projectileVelocity": 10,
        "projectileDistance": 20})"},
    {"Records/Kinds/Boulder.dbr", R"({"Class": "ProjectileTelekinesis"})"},
    {"Records/Kinds/Imp.dbr", R"({"Class": "Monster", "characterLife": 50,
        "combatManagerRecord": "Records/Combat/Standard.dbr"})"},
    {"Records/Kinds/Impact.dbr", R"({"Class": "FxPak"})"},
    {"Records/Kinds/Zone.dbr", R"({"Class": "OrmenosDropZone", "radius": 2.0})"},
};

class ProjectileSkillKinds : public ::testing::Test {
protected:
    ProjectileSkillKinds() {
        for (const auto& [name, text] : kProjectileRecords)
            EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Field", Vec3(0, 0, 0), Vec3(100, 50, 100)));
        caster = Objects().CreateObject<Character>();
        caster->SetTeam(TeamManager::DefaultPlayerTeam());
        World::Get().AddEntity(caster, At(10, 10), true);
        caster->InitialUpdate();
        manager.SetParent(caster);
    }
    ~ProjectileSkillKinds() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    // A skill of class `kind` with the record's other keys, at level 1.
    template <class T>
    T* Make(const std::string& kind, const std::string& keys = "") {
        const std::string name = "Records/Kinds/" + kind + std::to_string(++made) + ".dbr";
        const std::string text = R"({"Class": ")" + kind +
                                 R"(", "skillMaxLevel": 5, "skillProjectileName": )"
                                 R"(["Records/Kinds/Bolt.dbr"])" +
                                 keys + "}";
        EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text));
        auto* skill = Objects().CreateObjectFromFile<T>(name);
        EXPECT_NE(skill, nullptr) << text;
        skill->SetManager(&manager);
        skill->SetSkillLevel(1);
        return skill;
    }
    Character* Place(float x, float z, const Team& team) {
        auto* other = Objects().CreateObject<Character>();
        other->SetTeam(team);
        World::Get().AddEntity(other, At(x, z), true);
        other->InitialUpdate();
        return other;
    }
    // Degrees from the caster's facing (+z) to the coordinates' facing, about the up axis.
    static float Heading(const WorldCoords& coords) {
        const Vec3& z = coords.coords.zAxis;
        return std::atan2(z.x, z.z) * 57.29578f;
    }

    TestMachine tm;
    KindManager manager;
    Region* region = nullptr;
    Character* caster = nullptr;
    int made = 0;
};

// The same angle, whole turns apart.
void ExpectSameAngle(float actual, float expected) {
    const float turns = (actual - expected) / 360.0f;
    EXPECT_NEAR(turns, std::round(turns), 0.001f) << actual << " vs " << expected;
}

TEST_F(ProjectileSkillKinds, ABurstFiresItsCountOneByOneWithinTheDelayAndStopEndsIt) {
    for (const int count : {1, 3, 5}) {
        manager.kinds.shots.clear();
        auto* burst = Make<Skill_AttackProjectileBurst>(
            "Skill_AttackProjectileBurst", R"(, "projectileLaunchNumber": [)" +
                                               std::to_string(count) +
                                               R"(], "projectileLaunchRotation": [20])");
        Character* foe = Place(10, 20, TeamManager::DefaultMonsterTeam());
        burst->ActivateNow(*caster, Name(), foe->GetObjectId(), WorldVec3());
        ASSERT_EQ(manager.kinds.shots.size(), 1u);
        EXPECT_EQ(manager.kinds.shots[0].target, foe->GetObjectId());
        EXPECT_EQ(manager.kinds.shots[0].aim, foe->GetPosition());
        if (count == 5) {
            burst->StopSkill(*caster);
            EXPECT_EQ(burst->GetShotsLeft(), 0);
        }
        // Every follow-up leaves within 100 ms of the one before.
        for (int ms = 0; ms < 100 * count; ms += 10)
            burst->Update(*caster, 10);
        const std::size_t expected = count == 5 ? 1u : static_cast<std::size_t>(count);
        ASSERT_EQ(manager.kinds.shots.size(), expected) << count;
        for (std::size_t i = 1; i < expected; ++i) {
            const SentShot& shot = manager.kinds.shots[i];
            EXPECT_EQ(shot.target, 0u);
            EXPECT_EQ(shot.aim, shot.origin.GetPosition()) << "flies along its own facing";
            EXPECT_LE(std::abs(Heading(shot.origin)), 20.001f);
            EXPECT_EQ(shot.hitIteration, 0u);
        }
    }
}

struct RingCase {
    const char* name;
    const char* kind;
    int count;
    float total;
    std::vector<float> headings;
};

class RingShapes : public ProjectileSkillKinds, public ::testing::WithParamInterface<RingCase> {};

TEST_P(RingShapes, SpreadTheirProjectilesEvenlyFromMinusHalfTheAngle) {
    const RingCase& c = GetParam();
    auto* ring = Make<Skill_AttackProjectileRing>(
        c.kind, R"(, "projectileLaunchNumber": [)" + std::to_string(c.count) +
                    R"(], "projectileLaunchRotation": [)" + std::to_string(c.total) + "]");
    ring->ActivateNow(*caster, Name(), 0, WorldVec3());
    ASSERT_EQ(manager.kinds.spawns.size(), 1u);
    const SentSpawn& spawn = manager.kinds.spawns[0];
    EXPECT_EQ(spawn.coords, caster->GetCoords());
    ASSERT_EQ(spawn.places.size(), c.headings.size());
    ASSERT_EQ(spawn.ids.size(), c.headings.size());
    EXPECT_EQ(ring->GetClientSpawnLimit(), c.headings.size());
    for (std::size_t i = 0; i < c.headings.size(); ++i) {
        ExpectSameAngle(Heading(spawn.places[i]), c.headings[i]);
        EXPECT_FLOAT_EQ(spawn.places[i].coords.origin.y, 1.0f);
        EXPECT_TRUE(IsSkillSpawnIdOfHost(spawn.ids[i], 0));
    }
    std::uint32_t target = 7;
    EXPECT_TRUE(ring->GetValidTarget(*caster, target, WorldVec3(), false, 5.0f));
    EXPECT_EQ(target, c.kind == std::string("Skill_AttackProjectileFan") ? 7u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RingShapes,
    ::testing::Values(
        RingCase{
            "WholeRing", "Skill_AttackProjectileRing", 4, 360.0f, {-180.0f, -90.0f, 0.0f, 90.0f}},
        RingCase{"NoCountIsOne", "Skill_AttackProjectileRing", 0, 90.0f, {-45.0f}},
        RingCase{"Fan", "Skill_AttackProjectileFan", 3, 60.0f, {-30.0f, -10.0f, 10.0f}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectileSkillKinds, ARingsSpawnChargesOnceAndMakesEveryProjectileItCan) {
    auto* ring = Make<Skill_AttackProjectileRing>(
        "Skill_AttackProjectileRing", R"(, "skillManaCost": [10], "skillCooldownTime": [2])");
    const std::vector<std::uint32_t> ids{CreateSkillSpawnId(), CreateSkillSpawnId()};
    // The second place is missing: that projectile leaves from the command's coordinates.
    ring->SkillSpawnObject(*caster, At(10, 10), 0, {At(12, 10)}, ids, 3);
    EXPECT_FLOAT_EQ(manager.mana, 90.0f);
    EXPECT_TRUE(ring->IsCoolingDown());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto* projectile = Objects().GetObject<ProjectileBase>(ids[i]);
        ASSERT_NE(projectile, nullptr);
        EXPECT_EQ(projectile->GetInfo().targetPosition,
                  (i == 0 ? At(12, 10) : At(10, 10)).GetPosition());
    }
}

TEST_F(ProjectileSkillKinds, ADropSendsItsCountWithOneFirstFlagAndFallsWithinItsSquare) {
    auto* drop = Make<Skill_DropProjectileTelekinesis>(
        "Skill_DropProjectileTelekinesis",
        R"(, "numProjectiles": 3, "dropOffset": 4, "dropHeight": 10, "dropHeightDeviation": 5)");
    for (const bool zone : {false, true}) {
        manager.kinds.shots.clear();
        if (zone) {
            auto* marker =
                Objects().CreateObjectFromFile<OrmenosDropZone>("Records/Kinds/Zone.dbr");
            ASSERT_NE(marker, nullptr);
            World::Get().AddEntity(marker, At(25, 10), true);
        }
        manager.kinds.IncHitIteration();
        drop->ActivateNow(*caster, Name(), 0, WorldVec3());
        ASSERT_EQ(manager.kinds.shots.size(), 3u);
        const Vec3 centre = zone ? Vec3(25, 0, 10) : Vec3(10, 0, 10);
        const float reach = zone ? 2.0f : 4.0f;
        for (std::size_t i = 0; i < 3; ++i) {
            const SentShot& shot = manager.kinds.shots[i];
            EXPECT_EQ(shot.firstFlag, i == 0 ? 1u : 0u);
            EXPECT_EQ(shot.hitIteration, i == 0 ? 1u : 0u) << "only the first charges";
            const Vec3 offset = shot.origin.coords.origin - centre;
            EXPECT_LE(std::abs(offset.x), reach);
            EXPECT_LE(std::abs(offset.z), reach);
            EXPECT_GE(offset.y, 10.0f);
            EXPECT_LE(offset.y, 15.0f);
        }
    }
}

TEST_F(ProjectileSkillKinds, ADropPicksItsRecordByTheProjectilesIdAndLetsItFall) {
    auto* plain = Make<Skill_DropProjectileTelekinesis>("Skill_DropProjectileTelekinesis");
    EXPECT_EQ(plain->GetSpecialProjectileName(8), "Records/Kinds/Bolt.dbr");
    auto* drop = Make<Skill_DropProjectileTelekinesis>(
        "Skill_DropProjectileTelekinesis", R"(, "skillProjectileName": ["Records/Kinds/Boulder.dbr",
            "", "Records/Kinds/Bolt.dbr"])");
    EXPECT_EQ(drop->GetSpecialProjectileName(8), "Records/Kinds/Boulder.dbr");
    EXPECT_EQ(drop->GetSpecialProjectileName(9), "Records/Kinds/Bolt.dbr");
    // A boulder lying close by bursts when the next one comes down.
    auto* lying =
        Objects().CreateObjectFromFile<ProjectileTelekinesis>("Records/Kinds/Boulder.dbr");
    ASSERT_NE(lying, nullptr);
    World::Get().AddEntity(lying, At(12, 10), true);
    std::uint32_t id = CreateSkillSpawnId();
    if (id % 2 != 0)
        id = CreateSkillSpawnId();
    drop->CreateProjectile(*caster, 1, At(10, 10), 0, WorldVec3(), id, 4);
    auto* falling = Objects().GetObject<ProjectileTelekinesis>(id);
    ASSERT_NE(falling, nullptr);
    EXPECT_EQ(falling->GetState(), ProjectileTelekinesis::Falling);
    EXPECT_EQ(lying->GetState(), ProjectileTelekinesis::Exploded);
}

TEST_F(ProjectileSkillKinds, AMonstersPetSkillWaitsForItsPetsAndKeepsTheLimit) {
    auto* master = Objects().CreateObjectFromFile<Monster>("Records/Kinds/Imp.dbr");
    ASSERT_NE(master, nullptr);
    master->SetTeam(TeamManager::DefaultMonsterTeam());
    World::Get().AddEntity(master, At(30, 30), true);
    manager.SetParent(master);
    auto* raise = Make<Skill_AttackProjectileSpawnPet>(
        "Skill_AttackProjectileSpawnPet",
        R"(, "spawnObjects": ["Records/Kinds/Imp.dbr"], "petLimit": [1])");
    EXPECT_TRUE(raise->SetAvailability(false, false));
    const std::vector<std::uint32_t> ids{CreateSkillSpawnId(), CreateSkillSpawnId()};
    raise->SkillSpawnObject(*master, At(30, 30), 0, {At(32, 30), At(28, 30)}, ids, 1);
    // The limit is 1: the older pet was released.
    ASSERT_EQ(raise->GetPets(), std::vector<std::uint32_t>{ids[1]});
    EXPECT_FALSE(raise->SetAvailability(false, false));
    auto* pet = Objects().GetObject<Monster>(ids[1]);
    ASSERT_NE(pet, nullptr);
    pet->SetLifeState(Character_LifeState::Dead);
    raise->Update(*master, 10);
    EXPECT_TRUE(raise->GetPets().empty());
    EXPECT_TRUE(raise->SetAvailability(false, false));
}

TEST_F(ProjectileSkillKinds, AProjectileModifierStrikesOnlyWhatWasReachedAndAlwaysShowsItsImpact) {
    auto* modifier = Make<Skill_ProjectileModifier>(
        "Skill_ProjectileModifier", R"(, "projModImpactFxPakName": ["Records/Kinds/Impact.dbr"])");
    ProjectileInfo info;
    info.casterId = caster->GetObjectId();
    auto impacts = [&] {
        std::vector<Entity*> near;
        World::Get().GetEntitiesInSphere(near, region, Sphere{Vec3(20, 0, 20), 5.0f});
        return std::count_if(near.begin(), near.end(), [](Entity* e) { return e->IsA<FxPak>(); });
    };
    std::vector<std::uint32_t> none;
    modifier->TargetInformation(info, At(20, 20), none);
    EXPECT_TRUE(manager.kinds.results.empty());
    EXPECT_EQ(impacts(), 1);
    std::vector<std::uint32_t> struck{caster->GetObjectId()};
    modifier->TargetInformation(info, At(20, 20), struck);
    EXPECT_EQ(manager.kinds.results, std::vector<std::vector<std::uint32_t>>{struck});
    EXPECT_EQ(impacts(), 2);
}

TEST_F(ProjectileSkillKinds, UtilitySkillsActOnlyWithinReach) {
    Character* near = Place(14, 10, TeamManager::DefaultPlayerTeam());
    Character* far = Place(10, 40, TeamManager::DefaultPlayerTeam());
    auto* bonus = Make<Skill_GiveBonus>("Skill_GiveBonus", R"(, "skillProjectileName": [""])");
    auto* swap = Make<Skill_Teleport>("Skill_Teleport");
    for (Skill* skill : {static_cast<Skill*>(bonus), static_cast<Skill*>(swap)}) {
        manager.kinds.results.clear();
        auto* activated = static_cast<SkillActivated*>(skill);
        for (std::uint32_t target : {far->GetObjectId(), 0u, 99999u, near->GetObjectId()})
            activated->ActivateNow(*caster, Name(), target, WorldVec3());
        EXPECT_EQ(manager.kinds.results,
                  std::vector<std::vector<std::uint32_t>>{{near->GetObjectId()}})
            << skill->GetTypeText();
    }
    // Both places are read before either moves.
    const WorldVec3 here = caster->GetPosition();
    const WorldVec3 there = near->GetPosition();
    swap->TargetResult(*caster, {near->GetObjectId()}, caster->GetCoords(), 0, 0, false);
    EXPECT_EQ(caster->GetPosition(), there);
    EXPECT_EQ(near->GetPosition(), here);
}

}  // namespace
}  // namespace GAME::test
