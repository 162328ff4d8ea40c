#include "Game/rules/formulas/DesignerEquation_Boolean.h"

#include "Game/rules/formulas/DesignerEquationGrammar.h"

namespace GAME {

namespace grammar = equation_grammar;

bool DesignerEquation_Boolean::EqAnd::Compute(EquationInterface<bool>* owner) const {
    return mLeft->Evaluate(owner) && mRight->Evaluate(owner);
}

bool DesignerEquation_Boolean::EqOr::Compute(EquationInterface<bool>* owner) const {
    return mLeft->Evaluate(owner) || mRight->Evaluate(owner);
}

bool DesignerEquation_Boolean::EqPassThrough::Compute(EquationInterface<bool>* owner) const {
    return mLeft->Evaluate(owner);
}

bool DesignerEquation_Boolean::IsOpenParenthetical(char c) const {
    return grammar::IsOpen(c);
}

bool DesignerEquation_Boolean::IsClosedParenthetical(char c) const {
    return grammar::IsClose(c);
}

bool DesignerEquation_Boolean::IsOperator(char c) const {
    return c == '|' || c == '&';
}

bool DesignerEquation_Boolean::IsUnaryOperator(char c) const {
    return c == '!';
}

bool DesignerEquation_Boolean::IsNumeric(char c) const {
    return c == '0' || c == '1';
}

bool DesignerEquation_Boolean::IsAlphaCharacter(char c) const {
    return grammar::IsNameCharacter(c);
}

std::unique_ptr<EqOperator<bool>> DesignerEquation_Boolean::SpawnOperator(char c) const {
    switch (c) {
        case '&':
            return std::make_unique<EqAnd>();
        case '|':
            return std::make_unique<EqOr>();
        case '1':
            return std::make_unique<EqPassThrough>();
        default:
            return nullptr;
    }
}

std::unique_ptr<EqUnaryOperator<bool>> DesignerEquation_Boolean::SpawnUnaryOperator(char c) const {
    return c == '!' ? std::make_unique<EqNot>() : nullptr;
}

std::unique_ptr<EqConstant<bool>> DesignerEquation_Boolean::SpawnConstant(float value) const {
    // NaN compares false both ways and so counts as true.
    const bool zero = value > -0.00001f && value < 0.00001f;
    return std::make_unique<EqConstant<bool>>(!zero);
}

}  // namespace GAME
