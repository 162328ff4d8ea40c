#pragma once
// A designer's formula: text from a record, parsed once into an expression tree and evaluated
// against the owner's named variables whenever the owner asks.
//
// The language has no operator precedence: one bracket level holds one binary operator, and
// everything else is grouped with brackets ("(" and "[" are interchangeable, as are ")" and
// "]"). Text left over once the tree is complete is ignored, as is an operand (or a unary
// operator) that the next one replaces; both are logged, since the formula then means less than
// its text says. Spaces are dropped; any other character outside the grammar (a tab, a comma)
// fails the parse. The grammar's character
// classes and node factories are supplied by the two flavours, DesignerEquation_Algebra and
// DesignerEquation_Boolean.
//
// The tree is the formula's model; parsing also compiles it into a flat program
// (EquationProgram.h) that evaluations run, with the tree's values, owner calls and log lines.
//
// A text whose program asks every name by name does not depend on its owner: the machine keeps
// it parsed (FormulaCache.h), and every later owner of the same text that binds none of its names
// shares it, so a record's formulas are parsed and compiled once, not once per character or item.
#include <memory>
#include <string>
#include <string_view>

#include "Game/rules/formulas/EqNode.h"
#include "Game/rules/formulas/EquationInterface.h"
#include "Game/rules/formulas/EquationProgram.h"

namespace GAME {

template <class T>
class DesignerEquation {
public:
    // A name, read from the owner at every evaluation.
    class EqVariable : public EqNode<T> {
    public:
        explicit EqVariable(std::string name) : mName(std::move(name)) {}
        const std::string& GetName() const { return mName; }

    protected:
        T Compute(EquationInterface<T>* owner) const override;

    private:
        std::string mName;
    };

    // A text parsed and compiled; shared by owners that bind none of its names.
    struct Parsed {
        std::unique_ptr<EqOperator<T>> root;
        EquationProgram<T> program;
        // What the lines about unused text quote (LogUnusedText).
        std::string used;
        std::string rest;
        std::string replaced;
    };

    DesignerEquation() = default;
    virtual ~DesignerEquation();
    DesignerEquation(const DesignerEquation&) = delete;
    DesignerEquation& operator=(const DesignerEquation&) = delete;

    // Replaces any tree the formula holds. False when the text does not form a formula; a
    // formula that failed holds no tree. `source` (a record and its field, say) names the text in
    // the line logged when the formula does not use all of it.
    bool ParseEquation(const char* text, EquationInterface<T>* owner, const char* source = nullptr);

    // The formula's value; T{} (0, false) for a formula without a tree.
    T operator()() const {
        if (!mParsed)
            return T{};
        return mParsed->program.IsCompiled() ? mParsed->program.Run(mOwner)
                                             : mParsed->root->Evaluate(mOwner);
    }
    // The same value by walking the tree, which asks every name by name (bindings are the
    // program's): the reference the program is held to.
    T EvaluateTree() const { return mParsed ? mParsed->root->Evaluate(mOwner) : T{}; }
    bool HasTree() const { return mParsed != nullptr; }
    const EquationProgram<T>& GetProgram() const;
    // Whether the parsed text is shared with other owners (or kept for them).
    bool IsShared() const { return mParsed && mParsed.use_count() > 1; }

    // The grammar.
    virtual bool IsOpenParenthetical(char c) const = 0;
    virtual bool IsClosedParenthetical(char c) const = 0;
    virtual bool IsOperator(char c) const = 0;
    virtual bool IsUnaryOperator(char c) const = 0;
    virtual bool IsNumeric(char c) const = 0;
    virtual bool IsAlphaCharacter(char c) const = 0;
    // Null for a character the grammar has no node for.
    virtual std::unique_ptr<EqOperator<T>> SpawnOperator(char c) const = 0;
    virtual std::unique_ptr<EqUnaryOperator<T>> SpawnUnaryOperator(char c) const = 0;
    virtual std::unique_ptr<EqConstant<T>> SpawnConstant(float value) const = 0;

    // The longest run of number characters a formula may hold.
    static constexpr int kMaxNumberLength = 63;
    // Deeper bracket nesting fails the parse instead of exhausting the stack.
    static constexpr int kMaxNestingDepth = 200;

protected:
    // Parses one bracket level from the cursor into `out`. Succeeds without setting `out` when
    // the level closes before any operand. `replaced` keeps the first piece of text that a later
    // token replaced (empty while none did).
    bool BuildEquationTree(const char*& cursor, std::unique_ptr<EqOperator<T>>& out,
                           std::string_view& replaced, int depth = 0);
    // A run of number characters converted as by atof; false when the run is too long.
    bool TokenizeReal(const char*& cursor, float& value) const;
    void TokenizeString(const char*& cursor, std::string& name) const;

private:
    // The text parsed and compiled for `owner`; null when it does not form a formula.
    std::shared_ptr<Parsed> Parse(const char* text, EquationInterface<T>* owner);
    // Whether `owner` would read every name of a kept text by name, as its program does.
    static bool ReadsByName(const Parsed& parsed, EquationInterface<T>* owner);
    static void LogUnusedText(const char* text, const char* source, const Parsed& parsed);

    std::shared_ptr<const Parsed> mParsed;
    EquationInterface<T>* mOwner = nullptr;  // outlives the formula
};

extern template class DesignerEquation<float>;
extern template class DesignerEquation<bool>;

}  // namespace GAME
