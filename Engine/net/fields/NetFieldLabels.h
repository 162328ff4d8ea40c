#pragma once
// What a packet's field list says about each field besides its encoding: how it is described.

namespace GAME {

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
