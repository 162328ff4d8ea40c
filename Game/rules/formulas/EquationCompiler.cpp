#include "Game/rules/formulas/EquationCompiler.h"

#include <algorithm>
#include <bit>
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
        case EquationBinding::Kind::None: {
            const auto index = static_cast<std::uint32_t>(mProgram.mNames.size());
            mProgram.mNames.push_back(name);
            const int slot = mOwner ? mOwner->ResolveDesignerVariable(name.c_str())
                                    : EquationInterface<T>::kNoSlot;
            if (slot >= 0) {
                ++mProgram.mSlottedNames;
                operand.kind = OperandKind::Slotted;
                operand.value.owned = {static_cast<std::uint32_t>(slot), index};
            } else {
                operand.kind = OperandKind::Named;
                operand.value.index = index;
            }
            break;
        }
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

template <>
auto EquationCompiler<bool>::EmitOperator(const EqNode<bool>& node, std::uint32_t depth) -> Operand;

template <>
auto EquationCompiler<bool>::Emit(const EqNode<bool>& node, std::uint32_t depth) -> Operand {
    if (mFailed)
        return {};
    // Folded with the tree's own arithmetic: no name is read, so nothing observable is lost.
    if (!DependsOnVariables(&node))
        return Constant(node.Evaluate());
    Operand result = Accumulator();
    if (const auto* variable = dynamic_cast<const DesignerEquation<bool>::EqVariable*>(&node)) {
        const Operand name = Variable(variable->GetName());
        Instruction& in = Append(Op::Load);
        in.kind = name.kind;
        in.name = name.value;
    } else {
        result = EmitOperator(node, depth);  // the accumulator, or a short-circuited constant
    }
    if (const EqUnaryOperator<bool>* unary = node.GetUnaryOperator()) {
        if (!dynamic_cast<const DesignerEquation_Boolean::EqNot*>(unary))
            mFailed = true;
        else if (result.IsConstant())
            result = Constant(!result.value.constant);
        else
            Append(Op::Not);
    }
    return result;
}

template <class T>
bool EquationCompiler<T>::AllBound(const EqNode<T>* node) {
    if (!node)
        return true;
    if (const auto* v = dynamic_cast<const typename DesignerEquation<T>::EqVariable*>(node)) {
        const OperandKind kind = Variable(v->GetName()).kind;
        return kind != OperandKind::Named && kind != OperandKind::Slotted;
    }
    if (const auto* op = dynamic_cast<const EqOperator<T>*>(node)) {
        const bool left = AllBound(op->GetLeft());
        return AllBound(op->GetRight()) && left;
    }
    return true;
}

template <>
std::uint32_t EquationCompiler<float>::ConstantSlot(float value) {
    std::vector<float>& constants = mConstants;
    for (std::size_t i = 0; i < constants.size(); ++i)
        if (std::bit_cast<std::uint32_t>(constants[i]) == std::bit_cast<std::uint32_t>(value))
            return kConstantSlot | static_cast<std::uint32_t>(i);
    if (constants.size() >= Program::kMaxRegisters)
        mFailed = true;  // too many for the slots: the tree walks itself
    constants.push_back(value);
    return kConstantSlot | static_cast<std::uint32_t>(constants.size() - 1);
}

template <class T>
std::uint32_t EquationCompiler<T>::ReadSlot(const Operand& name) {
    // With no owner call to keep their place among, names bound as floats and doubles are read
    // by the steps themselves.
    if (!mProgram.mReadsInOrder &&
        (name.kind == OperandKind::Float || name.kind == OperandKind::Double)) {
        mVariables.push_back(name);
        return kVariableSlot | static_cast<std::uint32_t>(mVariables.size() - 1);
    }
    std::vector<typename Program::Read>& reads = mProgram.mReads;
    // Read once when reads are not events (every name bound), else once per occurrence.
    if (!mProgram.mReadsInOrder)
        for (std::size_t i = 0; i < reads.size(); ++i)
            if (reads[i].kind == name.kind && reads[i].name.where == name.value.where)
                return kReadSlot | static_cast<std::uint32_t>(i);
    if (reads.size() >= Program::kMaxRegisters)
        mFailed = true;
    reads.push_back({name.kind, 0, name.value});
    return kReadSlot | static_cast<std::uint32_t>(reads.size() - 1);
}

template <class T>
bool EquationCompiler<T>::PlaceSlots() {
    const std::uint32_t reads = static_cast<std::uint32_t>(mProgram.mReads.size());
    if (reads + mTemporaries > Program::kMaxRegisters)
        return false;
    auto place = [&](std::uint32_t tagged) {
        const std::uint32_t index = tagged & 0xffffu;
        return static_cast<std::uint16_t>((tagged & kPartMask) == kTemporarySlot ? reads + index
                                                                                 : index);
    };
    for (std::uint32_t i = 0; i < reads; ++i)
        mProgram.mReads[i].slot = place(kReadSlot | i);
    if (!mProgram.mReadsInOrder)
        std::stable_sort(mProgram.mReads.begin(), mProgram.mReads.end(),
                         [](const auto& x, const auto& y) { return x.kind < y.kind; });
    mProgram.mSteps.reserve(mSteps.size());
    const TaggedStep* previous = nullptr;
    for (const TaggedStep& step : mSteps) {
        // Where an operand comes from picks the step's form: an operand computed by the step
        // just before is in the accumulator, a constant travels in the step, a name read in
        // place is read where it lives.
        auto operand = [&](std::uint32_t tagged, typename Program::OperandValue& value) {
            const std::uint32_t index = tagged & 0xffffu;
            switch (tagged & kPartMask) {
                case kConstantSlot:
                    value.constant = mConstants[index];
                    return Source::Const;
                case kVariableSlot:
                    value.where = mVariables[index].value.where;
                    return mVariables[index].kind == OperandKind::Float ? Source::Float
                                                                        : Source::Double;
                default:
                    value.index = place(tagged);
                    return previous && tagged == previous->dst ? Source::Acc : Source::Slot;
            }
        };
        typename Program::Step placed{Op::Return, place(step.dst)};
        const Source left = operand(step.a, placed.a);
        const bool single = step.op == Operation::Square || step.op == Operation::Return;
        const Source right = single ? Source::Slot : operand(step.b, placed.b);
        if (!Program::FormOf(step.op, left, right, placed.op))
            return false;  // never produced: two such operands would have folded
        mProgram.mSteps.push_back(placed);
        previous = &step;
    }
    SetStepModes();
    return true;
}

