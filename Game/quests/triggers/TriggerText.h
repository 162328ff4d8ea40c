#pragma once
// Record names in quest scripts and the one-line descriptions of their elements.
#include <string>
#include <string_view>

namespace GAME {

// Equal when as long and equal character by character after lower-casing, '/' and '\' alike.
bool RecordNamesEqual(std::string_view a, std::string_view b);
// The form under which equal names are filed together.
std::string RecordNameKey(std::string_view name);
// The same into `key`, whose storage is kept.
void RecordNameKey(std::string_view name, std::string& key);
// A record name as descriptions show it: the file name without folders or extension, or
// "[empty]".
std::string ShowRecordName(std::string_view name);
// "{B" name "}", the markup of a highlighted name or value.
std::string Highlight(std::string_view text);
// "{R" token "}", the markup of a highlighted token name.
std::string HighlightToken(std::string_view token);
// What a negated condition's description begins with.
const char* NegatedPrefix(bool negated);

}  // namespace GAME
