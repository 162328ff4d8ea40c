#pragma once
// The buff effects a character can show on itself, as skill records name them.
#include <string_view>

namespace GAME {

enum class CharacterBuff : int { None = 0, Fire = 1, Poison = 2 };

// "Fire" and "Poison"; any other text is no buff effect.
inline CharacterBuff ConvertFxBuffName(std::string_view name) {
    if (name == "Fire")
        return CharacterBuff::Fire;
    if (name == "Poison")
        return CharacterBuff::Poison;
    return CharacterBuff::None;
}

}  // namespace GAME
