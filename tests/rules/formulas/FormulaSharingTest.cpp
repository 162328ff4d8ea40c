// Formulas of the same text share one parse between owners that read every name by name; an
// owner that binds or slots a name gets a program of its own. Either way each formula reads its
// own owner, logs what its text leaves out, and asks each owner once per name.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerEquation_Boolean.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

class Owner : public EquationInterface_Algebra {
public:
    explicit Owner(float level) : level(level) {}
    bool GetDesignerVariable(const char* name, float& value) override {
        if (std::string(name) != "level")
            return false;
        value = level;
        return true;
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        ++questions[name];
        return bind ? EquationBinding(&level) : EquationBinding{};
    }
    int ResolveDesignerVariable(const char* name) override {
        ++questions[name];
        return slot ? 0 : kNoSlot;
    }
    bool GetDesignerVariableAt(int, float& value) override {
        value = level * 100.0f;  // tells a slotted read from a read by name
        return true;
    }
    float level;
    bool bind = false;
    bool slot = false;
    std::map<std::string, int> questions;
};

TEST(FormulaSharing, OwnersReadingByNameShareOneParseAndReadTheirOwnValues) {
    struct Case {
        const char* label;
        bool bind;
        bool slot;
        bool shared;
        float expected;  // (level*2)+1 as the second owner reads it, level 5
    };
    const Case cases[] = {
        {"by name", false, false, true, 11.0f},
        {"bound", true, false, false, 11.0f},
        {"slotted", false, true, false, 1001.0f},
    };
    for (const Case& c : cases) {
        test::TestMachine tm;
        Owner first(2.0f);
        Owner second(5.0f);
        second.bind = c.bind;
        second.slot = c.slot;
        DesignerEquation_Algebra a;
        DesignerEquation_Algebra b;
        ASSERT_TRUE(a.ParseEquation("(level*2)+1", &first)) << c.label;
        ASSERT_TRUE(b.ParseEquation("(level*2)+1", &second)) << c.label;
        EXPECT_EQ(&a.GetProgram() == &b.GetProgram(), c.shared) << c.label;
        EXPECT_EQ(a(), 5.0f) << c.label;
        EXPECT_EQ(b(), c.expected) << c.label;
        EXPECT_EQ(b.EvaluateTree(), 11.0f) << c.label;  // the tree asks by name
        second.level = 6.0f;
        EXPECT_EQ(a(), 5.0f) << c.label;
        EXPECT_EQ(b(), c.slot ? 1201.0f : 13.0f) << c.label;
        for (const auto& [name, count] : second.questions)
            EXPECT_LE(count, 2) << c.label << ": " << name << " asked again";
        EXPECT_EQ(second.questions["level"], c.bind ? 1 : 2) << c.label;  // bind, then slot
    }
}

TEST(FormulaSharing, ASharedParseLogsItsUnusedTextForEveryOwner) {
    test::TestMachine tm;
    Owner first(1.0f);
    Owner second(1.0f);
    DesignerEquation_Algebra a;
    DesignerEquation_Algebra b;
    ASSERT_TRUE(a.ParseEquation("level+1)+7", &first, "One.dbr"));
    ASSERT_TRUE(b.ParseEquation("level+1)+7", &second, "Two.dbr"));
    EXPECT_EQ(&a.GetProgram(), &b.GetProgram());
    EXPECT_EQ(tm.CountLog("in One.dbr: '+7' after 'level+1)' is ignored"), 1);
    EXPECT_EQ(tm.CountLog("in Two.dbr: '+7' after 'level+1)' is ignored"), 1);
    EXPECT_EQ(b(), 2.0f);
}

TEST(FormulaSharing, GrammarsMachinesAndFailedTextsKeepApart) {
    test::TestMachine one;
    Owner owner(3.0f);
    DesignerEquation_Boolean condition;
    ASSERT_TRUE(condition.ParseEquation("1&1", nullptr));
    EXPECT_TRUE(condition());
    DesignerEquation_Algebra number;
    EXPECT_FALSE(number.ParseEquation("1&1", &owner));  // not a numeric formula
    ASSERT_TRUE(number.ParseEquation("1*1", &owner));
    EXPECT_EQ(number(), 1.0f);

    DesignerEquation_Algebra broken;
    EXPECT_FALSE(broken.ParseEquation("level+", &owner));
    EXPECT_FALSE(broken.HasTree());
    EXPECT_EQ(broken(), 0.0f);
    EXPECT_FALSE(broken.ParseEquation("level+", &owner));  // failures are not kept

    test::TestMachine two;
    DesignerEquation_Algebra elsewhere;
    ASSERT_TRUE(elsewhere.ParseEquation("1*1", &owner));
    EXPECT_NE(&elsewhere.GetProgram(), &number.GetProgram());
}

}  // namespace
}  // namespace GAME
