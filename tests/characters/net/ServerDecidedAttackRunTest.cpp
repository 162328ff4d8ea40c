// Two machines: the server decides that a monster runs around the meadow's wall to a foe and
// swings at it. Both actions travel as character-action packets over the loopback network; the
// client follows the same path frame by frame, the swing's "Hit" reaches the attack on both
// machines in the same frame, and the damage, mana and cooldown it causes agree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/world/World.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/weapon/Skill_AttackWeapon.h"
#include "characters/MovementTestSupport.h"
#include "characters/anim/AnimationTestClips.h"
#include "support/NetTestGame.h"

namespace GAME::test {

// The monster's swing: notes the game time of every hit that reaches it.
class HitWitnessSkill : public Skill_AttackWeapon {
    RTTI_DECLARE(HitWitnessSkill)
public:
    void HitAction(Character& character, const Name& event, std::uint32_t target,
                   const WorldVec3& point) override {
        hitTimes.push_back(gEngine->GetGameTime());
        Skill_AttackWeapon::HitAction(character, event, target, point);
    }
    std::vector<std::uint64_t> hitTimes;
};

RTTI_IMPLEMENT(HitWitnessSkill, Skill_AttackWeapon)

namespace {

using AS = Character_ActionState;

constexpr std::uint32_t kRunner = 0x4100;
constexpr std::uint32_t kFoe = 0x4101;
constexpr float kFoeLife = 300.0f;

// The sample world with a monster that runs on the sample run clip and swings the test clip
// whose "Hit" comes 400 ms in.
class AttackRunData {
public:
    AttackRunData() {
        namespace fs = std::filesystem;
        const fs::path root = copy.Root();
        fs::create_directories(root / "Records/NetRun");
        fs::copy_file(fs::path(TestMachine::TestDataDir()) / "Records/Combat/Standard.dbr",
                      root / "Records/NetRun/Combat.dbr");
        std::ofstream(root / "Records/NetRun/Swing.dbr") << R"({"Class": "HitWitnessSkill",
            "skillMaxLevel": 5, "skillManaCost": [10], "skillCooldownTime": [2.0],
            "offensivePhysicalMin": [20], "offensivePhysicalMax": [40]})";
        std::ofstream(root / "Records/NetRun/Runner.dbr") << R"({"Class": "Character",
            "characterStrength": 50, "characterOffensiveAbility": 100, "characterLife": 300,
            "characterMana": 100, "characterRunSpeed": 1.0, "characterAttackSpeed": 1.0,
            "combatManagerRecord": "Records/NetRun/Combat.dbr",
            "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
            "unarmedAttackAnim1": "AnimTest/Swing.anm", "unarmedAttackAnimWeight1": 100,
            "skillName1": "Records/NetRun/Swing.dbr"})";
        std::ofstream(root / "Records/NetRun/Foe.dbr") << R"({"Class": "Character",
            "characterLife": 300, "characterDefensiveAbility": 60,
            "combatManagerRecord": "Records/NetRun/Combat.dbr"})";
    }
    std::string Root() const { return copy.Root(); }

private:
    SampleWorldCopy copy;
};

Character* Find(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<Character>(id);
}

WorldVec3 MeadowPoint(float x, float z) {
    WorldVec3 p(World::Get().GetRegion("Meadow"), Vec3(x, 5, z));
    p.PutOnFloor();
    return p;
}

Character* Place(const char* record, std::uint32_t id, float x, float z, const Team& team) {
    auto* c = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record, id, true);
    if (!c)
        return nullptr;
    c->InitialUpdate();
    c->SetTeam(team);
    World::Get().AddEntity(
        c, WorldCoords(MeadowPoint(x, z).region, Coords::FromOrigin(MeadowPoint(x, z).local)),
        true);
    c->ResetMovementManager();
    // The first frame fills its life and mana.
    c->UpdateSelf(10);
    c->PreAnimationUpdate(10);
    return c;
}

