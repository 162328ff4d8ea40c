// A server's monster with a charging weapon-pool attack, a shock wave and a lightning strike,
// watched on the server and a client: the charge, the finale, the wave's reach and the bolt's
// victims come out the same on both, frame by frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/actions/AttackAction.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/pool/Skill_WeaponPool.h"
#include "Game/skills/radius/Skill_AttackRadius.h"
#include "characters/anim/AnimationTestClips.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace pool_radius_net {

// Made in this order, so that the ids the object manager hands the skills never meet them.
constexpr std::uint32_t kNear = 0x0F000001;    // 2 m from the caster
constexpr std::uint32_t kMiddle = 0x0F000002;  // 4.5 m
constexpr std::uint32_t kFar = 0x0F000003;     // 7 m, outside the wave
constexpr std::uint32_t kCaster = 0x0F000100;
constexpr int kFrameMs = 33;
constexpr std::uint32_t kPool = 0;  // skill references of the caster
constexpr std::uint32_t kWave = 2;
constexpr std::uint32_t kPoolBolt = 3;

constexpr const char* kCasterRecord = R"({"Class": "Character", "characterLife": 500,
    "characterMana": 500, "characterOffensiveAbility": 100, "characterAttackSpeed": 1.0,
    "combatManagerRecord": "Records/Combat/Standard.dbr",
    "unarmedAttackAnim1": "AnimTest/Swing.anm", "unarmedAttackAnimWeight1": 100,
    "unarmedSpellAttackAnim": "AnimTest/Cast.anm",
    "skillName1": "Records/NetPool/Finale.dbr", "skillLevel1": 1,
    "skillName2": "Records/NetPool/Swing.dbr", "skillLevel2": 1,
    "skillName3": "Records/NetPool/Wave.dbr", "skillLevel3": 1,
    "skillName4": "Records/NetPool/Bolt.dbr", "skillLevel4": 1})";
// Full at two charges; the finale strikes far harder than a pooled swing.
constexpr const char* kFinale = R"({"Class": "Skill_WeaponPool_ChargedFinale",
    "skillMaxLevel": 1, "skillChargeLevel": [2], "skillChargeDuration": [5, 5],
    "offensivePhysicalMin": [200], "offensivePhysicalMax": [200]})";
constexpr const char* kSwing = R"({"Class": "Skill_WPAttack_BasicAttack", "skillMaxLevel": 1,
    "skillChanceWeight": [100], "offensivePhysicalMin": [5], "offensivePhysicalMax": [5]})";
// 100 ms per metre, 5 m.
constexpr const char* kWaveRecord = R"({"Class": "Skill_AttackRadius", "skillMaxLevel": 1,
    "expansionTime": [0.1], "skillTargetRadius": [5], "skillManaCost": [20],
    "offensivePhysicalMin": [10], "offensivePhysicalMax": [10]})";
constexpr const char* kBoltRecord = R"({"Class": "Skill_AttackRadiusLightning",
    "skillMaxLevel": 1, "skillTargetRadius": [3], "offensivePhysicalMin": [10],
    "offensivePhysicalMax": [10]})";
constexpr const char* kVictimRecord = R"({"Class": "Character", "characterLife": 1000,
    "combatManagerRecord": "Records/Combat/Standard.dbr"})";

