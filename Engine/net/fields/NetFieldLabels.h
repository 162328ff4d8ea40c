#pragma once
// What a packet's field list says about each field besides its encoding: how it is described.
#include <array>
#include <cstring>
#include <string_view>

namespace GAME {

// The text of a 16-byte name that the receiving machine had no name for: a reader never makes a
// name from a stranger's bytes (each new text would stay interned for good), it keeps the text
// here for the receiver to vet. All zero when the name was known (or empty).
struct NetNameText {
    std::array<char, 16> bytes{};

    bool IsEmpty() const { return bytes[0] == 0; }
    std::string_view View() const { return {bytes.data(), strnlen(bytes.data(), bytes.size())}; }
};

// The label of a described field and its indent level; a field without a label is carried but
// not described.
struct NetLabel {
    constexpr NetLabel() = default;
    constexpr NetLabel(const char* text_, int indent_ = 0) : text(text_), indent(indent_) {}

    const char* text = nullptr;
    int indent = 0;
};

// How a list of 32-bit words or object ids is read and described.
struct NetList {
    const char* heading = nullptr;  // a line of its own before the elements
    const char* count = nullptr;    // a line giving the element count
    const char* item = nullptr;     // the label of each element (none: elements not described)
    int indent = 0;                 // of the element lines
    bool numbered = false;          // element labels read "<item><index>: "
    bool replace = false;           // reading replaces the list instead of appending to it
};

}  // namespace GAME
