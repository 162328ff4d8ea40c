// The compiled program of a formula against the tree it was compiled from: thousands of random
// formulas, each evaluated both ways with the same owner, must give the same value bits, the
// same owner calls in the same order and the same log lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerEquation_Boolean.h"
#include "Game/rules/formulas/DesignerVariableNames.h"
#include "rules/FloatBits.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::SameBits;

const char* const kNames[] = {"a", "b", "level", "armor", "missing"};  // "missing" is unknown

// Records every call; binds the names it is told to, reading them from the same values.
template <class T>
class RecordingOwner : public EquationInterface<T> {
public:
    bool GetDesignerVariable(const char* name, T& value) override {
        calls.push_back(name);
        auto it = values.find(name);
        if (it == values.end())
            return false;
        value = it->second;
        return true;
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        ++bindQuestions[name];
        auto it = values.find(name);
        if (!bind.count(name) || it == values.end())
            return {};
        return EquationBinding(&it->second);
    }
    std::map<std::string, T> values;
    std::map<std::string, bool> bind;
    std::map<std::string, int> bindQuestions;
    std::vector<std::string> calls;
};

// Every bracket level holds one operator, so the whole formula is one unbracketed operation.
std::string RandomAlgebra(std::mt19937& rng, int depth) {
    std::uniform_int_distribution<int> pick(0, 99);
    const int roll = pick(rng);
    if (depth > 5 || (depth > 0 && roll < 30)) {
        if (roll % 3 == 0)
            return kNames[pick(rng) % 5];
        static const char* const kNumbers[] = {"2",    "0",   "1",   "0.5", "3",   "10",
                                               "1e30", ".25", "7.5", "100", "2.0", "0.1"};
        return kNumbers[pick(rng) % 12];
    }
    static const char kOps[] = {'+', '-', '*', '/', '^', '^'};
    const char op = kOps[pick(rng) % 6];
    const bool square = op == '^' && pick(rng) < 50;
    const char* open = depth == 0 ? "" : pick(rng) < 80 ? "(" : "[";
    const char* close = depth == 0 ? "" : pick(rng) < 80 ? ")" : "]";
    return std::string(open) + RandomAlgebra(rng, depth + 1) + op +
           (square ? std::string("2") : RandomAlgebra(rng, depth + 1)) + close;
}

std::string RandomBoolean(std::mt19937& rng, int depth) {
    std::uniform_int_distribution<int> pick(0, 99);
    const int roll = pick(rng);
    std::string text = pick(rng) < 25 ? "!" : "";
    if (depth > 5 || roll < 35)
        return text + (roll % 3 == 0 ? (roll % 2 ? "1" : "0") : kNames[pick(rng) % 5]);
    if (roll < 45)
        return text + "(" + RandomBoolean(rng, depth + 1) + ")";
    return text + "(" + RandomBoolean(rng, depth + 1) + (pick(rng) < 50 ? "&" : "|") +
           RandomBoolean(rng, depth + 1) + ")";
}

const float kValues[] = {0.0f,
                         -0.0f,
                         1.0f,
                         2.0f,
                         -3.5f,
                         0.1f,
                         1e20f,
                         -1e-20f,
                         3e38f,
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         12.0f,
                         45.25f};

