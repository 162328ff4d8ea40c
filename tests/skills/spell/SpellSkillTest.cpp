// The direct spells and the chaos beam on the deciding machine: what they send and whom they
// reach, what a hit does on the machine that runs it, and how a beam travels and ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/EngineClasses.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/skills/spell/Skill_AttackSpell.h"
#include "Game/skills/spell/Skill_AttackSpellChaos.h"
#include "skills/WeaponSkillTestSupport.h"

namespace GAME::test {
namespace spell_skills {

constexpr std::uint32_t kCaster = 0x700;
constexpr std::uint32_t kFoe = 0x701;
constexpr std::uint32_t kOther = 0x702;
constexpr const char* kSpellBolt = "Records/Spell/Bolt.dbr";
constexpr const char* kSwap = "Records/Spell/Swap.dbr";
constexpr const char* kBlink = "Records/Spell/Blink.dbr";
constexpr const char* kFaux = "Records/Spell/Faux.dbr";
constexpr const char* kChaos = "Records/Spell/Chaos.dbr";

const std::pair<const char*, const char*> kRecords[] = {
    {"Records/Spell/Glow.dbr", R"({"Class": "FxPak"})"},
    {"Records/Spell/Beam.dbr", R"({"Class": "ChaosBeam"})"},
    {kSpellBolt, R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1, "offensivePhysicalMin": [30],
        "offensivePhysicalMax": [30], "skillSpellAura": "Records/Spell/Glow.dbr",
        "skillSpellAuraDuration": [4.7]})"},
    {kSwap, R"({"Class": "Skill_AttackSpellTeleport", "skillMaxLevel": 1,
        "offensivePhysicalMin": [30], "offensivePhysicalMax": [30]})"},
    {kBlink, R"({"Class": "Skill_AttackSpellTeleportSelf", "skillMaxLevel": 1})"},
    {kFaux, R"({"Class": "Skill_E3FauxAttack", "skillMaxLevel": 1})"},
    {kChaos, R"({"Class": "Skill_AttackSpellChaos", "skillMaxLevel": 1, "offensivePhysicalMin":
        [30], "offensivePhysicalMax": [30], "maxDistance": 6.0, "headVelocity": 2.0,
        "tailVelocity": 4.0, "chaosBeamName": "Records/Spell/Beam.dbr"})"},
};

class SpellSkills : public ::testing::Test {
protected:
    SpellSkills() {
        for (const auto& [name, text] : kRecords)
            EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
        InitializeObjects();
        caster = MakeFighter(kCaster, 10.0f);
        foe = MakeFighter(kFoe, 14.0f);
        other = MakeFighter(kOther, 16.0f);
        manager.SetParent(caster);
    }
    ~SpellSkills() override { ShutdownObjects(); }

    template <class T>
    T* Make(const char* record) {
        T* skill = MakeAttackSkill<T>(record, manager);
        EXPECT_NE(skill, nullptr) << record;
        return skill;
    }
    static void MoveTo(Character& who, float x) {
        who.SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(x, 0, 10))));
    }
    // Runs the last sent result on this machine, as the command does on every machine.
    void RunLast(Skill& skill) {
        ASSERT_FALSE(manager.attack.results.empty());
        const SentTargetResult& r = manager.attack.results.back();
        skill.TargetResult(*caster, r.targets, r.origin, r.seed, r.weaponId, r.useWeapon);
    }

    TestMachine tm;
    AttackSkillManager manager;
    Character* caster = nullptr;
    Character* foe = nullptr;
    Character* other = nullptr;
};

