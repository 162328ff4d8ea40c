#pragma once
// The two state variables of every character, its gender and its pathing size, with their texts.
#include <cstdint>
#include <string>

namespace GAME {

enum class Character_LifeState : std::int32_t {
    Unknown = 0,
    Initializing = 1,
    Alive = 2,
    Dying = 3,
    Dead = 4,
    Respawning = 5,
};

enum class Character_ActionState : std::int32_t {
    Unknown = 0,
    ForcedStop = 1,
    PlayAnimation = 2,
    Idle = 3,
    Fidget = 4,
    Move = 5,
    Walk = 6,
    Attack = 7,
    Stun = 8,
    Immobilize = 9,
    Trap = 10,
    Pickup = 11,
    Chatting = 12,
    Fallen = 13,
    Dying = 14,
};

enum class Character_Gender : std::int32_t {
    Unknown = 0,
    Male = 1,
    Female = 2,
    Native = 3,
    Satyr = 4,
    JackalMan = 5,
    Tigerman = 6,
};

enum class CharacterPathingSize : std::int32_t { Small = 0, Medium = 1, Large = 2 };

// "Life: Illegal" past the table.
const char* GetLifeStateText(Character_LifeState state);
// "Illegal" for PlayAnimation and past the table.
const char* GetActionStateText(Character_ActionState state);
// Exact, case-sensitive; Unknown for any other text.
Character_Gender GenderFromText(const std::string& text);
// Small for any unknown text.
CharacterPathingSize PathingSizeFromText(const std::string& text);

}  // namespace GAME
