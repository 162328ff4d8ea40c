#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerEquation_Boolean.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

// An owner that answers from a map and records every name it was asked for.
template <class T>
class MapOwner : public EquationInterface<T> {
public:
    bool GetDesignerVariable(const char* name, T& value) override {
        asked.push_back(name);
        auto it = values.find(name);
        if (it == values.end()) {
            value = garbage;  // an owner that scribbles on a miss must not leak through
            return false;
        }
        value = it->second;
        return true;
    }
    std::map<std::string, T> values;
    std::vector<std::string> asked;
    T garbage{};
};

class AlgebraTest : public ::testing::Test {
protected:
    bool Parse(const char* text) { return formula.ParseEquation(text, &owner); }
    float Eval(const char* text) {
        EXPECT_TRUE(Parse(text)) << text;
        return formula();
    }
    test::TestMachine tm;
    MapOwner<float> owner;
    DesignerEquation_Algebra formula;
};

class BooleanTest : public ::testing::Test {
protected:
    bool Parse(const char* text) { return formula.ParseEquation(text, &owner); }
    bool Eval(const char* text) {
        EXPECT_TRUE(Parse(text)) << text;
        return formula();
    }
    test::TestMachine tm;
    MapOwner<bool> owner;
    DesignerEquation_Boolean formula;
};

TEST_F(AlgebraTest, OperatorsAndTheirOperandOrder) {
    EXPECT_FLOAT_EQ(Eval("2^3"), 8.0f);
    EXPECT_FLOAT_EQ(Eval("6/3"), 2.0f);
    EXPECT_FLOAT_EQ(Eval("6-3"), 3.0f);
    EXPECT_FLOAT_EQ(Eval("5-3"), 2.0f);  // the "-" after a digit is the operator
    EXPECT_FLOAT_EQ(Eval("(10-4)/2"), 3.0f);
    EXPECT_FLOAT_EQ(Eval("2*(0-5)"), -10.0f);

    owner.values = {{"a", 1}, {"b", 2}};
    EXPECT_FLOAT_EQ(Eval("a+b"), 3.0f);
    EXPECT_EQ(owner.asked, (std::vector<std::string>{"b", "a"}));  // right first
    owner.asked.clear();
    Eval("a*b");
    Eval("a^b");
    EXPECT_EQ(owner.asked, (std::vector<std::string>{"b", "a", "b", "a"}));
    owner.asked.clear();
    Eval("a-b");
    Eval("a/b");
    EXPECT_EQ(owner.asked, (std::vector<std::string>{"a", "b", "a", "b"}));  // left first
}

TEST_F(AlgebraTest, NoPrecedenceAndTrailingTextIgnored) {
    owner.values = {{"a", 20}, {"b", 3}, {"c", 5}, {"d", 100}};
    EXPECT_FLOAT_EQ(Eval("10-4/2"), 6.0f);
    EXPECT_FLOAT_EQ(Eval("(a*b)+c"), 65.0f);
    EXPECT_FLOAT_EQ(Eval("(a-b-c)"), 12.0f);
    EXPECT_FLOAT_EQ(Eval("(a-b-c-d)"), 12.0f);
    EXPECT_FLOAT_EQ(Eval("a+b)c"), 23.0f);
    EXPECT_FLOAT_EQ(Eval("(a+b]*2"), 46.0f);
    EXPECT_FLOAT_EQ(Eval("[a+b)*2"), 46.0f);
    EXPECT_FLOAT_EQ(Eval("(a+b)*(2*1"), 46.0f);  // a group left open is closed by the end
}

