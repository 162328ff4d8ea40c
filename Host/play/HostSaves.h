#pragma once
// The host's side of saving: the game asks through its user interface (auto-saves at level-ups,
// backups, the end of the run) and the host writes the main player's character file, under a
// temporary name renamed into place. With saving off every request is answered "not saved" and
// nothing is written.
#include <filesystem>
#include <functional>
#include <string>

#include "Game/characters/player/PlayerSaveUISetting.h"
#include "Game/core/GameUIInterface.h"

namespace GAME {

class Npc;

class HostSaves : public GameUIInterface, public PlayerGameInterface {
public:
    HostSaves(std::filesystem::path file, bool enabled);

    const std::filesystem::path& GetFile() const { return mFile; }
    bool IsEnabled() const { return mEnabled; }
    int GetSaveCount() const { return mSaves; }

    // Printed; the window counts as open.
    bool DisplaySkillReallocationWindow(unsigned characterId) override;
    bool SaveGame(GameDifficulty) override { return SaveGame(); }
    bool SaveGame() override;
    // The quest state beside the character file, on the quest save thread.
    bool SaveQuest(bool) override;
    // Where the quest state of a character file lives: "<file>.quests/" and its repository file.
    static std::filesystem::path QuestFolderOf(const std::filesystem::path& characterFile);
    static constexpr const char* kQuestRepositoryFile = "Quests.rep";
    // A copy of the current save beside it ("<file>.bak").
    bool BackupGame() override;
    void ItemPickedUp(unsigned, const std::wstring& description) override {
        if (mOnPickedUp)
            mOnPickedUp(description);
    }
    void SetPickUpListener(std::function<void(const std::wstring&)> listener) {
        mOnPickedUp = std::move(listener);
    }
    // Where the UI's notices go, one line each.
    void SetNoticePrinter(std::function<void(const std::string&)> printer) {
        mPrint = std::move(printer);
    }

    // The host shows no dialogs: each request is printed, a conversation's question is answered
    // as set (no, unless a driver says yes) and no dialog stays open. An NPC's pack says its next
    // line, which is printed and ends at once (the pack stays the NPC's).
    bool AskConversationQuestion() override;
    void SetConversationAnswer(bool yes) { mConversationAnswer = yes; }
    void OpenNpcDialogPak(std::uint32_t npc, std::uint32_t player, NpcDialogPak* pak) override;
    bool IsDialogPakShown(const NpcDialogPak*) const override { return false; }
    void CloseDialogPak() override;
    void OpenStoryDialog(Dialog* dialog) override;
    bool IsDialogOpen() const override { return false; }
    void EndGame() override;
    void OnBossDeath() override;
    void DisplayDebugText(const std::wstring& text, const Color& color, float x, float y) override;
    void OnSecondarySkillActivated(std::uint32_t skill) override;

    static std::string NpcName(const Npc& npc);
    void RestoreUISettings(PlayerSave_UISetting& settings) override { mUISettings = settings; }
    void GetUISettings(PlayerSave_UISetting& settings) const override { settings = mUISettings; }

private:
    std::filesystem::path mFile;
    bool mEnabled;
    int mSaves = 0;
    bool mConversationAnswer = false;
    PlayerSave_UISetting mUISettings;
    std::function<void(const std::wstring&)> mOnPickedUp;
    std::function<void(const std::string&)> mPrint;
    void Print(const std::string& line) const {
        if (mPrint)
            mPrint(line);
    }
};

}  // namespace GAME
