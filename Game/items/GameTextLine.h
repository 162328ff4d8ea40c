#pragma once
// One styled line of user-interface text. The style numbers double as the index of the style
// keys in the game's main record, so the list below is their order there too.
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

// clang-format off
#define GAME_TEXT_CLASSES(X)                                                                  \
    X(Default) X(ItemBanner) X(ItemNameCommon) X(ItemNameMagical) X(ItemNameRare)            \
    X(ItemNameEpic) X(ItemNameLegendary) X(ItemNameBroken) X(ItemNamePotion)                 \
    X(ItemNameRelic) X(ItemNameQuest) X(ItemDescription) X(ItemBaseStats) X(ItemBonuses)     \
    X(ItemRequirements) X(ItemSetName) X(ItemSetDescription) X(ItemSetComponentNotAvailable) \
    X(ItemSetComponentAvailable) X(ItemSetBonuses) X(ItemRelicName) X(ItemRelicNumber)       \
    X(ItemRelicDescription) X(ItemRelicBonus) X(ItemRelicCompleteTitle) X(ItemDirections)    \
    X(ItemSkillHeading) X(ItemSkillName) X(SkillName) X(SkillDescription)                    \
    X(SkillLevelTitles) X(SkillStatsCurrent) X(SkillStatsNext) X(SkillRequirements)          \
    X(SkillRequirementsNotMet) X(PetSkillNameCurrent) X(PetSkillNameNext)                    \
    X(PetSkillStatsCurrent) X(PetSkillStatsNext)
// clang-format on

enum GameTextClass : int {
#define GAME_TEXT_CLASS_ENUM(Name) GameTextClass_##Name,
    GAME_TEXT_CLASSES(GAME_TEXT_CLASS_ENUM)
#undef GAME_TEXT_CLASS_ENUM
        GameTextClass_Count
};

// The style's name as the record keys spell it ("Default", "ItemBanner", ...); null out of range.
const char* GetGameTextClassName(GameTextClass style);

struct GameTextLine {
    GameTextLine(GameTextClass style, const std::wstring& text, bool flag = false)
        : textClass(style), text(text), flag(flag) {}

    GameTextClass textClass;
    std::wstring text;
    bool flag;
};

// A line laid out for the host: the style's name, the text and its measured size in pixels.
struct GameTextString {
    static constexpr int kMargin = 6;

    // Measures the text with the named style of the style manager (no style: width and height 0).
    GameTextString(const std::string& styleName, const std::wstring& text, bool flag, int indent);

    std::string styleName;
    std::wstring text;
    float width = 0.0f;
    float height = 0.0f;
    int leftMargin = 0;
    int rightMargin = 0;
    bool flag = false;
};

// Appends one string per line, in order, styled by the root's style table.
void GameTextLineToString(const std::vector<GameTextLine>& lines,
                          std::vector<GameTextString>& strings);

// A line of text class Default holding one blank: the gap between blocks of a tooltip.
inline void AppendSpacerLine(std::vector<GameTextLine>& lines) {
    lines.emplace_back(GameTextClass_Default, L" ");
}

}  // namespace GAME
