#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/sys/RecycledBlocks.h"
#include "Game/characters/Character.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatFilter.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/CombatRandom.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "rules/CombatantSetup.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;
using Style = ParametersCombatStyle;

Character* Make(const std::string& record) {
    auto* character = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(record);
    if (character) {
        character->InitialUpdate();
        Settle(*character);
    }
    return character;
}

// Reflects half of every hit it takes, as its armour would.
class Mirror : public Character {
public:
    void ContributeGameBalanceDefenseAttributes(CombatAttributeAccumulator& accumulator) override {
        accumulator.AddDefense(std::make_unique<CombatAttributeDefenseMisc>(T::Reflect, 50.0f));
    }
};

// Dodges every melee swing, as its boots would let it.
class Acrobat : public Character {
public:
    void GetEquipCharAttributes(CharAttributeAccumulator& accumulator) override {
        accumulator.AddValue(CharAttributeType::DodgePercent, 100.0f);
    }
};

// The trace is switched on for one test and off again after it.
struct TraceOn {
    TraceOn() { CombatManager::SetTraceEnabled(true); }
    ~TraceOn() { CombatManager::SetTraceEnabled(false); }
};

std::vector<std::string> Trace(const TestMachine& tm) {
    std::vector<std::string> lines;
    for (const LogLine& line : tm.Log()) {
        if (line.channel == CombatManager::kTraceChannel)
            lines.push_back(line.text);
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& line : lines) {
        if (line == text)
            return true;
    }
    return false;
}

// A melee swing of physical and fire damage from `attacker`, with the attacker's formulas.
bool Swing(Character& attacker, Character& defender, RandomUniform& random, Style style,
           float fumble = 0.0f) {
    ParametersCombat attack(random);
    attack.attackerId = attacker.GetObjectId();
    attack.combatStyle = style;
    attack.fumbleChance = fumble;
    attack.manaCost = 20.0f;
    attack.offensiveAbility = attacker.GetCombatManager().DesignerCalculateOffensiveAbility(0.0f);
    attack.accumulator.AddDamage(
        std::make_unique<CombatAttributeDamage_BasePhysical>(T::Physical, 30.0f, 0.0f, true));
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 20.0f));
    attack.accumulator.ProcessDamage(attacker, 0.0f, 0.0f, 0.0f, 0.0f);
    return defender.TakeAttack(attack);
}

struct FightResult {
    std::vector<std::string> trace;
    std::vector<float> knightLife;
    std::vector<float> mirrorLife;
    std::vector<bool> hits;
};

FightResult Fight() {
    TraceOn traceOn;
    TestMachine tm;
    FightResult result;
    Character* knight = Make("Records/Combat/Knight.dbr");
    EXPECT_NE(knight, nullptr);
    if (!knight)
        return result;
    Mirror mirrorBody;
    Prepare(mirrorBody, "Records/Combat/Mirror.dbr");
    Character* mirror = &mirrorBody;
    RandomUniform random;
    random.Seed(20261207);
    for (int i = 0; i < 12 && knight->IsAlive() && mirror->IsAlive(); ++i) {
        result.hits.push_back(Swing(*knight, *mirror, random, Style::Probability));
        result.knightLife.push_back(knight->GetCurrentLife());
        result.mirrorLife.push_back(mirror->GetCurrentLife());
    }
    result.trace = Trace(tm);
    return result;
}

