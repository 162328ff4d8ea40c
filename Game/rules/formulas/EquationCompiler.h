#pragma once
// Turns a formula's tree into its program (EquationProgram.h). Only the nodes of the two
// grammars are known; any other node leaves the formula to walk its tree.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/rules/formulas/EquationProgram.h"

namespace GAME {

template <class T>
class EquationCompiler {
public:
    using Program = EquationProgram<T>;
    using Operand = typename Program::Operand;
    using Op = typename Program::Op;
    using OperandKind = typename Program::OperandKind;
    using Instruction = typename Program::Instruction;
    using Operation = typename Program::Operation;
    using Source = typename Program::Source;

    EquationCompiler(Program& program, EquationInterface<T>* owner)
        : mProgram(program), mOwner(owner) {}

    bool CompileRoot(const EqNode<T>& root);

private:
    // Emits the code of a node; returns where its value is: a constant or (for code that ran)
    // the accumulator.
    Operand Emit(const EqNode<T>& node, std::uint32_t depth);
    Operand EmitOperator(const EqNode<T>& node, std::uint32_t depth);

    // The operand of a name: bound when the owner binds it (asked once per name), else named.
    Operand Variable(const std::string& name);
    static Operand Constant(T value);
    static Operand Accumulator();
    Instruction& Append(Op op);
    static bool DependsOnVariables(const EqNode<T>* node);

    // Numeric programs. Slots are tagged by their part while compiling (the count of each part
    // is known only at the end) and placed once the program is complete.
    enum SlotPart : std::uint32_t {
        kConstantSlot = 0,
        kReadSlot = 1u << 16,
        kTemporarySlot = 2u << 16,
        kVariableSlot = 3u << 16,  // a name the steps read in place
        kPartMask = ~0xffffu,
    };
    // Emits the steps of a node and returns its tagged slot; a temporary result goes to the
    // temporary `temporary`, and the node's operands use only the temporaries from there on.
    std::uint32_t EmitNumeric(const EqNode<T>& node, std::uint32_t temporary);
    std::uint32_t ConstantSlot(T value);
    std::uint32_t ReadSlot(const Operand& name);
    // Turns the tagged steps into the program's; false when the slots do not suffice.
    bool PlaceSlots();
    void SetStepModes();
    // Whether every name of the tree is bound (asks the owner for each, once).
    bool AllBound(const EqNode<T>* node);

    Program& mProgram;
    EquationInterface<T>* mOwner;
    struct KnownName {
        std::string name;
        Operand operand;
    };
    std::vector<KnownName> mKnown;
    struct TaggedStep {
        Operation op;
        std::uint32_t dst;
        std::uint32_t a;
        std::uint32_t b;
    };
    std::vector<TaggedStep> mSteps;
    std::vector<T> mConstants;
    std::vector<Operand> mVariables;  // read in place
    std::uint32_t mTemporaries = 0;
    bool mFailed = false;
};

}  // namespace GAME