TEST(EquationProgram, RandomNumericFormulasMatchTheirTreeByNameAndBound) {
    test::TestMachine tm;
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> pick(0, 99);
    int compiled = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string text = RandomAlgebra(rng, 0);
        RecordingOwner<float> owner;
        for (const char* name : {"a", "b", "level", "armor"})
            owner.values[name] = kValues[pick(rng) % std::size(kValues)];
        const bool binding = i % 2 == 1;
        if (binding)
            for (const char* name : {"a", "level"})
                owner.bind[name] = true;
        DesignerEquation_Algebra formula;
        tm.ClearLog();
        if (!formula.ParseEquation(text.c_str(), &owner))
            continue;
        // The one token here not read whole: "1e30" is 1, then the name e, then 30.
        ASSERT_EQ(tm.CountLog("Designer formula"), text.find("1e30") == std::string::npos ? 0 : 1)
            << text;
        compiled += formula.GetProgram().IsCompiled() ? 1 : 0;
        for (const auto& [name, count] : owner.bindQuestions)
            EXPECT_EQ(count, 1) << text << " asked twice to bind " << name;

        for (int round = 0; round < 2; ++round) {
            owner.values["a"] = kValues[pick(rng) % std::size(kValues)];
            owner.calls.clear();
            tm.ClearLog();
            const float tree = formula.EvaluateTree();
            const auto treeCalls = owner.calls;
            const auto treeLog = tm.Log().size();
            owner.calls.clear();
            tm.ClearLog();
            const float program = formula();
            ASSERT_TRUE(SameBits(tree, program))
                << text << ": tree " << tree << ", program " << program;
            // Bound names are never asked; every other call comes in the tree's order.
            std::vector<std::string> expected;
            for (const auto& name : treeCalls)
                if (!owner.bind.count(name))
                    expected.push_back(name);
            ASSERT_EQ(owner.calls, expected) << text;
            ASSERT_EQ(tm.Log().size(), treeLog) << text;
        }
    }
    EXPECT_GT(compiled, 1500);
}

TEST(EquationProgram, RandomConditionsKeepTheirShortCircuitOrder) {
    test::TestMachine tm;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 1);
    int compiled = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string text = RandomBoolean(rng, 0);
        RecordingOwner<bool> owner;
        for (const char* name : {"a", "b", "level", "armor"})
            owner.values[name] = pick(rng) == 1;
        if (i % 3 == 0)
            owner.bind["b"] = true;
        DesignerEquation_Boolean formula;
        tm.ClearLog();
        if (!formula.ParseEquation(text.c_str(), &owner))
            continue;
        ASSERT_EQ(tm.CountLog("Designer formula"), 0) << text;
        compiled += formula.GetProgram().IsCompiled() ? 1 : 0;
        owner.calls.clear();
        tm.ClearLog();
        const bool tree = formula.EvaluateTree();
        std::vector<std::string> expected;
        for (const auto& name : owner.calls)
            if (!owner.bind.count(name))
                expected.push_back(name);
        const auto treeLog = tm.Log().size();
        owner.calls.clear();
        tm.ClearLog();
        ASSERT_EQ(formula(), tree) << text;
        ASSERT_EQ(owner.calls, expected) << text;
        ASSERT_EQ(tm.Log().size(), treeLog) << text;
    }
    EXPECT_GT(compiled, 1500);
}

// An owner that resolves some names to slots: "a" and "level" answer through their slot,
// "armor" gets a slot that always refuses (as its name does), the rest stay by name. Slot calls
// are recorded under the name they stand for, so the sequence compares with the tree's.
template <class T>
class SlottingOwner : public RecordingOwner<T> {
public:
    int ResolveDesignerVariable(const char* name) override {
        ++resolveQuestions[name];
        for (int slot = 0; slot < 3; ++slot)
            if (std::string(name) == kSlotted[slot])
                return slot;
        return EquationInterface<T>::kNoSlot;
    }
    bool GetDesignerVariableAt(int slot, T& value) override {
        if (slot < 0 || slot >= 3)
            return false;
        slotCalls.push_back(kSlotted[slot]);
        this->calls.push_back(kSlotted[slot]);
        auto it = this->values.find(kSlotted[slot]);
        if (it == this->values.end())
            return false;
        value = it->second;
        return true;
    }
    static constexpr const char* kSlotted[] = {"a", "level", "armor"};
    std::map<std::string, int> resolveQuestions;
    std::vector<std::string> slotCalls;
};

