#pragma once
// Text from another machine, made safe to print on a terminal: control characters would let a
// client move the cursor, clear the screen or forge lines of the server's output.
#include <string>

namespace GAME {

// UTF-8, with C0 and C1 control characters and DEL written as escapes (\n, \t, \r, \xHH,
// \u00HH) and the backslash doubled, so every escape reads back unambiguously.
std::string PrintableText(const std::wstring& text);

}  // namespace GAME
