// Skill use across machines, end to end: an attack decided on one machine travels as a
// character action, every machine plays the swing, and the deciding machine's skill services
// send the skill commands (state, target result) that every other machine runs from their
// packets. A server and two clients must agree on targets, damage, mana and cooldown, whether
// the server's monster or a client's own character attacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/skills/manager/SkillManager.h"
#include "characters/anim/AnimationTestClips.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

// The victim, which lives long enough for hundreds of hits; the server's monster; the first
// client's own character (its host in the top bits). Made in this order, so that the ids the
// object manager hands their skills never meet them.
constexpr std::uint32_t kVictim = 0x0F000001;
constexpr std::uint32_t kMonster = 0x0F000100;
constexpr std::uint32_t kHero = (1u << 28) | 0x100;
constexpr float kVictimLife = 100000.0f;
constexpr int kNetFrameMs = 33;
// The swing's "Hit" comes 400 ms in: within the 13th frame.
constexpr int kFramesToHit = 13;

// A fighter that swings the test clip with the given skill.
std::string Attacker(const char* skill) {
    return std::string(R"({"Class": "Character", "characterStrength": 50,
        "characterOffensiveAbility": 100, "characterLife": 300, "characterMana": 100,
        "characterAttackSpeed": 1.0, "combatManagerRecord": "Records/Combat/Standard.dbr",
        "unarmedAttackAnim1": "AnimTest/Swing.anm", "unarmedAttackAnimWeight1": 100,
        "skillName1": ")") +
           skill + R"(", "skillLevel1": 1})";
}

// An inherent attack that costs mana and cools down.
constexpr const char* kBite = "Records/NetSkill/Bite.dbr";
constexpr const char* kBiteRecord = R"({"Class": "Skill_AttackInherent", "skillMaxLevel": 3,
    "skillManaCost": [6], "skillCooldownTime": [1.5], "offensivePhysicalMin": [30],
    "offensivePhysicalMax": [60]})";

constexpr const char* kVictimRecord = R"({"Class": "Character", "characterLife": 100000,
    "characterDefensiveAbility": 60, "combatManagerRecord": "Records/Combat/Standard.dbr"})";

// What one machine knows about an attacker's skill and its victim.
struct SkillView {
    float victimLife = 0.0f;
    float manaPaid = 0.0f;
    float mana = 0.0f;
    int cooldown = 0;
    bool enabled = false;
    bool operator==(const SkillView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SkillView& v) {
    return out << "{life " << v.victimLife << ", paid " << v.manaPaid << ", mana " << v.mana
               << ", cooldown " << v.cooldown << ", enabled " << v.enabled << "}";
}

class SkillUseOverNetwork : public ::testing::Test {
protected:
    SkillUseOverNetwork() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            AddAnimationTestClips();
            auto& records = Singleton<RecordDatabase>::Get();
            EXPECT_TRUE(records.AddRecordText("Records/NetSkill/Monster.dbr", Attacker(kStrike)));
            EXPECT_TRUE(records.AddRecordText(kBite, kBiteRecord));
            EXPECT_TRUE(records.AddRecordText("Records/NetSkill/Hero.dbr", Attacker(kBite)));
            EXPECT_TRUE(records.AddRecordText("Records/NetSkill/Victim.dbr", kVictimRecord));
            InitializeObjects();
            game.TakeRole(*tm);
            for (auto [id, record, x] : {std::tuple{kVictim, "Records/NetSkill/Victim.dbr", 10.0f},
                                         std::tuple{kMonster, "Records/NetSkill/Monster.dbr", 9.0f},
                                         std::tuple{kHero, "Records/NetSkill/Hero.dbr", 11.0f}}) {
                Character* c = MakeFighter(id, x, record);
                EXPECT_NE(c, nullptr) << record;
                if (c)
                    c->GetSkillManager().LoadSkills(record, 1);
            }
        }
        // Each attacker's skills are decided on the machine that controls it.
        ON_MACHINE(game.Server()) {
            Find(kMonster)->GetSkillManager().SetAsControllingManager();
        }
        ON_MACHINE(game.Client(0)) {
            Find(kHero)->GetSkillManager().SetAsControllingManager();
        }
        // The controlling machines find their skills usable and tell the others.
        Frames(1);
    }
    ~SkillUseOverNetwork() override { game.OnEach(ShutdownObjects); }

    void Frames(int count) {
        game.RunFrames(count, kNetFrameMs, [](TestMachine&, int) {
            for (std::uint32_t id : {kMonster, kHero, kVictim}) {
                Find(id)->UpdateSelf(kNetFrameMs);
                Find(id)->PreAnimationUpdate(kNetFrameMs);
            }
        });
    }
    static Skill* SkillOf(std::uint32_t attacker) {
        SkillManager& skills = Find(attacker)->GetSkillManager();
        return Singleton<ObjectManager>::Get().GetObject<Skill>(skills.GetSkillIdFromReference(0));
    }
    std::vector<SkillView> Views(std::uint32_t attacker) {
        return game.OnEach([attacker] {
            Skill* skill = SkillOf(attacker);
            return SkillView{Find(kVictim)->GetCurrentLife(),
                             Find(attacker)->GetPlayStats().GetManaUsed(),
                             Find(attacker)->GetCurrentMana(), skill->GetCooldownRemaining(),
                             skill->IsSkillEnabled()};
        });
    }
    // The deciding machine sends the attack and runs it; the others run it from its packet.
    void Attack(TestMachine& decider, std::uint32_t attacker) {
        ON_MACHINE(decider) {
            auto attack = std::make_unique<AttackAction>(
                attacker, kVictim, Find(kVictim)->GetPosition(), 0, std::uint16_t{5});
            ASSERT_TRUE(SendCharacterAction(*attack));
            Find(attacker)->GetActionHandler().Execute(std::move(attack));
        }
        game.Pump();
    }
    void ExpectAllAgree(std::uint32_t attacker, const char* when) {
        const std::vector<SkillView> views = Views(attacker);
        for (std::size_t i = 1; i < views.size(); ++i)
            EXPECT_EQ(views[i], views[0]) << when << ", machine " << i;
    }

    NetTestGame game;
};

