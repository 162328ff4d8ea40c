#pragma once
// What a character keeps of its sounds and effects beyond its effect packs.
#include <cstdint>
#include <string>

namespace GAME {

// An absorption effect: shown when a defense absorbs damage of its type.
struct CharacterDamageFx {
    std::string effect;
    std::uint32_t soundId = 0;  // an owned SoundPak, destroyed with the character
    bool fired = false;         // shown since the last reset
};

}  // namespace GAME
