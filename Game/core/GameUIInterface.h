#pragma once
// What the host's user interface does for the game: the saves and the skill reallocation window.
#include "Game/core/settings/GameTables.h"

namespace GAME {

class GameUIInterface {
public:
    virtual ~GameUIInterface() = default;
    virtual bool DisplaySkillReallocationWindow(unsigned characterId) = 0;
    virtual bool SaveGame(GameDifficulty difficulty) = 0;
    virtual bool SaveGame() = 0;
    virtual bool SaveQuest(bool argument) = 0;
    virtual bool BackupGame() = 0;
};

}  // namespace GAME
