#include "Game/skills/SkillTargets.h"

#include "Game/characters/Character.h"

namespace GAME {

float GetCharacterExtents(const Character& character) {
    switch (character.GetPathingSize()) {
        case CharacterPathingSize::Medium:
            return 1.0f;
        case CharacterPathingSize::Large:
            return 1.75f;
        default:
            return 0.5f;
    }
}

}  // namespace GAME