// Slots change how a name is asked, never which names are asked, when, or what is logged.
TEST(EquationProgram, SlottedNamesAreAskedWhereTheTreeAsksByName) {
    test::TestMachine tm;
    std::mt19937 rng(1207);
    std::uniform_int_distribution<int> pick(0, 99);
    int slotted = 0;
    for (int i = 0; i < 3000; ++i) {
        const bool numeric = i % 2 == 0;
        const std::string text = numeric ? RandomAlgebra(rng, 0) : RandomBoolean(rng, 0);
        SlottingOwner<float> numbers;
        SlottingOwner<bool> conditions;
        for (const char* name : {"a", "b", "level"}) {
            numbers.values[name] = kValues[pick(rng) % std::size(kValues)];
            conditions.values[name] = pick(rng) < 50;
        }
        if (i % 3 == 0)
            numbers.bind["level"] = conditions.bind["level"] = true;  // bound beats slotted
        DesignerEquation_Algebra algebra;
        DesignerEquation_Boolean boolean;
        if (numeric ? !algebra.ParseEquation(text.c_str(), &numbers)
                    : !boolean.ParseEquation(text.c_str(), &conditions))
            continue;
        for (const auto& [name, count] : numbers.resolveQuestions) {
            EXPECT_EQ(count, 1) << text << " resolved twice: " << name;
            EXPECT_FALSE(numbers.bind.count(name)) << text << " resolved a bound name";
        }
        std::vector<std::string> treeCalls;
        std::size_t treeLog = 0;
        auto evaluate = [&](bool tree) {
            numbers.calls.clear();
            conditions.calls.clear();
            numbers.slotCalls.clear();
            conditions.slotCalls.clear();
            tm.ClearLog();
            if (numeric) {
                const float value = tree ? algebra.EvaluateTree() : algebra();
                return std::pair<float, std::vector<std::string>>(value, numbers.calls);
            }
            const bool value = tree ? boolean.EvaluateTree() : boolean();
            return std::pair<float, std::vector<std::string>>(value ? 1.0f : 0.0f,
                                                              conditions.calls);
        };
        const auto tree = evaluate(true);
        treeLog = tm.Log().size();
        for (const auto& name : tree.second)
            if (!numbers.bind.count(name))
                treeCalls.push_back(name);
        const auto program = evaluate(false);
        ASSERT_TRUE(SameBits(tree.first, program.first)) << text;
        ASSERT_EQ(program.second, treeCalls) << text;
        ASSERT_EQ(tm.Log().size(), treeLog) << text;
        const auto& slotCalls = numeric ? numbers.slotCalls : conditions.slotCalls;
        if (algebra.GetProgram().IsCompiled() || boolean.GetProgram().IsCompiled())
            slotted += slotCalls.empty() ? 0 : 1;
    }
    EXPECT_GT(slotted, 500);  // the slots were really taken
}

// There is no precedence: whatever follows the top-level operation is logged and changes nothing.
TEST(EquationProgram, TextAfterTheTopLevelOperationOnlyAddsALogLine) {
    test::TestMachine tm;
    std::mt19937 rng(41);
    std::uniform_int_distribution<int> pick(0, 99);
    int parsed = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::string base = RandomAlgebra(rng, 0);
        const std::string extra = "+-*/^"[pick(rng) % 5] + RandomAlgebra(rng, 1 + pick(rng) % 5);
        RecordingOwner<float> owner;
        for (const char* name : {"a", "b", "level", "armor"})
            owner.values[name] = kValues[pick(rng) % std::size(kValues)];
        DesignerEquation_Algebra whole;
        DesignerEquation_Algebra cut;
        const bool ok = whole.ParseEquation(base.c_str(), &owner);
        tm.ClearLog();
        ASSERT_EQ(cut.ParseEquation((base + extra).c_str(), &owner), ok) << base + extra;
        if (!ok)
            continue;
        ++parsed;
        ASSERT_EQ(tm.CountLog("'" + extra + "' after '" + base + "' is ignored"), 1)
            << base + extra;
        ASSERT_TRUE(SameBits(whole(), cut())) << base + extra;
        ASSERT_TRUE(SameBits(whole.EvaluateTree(), cut.EvaluateTree())) << base + extra;
    }
    EXPECT_GT(parsed, 900);
}

