#pragma once
// The nodes of a designer formula's expression tree. A node computes its own value, then passes
// it through its unary operator when it has one. Children are owned. The owner that answers the
// names is handed in at each evaluation, so one tree serves every owner that reads it by name.
#include <memory>

#include "Game/rules/formulas/EquationInterface.h"

namespace GAME {

template <class T>
class EqUnaryOperator {
public:
    virtual ~EqUnaryOperator() = default;
    virtual T Apply(T value) const = 0;
};

template <class T>
class EqNode {
public:
    virtual ~EqNode() = default;

    T Evaluate(EquationInterface<T>* owner = nullptr) const {
        const T value = Compute(owner);
        return mUnary ? mUnary->Apply(value) : value;
    }

    // Replaces any unary operator the node had.
    void SetUnaryOperator(std::unique_ptr<EqUnaryOperator<T>> unary) { mUnary = std::move(unary); }
    const EqUnaryOperator<T>* GetUnaryOperator() const { return mUnary.get(); }

protected:
    // The node's own value, before its unary operator.
    virtual T Compute(EquationInterface<T>* owner) const = 0;

private:
    std::unique_ptr<EqUnaryOperator<T>> mUnary;
};

template <class T>
class EqConstant : public EqNode<T> {
public:
    explicit EqConstant(T value) : mValue(value) {}
    T GetValue() const { return mValue; }

protected:
    T Compute(EquationInterface<T>*) const override { return mValue; }

private:
    T mValue;
};

// A binary operator; the parser fills both operands before the tree is evaluated (a
// pass-through reads only the left one).
template <class T>
class EqOperator : public EqNode<T> {
public:
    void SetLeft(std::unique_ptr<EqNode<T>> node) { mLeft = std::move(node); }
    void SetRight(std::unique_ptr<EqNode<T>> node) { mRight = std::move(node); }
    const EqNode<T>* GetLeft() const { return mLeft.get(); }
    const EqNode<T>* GetRight() const { return mRight.get(); }

protected:
    std::unique_ptr<EqNode<T>> mRight;
    std::unique_ptr<EqNode<T>> mLeft;
};

}  // namespace GAME