// The text stays read as the language reads it; what it leaves out is logged, once per parse.
TEST_F(AlgebraTest, TextTheFormulaLeavesOutIsLoggedWithItsSource) {
    owner.values = {{"a", 20}, {"b", 3}, {"c", 5}, {"d", 100}, {"level", 7}};
    auto parsedLog = [&](const char* text, const char* source, float value) {
        tm.ClearLog();
        EXPECT_TRUE(formula.ParseEquation(text, &owner, source)) << text;
        std::vector<std::string> lines;
        for (const auto& line : tm.Log()) {
            EXPECT_EQ(line.level, 1);
            lines.push_back(line.text);
        }
        EXPECT_FLOAT_EQ(formula(), value) << text;
        return lines;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(parsedLog("a * b + c", "Records/Game/PlayerScore.dbr scoreEquation", 60.0f),
              Lines{"Designer formula 'a * b + c' in Records/Game/PlayerScore.dbr scoreEquation: "
                    "'+c' after 'a*b' is ignored"});
    EXPECT_EQ(parsedLog("10-4/2", nullptr, 6.0f),
              Lines{"Designer formula '10-4/2': '/2' after '10-4' is ignored"});
    EXPECT_EQ(parsedLog("(a-b-c-d)", "r", 12.0f),
              Lines{"Designer formula '(a-b-c-d)' in r: '-d)' after '(a-b-c' is ignored"});
    EXPECT_EQ(parsedLog("a+b)c", "r", 23.0f),
              Lines{"Designer formula 'a+b)c' in r: 'c' after 'a+b)' is ignored"});
    EXPECT_EQ(parsedLog("a*b+", "r", 60.0f),
              Lines{"Designer formula 'a*b+' in r: '+' after 'a*b' is ignored"});

    const char* const kReplaced = "is ignored, replaced by what follows it without an operator";
    EXPECT_EQ(parsedLog("level2*3", "r", 6.0f),
              Lines{"Designer formula 'level2*3' in r: 'level' " + std::string(kReplaced)});
    EXPECT_EQ(parsedLog("1e30*1", "r", 30.0f),
              Lines{"Designer formula '1e30*1' in r: '1' " + std::string(kReplaced)});
    EXPECT_EQ(parsedLog("(a+b)c*2", "r", 10.0f),
              Lines{"Designer formula '(a+b)c*2' in r: '(a+b)' " + std::string(kReplaced)});
    EXPECT_EQ(parsedLog("2*d(b+c)", "r", 16.0f),
              Lines{"Designer formula '2*d(b+c)' in r: 'd' " + std::string(kReplaced)});

    // Read whole: no line, a stray closing bracket or an open group included.
    for (const char* text : {"(a+b]*2", "(a+b)*(2*1", "x * y", "((2*3)+(10/4))^2", "a+b)"}) {
        tm.ClearLog();
        EXPECT_TRUE(formula.ParseEquation(text, &owner, "r")) << text;
        EXPECT_TRUE(tm.Log().empty()) << text;
    }
    // A failure is the owner's to log.
    for (const char* text : {"(a*b)", "level", "2*", "a b"}) {
        tm.ClearLog();
        EXPECT_FALSE(formula.ParseEquation(text, &owner, "r")) << text;
        EXPECT_TRUE(tm.Log().empty()) << text;
    }
}

TEST_F(AlgebraTest, EveryLevelNeedsItsOwnOperator) {
    owner.values = {{"level", 7}};
    EXPECT_FALSE(Parse("(a+b)"));
    EXPECT_FALSE(Parse("[a*b]"));
    EXPECT_FALSE(Parse("level"));
    EXPECT_FALSE(Parse("12"));
    EXPECT_FALSE(Parse("(level)*2"));
    EXPECT_FLOAT_EQ(Eval("level*1"), 7.0f);
    EXPECT_FLOAT_EQ(Eval("level+0"), 7.0f);
    EXPECT_FLOAT_EQ(Eval("(level*2)*1"), 14.0f);
    EXPECT_FLOAT_EQ(Eval("level2*3"), 6.0f);  // the digit run replaces the name
}

TEST_F(AlgebraTest, NumbersReadTheLongestValidPrefix) {
    EXPECT_FLOAT_EQ(Eval("1.5*2"), 3.0f);
    EXPECT_FLOAT_EQ(Eval("1.5.2*2"), 3.0f);
    EXPECT_FLOAT_EQ(Eval(".*2"), 0.0f);
    EXPECT_FLOAT_EQ(Eval("0.1+0.2"), 0.1f + 0.2f);
}

TEST_F(AlgebraTest, NumbersDoNotDependOnTheProcessLocale) {
    // A locale whose decimal separator is a comma; the formula's point must still be read.
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = name;
            break;
        }
    if (!commaLocale)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const bool parsed = Parse("1.5*2");
    const float value = formula();
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_TRUE(parsed);
    EXPECT_FLOAT_EQ(value, 3.0f) << commaLocale;
}

TEST_F(AlgebraTest, NumbersBeyondTheFloatRangeRoundLikeTheProcessor) {
    const std::string big(45, '9');
    EXPECT_EQ(Eval((big + "*1").c_str()), std::numeric_limits<float>::infinity());
    EXPECT_EQ(Eval(("(0-" + big + ")*1").c_str()), -std::numeric_limits<float>::infinity());
    // Just above the largest float, but within half a step of it.
    EXPECT_EQ(Eval("340282350000000000000000000000000000000*1"), std::numeric_limits<float>::max());
    EXPECT_EQ(Eval("340282356779733661637539395458142568448*1"),
              std::numeric_limits<float>::infinity());
}

