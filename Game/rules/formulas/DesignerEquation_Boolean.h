#pragma once
// Conditions: constants of "0" and "1" ("10" is ten, hence true), names, "&", "|" and a unary
// "!". A lone operand is wrapped in a pass-through, so "1" and "hasKey" are whole conditions.
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

class DesignerEquation_Boolean : public DesignerEquation<bool> {
public:
    // Short-circuit: the right operand is evaluated only when the left does not decide.
    class EqAnd : public EqOperator<bool> {
    protected:
        bool Compute(EquationInterface<bool>* owner) const override;
    };
    class EqOr : public EqOperator<bool> {
    protected:
        bool Compute(EquationInterface<bool>* owner) const override;
    };
    // A single operand: its value.
    class EqPassThrough : public EqOperator<bool> {
    protected:
        bool Compute(EquationInterface<bool>* owner) const override;
    };
    class EqNot : public EqUnaryOperator<bool> {
    public:
        bool Apply(bool value) const override { return !value; }
    };

    bool IsOpenParenthetical(char c) const override;
    bool IsClosedParenthetical(char c) const override;
    bool IsOperator(char c) const override;
    bool IsUnaryOperator(char c) const override;
    bool IsNumeric(char c) const override;
    bool IsAlphaCharacter(char c) const override;
    std::unique_ptr<EqOperator<bool>> SpawnOperator(char c) const override;
    std::unique_ptr<EqUnaryOperator<bool>> SpawnUnaryOperator(char c) const override;
    std::unique_ptr<EqConstant<bool>> SpawnConstant(float value) const override;
};

}  // namespace GAME
