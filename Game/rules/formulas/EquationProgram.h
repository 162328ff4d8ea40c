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
    // Slots of one numeric evaluation, on the stack; a tree that needs more walks itself.
    static constexpr std::size_t kMaxRegisters = 256;

    // A numeric program first reads every name into its slot, in the order the tree reads them
    // (the arithmetic between two reads has no observable effect, so moving it after them
    // changes nothing), then runs three-address steps over slots holding the names and the
    // temporaries. A condition runs its instructions (Load, Not and the jumps)
    // with one accumulator, in the tree's short-circuit order.
#define EQUATION_ARITHMETIC_OPS(X) X(Add) X(Subtract) X(Multiply) X(Divide) X(Power)
    // Every arithmetic step also leaves its value in an accumulator, which the next step reads
    // when it is one of its operands; a constant operand travels in the step. The forms of an
    // operator X, left operand first: X (slot, slot), then AccSlot, SlotAcc, SlotConst,
    // ConstSlot, AccConst and ConstAcc. The chain of a formula stays in a register.
#define EQUATION_PROGRAM_FORMS(X, op) \
    X(op)                             \
    X(op##AccSlot) X(op##SlotAcc) X(op##SlotConst) X(op##ConstSlot) X(op##AccConst) X(op##ConstAcc)
#define EQUATION_PROGRAM_OP(name) name,
#define EQUATION_PROGRAM_OP_FORMS(op) EQUATION_PROGRAM_FORMS(EQUATION_PROGRAM_OP, op)
    // clang-format off
    enum class Op : std::uint8_t {
        EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_OP_FORMS)
        Square,       // dst = a ^ 2 as an exact product
        SquareAcc,
        Return,       // the value is slot a
        ReturnAcc,    // the accumulator
        ReturnConst,  // the step's constant
        Load,         // acc = a name
        Not,          // acc = !acc
        JumpIfFalse,  // leaves a false accumulator as the result of an "&"
        JumpIfTrue,   // leaves a true accumulator as the result of an "|"
    };
    // clang-format on
    // What an arithmetic step does with its value: stores it in its slot for a later step,
    // leaves it only in the accumulator for the next step, or returns it. The step's op is then
    // its plain op plus the mode times kStepModeStride.
    enum class StepMode : std::uint8_t { Store, Chain, Return };
    static constexpr unsigned kStepModeStride = static_cast<unsigned>(Op::ReturnConst) + 1;
#undef EQUATION_PROGRAM_OP_FORMS
#undef EQUATION_PROGRAM_OP

    enum class OperandKind : std::uint8_t {
        None,
        Register,
        Accumulator,
        Constant,
        Named,    // asked of the owner by name at every evaluation
        Slotted,  // asked of the owner by the slot it resolved the name to
#define EQUATION_PROGRAM_BOUND_KIND(name, type) name,
        EQUATION_BINDING_KINDS(EQUATION_PROGRAM_BOUND_KIND)
#undef EQUATION_PROGRAM_BOUND_KIND
    };

    // A name the owner resolved: its slot, and the name's index for the log line.
    struct OwnerSlot {
        std::uint32_t slot;
        std::uint32_t name;
    };

    union OperandValue {
        std::uint32_t index;  // slot or name
        OwnerSlot owned;
        T constant;
        const void* where;  // a bound value
        const char* text;   // a name read by a numeric program, once compiled
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

    // One instruction of a condition.
    struct Instruction {
        Op op;
        OperandKind kind = OperandKind::None;  // of the name a Load reads
        std::uint32_t target = 0;              // of a jump
        OperandValue name{0};                  // what a Load reads
    };

    // One arithmetic step of a numeric program: slot dst = a op b.
    struct Step {
        Op op;
        std::uint16_t dst = 0;
        std::uint16_t a = 0;
        std::uint16_t b = 0;
        T constant{};
    };

    // A name read into its slot before the steps run.
    struct Read {
        OperandKind kind;
        std::uint16_t slot;
        OperandValue name;  // the name's index when asked by name, else where it lives
    };

    // False, leaving no program, for a tree holding a node the compiler does not know; the
    // formula then walks its tree.
    bool Compile(const EqNode<T>& root, EquationInterface<T>* owner);

    // Reads point into the program's own names.
    EquationProgram() = default;
    EquationProgram(const EquationProgram&) = delete;
    EquationProgram& operator=(const EquationProgram&) = delete;
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

    // Reads and steps (a folded formula is one step: its value), or a condition's instructions.
    std::size_t GetInstructionCount() const {
        return mCode.size() + mReads.size() + mSteps.size();
    }
    // How many distinct names were bound in place.
    std::size_t GetBoundNameCount() const {
        return mBoundNames;
    }

private:
    friend class EquationCompiler<T>;

    // A name's value: asked of the owner or read where it is bound.
    T Fetch(OperandKind kind, const OperandValue& value) const;
    T AskOwner(const char* name) const;
    T AskOwnerSlot(OwnerSlot owned) const;
    // Defined for the numeric and the boolean program respectively.
    float RunAlgebra() const;
    bool RunBoolean() const;

    std::vector<Instruction> mCode;  // a condition
    // A numeric program: the reads fill the first slots, the temporaries the rest. When every name
    // is bound the reads are grouped by kind and each name is read once; otherwise they keep the
    // tree's order, one per occurrence.
    std::vector<Read> mReads;
    std::vector<Step> mSteps;  // ends in Return
    bool mReadsInOrder = false;
    std::vector<std::string> mNames;  // of the unbound variables, slotted or not
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