TEST_F(AlgebraTest, BlanksAreDroppedButTabsFail) {
    owner.values = {{"x", 3}, {"y", 4}};
    EXPECT_FLOAT_EQ(Eval("x * y"), 12.0f);
    EXPECT_FLOAT_EQ(Eval("  ( x + y ) *  2 "), 14.0f);
    EXPECT_FLOAT_EQ(Eval("1 0*2"), 20.0f);  // blanks inside a number vanish too
    EXPECT_FALSE(Parse("x\t*y"));
    EXPECT_FALSE(Parse("x*\ty"));
}

TEST_F(AlgebraTest, MalformedTextsFail) {
    for (const char* text :
         {"", "   ", "-5", "*2", "2*", "2*)", "(2*)", "a,b", "2$3", "2+(", "3+()"})
        EXPECT_FALSE(Parse(text)) << "'" << text << "'";
    EXPECT_FALSE(formula.ParseEquation(nullptr, &owner));
    EXPECT_FALSE(formula.HasTree());
    EXPECT_EQ(formula(), 0.0f);
}

TEST_F(AlgebraTest, ClosingBracketBeforeAnyOperandIsAFailureNotAnEmptyTree) {
    for (const char* text : {")", ")2*3", "())", "()"}) {
        EXPECT_FALSE(Parse(text)) << text;
        EXPECT_FALSE(formula.HasTree());
        EXPECT_EQ(formula(), 0.0f);
    }
}

TEST_F(AlgebraTest, OverlongNumberIsRejected) {
    const std::string fits = std::string(62, '0') + "1*2";
    EXPECT_FLOAT_EQ(Eval(fits.c_str()), 2.0f);
    const std::string tooLong = std::string(63, '0') + "1*2";
    EXPECT_FALSE(Parse(tooLong.c_str()));
    const std::string huge = "2*" + std::string(100000, '9');
    EXPECT_FALSE(Parse(huge.c_str()));
}

TEST_F(AlgebraTest, DeepNestingFailsInsteadOfOverflowing) {
    const std::string deep = std::string(100000, '(') + "1+1";
    EXPECT_FALSE(Parse(deep.c_str()));
    auto nested = [](int levels) {
        std::string text = "1+1";
        for (int i = 0; i < levels; ++i)
            text = "(" + text + ")*2";
        return text;
    };
    EXPECT_FLOAT_EQ(Eval(nested(50).c_str()), std::ldexp(2.0f, 50));
    EXPECT_FALSE(Parse(nested(1000).c_str()));
}

TEST_F(AlgebraTest, ArithmeticIsUnchecked) {
    EXPECT_EQ(Eval("1/0"), std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(Eval("0/0")));
    EXPECT_TRUE(std::isnan(Eval("(0-8)^0.5")));
    EXPECT_FLOAT_EQ(Eval("(0-8)^3"), -512.0f);
    // The power is taken in double precision: 10^-1 rounds once, to the float nearest 0.1.
    EXPECT_EQ(Eval("10^(0-1)"), 0.1f);
}

TEST_F(AlgebraTest, UnknownVariableLogsAtEveryEvaluationAndYieldsZero) {
    owner.garbage = 1234.0f;
    owner.values = {{"known", 2}};
    ASSERT_TRUE(Parse("known+mystery"));  // unknown names are not parse errors
    EXPECT_EQ(tm.CountLog("Designer variable"), 0);
    EXPECT_FLOAT_EQ(formula(), 2.0f);
    EXPECT_FLOAT_EQ(formula(), 2.0f);
    EXPECT_EQ(tm.CountLog("Designer variable 'mystery' not found in parent"), 2);
    EXPECT_EQ(tm.Log().back().level, 1);
}

TEST_F(AlgebraTest, VariablesAreReadAtEveryEvaluation) {
    owner.values = {{"hp", 10}};
    ASSERT_TRUE(Parse("hp*2"));
    EXPECT_FLOAT_EQ(formula(), 20.0f);
    owner.values["hp"] = 25;
    EXPECT_FLOAT_EQ(formula(), 50.0f);
}

TEST_F(AlgebraTest, ReparseReplacesTheTree) {
    EXPECT_FLOAT_EQ(Eval("1+1"), 2.0f);
    EXPECT_FLOAT_EQ(Eval("3*3"), 9.0f);
    EXPECT_FALSE(Parse("3*"));
    EXPECT_EQ(formula(), 0.0f);  // a failed parse keeps nothing of the old tree
}

TEST_F(BooleanTest, ConstantsAndLoneOperands) {
    owner.values = {{"hasKey", true}, {"no", false}};
    EXPECT_TRUE(Eval("1"));
    EXPECT_FALSE(Eval("0"));
    EXPECT_FALSE(Eval("00"));
    EXPECT_TRUE(Eval("10"));
    EXPECT_TRUE(Eval("hasKey"));
    EXPECT_FALSE(Eval("!hasKey"));
    EXPECT_TRUE(Eval("(no|hasKey)"));
    EXPECT_FALSE(Eval("!1"));
    EXPECT_TRUE(Eval("!!0"));  // the second "!" replaces the first
    EXPECT_FALSE(Eval("hasKey!"));
}

