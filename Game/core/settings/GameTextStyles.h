#pragma once
// The user-interface text style of each GameTextClass: a named style of the host's style manager
// and a left indent in pixels, both from the settings record.
#include <map>
#include <string>

#include "Game/items/GameTextLine.h"

namespace GAME {

class LoadTable;

struct GameTextStyle {
    std::string name;
    int indent = 0;
};
using GameTextStyleTable = std::map<GameTextClass, GameTextStyle>;

inline constexpr int kGameTextClassCount = GameTextClass_Count;
// The record key of a style ("Default", "ItemBanner", ...); its indent is under key + "Indent".
const char* GameTextStyleKey(GameTextClass textClass);

// Enters every style of the record under its class; an entry already in the table is kept.
void LoadGameTextStyles(const LoadTable& record, GameTextStyleTable& styles);

}  // namespace GAME