class ServerDecidedAttackRun : public ::testing::Test {
protected:
    ServerDecidedAttackRun() : game(1, data.Root()) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            AddAnimationTestClips();
            InitializeObjects();
            game.TakeRole(*tm);
            EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
            Character* runner = Place("Records/NetRun/Runner.dbr", kRunner, 10, 25,
                                      TeamManager::DefaultMonsterTeam());
            Place("Records/NetRun/Foe.dbr", kFoe, 33, 25, TeamManager::DefaultPlayerTeam());
            EXPECT_NE(runner, nullptr);
            if (!runner)
                continue;
            runner->GetSkillManager().LoadSkills("Records/NetRun/Runner.dbr", 1);
            if (Skill* swing = SwingOf(*runner))
                swing->ReceiveStateUpdate(SkillState(1, true), true);
        }
        // The server's monster decides its skills' results.
        ON_MACHINE(game.Server()) {
            Find(kRunner)->GetSkillManager().SetAsControllingManager();
        }
    }
    ~ServerDecidedAttackRun() override { game.OnEach(ShutdownObjects); }

    static HitWitnessSkill* SwingOf(Character& c) {
        return Singleton<ObjectManager>::Get().GetObject<HitWitnessSkill>(
            c.GetSkillManager().FindSkillId("Records/NetRun/Swing.dbr"));
    }
    // What the server decides between two frames: it sends the action and runs it itself.
    void ServerDecides(std::unique_ptr<CharacterActionBase> action) {
        ON_MACHINE(game.Server()) {
            ASSERT_TRUE(SendCharacterAction(*action));
            Find(kRunner)->GetActionHandler().Execute(std::move(action));
        }
        game.Pump();
    }
    // One frame everywhere (each machine's engine frame, then its characters), then what the
    // runner did, per machine.
    struct Sample {
        Vec3 position;
        AS state = AS::Unknown;
        float foeLife = 0.0f;
        float mana = 0.0f;
        float manaPaid = 0.0f;
        int cooldown = 0;
        std::size_t hits = 0;
        bool attacking = false;
    };
    std::vector<Sample> Frame() {
        game.RunFrames(1, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kRunner, kFoe}) {
                Find(id)->UpdateSelf(kFrameMs);
                Find(id)->PreAnimationUpdate(kFrameMs);
            }
        });
        return game.OnEach([] {
            Character* runner = Find(kRunner);
            HitWitnessSkill* swing = SwingOf(*runner);
            return Sample{runner->GetCoords().coords.origin,
                          runner->GetActionState(),
                          Find(kFoe)->GetCurrentLife(),
                          runner->GetCurrentMana(),
                          runner->GetPlayStats().GetManaUsed(),
                          swing->GetCooldownRemaining(),
                          swing->hitTimes.size(),
                          runner->GetActionHandler().IsActive()};
        });
    }

    AttackRunData data;
    NetTestGame game;
};

TEST_F(ServerDecidedAttackRun, RunsAroundTheWallAndHitsInTheSameFrameOnBothMachines) {
    WorldVec3 start, foeAt, before;
    ON_MACHINE(game.Server()) {
        start = Find(kRunner)->GetPathPosition();
        foeAt = Find(kFoe)->GetPosition();
        before = MeadowPoint(31.3f, 25);
    }
    // Towards the foe behind the wall, with the swing: the run ends within its reach.
    ServerDecides(std::make_unique<MoveToAction>(kRunner, start, before, kFoe, 0, 1.0f));
    int frames = 0;
    float travelled = 0.0f;
    Vec3 last = start.local;
    std::vector<Sample> now;
    do {
        now = Frame();
        ASSERT_EQ(now[0].position, now[1].position) << "frame " << frames;
        ASSERT_EQ(now[0].state, now[1].state) << "frame " << frames;
        // Never through the wall (x 20..22, z 10..40).
        const Vec3& p = now[0].position;
        EXPECT_FALSE(p.x > 20.0f && p.x < 22.0f && p.z > 10.0f && p.z < 40.0f) << frames;
        travelled += Vec2(p.x - last.x, p.z - last.z).Length();
        last = p;
    } while (now[0].state == AS::Move && ++frames < 600);
    EXPECT_EQ(now[0].state, AS::ForcedStop);
    // Around an end of the wall, not straight through it (23 m).
    EXPECT_GT(travelled, 30.0f);
    EXPECT_LT(Vec2(last.x - foeAt.local.x, last.z - foeAt.local.z).Length(),
              gGameEngine->GetMeleeRange() + 1.0f + 0.05f);

    ServerDecides(std::make_unique<AttackAction>(kRunner, kFoe, foeAt, 0, std::uint16_t{77}));
    for (AS state : game.OnEach([] { return Find(kRunner)->GetActionState(); }))
        EXPECT_EQ(state, AS::Attack);

    // The clip's "Hit" comes 400 ms in: within the 13th frame of 33 ms, on both machines.
    int hitFrame = -1;
    for (int frame = 1; frame <= 40 && hitFrame < 0; ++frame) {
        now = Frame();
        ASSERT_EQ(now[0].hits, now[1].hits) << "frame " << frame;
        if (now[0].hits > 0)
            hitFrame = frame;
    }
    EXPECT_EQ(hitFrame, 13);
    EXPECT_LT(now[0].foeLife, kFoeLife);
    EXPECT_EQ(now[0].foeLife, now[1].foeLife);

    // The clip's end finishes the attack on both in the same frame.
    int endFrame = -1;
    for (int frame = hitFrame + 1; frame <= 60 && endFrame < 0; ++frame) {
        now = Frame();
        ASSERT_EQ(now[0].attacking, now[1].attacking) << "frame " << frame;
        if (!now[0].attacking)
            endFrame = frame;
    }
    EXPECT_EQ(endFrame, 31);

    // Once the cooldown has run out everywhere, every value agrees; the swing cost once.
    for (int frame = 0; frame < 2000 / kFrameMs + 2; ++frame)
        now = Frame();
    for (const Sample& machine : now) {
        EXPECT_EQ(machine.hits, 1u);
        EXPECT_FLOAT_EQ(machine.manaPaid, 10.0f);
        EXPECT_LE(machine.cooldown, 0);
    }
    EXPECT_EQ(now[0].cooldown, now[1].cooldown);
    EXPECT_EQ(now[0].mana, now[1].mana);
    EXPECT_EQ(now[0].foeLife, now[1].foeLife);
    EXPECT_EQ(now[0].position, now[1].position);
    const auto hitTimes = game.OnEach([] { return SwingOf(*Find(kRunner))->hitTimes; });
    EXPECT_EQ(hitTimes[0], hitTimes[1]);
}

}  // namespace
}  // namespace GAME::test
