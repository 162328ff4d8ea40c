#include "Game/rules/formulas/DesignerEquation_Algebra.h"

#include <cmath>

#include "Game/rules/formulas/DesignerEquationGrammar.h"

namespace GAME {

namespace grammar = equation_grammar;

// The operand computed first is held as a float while the other is computed.
float DesignerEquation_Algebra::EqAdd::Compute(EquationInterface<float>* owner) const {
    const float right = mRight->Evaluate(owner);
    const float left = mLeft->Evaluate(owner);
    return left + right;
}

float DesignerEquation_Algebra::EqSubtract::Compute(EquationInterface<float>* owner) const {
    const float left = mLeft->Evaluate(owner);
    const float right = mRight->Evaluate(owner);
    return left - right;
}

float DesignerEquation_Algebra::EqMultiply::Compute(EquationInterface<float>* owner) const {
    const float right = mRight->Evaluate(owner);
    const float left = mLeft->Evaluate(owner);
    return left * right;
}

float DesignerEquation_Algebra::EqDivide::Compute(EquationInterface<float>* owner) const {
    const float left = mLeft->Evaluate(owner);
    const float right = mRight->Evaluate(owner);
    return left / right;
}

float DesignerEquation_Algebra::EqPower::Compute(EquationInterface<float>* owner) const {
    const float right = mRight->Evaluate(owner);
    const float left = mLeft->Evaluate(owner);
    return static_cast<float>(std::pow(static_cast<double>(left), static_cast<double>(right)));
}

bool DesignerEquation_Algebra::IsOpenParenthetical(char c) const {
    return grammar::IsOpen(c);
}

bool DesignerEquation_Algebra::IsClosedParenthetical(char c) const {
    return grammar::IsClose(c);
}

bool DesignerEquation_Algebra::IsOperator(char c) const {
    return c == '^' || c == '/' || c == '-' || c == '+' || c == '*';
}

bool DesignerEquation_Algebra::IsUnaryOperator(char) const {
    return false;
}

bool DesignerEquation_Algebra::IsNumeric(char c) const {
    return grammar::IsDigit(c) || c == '.' || c == '-';
}

bool DesignerEquation_Algebra::IsAlphaCharacter(char c) const {
    return grammar::IsNameCharacter(c);
}

std::unique_ptr<EqOperator<float>> DesignerEquation_Algebra::SpawnOperator(char c) const {
    switch (c) {
        case '*':
            return std::make_unique<EqMultiply>();
        case '+':
            return std::make_unique<EqAdd>();
        case '-':
            return std::make_unique<EqSubtract>();
        case '/':
            return std::make_unique<EqDivide>();
        case '^':
            return std::make_unique<EqPower>();
        default:
            return nullptr;  // no single-operand node: every level needs an operator
    }
}

std::unique_ptr<EqUnaryOperator<float>> DesignerEquation_Algebra::SpawnUnaryOperator(char) const {
    return nullptr;
}

std::unique_ptr<EqConstant<float>> DesignerEquation_Algebra::SpawnConstant(float value) const {
    return std::make_unique<EqConstant<float>>(value);
}

}  // namespace GAME
