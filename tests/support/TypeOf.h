#pragma once
// The dynamic type of what a pointer points at. A `typeid(*pointer)` whose operand calls a
// function (a smart pointer's, an accessor) is an expression with side effects to clang.

#include <typeinfo>

namespace GAME::test {

template <class Pointer>
const std::type_info& TypeOf(const Pointer& pointer) {
    const auto& object = *pointer;
    return typeid(object);
}

}  // namespace GAME::test
