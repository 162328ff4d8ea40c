#pragma once
// Records as designers write them, parsed straight into their fields: one object of names
// mapped to numbers, plain strings, booleans and flat lists of them. Anything else (escapes,
// non-ASCII text, null, nested values, numbers out of range, any syntax error) is declined, and
// the caller parses the text with the general JSON parser, so every text gives exactly the
// fields (and log lines) that parser gives.
#include <string_view>

namespace GAME {

struct RecordData;

// Fills `out.fields` and answers true when the text lies in the subset above; false leaves
// `out.fields` in no particular state.
bool ParseRecordFast(std::string_view text, RecordData& out);

}  // namespace GAME
