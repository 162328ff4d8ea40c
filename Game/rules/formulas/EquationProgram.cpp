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
    EquationCompiler<T> compiler(*this, owner);
    if (!compiler.CompileRoot(root)) {
        Clear();
        return false;
    }
    mReadsBySlot = mReadsInOrder;
    for (Read& read : mReads) {
        if (read.kind == OperandKind::Named)
            read.name.text = mNames[read.name.index].c_str();
        mReadsBySlot = mReadsBySlot && read.kind == OperandKind::Slotted;
    }
    if constexpr (std::is_same_v<T, bool>)
        mRun = &RunBoolean;
    else if (mReadsInOrder)
        mRun = &RunAlgebra<true>;
    else
        mRun = &RunAlgebra<false>;
    return true;
}

namespace {
struct FormTable {
    static constexpr int kSources = 5;
    static constexpr int kNone = -1;
    int pairs[kSources][kSources];
    int pairCount = 0;
    int singles[kSources];
};

// Derived from the lists of forms, so the compiler's choice and the op's code cannot drift apart.
template <class Source>
constexpr FormTable MakeFormTable() {
    FormTable table{};
    for (auto& row : table.pairs)
        for (int& form : row)
            form = table.kNone;
    for (int& form : table.singles)
        form = table.kNone;
#define EQUATION_PROGRAM_PAIR_FORM(op, left, right)                                \
    table.pairs[static_cast<int>(Source::left)][static_cast<int>(Source::right)] = \
        table.pairCount++;
#define EQUATION_PROGRAM_SINGLE_FORM(op, source) \
    table.singles[static_cast<int>(Source::source)] = single++;
    EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_PAIR_FORM, _)
    int single = 0;
    EQUATION_OPERAND_SINGLES(EQUATION_PROGRAM_SINGLE_FORM, _)
#undef EQUATION_PROGRAM_SINGLE_FORM
#undef EQUATION_PROGRAM_PAIR_FORM
    return table;
}
}  // namespace

template <class T>
bool EquationProgram<T>::FormOf(Operation operation, Source left, Source right, Op& op) {
    static constexpr FormTable kForms = MakeFormTable<Source>();
    static_assert(static_cast<int>(Op::Subtract_Slot_Slot) == kForms.pairCount);
    static_assert(static_cast<int>(Op::Square_Slot) ==
                  static_cast<int>(Operation::Square) * kForms.pairCount);
    const int l = static_cast<int>(left);
    const int r = static_cast<int>(right);
    int code = kForms.kNone;
    switch (operation) {
        case Operation::Square:
            if (kForms.singles[l] != kForms.kNone)
                code = static_cast<int>(Op::Square_Slot) + kForms.singles[l];
            break;
        case Operation::Return:
            if (left == Source::Slot)
                code = static_cast<int>(Op::Return);
            else if (left == Source::Acc)
                code = static_cast<int>(Op::ReturnAcc);
            else if (left == Source::Const)
                code = static_cast<int>(Op::ReturnConst);
            break;
        default:
            if (kForms.pairs[l][r] != kForms.kNone)
                code = static_cast<int>(operation) * kForms.pairCount + kForms.pairs[l][r];
            break;
    }
    if (code == kForms.kNone)
        return false;
    op = static_cast<Op>(code);
    return true;
}

template <class T>
void EquationProgram<T>::Clear() {
    mCode.clear();
    mReads.clear();
    mSteps.clear();
    mReadsInOrder = false;
    mReadsBySlot = false;
    mNames.clear();
    mResult = {};
    mBoundNames = 0;
    mSlottedNames = 0;
    mRun = nullptr;
}

