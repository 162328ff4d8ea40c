#include "Game/rules/formulas/EquationProgram.h"

#include <algorithm>
#include <cmath>
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
    for (const Instruction& in : mCode) {
        switch (in.op) {
#define EQUATION_PROGRAM_RUN_ARITHMETIC(Operator)          \
    case Op::Operator##RegReg:                             \
        acc = Operator(registers[in.a], registers[in.b]);  \
        break;                                             \
    case Op::Operator##AccReg:                             \
        acc = Operator(acc, registers[in.a]);              \
        break;                                             \
    case Op::Operator##RegAcc:                             \
        acc = Operator(registers[in.a], acc);              \
        break;                                             \
    case Op::Operator##AccConst:                           \
        acc = Operator(acc, in.name.constant);             \
        break;                                             \
    case Op::Operator##ConstAcc:                           \
        acc = Operator(in.name.constant, acc);             \
        break;                                             \
    case Op::Operator##RegConst:                           \
        acc = Operator(registers[in.a], in.name.constant); \
        break;                                             \
    case Op::Operator##ConstReg:                           \
        acc = Operator(in.name.constant, registers[in.a]); \
        break;
            EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_RUN_ARITHMETIC)
#undef EQUATION_PROGRAM_RUN_ARITHMETIC
            case Op::SquareReg:
                acc = Square(registers[in.a]);
                break;
            case Op::SquareAcc:
                acc = Square(acc);
                break;
            case Op::LoadConstant:
                acc = in.name.constant;
                break;
            case Op::Store:
                registers[in.a] = acc;
                break;
            case Op::Load:
                acc = Fetch(in.kind, in.name, registers);
                break;
            default:
                break;
        }
    }
    return acc;
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