TEST(CombatManager, RecordGivesRegionsFormulasThresholdsAndVariables) {
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    CombatManager& manager = knight->GetCombatManager();
    EXPECT_FLOAT_EQ(manager.GetRegionChance(CombatAttributeRegion::FullyProtected), 0.0f);
    EXPECT_FLOAT_EQ(manager.GetRegionChance(CombatAttributeRegion::Torso), 40.0f);
    EXPECT_FLOAT_EQ(knight->GetCombatRegionChance(CombatAttributeRegion::Legs), 15.0f);
    // The unparsable formula is logged by key and left out; the empty one is never made.
    EXPECT_EQ(
        tm.CountLog("-=- Combat Manager Equation load failure : elementalDurationDamageEquation"),
        1);
    EXPECT_EQ(tm.CountLog("load failure : pierceDamageEquation"), 0);
    EXPECT_FALSE(manager.HasFormula(CombatFormula::ElementalDurationDamage));
    EXPECT_FALSE(manager.HasFormula(CombatFormula::PierceDamage));
    EXPECT_TRUE(manager.HasFormula(CombatFormula::ArmorDLEP));
    EXPECT_FLOAT_EQ(manager.DesignerCalculateElementalDurationDamage(7.0f), 7.0f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculatePierceDamage(7.0f), 7.0f);

    // Variables nothing has set yet read 0; the character's own are read at the moment.
    float value = -1.0f;
    ASSERT_TRUE(manager.GetDesignerVariable("shieldAbsorptionDV", value));
    EXPECT_FLOAT_EQ(value, 0.0f);
    ASSERT_TRUE(manager.GetDesignerVariable("strengthDV", value));
    EXPECT_FLOAT_EQ(value, 100.0f);
    EXPECT_FALSE(manager.GetDesignerVariable("StrengthDV", value));
    EXPECT_FLOAT_EQ(manager.DesignerCalculatePhysicalDamage(10.0f), 20.0f);
    ASSERT_TRUE(manager.GetDesignerVariable("physicalDamageDV", value));
    EXPECT_FLOAT_EQ(value, 10.0f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculateElementalDamage(10.0f),
                    10.0f + static_cast<float>(knight->GetCharLevel()));

    // The misspelt key holds the armour formula for damage at most the protection.
    EXPECT_FLOAT_EQ(manager.DesignerCalculatePhysicalDamageDefense(40.0f, 50.0f, 10.0f, 0.0f),
                    4.0f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculatePhysicalDamageDefense(80.0f, 50.0f, 10.0f, 0.2f),
                    20.0f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculatePhysicalDamageDefense(80.0f, 0.0f, 10.0f, 0.2f),
                    80.0f);
    // Only one shield formula: the other case passes the damage untouched.
    EXPECT_FLOAT_EQ(manager.DesignerCalculateShieldBlockDamageReduction(50.0f, 20.0f, 0.0f), 30.0f);
    EXPECT_FLOAT_EQ(manager.DesignerCalculateShieldBlockDamageReduction(10.0f, 20.0f, 0.0f), 10.0f);
}

// What the character's armour and shield formulas take off is tallied in its play statistics.
TEST(CombatManager, TheCharactersDefenseFormulasTallyTheirReduction) {
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    using R = PlayStatsDamageReductionType;
    struct Case {
        R kind;
        std::function<float()> reduce;
        float damage;
    };
    const Case cases[] = {
        {R::Unknown,
         [&] { return knight->DesignerCalculatePhysicalDamageDefense(100.0f, 40.0f, 0.5f, 0.0f); },
         100.0f},
        {R::Blocked,
         [&] { return knight->DesignerCalculateShieldBlockDamageReduction(50.0f, 20.0f, 0.0f); },
         50.0f},
    };
    for (const Case& c : cases) {
        const float before = knight->GetPlayStats().GetDamageReduction(c.kind);
        const float left = c.reduce();
        EXPECT_LT(left, c.damage) << static_cast<int>(c.kind);
        EXPECT_FLOAT_EQ(knight->GetPlayStats().GetDamageReduction(c.kind) - before, c.damage - left)
            << static_cast<int>(c.kind);
    }
}

