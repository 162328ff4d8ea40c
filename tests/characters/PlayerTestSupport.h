#pragma once
// The host's side of a player for tests: hands out the skill bars the user set, keeps what a
// load restores, and counts the saves the player asks for.
#include <vector>

#include "Game/characters/player/PlayerSaveUISetting.h"

namespace GAME::test {

class FakeGameInterface : public PlayerGameInterface {
public:
    void RestoreUISettings(PlayerSave_UISetting& settings) override {
        restored = settings;
        ++restoreCount;
    }
    void GetUISettings(PlayerSave_UISetting& settings) const override { settings = current; }
    void AutoSave() override { saves.push_back(Save::Auto); }
    void BackupGame() override { saves.push_back(Save::Backup); }
    void AutoSaveQuest(bool argument) override {
        saves.push_back(argument ? Save::QuestTrue : Save::QuestFalse);
    }

    enum class Save { Auto, Backup, QuestTrue, QuestFalse };
    PlayerSave_UISetting current;
    PlayerSave_UISetting restored;
    int restoreCount = 0;
    std::vector<Save> saves;
};

}  // namespace GAME::test
