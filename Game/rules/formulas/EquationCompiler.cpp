#include "Game/rules/formulas/EquationCompiler.h"

#include <algorithm>
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
    if (operand.kind == OperandKind::Register)
        return operand.value.index;
    for (const NameRegister& known : mNameRegisters)
        if (known.where == operand.value.where)
            return known.reg;
    const std::uint32_t reg = mProgram.mNameRegisters++;
    mProgram.mBoundReads.push_back(
        {operand.kind, static_cast<std::uint16_t>(reg), operand.value.where});
    mNameRegisters.push_back({operand.value.where, reg});
    return reg;
}

template <class T>
void EquationCompiler<T>::AppendArithmetic(Op regReg, const Operand& left, const Operand& right) {
    // The forms follow RegReg in the order AccReg, RegAcc, AccConst, ConstAcc, RegConst,
    // ConstReg.
    enum Form { RegReg, AccReg, RegAcc, AccConst, ConstAcc, RegConst, ConstReg };
    const bool leftInAcc = left.kind == OperandKind::Accumulator;
    const bool rightInAcc = right.kind == OperandKind::Accumulator;
    if ((leftInAcc && rightInAcc) || (left.IsConstant() && right.IsConstant())) {
        mFailed = true;  // never produced: both would have folded, or one was put aside
        return;
    }
    Form form;
    Instruction in{regReg};
    if (leftInAcc || rightInAcc) {
        const Operand& other = leftInAcc ? right : left;
        if (other.IsConstant()) {
            form = leftInAcc ? AccConst : ConstAcc;
            in.name.constant = other.value.constant;
        } else {
            form = leftInAcc ? AccReg : RegAcc;
            in.a = static_cast<std::uint16_t>(RegisterOf(other));
        }
    } else if (left.IsConstant() || right.IsConstant()) {
        form = left.IsConstant() ? ConstReg : RegConst;
        in.name.constant = left.IsConstant() ? left.value.constant : right.value.constant;
        in.a = static_cast<std::uint16_t>(RegisterOf(left.IsConstant() ? right : left));
    } else {
        form = RegReg;
        in.a = static_cast<std::uint16_t>(RegisterOf(left));
        in.b = static_cast<std::uint16_t>(RegisterOf(right));
    }
    in.op = static_cast<Op>(static_cast<int>(regReg) + form);
    mProgram.mCode.push_back(in);
}

template <class T>
bool EquationCompiler<T>::PlaceTemporaries() {
    const std::size_t base = mProgram.mNameRegisters;
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
        if (mFailed)
            return false;
        if (result.IsConstant())
            Append(Op::LoadConstant).name.constant = result.value.constant;
        else if (result.kind != OperandKind::Accumulator)
            mFailed = true;  // a numeric tree always ends in an operator
        return !mFailed && PlaceTemporaries();
    }
}

template class EquationCompiler<float>;
template class EquationCompiler<bool>;

}  // namespace GAME
