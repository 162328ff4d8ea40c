#pragma once
// A formula owner with one name of each bindable kind: "f" a float, "d" a double, "i" an int and
// "u" an unsigned int. The tree asks for them by name and gets the conversions the program's
// bound reads make; `asked` counts the by-name answers.
#include <cstdint>
#include <string>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace GAME::test {

class TypedOwner : public EquationInterface_Algebra {
public:
    bool GetDesignerVariable(const char* name, float& value) override {
        const std::string n = name;
        if (n == "f")
            value = f;
        else if (n == "d")
            value = static_cast<float>(d);
        else if (n == "i")
            value = static_cast<float>(i);
        else if (n == "u")
            value = static_cast<float>(u);
        else
            return false;
        ++asked;
        return true;
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        const std::string n = name;
        if (n == "f")
            return EquationBinding(&f);
        if (n == "d")
            return EquationBinding(&d);
        if (n == "i")
            return EquationBinding(&i);
        if (n == "u")
            return EquationBinding(&u);
        return {};
    }
    float f = 0;
    double d = 0;
    std::int32_t i = 0;
    std::uint32_t u = 0;
    int asked = 0;
};

}  // namespace GAME::test