TEST_F(BooleanTest, NegationBindsToWhatItMeets) {
    owner.values = {{"a", true}, {"b", false}};
    EXPECT_TRUE(Eval("!(a&b)"));
    EXPECT_FALSE(Eval("(a&b)"));
    EXPECT_FALSE(Eval("a!&b"));  // (not a) and b
    EXPECT_TRUE(Eval("a!|!b"));
    EXPECT_FALSE(Eval("a&!a"));
}

TEST_F(BooleanTest, AndOrShortCircuit) {
    owner.values = {{"b", true}};
    EXPECT_FALSE(Eval("0&b"));
    EXPECT_TRUE(Eval("1|b"));
    EXPECT_TRUE(owner.asked.empty());
    EXPECT_TRUE(Eval("1&b"));
    EXPECT_TRUE(Eval("0|b"));
    EXPECT_EQ(owner.asked.size(), 2u);
}

TEST_F(BooleanTest, GrammarLimits) {
    for (const char* text : {"", "2", "a&", "&a", "a+b", "a\t&b", "a&)"})
        EXPECT_FALSE(Parse(text)) << "'" << text << "'";
    // A closing bracket before any operand: no tree, reported as a failure.
    for (const char* text : {"!)", ")a", "())"}) {
        EXPECT_FALSE(Parse(text)) << text;
        EXPECT_FALSE(formula());
    }
}

TEST_F(BooleanTest, TextTheConditionLeavesOutIsLogged) {
    owner.values = {{"a", true}, {"b", false}, {"c", true}};
    auto logged = [&](const char* text, bool value) {
        tm.ClearLog();
        EXPECT_EQ(Eval(text), value) << text;
        return tm.Log().empty() ? std::string() : tm.Log().back().text;
    };
    EXPECT_EQ(logged("a&b|c", false), "Designer formula 'a&b|c': '|c' after 'a&b' is ignored");
    EXPECT_EQ(logged("a)b", true), "Designer formula 'a)b': 'b' after 'a)' is ignored");
    EXPECT_EQ(logged("!!b", true),
              "Designer formula '!!b': '!' is ignored, replaced by what follows it without an "
              "operator");
    for (const char* text : {"1", "!(a&b)", "a!&b", "(a|b)&!c", "(a"}) {
        tm.ClearLog();
        EXPECT_TRUE(Parse(text)) << text;
        EXPECT_TRUE(tm.Log().empty()) << text;
    }
}

TEST_F(BooleanTest, UnknownVariableIsFalse) {
    owner.garbage = true;
    EXPECT_FALSE(Eval("ghost"));
    EXPECT_TRUE(Eval("!ghost"));
    EXPECT_EQ(tm.CountLog("Designer variable 'ghost' not found in parent"), 2);
}

TEST(DesignerEquationConstants, BooleanConstantThreshold) {
    DesignerEquation_Boolean grammar;
    auto value = [&](float v) { return grammar.SpawnConstant(v)->Evaluate(); };
    EXPECT_FALSE(value(0.000001f));
    EXPECT_FALSE(value(-0.000009f));
    EXPECT_TRUE(value(0.5f));
    EXPECT_TRUE(value(-1.0f));
    EXPECT_TRUE(value(0.00001f));  // the bounds themselves are outside
    EXPECT_TRUE(value(std::numeric_limits<float>::quiet_NaN()));
}

TEST(DesignerEquationConstants, NotAppliedToAnOperatorNodeNegatesItsResult) {
    DesignerEquation_Boolean grammar;
    auto andNode = grammar.SpawnOperator('&');
    andNode->SetLeft(grammar.SpawnConstant(1));
    andNode->SetRight(grammar.SpawnConstant(1));
    EXPECT_TRUE(andNode->Evaluate());
    andNode->SetUnaryOperator(grammar.SpawnUnaryOperator('!'));
    EXPECT_FALSE(andNode->Evaluate());
    EXPECT_EQ(grammar.SpawnUnaryOperator('~'), nullptr);
    EXPECT_EQ(grammar.SpawnOperator('+'), nullptr);
    DesignerEquation_Algebra algebra;
    EXPECT_EQ(algebra.SpawnOperator('1'), nullptr);
    EXPECT_EQ(algebra.SpawnUnaryOperator('!'), nullptr);
}

}  // namespace
}  // namespace GAME
