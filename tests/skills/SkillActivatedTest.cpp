// Activated skills: the controlling machine's target searches (cone, radius, ranged spread) and
// the seeded damage that every machine applies alike.
#include <algorithm>

#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/players/Team.h"
#include "Game/world/WorldRandom.h"
#include "SkillTestSupport.h"
#include "SkillUseProbe.h"

namespace GAME::test {

RTTI_IMPLEMENT(SkillUseProbe, SkillActivated)

namespace {

constexpr const char* kSweep = "Records/SkillUse/Sweep.dbr";
constexpr const char* kUseJab = "Records/SkillUse/Jab.dbr";

class ControllingManager : public RecordingSkillManager {
public:
    ControllingManager() { ControlWith(capture); }
    void SubtractLife(float amount, const PlayStatsDamageType& type) override {
        lifeTaken.emplace_back(amount, type.source);
    }
    CapturingSkillServices capture;
    std::vector<std::pair<float, int>> lifeTaken;
};

class ActivatedSkills : public ::testing::Test {
protected:
    ActivatedSkills() {
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Field", Vec3(100, 0, 0), Vec3(200, 50, 200)));
        caster = Place(10, 10, TeamManager::DefaultPlayerTeam());  // faces +z
        manager.SetParent(caster);
    }
    ~ActivatedSkills() override { ShutdownObjects(); }

