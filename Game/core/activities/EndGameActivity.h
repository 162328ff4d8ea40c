#pragma once
// Runs once after the final boss dies: the ending theme plays at once; after the record's delay
// the closing story dialog opens and the boss portals unlock; the activity ends when the player
// has closed the dialog.
#include <cstdint>
#include <memory>

#include "Game/core/GameActivity.h"

namespace GAME {

class NpcDialogPak;

class EndGameActivity : public GameActivity {
public:
    static constexpr const char* kDelayRecord =
        "Records/InGameUI/InGameUI/EndGameDialogWindow/EndGameInitialDelayTimer.dbr";
    static constexpr const char* kMusicRecord =
        "Records/Sounds/Musicpak/OlympusEvent/OlympusEventEndingTheme.dbr";
    static constexpr const char* kDialogRecord = "Records/Dialog/Story/ZeusQ15_A.dbr";
    static constexpr int kDefaultDelayMs = 4000;

    EndGameActivity();
    ~EndGameActivity() override;

    void Update(int elapsedMs) override;
    void Render(GraphicsCanvas&) const override {}
    bool IsFinished() const override { return finished != 0; }
    void AddStatisticText() override {}

    int GetDelay() const { return delayMs; }
    bool HasMusicStarted() const { return musicStarted != 0; }
    bool HasDialogStarted() const { return dialogStarted != 0; }
    // The closing story's pack, the activity's own; null until it opens.
    const NpcDialogPak* GetStoryDialog() const { return storyDialog.get(); }

private:
    void OpenStoryDialog();
    void UnlockBossPortals();
    bool IsDialogOpen() const;
    void EndClosingSequence() const;

    int timer = 0;
    int delayMs = kDefaultDelayMs;
    int musicDelayMs = 0;
    std::uint8_t musicStarted = 0;
    std::uint8_t dialogStarted = 0;
    std::uint8_t finished = 0;
    std::unique_ptr<NpcDialogPak> storyDialog;
};

}  // namespace GAME