// A value that only the next step reads stays in the accumulator (the next step reads it from
// there); one that the program returns is returned by the step that computes it.
template <class T>
void EquationCompiler<T>::SetStepModes() {
    using Mode = typename Program::StepMode;
    std::vector<typename Program::Step>& placed = mProgram.mSteps;
    auto reads = [&](const TaggedStep& step, std::uint32_t slot) {
        const bool single = step.op == Operation::Square || step.op == Operation::Return;
        return step.a == slot || (!single && step.b == slot);
    };
    std::size_t out = 0;
    for (std::size_t i = 0; i < mSteps.size(); ++i) {
        const TaggedStep& step = mSteps[i];
        typename Program::Step current = placed[i];
        if (step.op == Operation::Return) {
            placed[out++] = current;
            continue;
        }
        Mode mode = Mode::Chain;
        if (i + 1 < mSteps.size() && mSteps[i + 1].op == Operation::Return &&
            mSteps[i + 1].a == step.dst) {
            mode = Mode::Return;
            ++i;  // the step returns in place of the Return after it
        } else {
            for (std::size_t j = i + 2; j < mSteps.size() && mode == Mode::Chain; ++j)
                if (reads(mSteps[j], step.dst))
                    mode = Mode::Store;
        }
        current.op = static_cast<Op>(static_cast<unsigned>(current.op) +
                                     static_cast<unsigned>(mode) * Program::kStepModeStride);
        placed[out++] = current;
    }
    placed.resize(out);
}

template <>
std::uint32_t EquationCompiler<float>::EmitNumeric(const EqNode<float>& node,
                                                   std::uint32_t temporary) {
    using Algebra = DesignerEquation_Algebra;
    if (mFailed)
        return 0;
    // Folded with the tree's own arithmetic: no name is read, so nothing observable is lost.
    if (!DependsOnVariables(&node))
        return ConstantSlot(node.Evaluate());
    if (node.GetUnaryOperator()) {
        mFailed = true;  // the numeric grammar has none
        return 0;
    }
    if (const auto* variable = dynamic_cast<const DesignerEquation<float>::EqVariable*>(&node))
        return ReadSlot(Variable(variable->GetName()));
    const auto* op = dynamic_cast<const EqOperator<float>*>(&node);
    if (!op || !op->GetLeft() || !op->GetRight() || temporary + 1 >= Program::kMaxRegisters) {
        mFailed = true;
        return 0;
    }
    Operation code;
    bool rightFirst = true;
    if (dynamic_cast<const Algebra::EqAdd*>(op)) {
        code = Operation::Add;
    } else if (dynamic_cast<const Algebra::EqMultiply*>(op)) {
        code = Operation::Multiply;
    } else if (dynamic_cast<const Algebra::EqPower*>(op)) {
        code = Operation::Power;
    } else if (dynamic_cast<const Algebra::EqSubtract*>(op)) {
        code = Operation::Subtract;
        rightFirst = false;
    } else if (dynamic_cast<const Algebra::EqDivide*>(op)) {
        code = Operation::Divide;
        rightFirst = false;
    } else {
        mFailed = true;
        return 0;
    }
    const std::uint32_t result = kTemporarySlot | temporary;
    mTemporaries = std::max(mTemporaries, temporary + 1);
    if (code == Operation::Power && !DependsOnVariables(op->GetRight()) &&
        op->GetRight()->Evaluate() == 2.0f) {
        const std::uint32_t base = EmitNumeric(*op->GetLeft(), temporary);
        mSteps.push_back({Operation::Square, result, base, base});
        return result;
    }
    // The operand the tree computes first is emitted first, so its names are read first.
    const EqNode<float>& firstNode = rightFirst ? *op->GetRight() : *op->GetLeft();
    const EqNode<float>& secondNode = rightFirst ? *op->GetLeft() : *op->GetRight();
    const std::uint32_t first = EmitNumeric(firstNode, temporary);
    const std::uint32_t second = EmitNumeric(secondNode, temporary + 1);
    mSteps.push_back({code, result, rightFirst ? second : first, rightFirst ? first : second});
    return result;
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
        // Bound names are read once each, in any order, only when no name is asked for by
        // name: then reading them cannot interleave with an owner's calls.
        mProgram.mReadsInOrder = !AllBound(&root);
        const std::uint32_t result = EmitNumeric(root, 0);
        if (mFailed)
            return false;
        mSteps.push_back({Operation::Return, 0, result, 0});
        return PlaceSlots();
    }
}

template class EquationCompiler<float>;
template class EquationCompiler<bool>;

}  // namespace GAME