    SkillUseProbe& Make(const char* record) {
        auto* skill = Singleton<ObjectManager>::Get().CreateObjectFromFile<SkillUseProbe>(record);
        EXPECT_NE(skill, nullptr) << record;
        skill->SetManager(&manager);
        skill->SetSkillLevel(1);
        return *skill;
    }
    Character* Place(float x, float z, const Team& team) {
        auto* character = Singleton<ObjectManager>::Get().CreateObject<Character>();
        character->SetTeam(team);
        World::Get().AddEntity(character, At(x, z), true);
        character->InitialUpdate();
        return character;
    }
    Character* Foe(float x, float z) { return Place(x, z, TeamManager::DefaultMonsterTeam()); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    std::vector<CapturingSkillServices::Result>& Sent() { return manager.capture.results; }

    TestMachine tm;
    ControllingManager manager;
    Region* region = nullptr;
    Character* caster = nullptr;
};

TEST_F(ActivatedSkills, AConeAttackKeepsTheFirstFoesAndPutsTheGivenTargetLast) {
    SkillUseProbe& sweep = Make(kSweep);  // angle 60, three targets
    const std::uint32_t target = Foe(10, 12)->GetObjectId();
    std::vector<std::uint32_t> cone;
    for (float x : {9.0f, 11.0f, 9.5f, 10.5f})
        cone.push_back(Foe(x, 11.5f)->GetObjectId());
    Foe(10, 7);  // behind the caster

    ASSERT_TRUE(sweep.ExecuteMeleeAttack(*caster, target, WorldVec3(), 0));
    ASSERT_EQ(Sent().size(), 1u);
    const auto& sent = Sent().back();
    ASSERT_EQ(sent.targets.size(), 3u);
    EXPECT_EQ(sent.targets[2], target);
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(std::find(cone.begin(), cone.end(), sent.targets[i]), cone.end());
    EXPECT_TRUE(sent.useWeapon);
    EXPECT_LT(sent.seed, 0x10000u);

    // A target out of reach is dropped: three cone foes serve.
    const std::uint32_t far = Foe(10, 40)->GetObjectId();
    ASSERT_TRUE(sweep.ExecuteMeleeAttack(*caster, far, WorldVec3(), 0));
    const auto& again = Sent().back().targets;
    EXPECT_EQ(again.size(), 3u);
    EXPECT_EQ(std::find(again.begin(), again.end(), far), again.end());
}

TEST_F(ActivatedSkills, WithoutAnAngleOnlyTheFirstFoeStraightAheadIsHit) {
    SkillUseProbe& jab = Make(kUseJab);
    const std::uint32_t beside = Foe(12, 10)->GetObjectId();  // outside the narrow cone
    const std::uint32_t ahead = Foe(10, 11.5f)->GetObjectId();
    const std::uint32_t behindIt = Foe(10.1f, 12.0f)->GetObjectId();
    ASSERT_TRUE(jab.ExecuteMeleeAttack(*caster, 0, WorldVec3(), 0));
    ASSERT_EQ(Sent().back().targets.size(), 1u);
    EXPECT_NE(Sent().back().targets[0], beside);
    EXPECT_TRUE(Sent().back().targets[0] == ahead || Sent().back().targets[0] == behindIt);
    // A given target in reach is the only one.
    ASSERT_TRUE(jab.ExecuteMeleeAttack(*caster, behindIt, WorldVec3(), 0));
    EXPECT_EQ(Sent().back().targets, std::vector<std::uint32_t>{behindIt});

    // Not the controlling machine: no search, nothing sent.
    manager.SetControlling(false);
    EXPECT_FALSE(jab.ExecuteMeleeAttack(*caster, ahead, WorldVec3(), 0));
    EXPECT_FALSE(jab.ExecuteRadiusAttack(*caster, ahead, At(10, 12).GetPosition()));
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(ActivatedSkills, ARadiusAttackSearchesOnlyNearTheUser) {
    SkillUseProbe& sweep = Make(kSweep);  // radius 4
    const std::uint32_t near = Foe(14, 10)->GetObjectId();
    const std::uint32_t target = Foe(25, 10)->GetObjectId();
    Foe(40, 10);

    // Aimed 30 m away: no search, only the given target (within 20 m) is hit.
    ASSERT_TRUE(sweep.ExecuteRadiusAttack(*caster, target, At(40, 10).GetPosition()));
    EXPECT_EQ(Sent().back().targets, std::vector<std::uint32_t>{target});
    EXPECT_FALSE(Sent().back().useWeapon);
    // Aimed close: the foes around the point, then the target.
    ASSERT_TRUE(sweep.ExecuteRadiusAttack(*caster, target, At(15, 10).GetPosition()));
    EXPECT_EQ(Sent().back().targets, (std::vector<std::uint32_t>{near, target}));
    // A search set off while this one's list is being sent keeps to its own list.
    manager.capture.onSend = [&] {
        sweep.ExecuteRadiusAttack(*caster, 0, At(15, 10).GetPosition());
    };
    ASSERT_TRUE(sweep.ExecuteRadiusAttack(*caster, target, At(40, 10).GetPosition()));
    ASSERT_EQ(Sent().size(), 4u);
    EXPECT_EQ(Sent()[2].targets, std::vector<std::uint32_t>{near});
    EXPECT_EQ(Sent()[3].targets, std::vector<std::uint32_t>{target});
    // Nothing found and no target: nothing sent.
    EXPECT_FALSE(sweep.ExecuteRadiusAttack(*caster, 0, At(10, 25).GetPosition()));
    EXPECT_EQ(Sent().size(), 4u);
}

TEST_F(ActivatedSkills, RangedSpreadDrawsZYXAndOnlyTheFirstProjectileCarriesTheHit) {
    SkillUseProbe& jab = Make(kUseJab);  // three projectiles
    const WorldVec3 point = At(20, 10).GetPosition();
    manager.capture.IncHitIteration();
    crt_srand(5);
    ASSERT_TRUE(jab.ExecuteRangedAttack(*caster, caster->GetCoords(), 0, point, 0));

    crt_srand(5);
    std::vector<WorldVec3> expected{point};
    for (int i = 0; i < 2; ++i) {
        const float spread = 1.0f;  // 100 m^2 x 0.01
        Vec3 offset;
        offset.z = RandomFloat(-spread, spread);
        offset.y = RandomFloat(-0.8f, 0.0f);
        offset.x = RandomFloat(-spread, spread);
        WorldVec3 aim = point;
        aim.Translate(offset);
        expected.push_back(aim);
    }
    const auto& shots = manager.capture.projectiles;
    ASSERT_EQ(shots.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shots[i].aim, expected[i]) << i;
        EXPECT_EQ(shots[i].hitIteration, i == 0 ? 1u : 0u) << i;
    }
    EXPECT_NE(shots[1].aim, shots[2].aim);
}

TEST_F(ActivatedSkills, EveryMachineDrawsTheSameDamageFromTheSeedInTargetOrder) {
    const std::uint32_t a = Foe(11, 11)->GetObjectId();
    const std::uint32_t b = Foe(9, 11)->GetObjectId();
    const std::uint32_t c = Foe(10, 12)->GetObjectId();
    SkillUseProbe& here = Make(kSweep);
    SkillUseProbe& there = Make(kSweep);

    here.ApplyMeleeDamage(*caster, {a, b}, caster->GetCoords(), 77, 0);
    // A target gone on the other machine draws nothing, so the next one gets the same numbers.
    there.ApplyMeleeDamage(*caster, {a, 4040404u, b}, caster->GetCoords(), 77, 0);
    ASSERT_EQ(here.attacks.size(), 2u);
    EXPECT_EQ(here.attacks, there.attacks);
    EXPECT_NE(here.attacks[0].randoms, here.attacks[1].randoms);

    here.attacks.clear();
    here.ApplyMeleeDamage(*caster, {a, b}, caster->GetCoords(), 78, 0);
    EXPECT_NE(here.attacks[0].randoms, there.attacks[0].randoms);

    // The inherent attack shares the damage in whole percents among several targets.
    here.attacks.clear();
    here.ApplyMeleeDamageInherent(*caster, {a, b, c}, caster->GetCoords(), 77);
    ASSERT_EQ(here.attacks.size(), 3u);
    EXPECT_FLOAT_EQ(here.attacks[2].damagePercent, 33.0f);
    EXPECT_EQ(here.attacks[1].randoms, there.attacks[1].randoms);
    here.attacks.clear();
    here.ApplyMeleeDamageInherent(*caster, {a}, caster->GetCoords(), 77);
    EXPECT_FLOAT_EQ(here.attacks[0].damagePercent, 0.0f);
}

TEST_F(ActivatedSkills, BranchesAimAtFoesThemselvesOrFriends) {
    SkillActivatedBuffSelf self;
    SkillActivatedBuffOther other;
    SkillActivatedWeapon weapon;
    EXPECT_EQ(self.GetTargetType(), SkillTargetType::Self);
    EXPECT_EQ(self.GetSkillType(), 1);
    EXPECT_EQ(other.GetTargetType(), SkillTargetType::Friend);
    EXPECT_EQ(weapon.GetTargetType(), SkillTargetType::Foe);

    Foe(11, 10);
    std::uint32_t target = 0;
    EXPECT_TRUE(self.GetValidTarget(*caster, target, WorldVec3(), true, 5.0f));
    EXPECT_EQ(target, caster->GetObjectId());
    // A disabled skill starts nothing.
    EXPECT_FALSE(self.StartAction(*caster, 0, WorldVec3(), 1));
    EXPECT_FALSE(weapon.StartAction(*caster, 0, WorldVec3(), 1));
}

// A self buff that counts its stops.
class CountingBuff : public SkillActivatedBuffSelf {
public:
    void StopSkill(Character&) override { ++stops; }
    void EndAtStart() { mCooldownAtEnd = false; }
    int stops = 0;
};

TEST_F(ActivatedSkills, ASelfBuffPaysAsItRunsButItsLifeDrainNeverKills) {
    auto& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile("Records/SkillUse/Aura.dbr");
    CountingBuff buff;
    buff.SetManager(&manager);
    buff.Load(objects.GetLoadTable("Records/SkillUse/Aura.dbr"));
    buff.SetSkillLevel(1);

    // The cooldown waits for the buff's end; the mana is paid at its start.
    buff.ApplyCost(true);
    EXPECT_FLOAT_EQ(manager.mana, 90.0f);
    EXPECT_FALSE(buff.IsCoolingDown());
    buff.ApplyCost(false);
    EXPECT_TRUE(buff.IsCoolingDown());
    buff.EndCooldown();
    buff.EndAtStart();
    buff.ApplyCost(true);
    EXPECT_TRUE(buff.IsCoolingDown());

    // Half a second: 10 mana. The user has no life to spare (at most 1), so none is taken.
    ASSERT_LE(caster->GetCurrentLife(), 1.0f);
    buff.ApplyActiveCosts(*caster, 500);
    EXPECT_FLOAT_EQ(manager.mana, 70.0f);
    EXPECT_TRUE(manager.lifeTaken.empty());
    EXPECT_EQ(buff.stops, 0);
    // Mana run out: the buff stops.
    manager.mana = 5.0f;
    buff.ApplyActiveCosts(*caster, 500);
    EXPECT_EQ(buff.stops, 1);
}

}  // namespace
}  // namespace GAME::test
