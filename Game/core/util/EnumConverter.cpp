#include "Game/core/util/EnumConverter.h"

#include <string_view>

namespace GAME::EnumConverter {

namespace {

template <class E>
struct Entry {
    std::string_view name;
    E value;
};

// One table per enumeration: its names, and what an unknown text gives.
template <class E>
struct Table;

template <>
struct Table<PlayerCharacterClassType> {
    using E = PlayerCharacterClassType;
    static constexpr Entry<E> entries[] = {
        {"Warrior", E::Warrior}, {"Archer", E::Archer}, {"Sorceress", E::Sorceress}};
    static constexpr E fallback = E::None;
};

template <>
struct Table<ActorMountType> {
    using E = ActorMountType;
    static constexpr Entry<E> entries[] = {{"Centaur", E::Centaur}};
    static constexpr E fallback = E::None;
};

template <>
struct Table<CharacterPathGenerationStyle> {
    using E = CharacterPathGenerationStyle;
    static constexpr Entry<E> entries[] = {{"Default", E::Default}, {"Sheep", E::Sheep}};
    static constexpr E fallback = E::Default;
};

template <class E>
E ToEnum(const std::string& text) {
    for (const auto& entry : Table<E>::entries)
        if (entry.name == text)
            return entry.value;
    return Table<E>::fallback;
}

template <class E>
std::string ToString(E value) {
    for (const auto& entry : Table<E>::entries)
        if (entry.value == value)
            return std::string(entry.name);
    return "None";
}

}  // namespace

#define GAME_ENUM_CONVERTER(E)                      \
    template <>                                     \
    E GetStringAsEnum<E>(const std::string& text) { \
        return ToEnum<E>(text);                     \
    }                                               \
    template <>                                     \
    std::string GetEnumAsString<E>(E value) {       \
        return ToString<E>(value);                  \
    }

GAME_ENUM_CONVERTER(PlayerCharacterClassType)
GAME_ENUM_CONVERTER(ActorMountType)
GAME_ENUM_CONVERTER(CharacterPathGenerationStyle)

#undef GAME_ENUM_CONVERTER

}  // namespace GAME::EnumConverter
