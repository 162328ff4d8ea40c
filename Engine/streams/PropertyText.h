#pragma once
// Named-property streams written by hand: a JSON text whose blocks are arrays of one-key objects,
// read into the bytes of an IOStream (docs/QUESTS.md). A string, bool, whole number or fraction
// is a string, bool, int or float property; an array is a block; {"u32": n}, {"float": x} and
// {"wstring": "..."} spell the other kinds.
#include <memory>
#include <string>
#include <string_view>

namespace GAME {

class IOStream;

// A stream reading what the text holds, named `name`; null, with the reason in `error` (naming
// the place in the text), when the text is not such a stream.
std::unique_ptr<IOStream> ReadPropertyText(std::string_view text, const std::string& name,
                                           std::string& error);

}  // namespace GAME
