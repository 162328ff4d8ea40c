#pragma once
// The game-wide tables the root builds in code: which character action may interrupt which, the
// class titles of mastery pairs, the display tags of monster races, and the fixed names of item,
// monster and chest classes and of the game difficulties.
#include <array>
#include <map>
#include <string>
#include <utility>

namespace GAME {

// The kind each character action gives itself; 2, 17 and 18 belong to no action class.
enum CharacterActionType : unsigned int {
    CharacterActionType_Base = 0,
    CharacterActionType_Idle = 1,
    CharacterActionType_LongIdle = 3,
    CharacterActionType_MoveTo = 4,
    CharacterActionType_Walk = 5,
    CharacterActionType_PickUp = 6,
    CharacterActionType_Use = 7,
    CharacterActionType_Attack = 8,
    CharacterActionType_TakeStun = 9,
    CharacterActionType_Immobilize = 10,
    CharacterActionType_TakeTrap = 11,
    CharacterActionType_Die = 12,
    CharacterActionType_Chat = 13,
    CharacterActionType_PlayAnimation = 14,
    CharacterActionType_Spawn = 15,
    CharacterActionType_Respawn = 16,
    CharacterActionType_EngageNpc = 19,
};
inline constexpr unsigned int kCharacterActionTypeCount = 20;
// Cells are permissions 0, 1 or 2; the controllers give the numbers their meaning.
using CharacterActionMatrix =
    std::array<std::array<unsigned int, kCharacterActionTypeCount>, kCharacterActionTypeCount>;

inline constexpr unsigned int kMasteryCount = 8;
using ClassTagTable = std::array<std::array<std::string, kMasteryCount>, kMasteryCount>;

// Race name -> {singular tag, plural tag}.
using MonsterRaceMap = std::map<std::string, std::pair<std::string, std::string>>;
inline constexpr const char* kUnknownRaceTag = "noTagUnknownRace";

enum class ItemClassification : int {
    Common = 0,
    Magical = 1,
    Rare = 2,
    Epic = 3,
    Legendary = 4,
    Broken = 5,
    Potion = 6,
    Relic = 8,
    Quest = 9,
};
enum MonsterClassification : int {
    MonsterClassification_Common = 0,
    MonsterClassification_Champion = 1,
    MonsterClassification_Hero = 2,
    MonsterClassification_Boss = 3,
};
enum ChestClassification : int {
    ChestClassification_Common = 0,
    ChestClassification_Champion = 1,
    ChestClassification_Hero = 2,
};
enum GameDifficulty : int {
    GameDifficulty_Normal = 0,
    GameDifficulty_Epic = 1,
    GameDifficulty_Legendary = 2,
};

void FillActionMatrix(CharacterActionMatrix& matrix);
void FillClassTags(ClassTagTable& tags);
void FillMonsterRaces(MonsterRaceMap& races);

// Exact, case-sensitive names; any other name gives 0.
ItemClassification ResolveItemClassificationName(const std::string& name);
MonsterClassification ResolveMonsterClassificationName(const std::string& name);
ChestClassification ResolveChestClassificationName(const std::string& name);
// "Normal", "Epic", "Legendary", or "Invalid".
const char* GameDifficultyName(int difficulty);

}  // namespace GAME
