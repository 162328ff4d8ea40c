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

    // A numeric program first reads into slots the names it cannot read in place (all of them, in
    // the tree's order, when any is asked of the owner; else those bound as other kinds than
    // float and double), then runs three-address steps. The arithmetic between two reads has no
    // observable effect, so moving it after them changes nothing. A condition runs its
    // instructions (Load, Not and the jumps) with one accumulator, in the tree's short-circuit
    // order.
#define EQUATION_ARITHMETIC_OPS(X) X(Add) X(Subtract) X(Multiply) X(Divide) X(Power)
    // Where a step's operand comes from: a slot; the accumulator, which holds the value of the
    // step just before; the step's own constant; or a name bound as a float or a double, read in
    // place. The forms of a binary step, left operand first (two accumulators or two constants
    // never meet: the second would have been kept in a slot, the pair folded):
// clang-format off
#define EQUATION_OPERAND_PAIRS(X, op)                                                              \
    X(op, Slot, Slot) X(op, Slot, Acc) X(op, Slot, Const) X(op, Slot, Float) X(op, Slot, Double)   \
    X(op, Acc, Slot) X(op, Acc, Const) X(op, Acc, Float) X(op, Acc, Double)                        \
    X(op, Const, Slot) X(op, Const, Acc) X(op, Const, Float) X(op, Const, Double)                  \
    X(op, Float, Slot) X(op, Float, Acc) X(op, Float, Const) X(op, Float, Float)                   \
    X(op, Float, Double)                                                                           \
    X(op, Double, Slot) X(op, Double, Acc) X(op, Double, Const) X(op, Double, Float)               \
    X(op, Double, Double)
// clang-format on
// The forms of a square (a constant one folds).
#define EQUATION_OPERAND_SINGLES(X, op) X(op, Slot) X(op, Acc) X(op, Float) X(op, Double)
#define EQUATION_PROGRAM_PAIR_OP(op, left, right) op##_##left##_##right,
#define EQUATION_PROGRAM_SINGLE_OP(op, source) op##_##source,
#define EQUATION_PROGRAM_BINARY_OPS(op) EQUATION_OPERAND_PAIRS(EQUATION_PROGRAM_PAIR_OP, op)
    // clang-format off
    enum class Op : std::uint16_t {
        EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_BINARY_OPS)
        EQUATION_OPERAND_SINGLES(EQUATION_PROGRAM_SINGLE_OP, Square)  // dst = a ^ 2, exactly
        Return,       // the value is slot a
        ReturnAcc,    // the accumulator
        ReturnConst,  // the constant a
        Load,         // acc = a name
        Not,          // acc = !acc
        JumpIfFalse,  // leaves a false accumulator as the result of an "&"
        JumpIfTrue,   // leaves a true accumulator as the result of an "|"
    };
    // clang-format on
#undef EQUATION_PROGRAM_BINARY_OPS
#undef EQUATION_PROGRAM_SINGLE_OP
#undef EQUATION_PROGRAM_PAIR_OP
    enum class Source : std::uint8_t { Slot, Acc, Const, Float, Double };
    // What a numeric step computes, before its operands pick its form.
#define EQUATION_PROGRAM_OPERATION(name) name,
    enum class Operation : std::uint8_t {
        EQUATION_ARITHMETIC_OPS(EQUATION_PROGRAM_OPERATION) Square,
        Return
    };
#undef EQUATION_PROGRAM_OPERATION
    // The op of an operation with operands from these sources (`right` is ignored by Square and
    // Return); false for a pair that has no form.
    static bool FormOf(Operation operation, Source left, Source right, Op& op);

    // What an arithmetic step does with its value: stores it in its slot for a later step,
    // leaves it only in the accumulator for the next step, or returns it. The step's op is then
    // its plain op plus the mode times kStepModeStride.
    enum class StepMode : std::uint8_t { Store, Chain, Return };
    static constexpr unsigned kStepModeStride = static_cast<unsigned>(Op::ReturnConst) + 1;

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

    // One arithmetic step of a numeric program: slot dst = a op b, each operand a slot's index, a
    // constant or where a bound name lives, as the op's form says.
    struct Step {
        Op op;
        std::uint16_t dst = 0;
        OperandValue a{0};
        OperandValue b{0};
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
        return mRun != nullptr;
    }
    // The names are asked of `owner`: a program that binds nothing serves any owner.
    T Run(EquationInterface<T>* owner) const {
        return mRun(*this, owner);
    }

    // Reads and steps (a folded formula is one step: its value), or a condition's instructions.
    std::size_t GetInstructionCount() const {
        return mCode.size() + mReads.size() + mSteps.size();
    }
    // How many distinct names were bound in place.
    std::size_t GetBoundNameCount() const {
        return mBoundNames;
    }
    // Whether the program asks every name by name (none bound in place, none by slot), so that
    // it does not depend on the owner it was compiled for.
    bool IsOwnerFree() const {
        return mBoundNames == 0 && mSlottedNames == 0;
    }
    // The names it asks by name or by slot, each once, in the tree's order.
    const std::vector<std::string>& GetNames() const {
        return mNames;
    }

private:
    friend class EquationCompiler<T>;

    // A name's value: asked of the owner or read where it is bound.
    T Fetch(OperandKind kind, const OperandValue& value, EquationInterface<T>* owner) const;
    static T AskOwner(const char* name, EquationInterface<T>* owner);
    T AskOwnerSlot(OwnerSlot owned, EquationInterface<T>* owner) const;
    // The entries, defined for the numeric and the boolean program respectively. A numeric
    // program that asks its owner for names has an entry of its own, so that one that only reads
    // in place carries nothing of the asking.
    template <bool kAsksOwner>
    static float RunAlgebra(const EquationProgram& program, EquationInterface<T>* owner);
    static bool RunBoolean(const EquationProgram& program, EquationInterface<T>* owner);
    // The reads of a program that asks its owner, in the tree's order.
    void ReadInOrder(float* slots, EquationInterface<T>* owner) const;

    std::vector<Instruction> mCode;  // a condition
    // A numeric program: the reads fill the first slots, the temporaries the rest. When every name
    // is bound the reads are grouped by kind and each name is read once (names bound as floats
    // and doubles are read by the steps); otherwise they keep the tree's order, one per
    // occurrence.
    std::vector<Read> mReads;
    std::vector<Step> mSteps;  // ends in Return
    bool mReadsInOrder = false;
    bool mReadsBySlot = false;        // every read in order asks the owner by slot
    std::vector<std::string> mNames;  // of the unbound variables, slotted or not
    Operand mResult;
    std::size_t mBoundNames = 0;
    std::size_t mSlottedNames = 0;
    // The entry that runs the program; none while it is not compiled.
    T (*mRun)(const EquationProgram&, EquationInterface<T>*) = nullptr;
};

template <>
template <bool kAsksOwner>
float EquationProgram<float>::RunAlgebra(const EquationProgram& program,
                                         EquationInterface<float>* owner);
template <>
bool EquationProgram<bool>::RunBoolean(const EquationProgram& program,
                                       EquationInterface<bool>* owner);
template <>
void EquationProgram<float>::ReadInOrder(float* slots, EquationInterface<float>* owner) const;

extern template class EquationProgram<float>;
extern template class EquationProgram<bool>;

}  // namespace GAME
