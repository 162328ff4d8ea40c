#pragma once
// The summary the player reads of a creature that fights (a pet, an ambient creature): its
// health and energy, then its abilities, or its bare-hand damage when it shows none.
#include <string>
#include <vector>

#include "Game/items/GameTextLine.h"

namespace GAME {

class Character;

void AppendCreatureSummaryText(const Character& character, const std::wstring& displayName,
                               GameTextClass textClass, std::vector<GameTextLine>& lines);

}  // namespace GAME