class PoolAndRadiusOverNetwork : public ::testing::Test {
protected:
    PoolAndRadiusOverNetwork() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            AddAnimationTestClips();
            auto& records = Singleton<RecordDatabase>::Get();
            for (auto [name, text] : {std::pair{"Records/NetPool/Caster.dbr", kCasterRecord},
                                      std::pair{"Records/NetPool/Finale.dbr", kFinale},
                                      std::pair{"Records/NetPool/Swing.dbr", kSwing},
                                      std::pair{"Records/NetPool/Wave.dbr", kWaveRecord},
                                      std::pair{"Records/NetPool/Bolt.dbr", kBoltRecord},
                                      std::pair{"Records/NetPool/Victim.dbr", kVictimRecord}})
                EXPECT_TRUE(records.AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, x] :
                 {std::pair{kNear, 12.0f}, std::pair{kMiddle, 14.5f}, std::pair{kFar, 17.0f}})
                AddToWorld(MakeFighter(id, x, "Records/NetPool/Victim.dbr"));
            Character* caster = MakeFighter(kCaster, 10.0f, "Records/NetPool/Caster.dbr");
            EXPECT_NE(caster, nullptr);
            if (!caster)
                continue;
            caster->GetSkillManager().LoadSkills("Records/NetPool/Caster.dbr", 4);
            caster->SetTeam(TeamManager::DefaultMonsterTeam());
            AddToWorld(caster);
        }
        ON_MACHINE(game.Server()) {
            Find(kCaster)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~PoolAndRadiusOverNetwork() override { game.OnEach(ShutdownObjects); }
    static void AddToWorld(Character* c) {
        EXPECT_NE(c, nullptr);
        if (!c)
            return;
        if (c->GetObjectId() != kCaster)
            c->SetTeam(TeamManager::DefaultPlayerTeam());
        World::Get().AddEntity(c, c->GetCoords(), true);
    }
    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kNear, kMiddle, kFar, kCaster}) {
                Find(id)->UpdateSelf(kFrameMs);
                Find(id)->PreAnimationUpdate(kFrameMs);
            }
        });
    }
    template <class T>
    static T* CasterSkill(std::uint32_t reference) {
        SkillManager& skills = Find(kCaster)->GetSkillManager();
        return Singleton<ObjectManager>::Get().GetObject<T>(
            skills.GetSkillIdFromReference(reference));
    }
    // The server's caster swings the pool skill at the victim; the client runs the swing from
    // its packet.
    void Swing(std::uint32_t victim) {
        ON_MACHINE(game.Server()) {
            auto attack = std::make_unique<AttackAction>(
                kCaster, victim, Find(victim)->GetPosition(), kPool, std::uint16_t{9});
            ASSERT_TRUE(SendCharacterAction(*attack));
            Find(kCaster)->GetActionHandler().Execute(std::move(attack));
        }
        game.Pump();
        Frames(1000 / kFrameMs + 2);
    }
    std::vector<float> Lives(std::uint32_t id) {
        return game.OnEach([id] { return Find(id)->GetCurrentLife(); });
    }
    static void ExpectSame(const std::vector<float>& values, const char* what) {
        for (float value : values)
            EXPECT_EQ(value, values[0]) << what;
    }

    NetTestGame game;
};

TEST_F(PoolAndRadiusOverNetwork, ThePoolChargesTwiceThenSpendsItsFinaleEverywhere) {
    // Pooled swings near the caster: each hit adds a charge until the level's two.
    ON_MACHINE(game.Server()) {
        Find(kNear)->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(11, 0, 10))));
    }
    ON_MACHINE(game.Client(0)) {
        Find(kNear)->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(11, 0, 10))));
    }
    const std::vector<int> expectedCharge = {1, 2, 0};
    float before = Lives(kNear)[0];
    std::vector<float> losses;
    for (int charge : expectedCharge) {
        Swing(kNear);
        const std::vector<int> charges = game.OnEach([] {
            return CasterSkill<Skill_WeaponPool_ChargedFinale>(kPool)->GetActiveState().subLevel;
        });
        for (int seen : charges)
            EXPECT_EQ(seen, charge);
        const std::vector<float> lives = Lives(kNear);
        ExpectSame(lives, "victim's life");
        losses.push_back(before - lives[0]);
        before = lives[0];
    }
    // Two pooled swings of the same strength, then the finale's far heavier blow.
    ASSERT_EQ(losses.size(), 3u);
    EXPECT_GT(losses[0], 0.0f);
    EXPECT_EQ(losses[0], losses[1]);
    EXPECT_GT(losses[2], 10.0f * losses[0]);
}

