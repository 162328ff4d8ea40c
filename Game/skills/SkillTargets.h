#pragma once
// What a skill measures of the characters it picks (the picking itself is the root's target
// queries).

namespace GAME {

class Character;

// A character's radius by its size class (0.5, 1.0 or 1.75 m).
float GetCharacterExtents(const Character& character);

}  // namespace GAME