TEST(CombatManager, ProbabilityToHitMissesHitsOrdinarilyAndUberHits) {
    TraceOn traceOn;
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    CombatManager& manager = knight->GetCombatManager();
    tm.ClearLog();
    EXPECT_FLOAT_EQ(manager.CalculateDamageModifier(98.0f, 0.99f), 0.0f);
    EXPECT_TRUE(Contains(Trace(tm), "    PTH Missed Hit\n"));
    EXPECT_TRUE(Contains(Trace(tm), "    PTH 98.000000, Rand Seed 0.990000\n"));
    // Ordinary hit: normalPTHEquation = pth / 100.
    EXPECT_FLOAT_EQ(manager.CalculateDamageModifier(80.0f, 0.5f), 0.8f);
    EXPECT_TRUE(Contains(Trace(tm), "    PTH Modifier Equation result 0.800000\n"));
    // Above the first threshold: r = pth * roll picks the highest threshold it exceeds.
    EXPECT_FLOAT_EQ(manager.CalculateDamageModifier(150.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(manager.CalculateDamageModifier(150.0f, 0.5f), 2.0f);
    EXPECT_FLOAT_EQ(manager.CalculateDamageModifier(150.0f, 1.0f), 4.0f);
    EXPECT_TRUE(Contains(Trace(tm), "    PTH Uber Hit\n"));
    EXPECT_TRUE(Contains(Trace(tm), "    PTH Modifier value 4.000000\n"));

    // Region weights walk in order: the first region whose running sum reaches the draw.
    CombatRandom gen;
    gen.Seed(5);
    int counts[CombatManager::kRegions] = {};
    for (int i = 0; i < 2000; ++i)
        ++counts[static_cast<int>(manager.PickRegion(gen))];
    EXPECT_EQ(counts[0], 0);
    EXPECT_GT(counts[3], counts[2]);
    EXPECT_GT(counts[2], counts[1]);
}

TEST(CombatManager, MissDodgeAndFumbleTakeNoLifeAndLeaveCombatLater) {
    TraceOn traceOn;
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    Acrobat acrobatBody;
    Prepare(acrobatBody, "Records/Combat/Acrobat.dbr");
    Character* acrobat = &acrobatBody;
    RandomUniform random;
    random.Seed(7);
    tm.ClearLog();
    EXPECT_FALSE(Swing(*knight, *acrobat, random, Style::Probability));
    EXPECT_FLOAT_EQ(acrobat->GetCurrentLife(), 300.0f);
    auto trace = Trace(tm);
    EXPECT_TRUE(Contains(trace, "    ^yDodge Chance (100.000000) caused a miss\n"));
    EXPECT_TRUE(Contains(trace, "    Miss occured\n"));
    EXPECT_EQ(acrobat->GetCombatManager().GetCombatState(), CombatManager_State::InCombat);

    // The mirror fumbles against the knight.
    Character* mirror = Make("Records/Combat/Mirror.dbr");
    ASSERT_NE(mirror, nullptr);
    tm.ClearLog();
    EXPECT_FALSE(Swing(*mirror, *knight, random, Style::Probability, 100.0f));
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 500.0f);
    EXPECT_TRUE(Contains(Trace(tm), "    ^yFumble Chance (100.000000) caused a miss\n"));
    // The knight has no reflection of its own.
    EXPECT_FALSE(Contains(Trace(tm), "    ^b50.000000% Damage Reflected\n"));
    for (int i = 0; i < 50; ++i)
        knight->GetCombatManager().Update(200);
    EXPECT_EQ(knight->GetCombatManager().GetCombatState(), CombatManager_State::NotInCombat);
}

std::string GoldenPath() {
    return TestMachine::TestDataDir() + "/Records/Combat/KnightAgainstMirrorTrace.txt";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line;
    return text;
}

TEST(CombatManager, AFightIsIdenticalOnTwoMachinesAndReflectionEnds) {
    const FightResult first = Fight();
    const FightResult second = Fight();
    // The pinned trace: any change of draw order, formula or text shows here.
    std::ifstream golden(GoldenPath(), std::ios::binary);
    ASSERT_TRUE(golden.good()) << GoldenPath();
    const std::string expected((std::istreambuf_iterator<char>(golden)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(Joined(first.trace), expected);
    ASSERT_FALSE(first.hits.empty());
    EXPECT_EQ(first.trace, second.trace);
    EXPECT_EQ(first.knightLife, second.knightLife);
    EXPECT_EQ(first.mirrorLife, second.mirrorLife);
    EXPECT_EQ(first.hits, second.hits);
    // Each swing, landed or missed, is reflected once at half strength, and the reflection is
    // not reflected.
    int reflected = 0;
    int attacks = 0;
    for (const auto& line : first.trace) {
        reflected += line == "    ^b50.000000% Damage Reflected\n";
        attacks += line == "combat\n";
    }
    int hits = 0;
    for (bool hit : first.hits)
        hits += hit;
    EXPECT_GT(hits, 0);
    EXPECT_LT(hits, static_cast<int>(first.hits.size()));
    EXPECT_EQ(reflected, static_cast<int>(first.hits.size()));
    EXPECT_EQ(attacks, 2 * static_cast<int>(first.hits.size()));
    EXPECT_LT(first.knightLife.back(), 500.0f);
    EXPECT_LT(first.mirrorLife.back(), 400.0f);
    EXPECT_TRUE(Contains(first.trace, "    combatType = Direct Attack\n"));
    EXPECT_TRUE(Contains(first.trace, "    combatType = Probability Attack\n"));
    if (std::getenv("COMBAT_WRITE_GOLDEN"))
        std::ofstream(GoldenPath(), std::ios::binary) << Joined(first.trace);
}

class Thorns : public Acrobat {
public:
    void GetEquipRetaliationAttributes(CombatAttributeAccumulator& accumulator) override {
        accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 15.0f));
    }
};

class HalfFilter : public CombatFilter {
public:
    float ModifyDamage(float damage, CombatAttributeType) override { return damage * factor; }
    bool ProvidesInvulnerability(const std::vector<std::string>& races) override {
        return invulnerable && !races.empty();
    }
    float factor = 0.5f;
    bool invulnerable = false;
};

TEST(CombatManager, RetaliationStrikesOnceAndFiltersGuardLife) {
    TraceOn traceOn;
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    Thorns thorns;
    Prepare(thorns, "Records/Combat/Acrobat.dbr");
    RandomUniform random;
    random.Seed(3);
    // Dodged, yet the thorns strike back: 15 fire through the knight's defenses, once.
    tm.ClearLog();
    EXPECT_FALSE(Swing(*knight, thorns, random, Style::Probability));
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 500.0f - 15.0f);
    int attacks = 0;
    for (const auto& line : Trace(tm))
        attacks += line == "combat\n";
    EXPECT_EQ(attacks, 2);
    // Bare hands: one draw within the record's range.
    ParametersCombat bare(random);
    knight->GetCombatManager().GetHandHitDamage(bare.accumulator);
    ASSERT_EQ(bare.accumulator.GetDamagePayloads().size(), 1u);
    float absolute = 0.0f;
    float overTime = 0.0f;
    bare.accumulator.GetTotalDamage(absolute, overTime);
    EXPECT_GE(absolute, 4.0f);
    EXPECT_LE(absolute, 9.0f);
    // A projectile earns no retaliation.
    Swing(*knight, thorns, random, Style::Projectile);
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 485.0f);

    HalfFilter filter;
    CombatManager& manager = knight->GetCombatManager();
    manager.AddCombatFilter(&filter);
    manager.AddCombatFilter(&filter);
    EXPECT_TRUE(manager.ApplyDamage(20.0f, {}, T::Fire));
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 475.0f);
    filter.factor = 0.0f;
    EXPECT_FALSE(manager.ApplyDamage(20.0f, {}, T::Fire));
    EXPECT_TRUE(manager.ApplyDamage(0.0f, {}, T::Fire));
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 475.0f);

    // An invulnerable defender takes nothing from an attacker with a race.
    filter.factor = 1.0f;
    filter.invulnerable = true;
    Character* mirror = Make("Records/Combat/Mirror.dbr");
    ASSERT_NE(mirror, nullptr);
    tm.ClearLog();
    EXPECT_FALSE(Swing(*mirror, *knight, random, Style::Direct));
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 475.0f);
    EXPECT_TRUE(Contains(Trace(tm), "    ^bInvulnerable Shield in place\n"));
    manager.RemoveCombatFilter(&filter);
    EXPECT_TRUE(Swing(*mirror, *knight, random, Style::Direct));
    EXPECT_LT(knight->GetCurrentLife(), 475.0f);
}

