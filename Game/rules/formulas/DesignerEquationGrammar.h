#pragma once
// Character classes shared by the two formula grammars (ASCII only, whatever the locale).

namespace GAME::equation_grammar {

inline bool IsOpen(char c) {
    return c == '(' || c == '[';
}
inline bool IsClose(char c) {
    return c == ')' || c == ']';
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

}  // namespace GAME::equation_grammar
