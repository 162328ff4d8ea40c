#pragma once
// Text helpers shared by the item classes.
#include <string>

namespace GAME {

// The text of a tag through the "SimpleStringFormat" format (how item texts are shown).
std::wstring LocalizeSimple(const std::string& tag);

}  // namespace GAME
