#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"

namespace GAME {

bool GameEngine::SaveGame() {
    return ui && ui->SaveGame();
}

bool GameEngine::SaveGame(GameDifficulty difficulty) {
    return ui && ui->SaveGame(difficulty);
}

bool GameEngine::SaveQuest(bool argument) {
    return ui && ui->SaveQuest(argument);
}

bool GameEngine::BackupGame() {
    return ui && ui->BackupGame();
}

bool GameEngine::AutoSave() {
    return !autoSave || SaveGame();
}

bool GameEngine::AutoSaveQuest(bool argument) {
    return !autoSave || SaveQuest(argument);
}

// Without a user interface there is no window to show (rather than a null call).
bool GameEngine::DisplaySkillReallocationWindow(unsigned characterId) {
    return ui && ui->DisplaySkillReallocationWindow(characterId);
}

}  // namespace GAME