template <class T>
inline T EquationProgram<T>::AskOwner(const char* text, EquationInterface<T>* owner) {
    // The same call, default and log line as the tree's variable node.
    T value{};
    if (!owner || !owner->GetDesignerVariable(text, value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", text);
        return T{};
    }
    return value;
}

template <class T>
inline T EquationProgram<T>::AskOwnerSlot(OwnerSlot owned, EquationInterface<T>* owner) const {
    T value{};
    if (!owner->GetDesignerVariableAt(static_cast<int>(owned.slot), value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", mNames[owned.name].c_str());
        return T{};
    }
    return value;
}

template <class T>
inline T EquationProgram<T>::Fetch(OperandKind kind, const OperandValue& value,
                                   EquationInterface<T>* owner) const {
    switch (kind) {
        case OperandKind::Constant:
            return value.constant;
        case OperandKind::Named:
            return AskOwner(mNames[value.index].c_str(), owner);
        case OperandKind::Slotted:
            return AskOwnerSlot(value.owned, owner);
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
__attribute__((noinline)) void EquationProgram<float>::ReadInOrder(
    float* slots, EquationInterface<float>* owner) const {
    const Read* read = mReads.data();
    const Read* const readsEnd = read + mReads.size();
    for (; read != readsEnd; ++read) {
        if (read->kind == OperandKind::Slotted)
            slots[read->slot] = AskOwnerSlot(read->name.owned, owner);
        else if (read->kind == OperandKind::Named)
            slots[read->slot] = AskOwner(read->name.text, owner);
        else
            slots[read->slot] = Fetch(read->kind, read->name, owner);
    }
}

// GCC would merge the steps' identical tails into one shared jump, which defeats the per-step
// branch prediction of the jump table; clang has no such pass to turn off.
#if defined(__GNUC__) && !defined(__clang__)
#define GAME_KEEP_STEP_TAILS __attribute__((optimize("no-crossjumping")))
#else
#define GAME_KEEP_STEP_TAILS
#endif

template <>
template <bool kAsksOwner>
GAME_KEEP_STEP_TAILS float EquationProgram<float>::RunAlgebra(const EquationProgram& program,
                                                              EquationInterface<float>* owner) {
    float slots[kMaxRegisters];
    const Read* read = program.mReads.data();
    const Read* const readsEnd = read + program.mReads.size();
    if constexpr (kAsksOwner) {
        if (program.mReadsBySlot) {
            // The owner writes straight into the slot; a value it does not write is 0, as in
            // the tree.
            for (; read != readsEnd; ++read) {
                float& value = slots[read->slot];
                value = 0.0f;
                if (!owner->GetDesignerVariableAt(static_cast<int>(read->name.owned.slot), value)) {
                    gEngine->Log(1, "Designer variable '%s' not found in parent",
                                 program.mNames[read->name.owned.name].c_str());
                    value = 0.0f;
                }
            }
        } else {
            program.ReadInOrder(slots, owner);
        }
    } else {
        (void)owner;
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
#define EQUATION_PROGRAM_LABEL_PAIR(op, left, right, mode) &&op##_##left##_##right##_##mode,
#define EQUATION_PROGRAM_LABEL_SINGLE(op, source, mode) &&op##_##source##_##mode,
#define EQUATION_PROGRAM_LABELS_Store(op) EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_LABEL_Store, op)
#define EQUATION_PROGRAM_LABELS_Chain(op) EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_LABEL_Chain, op)
#define EQUATION_PROGRAM_LABELS_Return(op) EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_LABEL_Return, op)
#define EQUATION_PROGRAM_LABEL_Store(op, left, right) \
    EQUATION_PROGRAM_LABEL_PAIR(op, left, right, Store)
#define EQUATION_PROGRAM_LABEL_Chain(op, left, right) \
    EQUATION_PROGRAM_LABEL_PAIR(op, left, right, Chain)
#define EQUATION_PROGRAM_LABEL_Return(op, left, right) \
    EQUATION_PROGRAM_LABEL_PAIR(op, left, right, Return)
#define EQUATION_PROGRAM_SQUARE_Store(op, source) EQUATION_PROGRAM_LABEL_SINGLE(op, source, Store)
#define EQUATION_PROGRAM_SQUARE_Chain(op, source) EQUATION_PROGRAM_LABEL_SINGLE(op, source, Chain)
#define EQUATION_PROGRAM_SQUARE_Return(op, source) EQUATION_PROGRAM_LABEL_SINGLE(op, source, Return)
#define EQUATION_PROGRAM_BLOCK(mode)                                                         \
    EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_LABELS_##mode)                                  \
    EQUATION_OPERAND_SINGLES(EQUATION_PROGRAM_SQUARE_##mode, Square) && Return, &&ReturnAcc, \
        &&ReturnConst,
    static const void* const kLabels[] = {
        EQUATION_PROGRAM_BLOCK(Store) EQUATION_PROGRAM_BLOCK(Chain) EQUATION_PROGRAM_BLOCK(Return)};
#undef EQUATION_PROGRAM_BLOCK
#undef EQUATION_PROGRAM_SQUARE_Return
#undef EQUATION_PROGRAM_SQUARE_Chain
#undef EQUATION_PROGRAM_SQUARE_Store
#undef EQUATION_PROGRAM_LABEL_Return
#undef EQUATION_PROGRAM_LABEL_Chain
#undef EQUATION_PROGRAM_LABEL_Store
#undef EQUATION_PROGRAM_LABELS_Return
#undef EQUATION_PROGRAM_LABELS_Chain
#undef EQUATION_PROGRAM_LABELS_Store
#undef EQUATION_PROGRAM_LABEL_SINGLE
#undef EQUATION_PROGRAM_LABEL_PAIR
    static_assert(std::size(kLabels) == 3 * kStepModeStride);
    const Step* step = program.mSteps.data();
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
    // An operand's value, by where it comes from.
#define EQUATION_PROGRAM_Slot(operand) slots[step->operand.index]
#define EQUATION_PROGRAM_Acc(operand) acc
#define EQUATION_PROGRAM_Const(operand) step->operand.constant
#define EQUATION_PROGRAM_Float(operand) (*static_cast<const float*>(step->operand.where))
#define EQUATION_PROGRAM_Double(operand) \
    static_cast<float>(*static_cast<const double*>(step->operand.where))
#define EQUATION_PROGRAM_RUN_PAIR(op, left, right) \
    EQUATION_PROGRAM_STEP(op##_##left##_##right,   \
                          op(EQUATION_PROGRAM_##left(a), EQUATION_PROGRAM_##right(b)))
#define EQUATION_PROGRAM_RUN_SINGLE(op, source) \
    EQUATION_PROGRAM_STEP(op##_##source, op(EQUATION_PROGRAM_##source(a)))
#define EQUATION_PROGRAM_RUN_ARITHMETIC(op) EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_RUN_PAIR, op)
    EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_RUN_ARITHMETIC)
    EQUATION_OPERAND_SINGLES(EQUATION_PROGRAM_RUN_SINGLE, Square)
#undef EQUATION_PROGRAM_RUN_ARITHMETIC
#undef EQUATION_PROGRAM_RUN_SINGLE
#undef EQUATION_PROGRAM_RUN_PAIR
#undef EQUATION_PROGRAM_Double
#undef EQUATION_PROGRAM_Float
#undef EQUATION_PROGRAM_Const
#undef EQUATION_PROGRAM_Acc
#undef EQUATION_PROGRAM_Slot
#undef EQUATION_PROGRAM_STEP
Return:
    return slots[step->a.index];
ReturnAcc:
    return acc;
ReturnConst:
    return step->a.constant;
#undef EQUATION_PROGRAM_NEXT
}

template <>
bool EquationProgram<bool>::RunBoolean(const EquationProgram& program,
                                       EquationInterface<bool>* owner) {
    using T = bool;
    T accumulator{};
    const std::size_t count = program.mCode.size();
    for (std::size_t pc = 0; pc < count;) {
        const Instruction& in = program.mCode[pc++];
        switch (in.op) {
            case Op::Load:
                accumulator = program.Fetch(in.kind, in.name, owner);
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
    return program.mResult.kind == OperandKind::Constant ? program.mResult.value.constant
                                                         : accumulator;
}

template float EquationProgram<float>::RunAlgebra<false>(const EquationProgram&,
                                                         EquationInterface<float>*);
template float EquationProgram<float>::RunAlgebra<true>(const EquationProgram&,
                                                        EquationInterface<float>*);
template class EquationProgram<float>;
template class EquationProgram<bool>;

}  // namespace GAME
