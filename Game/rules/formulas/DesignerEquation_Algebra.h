#pragma once
// Numeric formulas: numbers, names, "+", "-", "*", "/", "^". Every bracket level needs an
// operator of its own ("level" alone does not parse; "level*1" does), and a "-" is always the
// subtraction, so a negative constant is written (0-5).
#include "Game/rules/formulas/DesignerEquation.h"

namespace GAME {

class DesignerEquation_Algebra : public DesignerEquation<float> {
public:
    // Add, Multiply and Power evaluate the right operand first; Subtract and Divide the left.
    class EqAdd : public EqOperator<float> {
    protected:
        float Compute(EquationInterface<float>* owner) const override;
    };
    class EqSubtract : public EqOperator<float> {
    protected:
        float Compute(EquationInterface<float>* owner) const override;
    };
    class EqMultiply : public EqOperator<float> {
    protected:
        float Compute(EquationInterface<float>* owner) const override;
    };
    class EqDivide : public EqOperator<float> {
    protected:
        float Compute(EquationInterface<float>* owner) const override;
    };
    class EqPower : public EqOperator<float> {
    protected:
        float Compute(EquationInterface<float>* owner) const override;
    };

    bool IsOpenParenthetical(char c) const override;
    bool IsClosedParenthetical(char c) const override;
    bool IsOperator(char c) const override;
    bool IsUnaryOperator(char c) const override;
    bool IsNumeric(char c) const override;
    bool IsAlphaCharacter(char c) const override;
    std::unique_ptr<EqOperator<float>> SpawnOperator(char c) const override;
    std::unique_ptr<EqUnaryOperator<float>> SpawnUnaryOperator(char c) const override;
    std::unique_ptr<EqConstant<float>> SpawnConstant(float value) const override;
};

}  // namespace GAME