TEST_F(SkillUseOverNetwork, TheSkillsStatesReachEveryMachine) {
    for (std::uint32_t attacker : {kMonster, kHero})
        for (const SkillView& view : Views(attacker))
            EXPECT_TRUE(view.enabled) << std::hex << attacker;
}

TEST_F(SkillUseOverNetwork, AServerDecidedWeaponSkillHitsAndCostsTheSameEverywhere) {
    Attack(game.Server(), kMonster);
    Frames(kFramesToHit - 1);
    ExpectAllAgree(kMonster, "before the hit");
    EXPECT_EQ(Views(kMonster)[0].victimLife, kVictimLife);
    Frames(1);
    // The hit's damage everywhere in the frame of the hit.
    const std::vector<SkillView> hit = Views(kMonster);
    EXPECT_LT(hit[0].victimLife, kVictimLife);
    for (const SkillView& view : hit) {
        EXPECT_EQ(view.victimLife, hit[0].victimLife);
        EXPECT_FLOAT_EQ(view.manaPaid, 10.0f);
        EXPECT_GT(view.cooldown, 1900);
    }
    // Once the cooldown has run out, every value agrees.
    Frames(2000 / kNetFrameMs + 2);
    ExpectAllAgree(kMonster, "after the cooldown");
    EXPECT_FALSE(SkillOf(kMonster)->IsCoolingDown());
}

TEST_F(SkillUseOverNetwork, AClientsInherentAttackRunsOnTheServerAndTheOtherClient) {
    Attack(game.Client(0), kHero);
    for (Character_ActionState state : game.OnEach([] { return Find(kHero)->GetActionState(); }))
        EXPECT_EQ(state, Character_ActionState::Attack);
    Frames(kFramesToHit);
    const std::vector<SkillView> hit = Views(kHero);
    EXPECT_LT(hit[0].victimLife, kVictimLife);
    for (const SkillView& view : hit) {
        EXPECT_EQ(view.victimLife, hit[0].victimLife);
        EXPECT_FLOAT_EQ(view.manaPaid, 6.0f);
        EXPECT_GT(view.cooldown, 1400);
    }
    Frames(1500 / kNetFrameMs + 2);
    ExpectAllAgree(kHero, "after the cooldown");
    EXPECT_FALSE(SkillOf(kHero)->IsCoolingDown());
}

TEST_F(SkillUseOverNetwork, HitsPastTheTwoHundredAndFiftyFifthChargeOnceEverywhere) {
    Attack(game.Server(), kMonster);
    // A swing whose clip calls "Hit" again and again: every hit strikes, only the first pays,
    // even once the count no longer fits the byte it travels in.
    ON_MACHINE(game.Server()) {
        for (int hit = 0; hit < 300; ++hit)
            Find(kMonster)->GetActionHandler().AnimationCallback(Name::Create("Hit"));
    }
    game.Pump();
    const std::vector<SkillView> views = Views(kMonster);
    EXPECT_LT(views[0].victimLife, kVictimLife);
    for (const SkillView& view : views) {
        EXPECT_EQ(view.victimLife, views[0].victimLife);
        EXPECT_FLOAT_EQ(view.manaPaid, 10.0f);
    }
}

}  // namespace
}  // namespace GAME::test
