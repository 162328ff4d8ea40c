#include "Game/rules/formulas/EquationCompiler.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerEquation_Boolean.h"

namespace GAME {

template <class T>
auto EquationCompiler<T>::Constant(T value) -> Operand {
    Operand operand;
    operand.kind = OperandKind::Constant;
    operand.value.constant = value;
    return operand;
}

template <class T>
auto EquationCompiler<T>::Register(std::uint32_t reg) -> Operand {
    Operand operand;
    operand.kind = OperandKind::Register;
    operand.value.index = reg;
    return operand;
}

template <class T>
auto EquationCompiler<T>::Accumulator() -> Operand {
    Operand operand;
    operand.kind = OperandKind::Accumulator;
    return operand;
}

template <class T>
auto EquationCompiler<T>::Variable(const std::string& name) -> Operand {
    for (const KnownName& known : mKnown)
        if (known.name == name)
            return known.operand;
    const EquationBinding binding =
        mOwner ? mOwner->BindDesignerVariable(name.c_str()) : EquationBinding{};
    Operand operand;
    switch (binding.GetKind()) {
#define EQUATION_COMPILER_BOUND(name, type)       \
    case EquationBinding::Kind::name:             \
        operand.kind = OperandKind::name;         \
        operand.value.where = binding.GetWhere(); \
        ++mProgram.mBoundNames;                   \
        break;
        EQUATION_BINDING_KINDS(EQUATION_COMPILER_BOUND)
#undef EQUATION_COMPILER_BOUND
        case EquationBinding::Kind::None:
            operand.kind = OperandKind::Named;
            operand.value.index = static_cast<std::uint32_t>(mProgram.mNames.size());
            mProgram.mNames.push_back(name);
            break;
    }
    mKnown.push_back({name, operand});
    return operand;
}

template <class T>
auto EquationCompiler<T>::Append(Op op) -> Instruction& {
    mProgram.mCode.push_back(Instruction{op});
    return mProgram.mCode.back();
}

template <class T>
bool EquationCompiler<T>::DependsOnVariables(const EqNode<T>* node) {
    if (!node)
        return false;
    if (dynamic_cast<const typename DesignerEquation<T>::EqVariable*>(node))
        return true;
    if (const auto* op = dynamic_cast<const EqOperator<T>*>(node))
        return DependsOnVariables(op->GetLeft()) || DependsOnVariables(op->GetRight());
    return false;
}

template <class T>
auto EquationCompiler<T>::Emit(const EqNode<T>& node, std::uint32_t depth) -> Operand {
    if (mFailed)
        return {};
    // Folded with the tree's own arithmetic: no name is read, so nothing observable is lost.
    if (!DependsOnVariables(&node))
        return Constant(node.Evaluate());
    const auto* variable = dynamic_cast<const typename DesignerEquation<T>::EqVariable*>(&node);
    Operand result = Accumulator();
    if constexpr (std::is_same_v<T, bool>) {
        if (variable) {
            const Operand name = Variable(variable->GetName());
            Instruction& in = Append(Op::Load);
            in.kind = name.kind;
            in.name = name.value;
        } else {
            result = EmitOperator(node, depth);  // the accumulator, or a short-circuited constant
        }
        if (const EqUnaryOperator<T>* unary = node.GetUnaryOperator()) {
            if (!dynamic_cast<const DesignerEquation_Boolean::EqNot*>(unary))
                mFailed = true;
            else if (result.IsConstant())
                result = Constant(!result.value.constant);
            else
                Append(Op::Not);
        }
    } else {
        if (node.GetUnaryOperator()) {
            mFailed = true;  // the numeric grammar has none
        } else if (!variable) {
            result = EmitOperator(node, depth);
        } else {
            const Operand name = Variable(variable->GetName());
            if (!mInOrder)
                return name;
            Instruction& in = Append(Op::Load);
            in.kind = name.kind;
            in.name = name.value;
        }
    }
    return result;
}

template <class T>
bool EquationCompiler<T>::AllBound(const EqNode<T>* node) {
    if (!node)
        return true;
    if (const auto* v = dynamic_cast<const typename DesignerEquation<T>::EqVariable*>(node))
        return Variable(v->GetName()).kind != OperandKind::Named;
    if (const auto* op = dynamic_cast<const EqOperator<T>*>(node)) {
        const bool left = AllBound(op->GetLeft());
        return AllBound(op->GetRight()) && left;
    }
    return true;
}

template <class T>
bool EquationCompiler<T>::IsQuiet(const EqNode<T>& node) {
    if (!DependsOnVariables(&node))
        return true;
    return !mInOrder && !node.GetUnaryOperator() &&
           dynamic_cast<const typename DesignerEquation<T>::EqVariable*>(&node);
}

template <class T>
std::uint32_t EquationCompiler<T>::RegisterOf(const Operand& operand) {
    if constexpr (std::is_same_v<T, bool>) {
        return 0;
    } else {
        if (operand.kind == OperandKind::Register)
            return operand.value.index;
        if (operand.IsConstant()) {
            // Shared by bits, so 0 and -0 stay apart; a name's register is never a constant's.
            for (std::uint32_t reg : mConstantRegisters)
                if (std::memcmp(&mProgram.mImage[reg], &operand.value.constant, sizeof(T)) == 0)
                    return reg;
            mProgram.mImage.push_back(operand.value.constant);
            mConstantRegisters.push_back(static_cast<std::uint32_t>(mProgram.mImage.size() - 1));
            return mConstantRegisters.back();
        }
        for (const NameRegister& known : mNameRegisters)
            if (known.where == operand.value.where)
                return known.reg;
        mProgram.mImage.push_back(T{});
        const auto reg = static_cast<std::uint32_t>(mProgram.mImage.size() - 1);
        mProgram.mBoundReads.push_back(
            {operand.kind, static_cast<std::uint16_t>(reg), operand.value.where});
        mNameRegisters.push_back({operand.value.where, reg});
        return reg;
    }
}

template <class T>
void EquationCompiler<T>::AppendArithmetic(Op regReg, const Operand& left, const Operand& right) {
    const auto base = static_cast<std::uint8_t>(regReg);
    const bool leftInAcc = left.kind == OperandKind::Accumulator;
    const bool rightInAcc = right.kind == OperandKind::Accumulator;
    if (leftInAcc && rightInAcc) {
        mFailed = true;  // the compiler never leaves both operands in the accumulator
        return;
    }
    if (leftInAcc) {
        Instruction& in = Append(static_cast<Op>(base + 1));
        in.a = static_cast<std::uint16_t>(RegisterOf(right));
    } else if (rightInAcc) {
        Instruction& in = Append(static_cast<Op>(base + 2));
        in.a = static_cast<std::uint16_t>(RegisterOf(left));
    } else {
        const std::uint32_t l = RegisterOf(left);
        const std::uint32_t r = RegisterOf(right);
        Instruction& in = Append(regReg);
        in.a = static_cast<std::uint16_t>(l);
        in.b = static_cast<std::uint16_t>(r);
    }
}

template <class T>
bool EquationCompiler<T>::PlaceTemporaries() {
    const std::size_t base = mProgram.mImage.size();
    if (base + mDeepest + 1 >= Program::kMaxRegisters)
        return false;
    auto place = [base](std::uint16_t reg) {
        return static_cast<std::uint16_t>((reg & kTemporary) ? base + (reg & ~kTemporary) : reg);
    };
    for (Instruction& in : mProgram.mCode) {
        in.a = place(in.a);
        in.b = place(in.b);
    }
    return true;
}

template <>
auto EquationCompiler<float>::EmitOperator(const EqNode<float>& node, std::uint32_t depth)
    -> Operand {
    using Algebra = DesignerEquation_Algebra;
    const auto* op = dynamic_cast<const EqOperator<float>*>(&node);
    if (!op || !op->GetLeft() || !op->GetRight() || depth + 1 >= Program::kMaxRegisters) {
        mFailed = true;
        return {};
    }
    Op code;
    bool rightFirst = true;
    if (dynamic_cast<const Algebra::EqAdd*>(op)) {
        code = Op::AddRegReg;
    } else if (dynamic_cast<const Algebra::EqMultiply*>(op)) {
        code = Op::MultiplyRegReg;
    } else if (dynamic_cast<const Algebra::EqPower*>(op)) {
        code = Op::PowerRegReg;
    } else if (dynamic_cast<const Algebra::EqSubtract*>(op)) {
        code = Op::SubtractRegReg;
        rightFirst = false;
    } else if (dynamic_cast<const Algebra::EqDivide*>(op)) {
        code = Op::DivideRegReg;
        rightFirst = false;
    } else {
        mFailed = true;
        return {};
    }
    const EqNode<float>& firstNode = rightFirst ? *op->GetRight() : *op->GetLeft();
    const EqNode<float>& secondNode = rightFirst ? *op->GetLeft() : *op->GetRight();

    if (code == Op::PowerRegReg && !DependsOnVariables(&firstNode) &&
        firstNode.Evaluate() == 2.0f) {
        const Operand base = Emit(secondNode, depth);
        if (base.kind == OperandKind::Accumulator) {
            Append(Op::SquareAcc);
        } else {
            Instruction& in = Append(Op::SquareReg);
            in.a = static_cast<std::uint16_t>(RegisterOf(base));
        }
        return Accumulator();
    }
    // Quiet operands may be read at any point; any other operand runs in the tree's order, the
    // first one's value put aside when the second needs the accumulator.
    Operand first;
    Operand second;
    if (IsQuiet(firstNode)) {
        second = Emit(secondNode, depth);
        first = Emit(firstNode, depth);
    } else {
        first = Emit(firstNode, depth);
        if (!IsQuiet(secondNode)) {
            const std::uint32_t aside = kTemporary | depth;
            Append(Op::Store).a = static_cast<std::uint16_t>(aside);
            mDeepest = std::max(mDeepest, depth);
            first = Register(aside);
            second = Emit(secondNode, depth + 1);
        } else {
            second = Emit(secondNode, depth);
        }
    }
    AppendArithmetic(code, rightFirst ? second : first, rightFirst ? first : second);
    return Accumulator();
}

template <>
auto EquationCompiler<bool>::EmitOperator(const EqNode<bool>& node, std::uint32_t depth)
    -> Operand {
    using Boolean = DesignerEquation_Boolean;
    const auto* op = dynamic_cast<const EqOperator<bool>*>(&node);
    if (!op || !op->GetLeft()) {
        mFailed = true;
        return {};
    }
    if (dynamic_cast<const Boolean::EqPassThrough*>(op))
        return Emit(*op->GetLeft(), depth);
    const bool isAnd = dynamic_cast<const Boolean::EqAnd*>(op) != nullptr;
    if ((!isAnd && !dynamic_cast<const Boolean::EqOr*>(op)) || !op->GetRight()) {
        mFailed = true;
        return {};
    }
    const Operand left = Emit(*op->GetLeft(), depth);
    if (left.IsConstant()) {
        // A deciding left side: the right side is never read, as in the tree.
        if (left.value.constant != isAnd)
            return left;
        return Emit(*op->GetRight(), depth);
    }
    const std::size_t jump = mProgram.mCode.size();
    Append(isAnd ? Op::JumpIfFalse : Op::JumpIfTrue);
    const Operand right = Emit(*op->GetRight(), depth);
    if (right.IsConstant()) {
        Instruction& in = Append(Op::Load);
        in.kind = right.kind;
        in.name = right.value;
    }
    mProgram.mCode[jump].target = static_cast<std::uint32_t>(mProgram.mCode.size());
    return Accumulator();
}

template <class T>
bool EquationCompiler<T>::CompileRoot(const EqNode<T>& root) {
    if constexpr (std::is_same_v<T, bool>) {
        mProgram.mResult = Emit(root, 0);
        return !mFailed;
    } else {
        // Bound names are read up front only when no name is asked for by name: then reading
        // them cannot interleave with an owner's calls.
        mInOrder = !AllBound(&root);
        const Operand result = Emit(root, 0);
        if (!mFailed && result.kind != OperandKind::Accumulator)
            Append(Op::LoadRegister).a = static_cast<std::uint16_t>(RegisterOf(result));
        return !mFailed && PlaceTemporaries();
    }
}

template class EquationCompiler<float>;
template class EquationCompiler<bool>;

}  // namespace GAME
