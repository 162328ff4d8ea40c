#pragma once
// What a character keeps of its sounds and effects beyond its effect packs.
#include <cstddef>
#include <cstdint>

#include "Engine/text/RecordText.h"

namespace GAME {

// The damage types with an absorption effect.
inline constexpr std::size_t kAbsorptionFxCount = 8;

// An absorption effect: shown when a defense absorbs damage of its type.
struct CharacterDamageFx {
    RecordText effect;
    std::uint32_t soundId = 0;  // an owned SoundPak, destroyed with the character
    bool fired = false;         // shown since the last reset
};

}  // namespace GAME
