#pragma once
// What the host's user interface does for the game: the saves, the skill reallocation window and
// the note that this machine's player picked something up.
#include <string>

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
    // The game description of what the player took (before it may have been used up).
    virtual void ItemPickedUp(unsigned characterId, const std::wstring& description) {
        (void)characterId;
        (void)description;
    }
};

}  // namespace GAME
