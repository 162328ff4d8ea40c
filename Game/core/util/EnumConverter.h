#pragma once
// Names in records to enumerations and back. Names match whole and case-sensitively; a text
// that names nothing gives the enumeration's fallback, a value that names nothing "None".
#include <string>

namespace GAME {

enum class PlayerCharacterClassType : int { None = -1, Warrior = 0, Archer = 1, Sorceress = 2 };
enum class ActorMountType : int { None = -1, Centaur = 0 };
enum class CharacterPathGenerationStyle : int { Default = 0, Sheep = 1 };

namespace EnumConverter {

template <class E>
E GetStringAsEnum(const std::string& text);
template <class E>
std::string GetEnumAsString(E value);

template <>
PlayerCharacterClassType GetStringAsEnum<PlayerCharacterClassType>(const std::string& text);
template <>
ActorMountType GetStringAsEnum<ActorMountType>(const std::string& text);
template <>
CharacterPathGenerationStyle GetStringAsEnum<CharacterPathGenerationStyle>(const std::string& text);
template <>
std::string GetEnumAsString<PlayerCharacterClassType>(PlayerCharacterClassType value);
template <>
std::string GetEnumAsString<ActorMountType>(ActorMountType value);
template <>
std::string GetEnumAsString<CharacterPathGenerationStyle>(CharacterPathGenerationStyle value);

}  // namespace EnumConverter

using EnumConverter::GetEnumAsString;
using EnumConverter::GetStringAsEnum;

}  // namespace GAME
