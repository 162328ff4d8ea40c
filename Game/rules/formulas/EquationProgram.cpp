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
    mCompiled = true;
    return true;
}

template <class T>
void EquationProgram<T>::Clear() {
    mCode.clear();
    mNameRegisters = 0;
    mBoundReads.clear();
    mNames.clear();
    mOwner = nullptr;
    mResult = {};
    mBoundNames = 0;
    mCompiled = false;
}

template <class T>
T EquationProgram<T>::AskOwner(std::uint32_t name) const {
    // The same call, default and log line as the tree's variable node.
    T value{};
    const char* text = mNames[name].c_str();
    if (!mOwner || !mOwner->GetDesignerVariable(text, value)) {
        gEngine->Log(1, "Designer variable '%s' not found in parent", text);
        return T{};
    }
    return value;
}

template <class T>
inline T EquationProgram<T>::Fetch(OperandKind kind, const OperandValue& value,
                                   const T* registers) const {
    switch (kind) {
        case OperandKind::Register:
            return registers[value.index];
        case OperandKind::Constant:
            return value.constant;
        case OperandKind::Named:
            return AskOwner(value.index);
#define EQUATION_PROGRAM_FETCH_BOUND(name, type) \
    case OperandKind::name:                      \
        return static_cast<T>(*static_cast<const type*>(value.where));
            EQUATION_BINDING_KINDS(EQUATION_PROGRAM_FETCH_BOUND)
#undef EQUATION_PROGRAM_FETCH_BOUND
        case OperandKind::None:
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
// Exact in double for every float, so equal to pow's correctly rounded result; a NaN still goes
// through pow, which picks the NaN it returns.
inline float Square(float value) {
    const double d = static_cast<double>(value);
    return static_cast<float>(std::isnan(d) ? std::pow(d, 2.0) : d * d);
}
}  // namespace

template <>
float EquationProgram<float>::RunAlgebra() const {
    float registers[kMaxRegisters];
    for (const BoundRead& read : mBoundReads)
        registers[read.reg] = Fetch(read.kind, OperandValue{.where = read.where}, registers);
    float acc = 0.0f;
    // Threaded dispatch (a GCC extension): every operation ends in a jump of its own, which the
    // processor predicts far better than one shared switch.
#define EQUATION_PROGRAM_LABELS(Operator)                                             \
    &&Operator##RegReg, &&Operator##AccReg, &&Operator##RegAcc, &&Operator##AccConst, \
        &&Operator##ConstAcc, &&Operator##RegConst, &&Operator##ConstReg,
    static const void* const kLabels[] = {
        EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_LABELS) && SquareReg,
        &&SquareAcc,
        &&LoadConstant,
        &&Store,
        &&Load,
        &&Next,
        &&Next,
        &&Next};
#undef EQUATION_PROGRAM_LABELS
    static_assert(std::size(kLabels) == static_cast<std::size_t>(Op::JumpIfTrue) + 1);
    const Instruction* in = mCode.data();
    const Instruction* const end = in + mCode.size();
#define EQUATION_PROGRAM_NEXT()                          \
    do {                                                 \
        if (++in == end)                                 \
            return acc;                                  \
        goto* kLabels[static_cast<std::size_t>(in->op)]; \
    } while (false)
    if (in == end)
        return acc;
    goto* kLabels[static_cast<std::size_t>(in->op)];
#define EQUATION_PROGRAM_RUN_ARITHMETIC(Operator)                             \
    Operator##RegReg : acc = Operator(registers[in->a], registers[in->b]);    \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##AccReg : acc = Operator(acc, registers[in->a]);                 \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##RegAcc : acc = Operator(registers[in->a], acc);                 \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##AccConst : acc = Operator(acc, in->name.constant);              \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##ConstAcc : acc = Operator(in->name.constant, acc);              \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##RegConst : acc = Operator(registers[in->a], in->name.constant); \
    EQUATION_PROGRAM_NEXT();                                                  \
    Operator##ConstReg : acc = Operator(in->name.constant, registers[in->a]); \
    EQUATION_PROGRAM_NEXT();
    EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_RUN_ARITHMETIC)
#undef EQUATION_PROGRAM_RUN_ARITHMETIC
SquareReg:
    acc = Square(registers[in->a]);
    EQUATION_PROGRAM_NEXT();
SquareAcc:
    acc = Square(acc);
    EQUATION_PROGRAM_NEXT();
LoadConstant:
    acc = in->name.constant;
    EQUATION_PROGRAM_NEXT();
Store:
    registers[in->a] = acc;
    EQUATION_PROGRAM_NEXT();
Load:
    acc = Fetch(in->kind, in->name, registers);
    EQUATION_PROGRAM_NEXT();
Next:  // the boolean operations never occur in a numeric program
    EQUATION_PROGRAM_NEXT();
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
                accumulator = Fetch(in.kind, in.name, nullptr);
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