// A mirror returns half of what the attack carried whether the swing landed, missed or met a
// ward: the reflection is of the attack, not of the damage taken.
TEST(CombatManager, ReflectionReturnsItsShareOfMissedAndWardedAttacks) {
    struct Case {
        const char* name;
        Style style;
        float fumble;
        bool warded;
        bool hits;
    };
    for (const Case& c : {Case{"landed", Style::Direct, 0.0f, false, true},
                          Case{"fumbled", Style::Probability, 100.0f, false, false},
                          Case{"warded", Style::Direct, 0.0f, true, false}}) {
        TestMachine tm;
        Character* knight = Make("Records/Combat/Knight.dbr");
        ASSERT_NE(knight, nullptr);
        Mirror mirror;
        Prepare(mirror, "Records/Combat/Mirror.dbr");
        HalfFilter ward;
        ward.factor = 1.0f;
        ward.invulnerable = true;
        if (c.warded)
            mirror.GetCombatManager().AddCombatFilter(&ward);
        RandomUniform random;
        random.Seed(5);
        const float mirrorLife = mirror.GetCurrentLife();
        EXPECT_EQ(Swing(*knight, mirror, random, c.style, c.fumble), c.hits) << c.name;
        EXPECT_EQ(mirror.GetCurrentLife() < mirrorLife, c.hits) << c.name;
        EXPECT_LT(knight->GetCurrentLife(), 500.0f) << c.name;
        mirror.GetCombatManager().RemoveCombatFilter(&ward);
    }
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST(CombatManager, LifeLeechReturnsItsShareOfTheLifeTakenAndReflectionCarriesNoLeech) {
    TraceOn traceOn;
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    Character* target = Make("Records/Combat/Mirror.dbr");
    ASSERT_NE(knight, nullptr);
    ASSERT_NE(target, nullptr);
    knight->GetCombatManager().ApplyDamage(200.0f, {}, T::Fire);
    ASSERT_FLOAT_EQ(knight->GetCurrentLife(), 300.0f);
    RandomUniform random;
    random.Seed(11);
    ParametersCombat attack(random);
    attack.attackerId = knight->GetObjectId();
    attack.combatStyle = Style::Direct;
    attack.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 40.0f));
    attack.accumulator.AddDamage(
        std::make_unique<CombatAttributeAbsDamage_LifeLeech>(T::LifeLeech, 50.0f));
    ASSERT_TRUE(target->TakeAttack(attack));
    const float lost = 400.0f - target->GetCurrentLife();
    EXPECT_GT(lost, 0.0f);
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), 300.0f + lost * 0.5f);
    EXPECT_EQ(tm.CountLog("% Life Leech return"), 1);

    // Reflected back, the same attack brings no leech to the reflecting character.
    Mirror mirror;
    Prepare(mirror, "Records/Combat/Mirror.dbr");
    mirror.GetCombatManager().ApplyDamage(100.0f, {}, T::Fire);
    ParametersCombat again(random);
    again.attackerId = knight->GetObjectId();
    again.accumulator.AddDamage(std::make_unique<CombatAttributeAbsDamage>(T::Fire, 40.0f));
    again.accumulator.AddDamage(
        std::make_unique<CombatAttributeAbsDamage_LifeLeech>(T::LifeLeech, 50.0f));
    const float knightBefore = knight->GetCurrentLife();
    ASSERT_TRUE(mirror.TakeAttack(again));
    EXPECT_FLOAT_EQ(mirror.GetCurrentLife(), 300.0f - 40.0f);
    // The knight takes half the fire back, and leeches half of what the mirror lost.
    EXPECT_FLOAT_EQ(knight->GetCurrentLife(), knightBefore - 20.0f + 20.0f);
    EXPECT_EQ(tm.CountLog("% Life Leech return"), 2);
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST(CombatManager, AttacksInSteadyStateTakeNoNewPayloadStorage) {
    ASSERT_FALSE(CombatManager::IsTraceEnabled());
    const RecyclingScope recycling(true);
    TestMachine tm;
    Character* knight = Make("Records/Combat/Knight.dbr");
    ASSERT_NE(knight, nullptr);
    Mirror mirror;
    Prepare(mirror, "Records/Combat/Mirror.dbr");
    RandomUniform random;
    random.Seed(5);
    // The warm-up holds a miss: a missed swing is still reflected, and its reflection keeps the
    // most payloads alive at once.
    for (int i = 0; i < 12; ++i)
        Swing(*knight, mirror, random, Style::Probability);
    const std::uint64_t before = RecycledBlocks::HeapTakes();
    for (int i = 0; i < 20; ++i)
        Swing(*knight, mirror, random, Style::Probability);
    EXPECT_EQ(RecycledBlocks::HeapTakes(), before);
    // Nothing was traced, and the fight went on.
    EXPECT_EQ(tm.CountLog("combatType"), 0);
    EXPECT_LT(mirror.GetCurrentLife(), 400.0f);
}

}  // namespace
}  // namespace GAME::test