TEST_F(SpellSkills, ASpellReachesTwentyBeyondBothExtents) {
    auto* bolt = Make<Skill_AttackSpell>(kSpellBolt);
    struct Case {
        bool large;
        float gap;
        bool sent;
    };
    // Small characters reach 0.5 each, large ones 1.75.
    for (const Case& c : {Case{false, 21.0f, true}, Case{false, 21.1f, false},
                          Case{true, 23.5f, true}, Case{true, 23.6f, false}}) {
        if (c.large) {
            caster->SetExtentsLarge();
            foe->SetExtentsLarge();
        }
        MoveTo(*foe, 10.0f + c.gap);
        manager.attack.results.clear();
        bolt->ActivateNow(*caster, Name(), kFoe, WorldVec3());
        EXPECT_EQ(manager.attack.results.size(), c.sent ? 1u : 0u) << c.gap;
        if (c.sent) {
            EXPECT_EQ(manager.attack.results[0].targets, std::vector<std::uint32_t>{kFoe});
            EXPECT_EQ(manager.attack.results[0].origin, caster->GetCoords());
            EXPECT_EQ(manager.attack.results[0].weaponId, 0u);
        }
    }
}

TEST_F(SpellSkills, AHitDamagesAndLeavesTheAuraForItsWholeSeconds) {
    auto* bolt = Make<Skill_AttackSpell>(kSpellBolt);
    bolt->ActivateNow(*caster, Name(), kFoe, WorldVec3());
    RunLast(*bolt);
    EXPECT_LT(foe->GetCurrentLife(), kFighterLife);
    const auto& auras = foe->GetAuraManager().GetAuras();
    ASSERT_EQ(auras.size(), 1u);
    EXPECT_EQ(auras[0].GetName(), "Records/Spell/Glow.dbr");
    EXPECT_EQ(auras[0].GetRemainingTime(), 4000);
}

TEST_F(SpellSkills, ASwapNeedsItsFirstTargetButHitsTheRestAnyway) {
    auto* swap = Make<Skill_AttackSpellTeleport>(kSwap);
    const WorldCoords casterAt = caster->GetCoords();
    const WorldCoords foeAt = foe->GetCoords();
    swap->TargetResult(*caster, {kFoe}, casterAt, 5, 0, false);
    EXPECT_EQ(caster->GetCoords(), foeAt);
    EXPECT_EQ(foe->GetCoords(), casterAt);
    EXPECT_LT(foe->GetCurrentLife(), kFighterLife);

    const WorldCoords before = caster->GetCoords();
    swap->TargetResult(*caster, {0x7FF, kOther}, before, 5, 0, false);
    EXPECT_EQ(caster->GetCoords(), before) << "nobody to swap with";
    EXPECT_LT(other->GetCurrentLife(), kFighterLife);
}

TEST_F(SpellSkills, ABlinkSendsThePlaceAndMovesTheCasterWithNoTargets) {
    auto* blink = Make<Skill_AttackSpellTeleportSelf>(kBlink);
    const WorldVec3 there(MakeArena(), Vec3(25, 0, 12));
    blink->ActivateNow(*caster, Name(), 0, there);
    ASSERT_EQ(manager.attack.results.size(), 1u);
    EXPECT_TRUE(manager.attack.results[0].targets.empty());
    RunLast(*blink);
    EXPECT_EQ(caster->GetPosition(), there);
}

TEST_F(SpellSkills, AFauxAttackStrikesWithoutDamage) {
    auto* faux = Make<Skill_E3FauxAttack>(kFaux);
    MoveTo(*foe, 60.0f);
    faux->ActivateNow(*caster, Name(), kFoe, WorldVec3());
    ASSERT_EQ(manager.attack.results.size(), 1u) << "no range test";
    RunLast(*faux);
    EXPECT_FLOAT_EQ(foe->GetCurrentLife(), kFighterLife);
}

// Updates of `ms` until `n` have run; the count of results sent after each.
std::vector<std::size_t> Drive(Skill& skill, Character& caster, AttackSkillManager& manager, int n,
                               int ms) {
    std::vector<std::size_t> sent;
    for (int i = 0; i < n; ++i) {
        skill.Update(caster, ms);
        sent.push_back(manager.attack.results.size());
    }
    return sent;
}

