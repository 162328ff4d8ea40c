#include "Game/characters/CharacterStates.h"

#include <array>
#include <utility>

namespace GAME {

namespace {

constexpr std::array<const char*, 6> kLifeTexts = {
    "Life: Unknown", "Life: Initializing", "Life: Alive",
    "Life: Dying",   "Life: Dead",         "Life: Respawning",
};

constexpr std::array<const char*, 15> kActionTexts = {
    "Action State: Unknown",    "Action State: Forced Stop", "Illegal",
    "Action State: Idle",       "Action State: Fidget",      "Action State: Move",
    "Action State: Walk",       "Action State: Attack",      "Action State: Stun",
    "Action State: Immobilize", "Action State: Trap",        "Action State: Pickup",
    "Action State: Chatting",   "Action State: Fallen",      "Action State: Dying",
};

constexpr std::pair<const char*, Character_Gender> kGenders[] = {
    {"Male", Character_Gender::Male},         {"Female", Character_Gender::Female},
    {"Satyr", Character_Gender::Satyr},       {"JackalMan", Character_Gender::JackalMan},
    {"Tigerman", Character_Gender::Tigerman}, {"Native", Character_Gender::Native},
};

constexpr std::pair<const char*, CharacterPathingSize> kSizes[] = {
    {"Small", CharacterPathingSize::Small},
    {"Medium", CharacterPathingSize::Medium},
    {"Large", CharacterPathingSize::Large},
};

}  // namespace

const char* GetLifeStateText(Character_LifeState state) {
    const auto index = static_cast<std::uint32_t>(state);
    return index < kLifeTexts.size() ? kLifeTexts[index] : "Life: Illegal";
}

const char* GetActionStateText(Character_ActionState state) {
    const auto index = static_cast<std::uint32_t>(state);
    return index < kActionTexts.size() ? kActionTexts[index] : "Illegal";
}

Character_Gender GenderFromText(const std::string& text) {
    for (const auto& [name, gender] : kGenders)
        if (text == name)
            return gender;
    return Character_Gender::Unknown;
}

CharacterPathingSize PathingSizeFromText(const std::string& text) {
    for (const auto& [name, size] : kSizes)
        if (text == name)
            return size;
    return CharacterPathingSize::Small;
}

}  // namespace GAME
