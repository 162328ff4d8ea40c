#include "Game/core/settings/GameTextStyles.h"

#include "Engine/records/LoadTable.h"

namespace GAME {

const char* GameTextStyleKey(GameTextClass textClass) {
    const char* name = GetGameTextClassName(textClass);
    return name ? name : "";
}

void LoadGameTextStyles(const LoadTable& record, GameTextStyleTable& styles) {
    for (int index = 0; index < kGameTextClassCount; ++index) {
        const std::string key = GameTextStyleKey(static_cast<GameTextClass>(index));
        GameTextStyle style;
        style.name = record.GetString(key.c_str());
        style.indent = record.GetInt((key + "Indent").c_str(), 0);
        styles.emplace(static_cast<GameTextClass>(index), std::move(style));
    }
}

}  // namespace GAME