TEST(EquationProgram, ConstantsFoldAndNamesAreReadInTheTreeOrder) {
    test::TestMachine tm;
    RecordingOwner<float> owner;
    owner.values = {{"a", 3.0f}, {"b", 5.0f}};
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation("((2*3)+(10/4))^2", &owner));
    EXPECT_EQ(formula.GetProgram().GetInstructionCount(), 1u);  // only the folded result
    EXPECT_FLOAT_EQ(formula(), 72.25f);
    // A name read first by the tree (the right side of "+") is asked before the left side.
    ASSERT_TRUE(formula.ParseEquation("(a*(b-a))+b", &owner));
    EXPECT_FLOAT_EQ(formula(), 11.0f);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"b", "b", "a", "a"}));
}

TEST(EquationProgram, BoundNamesAreReadInPlaceAtEveryEvaluation) {
    test::TestMachine tm;
    RecordingOwner<float> owner;
    owner.values = {{"a", 3.0f}, {"b", 5.0f}};
    owner.bind = {{"a", true}, {"b", true}};
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation("(a*(b-a))+(a^2)", &owner));
    EXPECT_EQ(formula.GetProgram().GetBoundNameCount(), 2u);
    EXPECT_FLOAT_EQ(formula(), 15.0f);
    owner.values["a"] = 1.0f;
    EXPECT_FLOAT_EQ(formula(), 5.0f);
    EXPECT_TRUE(owner.calls.empty());
}

TEST(EquationProgram, OtherValueKindsBindThroughTheirConversion) {
    test::TestMachine tm;
    struct Owner : EquationInterface_Algebra {
        bool GetDesignerVariable(const char*, float&) override { return false; }
        EquationBinding BindDesignerVariable(const char* name) override {
            if (name[0] == 'd')
                return EquationBinding(&d);
            if (name[0] == 'u')
                return EquationBinding(&u);
            return EquationBinding(&i);
        }
        double d = 16777217.0;  // rounds to 16777216 as a float
        std::uint32_t u = 4000000000u;
        std::int32_t i = -7;
    } owner;
    DesignerEquation_Algebra formula;
    ASSERT_TRUE(formula.ParseEquation("(d-16777216)+(u/(0-i))", &owner));
    EXPECT_EQ(formula(), 4000000000.0f / 7.0f);
}

// The exact square stands in for pow only because the two agree on every float.
TEST(EquationProgram, SquareEqualsDoublePowOverTheFloatRange) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 1000000; ++i) {
        std::uint32_t b = bits(rng);
        float x;
        std::memcpy(&x, &b, sizeof x);
        if (std::isnan(x))
            continue;
        const double d = static_cast<double>(x);
        const float viaPow = static_cast<float>(std::pow(d, 2.0));
        const float viaProduct = static_cast<float>(d * d);
        ASSERT_EQ(std::memcmp(&viaPow, &viaProduct, sizeof x), 0) << x;
    }
}

TEST(DesignerVariableNames, FindsEveryNameAndNothingElse) {
    static constexpr DesignerVariableNames<8> kTable{
        {"averagePlayerLevel", "minPlayerLevel", "maxPlayerLevel", "numberOfPlayers",
         "gameDifficultyDV", "monsterLevel", "monsterExperience", "currentPlayerLevel"}};
    for (std::size_t i = 0; i < kTable.size(); ++i)
        EXPECT_EQ(kTable.Find(std::string(kTable.GetName(i)).c_str()), static_cast<int>(i));
    for (const char* other : {"", "monsterlevel", "monsterLevelX", "monsterLeve", "level",
                              "averagePlayerLevel ", "gameDifficulty"})
        EXPECT_EQ(kTable.Find(other), kTable.kNotFound) << other;
    EXPECT_EQ(kTable.Find(nullptr), kTable.kNotFound);
}

}  // namespace
}  // namespace GAME