TEST_F(SpellSkills, AChaosBeamStrikesWhenItsHeadArrivesAndEndsWhenItsTailCatchesUp) {
    auto* chaos = Make<Skill_AttackSpellChaos>(kChaos);
    chaos->ActivateNow(*caster, Name(), kFoe, WorldVec3());
    ASSERT_EQ(manager.attack.results.size(), 1u);
    EXPECT_EQ(chaos->GetState(), Skill_AttackSpellChaos::Pending);
    EXPECT_EQ(manager.attack.results[0].weaponId, kFoe);
    RunLast(*chaos);
    EXPECT_FALSE(chaos->SetAvailability(true, true));
    // Head velocity 2: the fifth 100 ms update brings the head to the foe and sends the hit.
    EXPECT_EQ(Drive(*chaos, *caster, manager, 5, 100), (std::vector<std::size_t>{1, 1, 1, 1, 2}));
    ASSERT_NE(chaos->GetBeam(), nullptr);
    const std::uint32_t beam = chaos->GetBeamId();
    EXPECT_EQ(manager.attack.results.back().targets, std::vector<std::uint32_t>{kFoe});
    RunLast(*chaos);
    EXPECT_LT(foe->GetCurrentLife(), kFighterLife);
    // Tail velocity 4: 250 ms more and the beam is gone.
    Drive(*chaos, *caster, manager, 3, 100);
    EXPECT_EQ(chaos->GetState(), Skill_AttackSpellChaos::Idle);
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(beam), nullptr);
    EXPECT_TRUE(chaos->SetAvailability(true, true));
}

TEST_F(SpellSkills, AFoeBeyondTheBeamsReachIsMissedAndTheHeadRetracts) {
    auto* chaos = Make<Skill_AttackSpellChaos>(kChaos);
    chaos->TargetResult(*caster, {}, caster->GetCoords(), 3, kFoe, false);
    chaos->Update(*caster, 100);
    MoveTo(*foe, 30.0f);
    Drive(*chaos, *caster, manager, 4, 100);
    EXPECT_TRUE(manager.attack.results.empty());
    EXPECT_EQ(chaos->GetTargetId(), 0u);
    EXPECT_EQ(chaos->GetState(), Skill_AttackSpellChaos::TailTravelling);
    chaos->Update(*caster, 100);
    EXPECT_LT(chaos->GetHead(), 1.0f);
    Drive(*chaos, *caster, manager, 2, 100);
    EXPECT_EQ(chaos->GetState(), Skill_AttackSpellChaos::Idle);
    EXPECT_FLOAT_EQ(foe->GetCurrentLife(), kFighterLife);
}

TEST_F(SpellSkills, ABeamThatCannotMoveEndsAfterItsTimeout) {
    int made = 0;
    for (const char* keys : {R"("headVelocity": 0.0, "tailVelocity": 4.0)",
                             R"("headVelocity": 2.0, "tailVelocity": 0.0, "maxDistance": 0.0)"}) {
        const std::string name = "Records/Spell/Stuck" + std::to_string(++made) + ".dbr";
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            name, std::string(R"({"Class": "Skill_AttackSpellChaos", "skillMaxLevel": 1,
                "chaosBeamName": "Records/Spell/Beam.dbr", )") +
                      keys + "}"));
        auto* chaos = Make<Skill_AttackSpellChaos>(name.c_str());
        chaos->TargetResult(*caster, {}, caster->GetCoords(), 3, kFoe, false);
        chaos->Update(*caster, 100);
        Drive(*chaos, *caster, manager, 98, 100);
        EXPECT_NE(chaos->GetState(), Skill_AttackSpellChaos::Idle) << keys;
        Drive(*chaos, *caster, manager, 2, 100);
        EXPECT_EQ(chaos->GetState(), Skill_AttackSpellChaos::Idle) << keys;
        EXPECT_EQ(chaos->GetBeam(), nullptr);
    }
}

}  // namespace spell_skills
}  // namespace GAME::test
