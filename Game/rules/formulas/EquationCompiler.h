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

    EquationCompiler(Program& program, EquationInterface<T>* owner)
        : mProgram(program), mOwner(owner) {}

    bool CompileRoot(const EqNode<T>& root);

private:
    // Emits the code of a node; returns where its value is: a constant, a register or (for
    // code that ran) the accumulator. Numeric values put aside use temporaries from `depth` on.
    Operand Emit(const EqNode<T>& node, std::uint32_t depth);
    Operand EmitOperator(const EqNode<T>& node, std::uint32_t depth);

    // The operand of a name: bound when the owner binds it (asked once per name), else named.
    Operand Variable(const std::string& name);
    static Operand Constant(T value);
    static Operand Register(std::uint32_t reg);
    static Operand Accumulator();
    Instruction& Append(Op op);
    static bool DependsOnVariables(const EqNode<T>* node);

    // Numeric programs. Temporaries are numbered by depth while compiling and placed after the
    // constants' and names' registers once their count is known.
    static constexpr std::uint32_t kTemporary = 0x8000;
    // Read without any observable event: a constant, or a name read up front.
    bool IsQuiet(const EqNode<T>& node);
    // The register of a name read up front, or of a value put aside.
    std::uint32_t RegisterOf(const Operand& operand);
    // acc = left op right, each operand in a register or the accumulator.
    void AppendArithmetic(Op regReg, const Operand& left, const Operand& right);
    bool PlaceTemporaries();
    // Whether every name of the tree is bound (asks the owner for each, once).
    bool AllBound(const EqNode<T>* node);

    Program& mProgram;
    EquationInterface<T>* mOwner;
    struct KnownName {
        std::string name;
        Operand operand;
    };
    std::vector<KnownName> mKnown;
    struct NameRegister {
        const void* where;
        std::uint32_t reg;
    };
    std::vector<NameRegister> mNameRegisters;
    bool mInOrder = true;
    std::uint32_t mDeepest = 0;
    bool mFailed = false;
};

}  // namespace GAME
