// Stores loaded from the sample records of tests/data must give, for one seed, the same attacks
// and cost lines on every machine and from run to run (checked against a golden file).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/CostInfo.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

// One line per payload: list, class family, type and the numbers that travel.
std::string Describe(const char* list, const CombatAttribute& payload) {
    std::ostringstream line;
    line << list << " type " << static_cast<int>(payload.GetType()) << ' ';
    if (const auto* p = dynamic_cast<const CombatAttributeDamage_BasePhysical*>(&payload))
        line << "physical " << Number(p->GetPhysical()) << " ratio " << Number(p->GetPierceRatio())
             << (p->GetUseDesignerEquations() ? " formulas" : "");
    else if (const auto* p = dynamic_cast<const CombatAttributeDamage_BonusPhysical*>(&payload))
        line << "bonus " << Number(p->GetDamage());
    else if (const auto* p = dynamic_cast<const CombatAttributeDurDamage*>(&payload))
        line << "over time " << Number(p->GetDamage()) << " for " << Number(p->GetDuration())
             << (dynamic_cast<const CombatAttributeDurFixedDamage*>(p) ? " fixed" : "");
    else if (const auto* p = dynamic_cast<const CombatAttributeAbsDamage*>(&payload))
        line << "amount " << Number(p->GetDamage())
             << (payload.GetFilterForReflectDamage() ? " status" : "");
    else if (const auto* p = dynamic_cast<const CombatAttributeAbsDamageMod*>(&payload))
        line << "modifier " << Number(p->GetPercent());
    else if (const auto* p = dynamic_cast<const CombatAttributeDurDamageMod*>(&payload))
        line << "modifier " << Number(p->GetDamagePercent()) << " time "
             << Number(p->GetDurationPercent());
    return line.str();
}

// The sword with its prefix and suffix, rolled with an item seed, then eight attacks of one
// attacker, then the cost dump; and the skill at three levels.
std::string Replay(TestMachine& tm) {
    std::ostringstream out;
    ON_MACHINE(tm) {
        auto& objects = Singleton<ObjectManager>::Get();
        const LoadTable sword = objects.GetLoadTable("Records/Combat/Sword.dbr");
        const LoadTable prefix = objects.GetLoadTable("Records/Combat/SwordPrefixOfFlames.dbr");
        const LoadTable suffix = objects.GetLoadTable("Records/Combat/SwordSuffixOfFrost.dbr");
        const LoadTable skillRecord = objects.GetLoadTable("Records/Combat/FireStrike.dbr");

        RandomUniform itemRandom;
        itemRandom.Seed(4711);
        DamageAttributeStore_Equipment item;
        item.SetRandomGen(&itemRandom);
        item.Load(sword, &prefix, &suffix, false);
        DamageAttributeStore_Skill skill;
        skill.Load(skillRecord);

        RandomUniform attacker;
        attacker.Seed(99);
        for (int attack = 0; attack < 8; ++attack) {
            ParametersCombat params(attacker);
            const unsigned int level = 1 + attack % 3;
            item.AddDamageToAccumulator(params.accumulator, 1);
            item.AddModifierToAccumulator(params.accumulator, 1);
            skill.AddDamageToAccumulator(params.accumulator, level);
            skill.AddModifierToAccumulator(params.accumulator, level);
            out << "attack " << attack << " seed " << params.accumulator.GetSeed() << '\n';
            for (const auto& payload : params.accumulator.GetDamagePayloads())
                out << Describe("damage", *payload) << '\n';
            for (const auto& payload : params.accumulator.GetDamageModifiers())
                out << Describe("damage modifier", *payload) << '\n';
        }

        tm.ClearLog();
        CostInfo_DamageAttributes cost;
        item.GetCostInfo(cost);
        cost.Dump();
        for (const LogLine& line : tm.Log())
            out << line.text << '\n';
    }
    return out.str();
}

TEST(CombatRecordReplay, SameSeedsGiveTheSamePayloadsAndCostLinesOnTwoMachines) {
    TestMachine server;
    TestMachine client;
    const std::string onServer = Replay(server);
    const std::string onClient = Replay(client);
    EXPECT_EQ(onServer, onClient);

    const std::string golden = TestMachine::TestDataDir() + "/Combat/SwordAttacks.txt";
    if (std::getenv("GAME_UPDATE_GOLDEN")) {
        std::ofstream(golden) << onServer;
        GTEST_SKIP() << "golden file written";
    }
    std::ifstream file(golden);
    ASSERT_TRUE(file.good()) << golden;
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(onServer, expected.str());
    // The records made real attacks: physical, status and over-time payloads all occurred.
    EXPECT_NE(onServer.find("formulas"), std::string::npos);
    EXPECT_NE(onServer.find("fixed"), std::string::npos);
    EXPECT_NE(onServer.find("Damage Cost Attributes"), std::string::npos);
}

}  // namespace
}  // namespace GAME::test
