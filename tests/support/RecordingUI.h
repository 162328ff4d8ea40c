#pragma once
// A host user interface for tests: every call beyond the saves is written down as one line.
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/core/GameUIInterface.h"

namespace GAME::test {

class RecordingUI : public GameUIInterface {
public:
    bool DisplaySkillReallocationWindow(unsigned character) override {
        calls.push_back("reallocate " + std::to_string(character));
        return reallocate;
    }
    bool SaveGame(GameDifficulty) override { return false; }
    bool SaveGame() override { return false; }
    bool SaveQuest(bool) override { return false; }
    bool BackupGame() override { return false; }
    bool AskConversationQuestion() override {
        calls.push_back("question");
        return answer;
    }
    void OpenNpcDialogPak(std::uint32_t npc, std::uint32_t player, NpcDialogPak* pak) override {
        calls.push_back("open " + std::to_string(npc) + " for " + std::to_string(player));
        shown = pak;
    }
    bool IsDialogPakShown(const NpcDialogPak* pak) const override { return pak && pak == shown; }
    void CloseDialogPak() override {
        calls.push_back("close");
        shown = nullptr;
    }
    void OpenStoryDialog(Dialog* dialog) override {
        calls.push_back(dialog ? "story" : "story without a line");
        dialogOpen = true;
    }
    bool IsDialogOpen() const override { return dialogOpen; }
    void EndGame() override { calls.push_back("end game"); }
    void OnBossDeath() override { calls.push_back("boss death"); }
    void DisplayDebugText(const std::wstring& text, const Color&, float x, float y) override {
        calls.push_back("debug " + std::string(text.begin(), text.end()) + " " +
                        std::to_string(static_cast<int>(x)) + "," +
                        std::to_string(static_cast<int>(y)));
    }
    void OnSecondarySkillActivated(std::uint32_t skill) override {
        calls.push_back("secondary " + std::to_string(skill));
    }

    std::vector<std::string> calls;
    bool answer = false;
    bool reallocate = false;
    bool dialogOpen = false;
    const NpcDialogPak* shown = nullptr;
};

}  // namespace GAME::test