TEST_F(PoolAndRadiusOverNetwork, TheWaveReachesEachFoeInItsTimeAndStopsAtItsRadius) {
    const float full = Lives(kNear)[0];
    ON_MACHINE(game.Server()) {
        CasterSkill<Skill_AttackRadius>(kWave)->ActivateNow(*Find(kCaster), Name(), 0,
                                                            Find(kCaster)->GetPosition());
    }
    game.Pump();
    // The frame in which each foe is first seen hurt, per machine.
    struct Reach {
        std::uint32_t foe;
        int firstHurtFrame;  // -1: never
    };
    std::vector<std::vector<int>> firstHurt(3, std::vector<int>(2, -1));
    const std::uint32_t foes[] = {kNear, kMiddle, kFar};
    for (int frame = 1; frame <= 25; ++frame) {
        Frames(1);
        for (std::size_t f = 0; f < 3; ++f) {
            const std::vector<float> lives = Lives(foes[f]);
            for (std::size_t m = 0; m < lives.size(); ++m)
                if (lives[m] < full && firstHurt[f][m] < 0)
                    firstHurt[f][m] = frame;
        }
        if (frame == 3)
            ON_MACHINE(game.Server()) {
                Skill_AttackRadius* wave = CasterSkill<Skill_AttackRadius>(kWave);
                EXPECT_TRUE(wave->IsWaveRunning());
                EXPECT_FALSE(wave->SetAvailability(true, true));
            }
    }
    // 2 m is reached after 200 ms (in the 7th frame: 198 ms is short of it), 4.5 m after
    // 450 ms (the 14th); 7 m lies beyond the 5 m the wave grows to.
    const Reach expected[] = {{kNear, 7}, {kMiddle, 14}, {kFar, -1}};
    for (std::size_t f = 0; f < 3; ++f)
        for (int seen : firstHurt[f])
            EXPECT_EQ(seen, expected[f].firstHurtFrame) << std::hex << expected[f].foe;
    for (std::uint32_t foe : foes)
        ExpectSame(Lives(foe), "foe's life");
    // Paid once on every machine, when the wave started.
    for (float mana : game.OnEach([] { return Find(kCaster)->GetPlayStats().GetManaUsed(); }))
        EXPECT_FLOAT_EQ(mana, 20.0f);
    ON_MACHINE(game.Server()) {
        EXPECT_FALSE(CasterSkill<Skill_AttackRadius>(kWave)->IsWaveRunning());
    }
}

TEST_F(PoolAndRadiusOverNetwork, TheBoltStrikesItsTargetOnceAndTheFoesAroundIt) {
    const float full = Lives(kMiddle)[0];
    ON_MACHINE(game.Server()) {
        // Aimed at the middle foe: the near one stands 2.5 m away, the far one 2.5 m too.
        CasterSkill<Skill_AttackRadiusLightning>(kPoolBolt)->ActivateNow(
            *Find(kCaster), Name(), kMiddle, Find(kMiddle)->GetPosition());
    }
    game.Pump();
    Frames(3);
    for (std::uint32_t foe : {kNear, kMiddle, kFar}) {
        const std::vector<float> lives = Lives(foe);
        ExpectSame(lives, "foe's life");
        EXPECT_LT(lives[0], full) << std::hex << foe;
    }
    // Every foe took one blow of the same fixed strength: the target, inside the radius, too.
    EXPECT_EQ(full - Lives(kMiddle)[0], full - Lives(kNear)[0]);
    for (bool striking : game.OnEach(
             [] { return CasterSkill<Skill_AttackRadiusLightning>(kPoolBolt)->IsStriking(); }))
        EXPECT_FALSE(striking);
}

}  // namespace pool_radius_net
}  // namespace GAME::test
