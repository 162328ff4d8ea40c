// A numeric program reads its names before its arithmetic: bound names of every kind once each
// when nothing is asked by name, otherwise every read at its place among the owner's calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerVariableNames.h"
#include "rules/FloatBits.h"
#include "rules/formulas/TypedOwner.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::SameBits;

std::string RandomFormula(std::mt19937& rng, const std::vector<std::string>& names, int depth) {
    std::uniform_int_distribution<int> pick(0, 99);
    if (depth > 5 || (depth > 0 && pick(rng) < 30)) {
        if (pick(rng) < 60)
            return names[static_cast<std::size_t>(pick(rng)) % names.size()];
        static const char* const kNumbers[] = {"2", "0", "1", "0.5", "3", "10", "7.5", "0.1"};
        return kNumbers[pick(rng) % 8];
    }
    const char op = "+-*/^^"[pick(rng) % 6];
    const std::string right =
        op == '^' && pick(rng) < 60 ? "2" : RandomFormula(rng, names, depth + 1);
    const std::string left = RandomFormula(rng, names, depth + 1);
    const std::string text = left + op + right;
    return depth == 0 ? text : "(" + text + ")";
}

using test::TypedOwner;

TEST(EquationProgramReads, BoundNamesOfEveryKindAreReadOnceAndMatchTheTree) {
    test::TestMachine tm;
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> real(-1e6, 1e6);
    int compiled = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::string text = RandomFormula(rng, {"f", "d", "i", "u"}, 0);
        TypedOwner owner;
        DesignerEquation_Algebra formula;
        if (!formula.ParseEquation(text.c_str(), &owner))
            continue;
        compiled += formula.GetProgram().IsCompiled() ? 1 : 0;
        for (int round = 0; round < 3; ++round) {
            owner.f = static_cast<float>(real(rng));
            owner.d = real(rng) * 1e30;  // rounds to a float
            owner.i = static_cast<std::int32_t>(rng());
            owner.u = static_cast<std::uint32_t>(rng());
            const float tree = formula.EvaluateTree();
            owner.asked = 0;
            const float program = formula();
            ASSERT_TRUE(SameBits(tree, program)) << text << ": " << tree << " vs " << program;
            ASSERT_EQ(owner.asked, 0) << text;
        }
    }
    EXPECT_GT(compiled, 2500);
}

// "tick" moves the bound "x" each time it is asked: a bound read must see exactly the moves the
// tree's read at the same place sees.
class TickingOwner : public EquationInterface_Algebra {
public:
    bool GetDesignerVariable(const char* name, float& value) override {
        const std::string n = name;
        calls.push_back(n);
        if (n == "x") {
            value = x;
        } else if (n == "tick") {
            x = x * 2.0f + 1.0f;
            value = x;
        } else {
            return false;
        }
        return true;
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        return std::string(name) == "x" ? EquationBinding(&x) : EquationBinding{};
    }
    float x = 0;
    std::vector<std::string> calls;
};

TEST(EquationProgramReads, BoundReadsKeepTheirPlaceAmongTheOwnersCalls) {
    test::TestMachine tm;
    TickingOwner owner;
    DesignerEquation_Algebra formula;
    // The tree reads tick, x (right side of "*" first), then x, tick.
    ASSERT_TRUE(formula.ParseEquation("(x-tick)+(x*tick)", &owner));
    ASSERT_TRUE(formula.GetProgram().IsCompiled());
    owner.x = 1.0f;
    EXPECT_EQ(formula(), (3.0f - 7.0f) + (3.0f * 3.0f));
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"tick", "tick"}));

    std::mt19937 rng(5);
    for (int n = 0; n < 2000; ++n) {
        const std::string text = RandomFormula(rng, {"x", "tick", "missing"}, 0);
        if (!formula.ParseEquation(text.c_str(), &owner))
            continue;
        owner.x = 0.5f;
        owner.calls.clear();
        tm.ClearLog();
        const float tree = formula.EvaluateTree();
        std::vector<std::string> expected;
        for (const std::string& call : owner.calls)
            if (call != "x")
                expected.push_back(call);
        const std::size_t treeLog = tm.Log().size();
        owner.x = 0.5f;
        owner.calls.clear();
        tm.ClearLog();
        ASSERT_TRUE(SameBits(tree, formula())) << text;
        ASSERT_EQ(owner.calls, expected) << text;
        ASSERT_EQ(tm.Log().size(), treeLog) << text;
    }
}

// More reads than a program has slots for: the formula walks its tree, with the same result.
TEST(EquationProgramReads, AFormulaBeyondTheSlotsWalksItsTree) {
    test::TestMachine tm;
    TickingOwner owner;
    std::function<std::string(int)> balanced = [&](int depth) -> std::string {
        if (depth == 0)
            return "tick";
        return "(" + balanced(depth - 1) + (depth % 2 ? "-" : "/") + balanced(depth - 1) + ")";
    };
    std::string text = balanced(9);          // 512 reads of tick
    text = text.substr(1, text.size() - 2);  // the top level takes no brackets
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation(text.c_str(), &owner));
    EXPECT_FALSE(formula.GetProgram().IsCompiled());
    owner.x = 0.0f;
    const float tree = formula.EvaluateTree();
    owner.x = 0.0f;
    owner.calls.clear();
    EXPECT_TRUE(SameBits(formula(), tree));
    EXPECT_EQ(owner.calls.size(), 512u);
}

// The program squares in float: one rounding of the exact product, as double pow gives.
TEST(EquationProgramReads, FloatSquareEqualsDoublePowIncludingTinyAndHugeValues) {
    test::TestMachine tm;
    struct Owner : EquationInterface_Algebra {
        bool GetDesignerVariable(const char*, float& value) override {
            value = v;
            return true;
        }
        float v = 0;
    } owner;
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation("v^2", &owner));
    std::mt19937 rng(11);
    for (int n = 0; n < 200000; ++n) {
        const std::uint32_t bits = static_cast<std::uint32_t>(rng());
        std::memcpy(&owner.v, &bits, sizeof bits);
        const float expected = static_cast<float>(std::pow(static_cast<double>(owner.v), 2.0));
        ASSERT_TRUE(SameBits(formula(), expected)) << owner.v;
    }
}

TEST(DesignerVariableNamesPrefix, NamesSharingLongPrefixesAreToldApart) {
    static constexpr DesignerVariableNames<7> kTable{
        {"MaxLife", "MaxLifeRegen", "MaxMana", "x", "xy", "MaxLifeRegenPercent", ""}};
    for (std::size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(kTable.Find(std::string(kTable.GetName(i)).c_str()), static_cast<int>(i));
    for (const char* other : {"MaxLif", "MaxLifeX", "MaxLifeRegenPercen", "MaxLifeRegenPercentX",
                              "y", "xyz", "maxLife", "MaxMana "})
        EXPECT_EQ(kTable.Find(other), kTable.kNotFound) << other;
    // The asked name is read no further than its end, whatever the candidate's length.
    const char shortName[2] = {'M', '\0'};
    EXPECT_EQ(kTable.Find(shortName), kTable.kNotFound);
}

}  // namespace
}  // namespace GAME
