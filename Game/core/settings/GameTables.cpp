#include "Game/core/settings/GameTables.h"

#include <cstdio>

namespace GAME {

namespace {
// Row: the requested action; column: the action now running.
constexpr unsigned int kActionMatrix[kCharacterActionTypeCount][kCharacterActionTypeCount] = {
    {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
    {0, 2, 2, 0, 2, 0, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 0, 1, 1, 2},
    {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
    {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 2, 2},
    {0, 0, 2, 0, 0, 0, 1, 1, 0, 2, 2, 2, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 1, 1, 0, 2, 2, 2, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 1, 2, 0, 2, 2, 2, 2, 0, 0, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 1, 1, 1, 1, 0, 2, 2, 2, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 0, 1, 1, 2, 2, 2, 2, 0, 0, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 2, 2, 1, 1, 2},
    {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0},
    {0, 0, 2, 0, 1, 1, 0, 1, 0, 2, 2, 2, 2, 2, 0, 2, 2, 2, 2, 1},
    {0, 0, 2, 0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 2, 2, 2, 2, 2, 2, 2, 2, 0, 2, 0, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 0, 0, 2, 2, 2, 2, 2, 2, 0, 2, 0, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 1, 0, 2, 2, 0, 2, 2, 2, 0, 0, 0, 2, 2, 2, 1, 2},
    {0, 0, 2, 0, 0, 0, 2, 2, 0, 2, 2, 2, 0, 0, 0, 2, 2, 2, 2, 2},
    {0, 0, 2, 0, 0, 0, 2, 2, 0, 2, 2, 2, 0, 1, 0, 2, 2, 2, 2, 1},
};

constexpr struct {
    const char* race;
    const char* singular;
    const char* plural;
} kMonsterRaces[] = {
    {"Plant", "tagRace01", "tagRace01P"},     {"Animal", "tagRace02", "tagRace02P"},
    {"Beast", "tagRace03", "tagRace03P"},     {"Beastman", "tagRace04", "tagRace04P"},
    {"Insectoid", "tagRace05", "tagRace05P"}, {"Undead", "tagRace06", "tagRace06P"},
    {"Demon", "tagRace07", "tagRace07P"},     {"Orbund", "tagRace08", "tagRace08P"},
    {"Telkine", "tagRace09", "tagRace09P"},   {"Construct", "tagRace10", "tagRace10P"},
    {"Magical", "tagRace11", "tagRace11P"},   {"Device", "tagRace12", "tagRace12P"},
};

template <class Enum>
struct NamedValue {
    const char* name;
    Enum value;
};
constexpr NamedValue<ItemClassification> kItemClassNames[] = {
    {"Common", ItemClassification::Common},       {"Magical", ItemClassification::Magical},
    {"Rare", ItemClassification::Rare},           {"Epic", ItemClassification::Epic},
    {"Legendary", ItemClassification::Legendary}, {"Broken", ItemClassification::Broken},
    {"Potion", ItemClassification::Potion},       {"Relic", ItemClassification::Relic},
    {"Quest", ItemClassification::Quest},
};
constexpr NamedValue<MonsterClassification> kMonsterClassNames[] = {
    {"Common", MonsterClassification_Common},
    {"Champion", MonsterClassification_Champion},
    {"Hero", MonsterClassification_Hero},
    {"Boss", MonsterClassification_Boss},
};
constexpr NamedValue<ChestClassification> kChestClassNames[] = {
    {"Common", ChestClassification_Common},
    {"Champion", ChestClassification_Champion},
    {"Hero", ChestClassification_Hero},
};

template <class Enum, std::size_t N>
Enum Resolve(const NamedValue<Enum> (&names)[N], const std::string& name) {
    for (const auto& entry : names)
        if (name == entry.name)
            return entry.value;
    return static_cast<Enum>(0);
}
}  // namespace

void FillActionMatrix(CharacterActionMatrix& matrix) {
    for (unsigned int requested = 0; requested < kCharacterActionTypeCount; ++requested)
        for (unsigned int current = 0; current < kCharacterActionTypeCount; ++current)
            matrix[requested][current] = kActionMatrix[requested][current];
}

void FillClassTags(ClassTagTable& tags) {
    char tag[16];
    for (unsigned int mastery = 0; mastery < kMasteryCount; ++mastery) {
        std::snprintf(tag, sizeof tag, "tagCClass%02u", mastery + 1);
        tags[mastery][mastery] = tag;
    }
    // The pair titles run on from 09: all pairs with mastery 7 first, then with 6, and so on.
    unsigned int number = kMasteryCount + 1;
    for (unsigned int second = kMasteryCount - 1; second > 0; --second) {
        for (unsigned int first = 0; first < second; ++first) {
            std::snprintf(tag, sizeof tag, "tagCClass%02u", number++);
            tags[first][second] = tag;
            tags[second][first] = tag;
        }
    }
}

void FillMonsterRaces(MonsterRaceMap& races) {
    for (const auto& row : kMonsterRaces)
        races[row.race] = {row.singular, row.plural};
}

ItemClassification ResolveItemClassificationName(const std::string& name) {
    return Resolve(kItemClassNames, name);
}

MonsterClassification ResolveMonsterClassificationName(const std::string& name) {
    return Resolve(kMonsterClassNames, name);
}

ChestClassification ResolveChestClassificationName(const std::string& name) {
    return Resolve(kChestClassNames, name);
}

const char* GameDifficultyName(int difficulty) {
    switch (difficulty) {
        case GameDifficulty_Normal:
            return "Normal";
        case GameDifficulty_Epic:
            return "Epic";
        case GameDifficulty_Legendary:
            return "Legendary";
        default:
            return "Invalid";
    }
}

}  // namespace GAME
