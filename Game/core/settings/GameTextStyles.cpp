#include "Game/core/settings/GameTextStyles.h"

#include "Engine/records/LoadTable.h"

namespace GAME {

namespace {
constexpr const char* kStyleKeys[kGameTextClassCount] = {
    "Default",
    "ItemBanner",
    "ItemNameCommon",
    "ItemNameMagical",
    "ItemNameRare",
    "ItemNameEpic",
    "ItemNameLegendary",
    "ItemNameBroken",
    "ItemNamePotion",
    "ItemNameRelic",
    "ItemNameQuest",
    "ItemDescription",
    "ItemBaseStats",
    "ItemBonuses",
    "ItemRequirements",
    "ItemSetName",
    "ItemSetDescription",
    "ItemSetComponentNotAvailable",
    "ItemSetComponentAvailable",
    "ItemSetBonuses",
    "ItemRelicName",
    "ItemRelicNumber",
    "ItemRelicDescription",
    "ItemRelicBonus",
    "ItemRelicCompleteTitle",
    "ItemDirections",
    "ItemSkillHeading",
    "ItemSkillName",
    "SkillName",
    "SkillDescription",
    "SkillLevelTitles",
    "SkillStatsCurrent",
    "SkillStatsNext",
    "SkillRequirements",
    "SkillRequirementsNotMet",
    "PetSkillNameCurrent",
    "PetSkillNameNext",
    "PetSkillStatsCurrent",
    "PetSkillStatsNext",
};
static_assert(GameTextClass_PetSkillStatsNext + 1 == kGameTextClassCount);
}  // namespace

const char* GameTextStyleKey(GameTextClass textClass) {
    const int index = static_cast<int>(textClass);
    return index >= 0 && index < kGameTextClassCount ? kStyleKeys[index] : "";
}

void LoadGameTextStyles(const LoadTable& record, GameTextStyleTable& styles) {
    for (int index = 0; index < kGameTextClassCount; ++index) {
        const std::string key = kStyleKeys[index];
        GameTextStyle style;
        style.name = record.GetString(key.c_str());
        style.indent = record.GetInt((key + "Indent").c_str(), 0);
        styles.emplace(static_cast<GameTextClass>(index), std::move(style));
    }
}

}  // namespace GAME
