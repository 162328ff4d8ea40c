// Spells across a server and two clients: a bolt and a chaos beam of the server's caster strike
// alike on every machine, and every machine's beam ends. A hostile client's jump of its own
// player runs only to a place within the skill's reach.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/spell/Skill_AttackSpellChaos.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace spells_net {

constexpr std::uint32_t kMage = 0x0F000100;
constexpr std::uint32_t kHero = (1u << 28) | 0x100;  // host 1's player
constexpr int kFrameMs = 33;
constexpr const char* kNetBolt = "Records/NetSpell/Bolt.dbr";
constexpr const char* kChaos = "Records/NetSpell/Chaos.dbr";

const std::pair<const char*, const char*> kRecords[] = {
    {"Records/NetSpell/Glow.dbr", R"({"Class": "FxPak"})"},
    {"Records/NetSpell/Beam.dbr", R"({"Class": "ChaosBeam"})"},
    {kNetBolt, R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1, "offensivePhysicalMin": [20],
        "offensivePhysicalMax": [40], "skillSpellAura": "Records/NetSpell/Glow.dbr",
        "skillSpellAuraDuration": [3]})"},
    {kChaos, R"({"Class": "Skill_AttackSpellChaos", "skillMaxLevel": 1,
        "offensivePhysicalMin": [20], "offensivePhysicalMax": [40], "maxDistance": 15.0,
        "headVelocity": 3.0, "tailVelocity": 3.0, "chaosBeamName": "Records/NetSpell/Beam.dbr"})"},
    {"Records/NetSpell/Blink.dbr", R"({"Class": "Skill_AttackSpellTeleportSelf",
        "skillMaxLevel": 1})"},
    {"Records/NetSpell/Mage.dbr", R"({"Class": "Character", "characterLife": 300,
        "characterMana": 200, "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetSpell/Bolt.dbr", "skillLevel1": 1,
        "skillName2": "Records/NetSpell/Chaos.dbr", "skillLevel2": 1})"},
    {"Records/NetSpell/Hero.dbr", R"({"Class": "Character", "characterLife": 300,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/NetSpell/Blink.dbr", "skillLevel1": 1})"},
};

class SpellsOverNetwork : public ::testing::Test {
protected:
    SpellsOverNetwork() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            for (const auto& [name, text] : kRecords)
                EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record, x, foe] :
                 {std::tuple{kMage, "Records/NetSpell/Mage.dbr", 10.0f, true},
                  std::tuple{kHero, "Records/NetSpell/Hero.dbr", 18.0f, false}}) {
                Character* c = MakeFighter(id, x, record);
                EXPECT_NE(c, nullptr) << record;
                if (!c)
                    continue;
                c->SetTeam(foe ? TeamManager::DefaultMonsterTeam()
                               : TeamManager::BuildTeam(Team::Human, 5));
                c->GetSkillManager().LoadSkills(record, 2);
                World::Get().AddEntity(c, c->GetCoords(), true);
            }
        }
        ON_MACHINE(game.Server()) {
            for (std::uint32_t id : {kMage, kHero})
                Find(id)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~SpellsOverNetwork() override { game.OnEach(ShutdownObjects); }

    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kMage, kHero}) {
                Find(id)->UpdateSelf(kFrameMs);
                Find(id)->PreAnimationUpdate(kFrameMs);
            }
        });
    }
    static Skill* SkillOf(std::uint32_t caster, const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<Skill>(
            Find(caster)->GetSkillManager().FindSkillId(record));
    }
    void Use(const char* record) {
        ON_MACHINE(game.Server()) {
            auto* skill = static_cast<SkillActivated*>(SkillOf(kMage, record));
            ASSERT_NE(skill, nullptr) << record;
            skill->ActivateNow(*Find(kMage), Name(), kHero, Find(kHero)->GetPosition());
        }
        game.Pump();
    }
    std::vector<float> HeroLives() {
        return game.OnEach([] { return Find(kHero)->GetCurrentLife(); });
    }
    // The hero's jump to x, sent by the hostile client about its own player; true when the
    // server ran it and passed it on to the honest client.
    bool SendBlink(float x) {
        std::unique_ptr<SkillTargetResultConfigCmd> command;
        ON_MACHINE(game.Client(0)) {
            command = std::make_unique<SkillTargetResultConfigCmd>(
                kHero, 0, std::vector<std::uint32_t>{},
                WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(x, 0, 10))), 7, 0, false, 1);
        }
        return game.SendFromClient(*command);
    }

    NetTestGame game;
};

TEST_F(SpellsOverNetwork, ABoltStrikesAlikeAndLeavesItsAuraEverywhere) {
    Use(kNetBolt);
    const std::vector<float> lives = HeroLives();
    EXPECT_LT(lives[0], 300.0f);
    EXPECT_EQ(lives, std::vector<float>(3, lives[0]));
    EXPECT_EQ(game.OnEach([] { return Find(kHero)->GetAuraManager().GetAuras().size(); }),
              std::vector<std::size_t>(3, 1u));
}

TEST_F(SpellsOverNetwork, AChaosBeamReachesItsFoeAndEndsOnEveryMachine) {
    Use(kChaos);
    const auto beams = [] {
        const auto* chaos = static_cast<Skill_AttackSpellChaos*>(SkillOf(kMage, kChaos));
        return chaos->GetBeam() != nullptr;
    };
    Frames(3);
    EXPECT_EQ(game.OnEach(beams), std::vector<bool>(3, true));
    // A third of a second for the head, as much for the tail, and the commands' way.
    Frames(30);
    const std::vector<float> lives = HeroLives();
    EXPECT_LT(lives[0], 300.0f);
    EXPECT_EQ(lives, std::vector<float>(3, lives[0]));
    EXPECT_EQ(game.OnEach(beams), std::vector<bool>(3, false));
    EXPECT_EQ(game.OnEach([] {
        return static_cast<Skill_AttackSpellChaos*>(SkillOf(kMage, kChaos))->GetState();
    }),
              std::vector<int>(3, Skill_AttackSpellChaos::Idle));
}

TEST_F(SpellsOverNetwork, AClientsJumpRunsOnlyToAPlaceWithinReach) {
    const auto places = [&] {
        return game.OnEach([] { return Find(kHero)->GetPosition().local.x; });
    };
    EXPECT_FALSE(SendBlink(80.0f));
    EXPECT_EQ(game.Server().CountLog("beyond its reach"), 1);
    EXPECT_EQ(places(), std::vector<float>(3, 18.0f));
    EXPECT_TRUE(SendBlink(30.0f));
    const std::vector<float> moved = places();
    EXPECT_EQ(moved[0], 30.0f) << "the server";
    EXPECT_EQ(moved[2], 30.0f) << "the honest client";
}

}  // namespace spells_net
}  // namespace GAME::test
