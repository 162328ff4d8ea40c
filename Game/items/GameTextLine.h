#pragma once
// One styled line of user-interface text.
#include <string>

namespace GAME {

enum GameTextClass : int {
    GameTextClass_Default = 0,
    GameTextClass_ItemBanner,
    GameTextClass_ItemNameCommon,
    GameTextClass_ItemNameMagical,
    GameTextClass_ItemNameRare,
    GameTextClass_ItemNameEpic,
    GameTextClass_ItemNameLegendary,
    GameTextClass_ItemNameBroken,
    GameTextClass_ItemNamePotion,
    GameTextClass_ItemNameRelic,
    GameTextClass_ItemNameQuest,
    GameTextClass_ItemDescription,
    GameTextClass_ItemBaseStats,
    GameTextClass_ItemBonuses,
    GameTextClass_ItemRequirements,
    GameTextClass_ItemSetName,
    GameTextClass_ItemSetDescription,
    GameTextClass_ItemSetComponentNotAvailable,
    GameTextClass_ItemSetComponentAvailable,
    GameTextClass_ItemSetBonuses,
    GameTextClass_ItemRelicName,
    GameTextClass_ItemRelicNumber,
    GameTextClass_ItemRelicDescription,
    GameTextClass_ItemRelicBonus,
    GameTextClass_ItemRelicCompleteTitle,
    GameTextClass_ItemDirections,
    GameTextClass_ItemSkillHeading,
    GameTextClass_ItemSkillName,
    GameTextClass_SkillName,
    GameTextClass_SkillDescription,
    GameTextClass_SkillLevelTitles,
    GameTextClass_SkillStatsCurrent,
    GameTextClass_SkillStatsNext,
    GameTextClass_SkillRequirements,
    GameTextClass_SkillRequirementsNotMet,
    GameTextClass_PetSkillNameCurrent,
    GameTextClass_PetSkillNameNext,
    GameTextClass_PetSkillStatsCurrent,
    GameTextClass_PetSkillStatsNext,
};

struct GameTextLine {
    GameTextLine(GameTextClass style, const std::wstring& text, bool flag = false)
        : textClass(style), text(text), flag(flag) {}

    GameTextClass textClass;
    std::wstring text;
    bool flag;
};

}  // namespace GAME
