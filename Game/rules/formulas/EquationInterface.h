#pragma once
// The owner side of a designer formula: answers the formula's named variables.

namespace GAME {

template <class T>
class EquationInterface {
public:
    virtual ~EquationInterface() = default;

    // Writes the value and answers true when the name (whole, case-sensitive) is known; leaves
    // `value` untouched and answers false otherwise.
    virtual bool GetDesignerVariable(const char* name, T& value) = 0;
};

using EquationInterface_Algebra = EquationInterface<float>;
using EquationInterface_Boolean = EquationInterface<bool>;

}  // namespace GAME
