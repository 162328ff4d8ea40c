// A program's steps read each operand where it is: a slot, the accumulator, the step's constant,
// or a name bound as a float or a double read in place. Every operator with every pairing of
// those gives its tree's value, and an owner asked by slot gives what it gives by name.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "rules/FloatBits.h"
#include "rules/formulas/TypedOwner.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::SameBits;

using test::TypedOwner;

TEST(EquationOperandForms, EveryOperatorWithEveryPairOfOperandsMatchesTheTree) {
    test::TestMachine tm;
    // A temporary lands in the accumulator when the step just before computed it, else in a
    // slot: "(f*3)" on both sides gives one of each.
    const std::vector<std::string> operands = {"f", "d", "i", "2.5", "(f*3)", "(d/7)", "(i-f)"};
    const float floats[] = {0.0f,
                            -1.5f,
                            3.0f,
                            1e-30f,
                            -7e20f,
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    const double doubles[] = {0.1, -2.0, 1e300, 16777217.0, -0.0};
    const std::int32_t ints[] = {0, 7, -3, 2147483647};
    // The step returns its value, leaves it in the accumulator for the next, or stores it for a
    // later one.
    auto inContext = [](int context, const std::string& pair) {
        return context == 0 ? pair : context == 1 ? "(" + pair + ")*f" : "(" + pair + ")-(d*2)";
    };
    int cases = 0;
    for (const char op : std::string("+-*/^")) {
        for (const std::string& left : operands) {
            for (const std::string& right : operands) {
                for (int context = 0; context < 3; ++context) {
                    const std::string text = inContext(context, left + op + right);
                    TypedOwner owner;
                    DesignerEquation_Algebra formula;
                    ASSERT_TRUE(formula.ParseEquation(text.c_str(), &owner)) << text;
                    ASSERT_TRUE(formula.GetProgram().IsCompiled()) << text;
                    for (std::size_t n = 0; n < 40; ++n) {
                        owner.f = floats[n % std::size(floats)];
                        owner.d = doubles[(n / 2) % std::size(doubles)];
                        owner.i = ints[(n / 3) % std::size(ints)];
                        const float tree = formula.EvaluateTree();
                        const float program = formula();
                        ASSERT_TRUE(SameBits(tree, program))
                            << text << " with f=" << owner.f << " d=" << owner.d << " i=" << owner.i
                            << ": tree " << tree << ", program " << program;
                    }
                    ++cases;
                }
            }
        }
    }
    EXPECT_EQ(cases, 5 * 7 * 7 * 3);
    EXPECT_TRUE(tm.Log().empty());
}

// Asked by slot, a value the owner does not write is 0 and a refused one is 0 with the tree's
// log line, whatever the owner left in it.
TEST(EquationOperandForms, SlotsTheOwnerLeavesOrRefusesReadAsTheTreeReadsThem) {
    test::TestMachine tm;
    struct Owner : EquationInterface_Algebra {
        bool GetDesignerVariable(const char* name, float& value) override {
            const std::string n = name;
            if (n == "refuses")
                value = 99.0f;
            if (n == "x")
                value = x;
            return n != "refuses";
        }
        int ResolveDesignerVariable(const char* name) override {
            const std::string n = name;
            return n == "silent" ? 0 : n == "refuses" ? 1 : n == "x" ? 2 : kNoSlot;
        }
        bool GetDesignerVariableAt(int slot, float& value) override {
            ++asked;
            if (slot == 1)
                value = 99.0f;
            if (slot == 2)
                value = x;
            return slot != 1;
        }
        float x = 4.0f;
        int asked = 0;
    } owner;
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation("((silent+x)*(refuses-x))+(x-silent)", &owner));
    ASSERT_TRUE(formula.GetProgram().IsCompiled());
    // The same shape over "x" alone fills the same slots with x just before: leftovers must not
    // show.
    DesignerEquation_Algebra filler;
    ASSERT_TRUE(filler.ParseEquation("((x+x)*(x-x))+(x-x)", &owner));
    for (const float x : {4.0f, -1.0f, 0.5f}) {
        owner.x = x;
        tm.ClearLog();
        const float tree = formula.EvaluateTree();
        ASSERT_EQ(tree, x - x * x);
        ASSERT_EQ(tm.CountLog("Designer variable 'refuses' not found in parent"), 1);
        (void)filler();
        tm.ClearLog();
        owner.asked = 0;
        const float program = formula();
        EXPECT_TRUE(SameBits(tree, program)) << x << ": tree " << tree << ", program " << program;
        EXPECT_EQ(owner.asked, 6);
        EXPECT_EQ(tm.CountLog("Designer variable 'refuses' not found in parent"), 1);
        EXPECT_EQ(tm.Log().size(), 1u);
    }
}

}  // namespace
}  // namespace GAME
