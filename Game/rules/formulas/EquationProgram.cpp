#include "Game/rules/formulas/EquationProgram.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>

#include "Engine/Engine.h"
#include "Game/rules/formulas/EquationCompiler.h"

namespace GAME {

template <class T>
bool EquationProgram<T>::Compile(const EqNode<T>& root, EquationInterface<T>* owner) {
    Clear();
    mOwner = owner;
    EquationCompiler<T> compiler(*this, owner);
    if (!compiler.CompileRoot(root)) {
        Clear();
        return false;
    }
    for (Read& read : mReads)
        if (read.kind == OperandKind::Named)
            read.name.text = mNames[read.name.index].c_str();
    mCompiled = true;
    return true;
}

template <class T>
void EquationProgram<T>::Clear() {
    mCode.clear();
    mReads.clear();
    mSteps.clear();
    mReadsInOrder = false;
    mNames.clear();
    mOwner = nullptr;
    mResult = {};
    mBoundNames = 0;
    mCompiled = false;
}

template <class T>
inline T EquationProgram<T>::AskOwner(const char* text) const {
    // The same call, default and log line as the tree's variable node.
    T value{};
    if (!mOwner || !mOwner->GetDesignerVariable(text, value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", text);
        return T{};
    }
    return value;
}

template <class T>
inline T EquationProgram<T>::AskOwnerSlot(OwnerSlot owned) const {
    T value{};
    if (!mOwner->GetDesignerVariableAt(static_cast<int>(owned.slot), value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", mNames[owned.name].c_str());
        return T{};
    }
    return value;
}

template <class T>
inline T EquationProgram<T>::Fetch(OperandKind kind, const OperandValue& value) const {
    switch (kind) {
        case OperandKind::Constant:
            return value.constant;
        case OperandKind::Named:
            return AskOwner(mNames[value.index].c_str());
        case OperandKind::Slotted:
            return AskOwnerSlot(value.owned);
#define EQUATION_PROGRAM_FETCH_BOUND(name, type) \
    case OperandKind::name:                      \
        return static_cast<T>(*static_cast<const type*>(value.where));
            EQUATION_BINDING_KINDS(EQUATION_PROGRAM_FETCH_BOUND)
#undef EQUATION_PROGRAM_FETCH_BOUND
        case OperandKind::None:
        case OperandKind::Register:
        case OperandKind::Accumulator:
            break;
    }
    return T{};
}

namespace {
// The tree's arithmetic, one rounding to float per node.
inline float Add(float left, float right) {
    return left + right;
}
inline float Subtract(float left, float right) {
    return left - right;
}
inline float Multiply(float left, float right) {
    return left * right;
}
inline float Divide(float left, float right) {
    return left / right;
}
inline float Power(float left, float right) {
    return static_cast<float>(std::pow(static_cast<double>(left), static_cast<double>(right)));
}
// The exact product of a float by itself fits a double, so one rounding to float gives pow's
// correctly rounded result; the float product is that same single rounding. A NaN still goes
// through pow, which picks the NaN it returns.
inline float Square(float value) {
    if (value != value)
        return static_cast<float>(std::pow(static_cast<double>(value), 2.0));
    return value * value;
}
}  // namespace

template <>
__attribute__((optimize("no-crossjumping"))) float EquationProgram<float>::RunAlgebra() const {
    float slots[kMaxRegisters];
    const Read* read = mReads.data();
    const Read* const readsEnd = read + mReads.size();
    if (mReadsInOrder) {
        for (; read != readsEnd; ++read) {
            if (read->kind == OperandKind::Slotted)
                slots[read->slot] = AskOwnerSlot(read->name.owned);
            else if (read->kind == OperandKind::Named)
                slots[read->slot] = AskOwner(read->name.text);
            else
                slots[read->slot] = Fetch(read->kind, read->name);
        }
    } else {
        // Grouped by kind in the order the kinds are declared: one tight loop per kind.
#define EQUATION_PROGRAM_READ_BOUND(kindName, type)                         \
    for (; read != readsEnd && read->kind == OperandKind::kindName; ++read) \
        slots[read->slot] = static_cast<float>(*static_cast<const type*>(read->name.where));
        EQUATION_BINDING_KINDS(EQUATION_PROGRAM_READ_BOUND)
#undef EQUATION_PROGRAM_READ_BOUND
    }
    // Threaded dispatch (a GCC extension): every step ends in a jump of its own, which the
    // processor predicts far better than one shared switch. Each arithmetic step exists in the
    // three modes (one block of labels per mode); the last step returns.
#define EQUATION_PROGRAM_BLOCK(mode)                                                              \
    EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_LABELS_##mode) && Square_##mode, &&SquareAcc_##mode, \
        &&Return, &&ReturnAcc, &&ReturnConst,
#define EQUATION_PROGRAM_LABEL_Store(name) &&name##_Store,
#define EQUATION_PROGRAM_LABEL_Chain(name) &&name##_Chain,
#define EQUATION_PROGRAM_LABEL_Return(name) &&name##_Return,
#define EQUATION_PROGRAM_LABELS_Store(op) EQUATION_PROGRAM_FORMS(EQUATION_PROGRAM_LABEL_Store, op)
#define EQUATION_PROGRAM_LABELS_Chain(op) EQUATION_PROGRAM_FORMS(EQUATION_PROGRAM_LABEL_Chain, op)
#define EQUATION_PROGRAM_LABELS_Return(op) EQUATION_PROGRAM_FORMS(EQUATION_PROGRAM_LABEL_Return, op)
    static const void* const kLabels[] = {
        EQUATION_PROGRAM_BLOCK(Store) EQUATION_PROGRAM_BLOCK(Chain) EQUATION_PROGRAM_BLOCK(Return)};
#undef EQUATION_PROGRAM_LABELS_Return
#undef EQUATION_PROGRAM_LABELS_Chain
#undef EQUATION_PROGRAM_LABELS_Store
#undef EQUATION_PROGRAM_LABEL_Return
#undef EQUATION_PROGRAM_LABEL_Chain
#undef EQUATION_PROGRAM_LABEL_Store
#undef EQUATION_PROGRAM_BLOCK
    static_assert(std::size(kLabels) == 3 * kStepModeStride);
    const Step* step = mSteps.data();
    float acc = 0.0f;
#define EQUATION_PROGRAM_NEXT() goto* kLabels[static_cast<std::size_t>((++step)->op)]
    goto* kLabels[static_cast<std::size_t>(step->op)];
    // One value, in the three modes.
#define EQUATION_PROGRAM_STEP(label, value) \
    label##_Store : acc = value;            \
    slots[step->dst] = acc;                 \
    EQUATION_PROGRAM_NEXT();                \
    label##_Chain : acc = value;            \
    EQUATION_PROGRAM_NEXT();                \
    label##_Return : return value;
#define EQUATION_PROGRAM_RUN_ARITHMETIC(name)                                    \
    EQUATION_PROGRAM_STEP(name, name(slots[step->a], slots[step->b]))            \
    EQUATION_PROGRAM_STEP(name##AccSlot, name(acc, slots[step->b]))              \
    EQUATION_PROGRAM_STEP(name##SlotAcc, name(slots[step->a], acc))              \
    EQUATION_PROGRAM_STEP(name##SlotConst, name(slots[step->a], step->constant)) \
    EQUATION_PROGRAM_STEP(name##ConstSlot, name(step->constant, slots[step->b])) \
    EQUATION_PROGRAM_STEP(name##AccConst, name(acc, step->constant))             \
    EQUATION_PROGRAM_STEP(name##ConstAcc, name(step->constant, acc))
    EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_RUN_ARITHMETIC)
    EQUATION_PROGRAM_STEP(Square, Square(slots[step->a]))
    EQUATION_PROGRAM_STEP(SquareAcc, Square(acc))
#undef EQUATION_PROGRAM_RUN_ARITHMETIC
#undef EQUATION_PROGRAM_STEP
Return:
    return slots[step->a];
ReturnAcc:
    return acc;
ReturnConst:
    return step->constant;
#undef EQUATION_PROGRAM_NEXT
}

template <>
bool EquationProgram<bool>::RunBoolean() const {
    using T = bool;
    T accumulator{};
    const std::size_t count = mCode.size();
    for (std::size_t pc = 0; pc < count;) {
        const Instruction& in = mCode[pc++];
        switch (in.op) {
            case Op::Load:
                accumulator = Fetch(in.kind, in.name);
                break;
            case Op::Not:
                accumulator = !accumulator;
                break;
            case Op::JumpIfFalse:
                if (!accumulator)
                    pc = in.target;
                break;
            case Op::JumpIfTrue:
                if (accumulator)
                    pc = in.target;
                break;
            default:
                break;
        }
    }
    return mResult.kind == OperandKind::Constant ? mResult.value.constant : accumulator;
}

template class EquationProgram<float>;
template class EquationProgram<bool>;

}  // namespace GAME
