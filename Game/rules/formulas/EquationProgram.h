#pragma once
// A formula's tree compiled at parse time into a flat program: constant subtrees folded with the
// tree's own arithmetic, operands read in the order the tree reads them, names either bound in
// place or asked for by name exactly where the tree asks. Evaluating the program gives the
// tree's value bit for bit, with the same owner calls and log lines, and allocates nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "Game/rules/formulas/EqNode.h"
#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

template <class T>
class EquationCompiler;

template <class T>
class EquationProgram {
public:
    // Scratch of one numeric evaluation, on the stack; a tree that needs more walks itself.
    static constexpr std::size_t kMaxRegisters = 256;

    // Numeric programs keep the value being built in an accumulator; a register holds a name
    // read up front or a value put aside while the other operand is computed; a constant
    // travels in the instruction. The forms of an operator X, left operand first:
    // RegReg (reg a, reg b), AccReg (acc, reg a), RegAcc (reg a, acc), AccConst, ConstAcc,
    // RegConst and ConstReg (reg a with the instruction's constant); the result goes to acc.
#define EQUATION_ARITHMETIC_OPS(X) X(Add) X(Subtract) X(Multiply) X(Divide) X(Power)
#define EQUATION_PROGRAM_ARITHMETIC_OP(name)                                                  \
    name##RegReg, name##AccReg, name##RegAcc, name##AccConst, name##ConstAcc, name##RegConst, \
        name##ConstReg,
    // clang-format off
    enum class Op : std::uint8_t {
        EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_ARITHMETIC_OP)
        SquareReg,     // acc = reg a ^ 2 as an exact product
        SquareAcc,     // acc = acc ^ 2 likewise
        LoadConstant,  // acc = the instruction's constant
        Store,         // reg a = acc
        Load,          // acc = a name
        Not,           // acc = !acc
        JumpIfFalse,   // leaves a false accumulator as the result of an "&"
        JumpIfTrue,    // leaves a true accumulator as the result of an "|"
    };
    // clang-format on
#undef EQUATION_PROGRAM_ARITHMETIC_OP

    enum class OperandKind : std::uint8_t {
        None,
        Register,
        Accumulator,
        Constant,
        Named,  // asked of the owner by name at every evaluation
#define EQUATION_PROGRAM_BOUND_KIND(name, type) name,
        EQUATION_BINDING_KINDS(EQUATION_PROGRAM_BOUND_KIND)
#undef EQUATION_PROGRAM_BOUND_KIND
    };

    union OperandValue {
        std::uint32_t index;  // register or name
        T constant;
        const void* where;  // a bound value
    };

    struct Operand {
        OperandKind kind = OperandKind::None;
        OperandValue value{0};

        bool IsConstant() const { return kind == OperandKind::Constant; }
        // A name, bound or not: its read is an event of the evaluation's order.
        bool IsVariable() const {
            return kind != OperandKind::None && kind != OperandKind::Register &&
                   kind != OperandKind::Accumulator && kind != OperandKind::Constant;
        }
    };

    struct Instruction {
        Op op;
        OperandKind kind = OperandKind::None;  // of the name a Load reads
        std::uint16_t a = 0;                   // registers
        std::uint16_t b = 0;
        std::uint32_t target = 0;  // of a jump
        OperandValue name{0};      // what a Load reads, or the constant of an operator
    };

    // False, leaving no program, for a tree holding a node the compiler does not know; the
    // formula then walks its tree.
    bool Compile(const EqNode<T>& root, EquationInterface<T>* owner);
    void Clear();
    bool IsCompiled() const {
        return mCompiled;
    }
    T Run() const {
        if constexpr (std::is_same_v<T, bool>)
            return RunBoolean();
        else
            return RunAlgebra();
    }

    std::size_t GetInstructionCount() const {
        return mCode.size();
    }
    // How many distinct names were bound in place.
    std::size_t GetBoundNameCount() const {
        return mBoundNames;
    }

private:
    friend class EquationCompiler<T>;

    T Fetch(OperandKind kind, const OperandValue& value, const T* registers) const;
    T AskOwner(std::uint32_t name) const;
    // Defined for the numeric and the boolean program respectively.
    float RunAlgebra() const;
    bool RunBoolean() const;

    // A bound name read before a numeric program runs: its reads are not events while no name is
    // asked by name, so when every name is bound each is read once, up front.
    struct BoundRead {
        OperandKind kind;
        std::uint16_t reg;
        const void* where;
    };

    std::vector<Instruction> mCode;
    std::uint32_t mNameRegisters = 0;  // numeric: the registers below the temporaries
    std::vector<BoundRead> mBoundReads;
    std::vector<std::string> mNames;  // of the unbound variables
    EquationInterface<T>* mOwner = nullptr;
    Operand mResult;
    std::size_t mBoundNames = 0;
    bool mCompiled = false;
};

template <>
float EquationProgram<float>::RunAlgebra() const;
template <>
bool EquationProgram<bool>::RunBoolean() const;

extern template class EquationProgram<float>;
extern template class EquationProgram<bool>;

}  // namespace GAME
