#pragma once
// The owner side of a designer formula: answers the formula's named variables.
#include <cstdint>

namespace GAME {

// Where an owner keeps a variable's value, so that a formula can read it in place.
#define EQUATION_BINDING_KINDS(X) \
    X(Float, float)               \
    X(Double, double)             \
    X(Int32, std::int32_t)        \
    X(UInt32, std::uint32_t)      \
    X(Bool, bool)

class EquationBinding {
public:
    enum class Kind : std::uint8_t {
        None,
#define EQUATION_BINDING_KIND(name, type) name,
        EQUATION_BINDING_KINDS(EQUATION_BINDING_KIND)
#undef EQUATION_BINDING_KIND
    };

    // No binding: the formula asks for the name at every evaluation.
    EquationBinding() = default;
#define EQUATION_BINDING_CONSTRUCTOR(name, type) \
    explicit EquationBinding(const type* where)  \
        : mKind(where ? Kind::name : Kind::None), mWhere(where) {}
    EQUATION_BINDING_KINDS(EQUATION_BINDING_CONSTRUCTOR)
#undef EQUATION_BINDING_CONSTRUCTOR

    Kind GetKind() const {
        return mKind;
    }
    const void* GetWhere() const {
        return mWhere;
    }

private:
    Kind mKind = Kind::None;
    const void* mWhere = nullptr;
};

template <class T>
class EquationInterface {
public:
    virtual ~EquationInterface() = default;

    // Writes the value and answers true when the name (whole, case-sensitive) is known; leaves
    // `value` untouched and answers false otherwise.
    virtual bool GetDesignerVariable(const char* name, T& value) = 0;

    // Opting in to binding: asked once per distinct name when a formula is parsed. A binding
    // makes the formula read the value where it lives (converted as static_cast<T> would) and
    // never ask for that name again; the place must outlive the formula. Owners that do not
    // bind are asked by name at every evaluation.
    virtual EquationBinding BindDesignerVariable(const char* name) {
        (void)name;
        return {};
    }

    // Opting in to slots, for values that are worked out when asked: asked once per distinct
    // name that was not bound, when a formula is parsed. A slot (0 or more) makes the formula
    // call GetDesignerVariableAt with it exactly where it would have called GetDesignerVariable
    // with the name, which must answer as the name would. kNoSlot keeps the calls by name.
    static constexpr int kNoSlot = -1;
    virtual int ResolveDesignerVariable(const char* name) {
        (void)name;
        return kNoSlot;
    }
    virtual bool GetDesignerVariableAt(int slot, T& value) {
        (void)slot;
        (void)value;
        return false;
    }
};

using EquationInterface_Algebra = EquationInterface<float>;
using EquationInterface_Boolean = EquationInterface<bool>;

}  // namespace GAME
