#include "Game/core/activities/EndGameActivity.h"

#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/core/util/SeamLog.h"

namespace GAME {

EndGameActivity::EndGameActivity() {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    objects.LoadTableFile(kDelayRecord);
    delayMs = objects.GetLoadTable(kDelayRecord).GetInt("time", kDefaultDelayMs);
}

EndGameActivity::~EndGameActivity() {
    GameEngine* root = gGameEngine;
    if (root && root->UIExists())
        EndClosingSequence();
}

void EndGameActivity::Update(int elapsedMs) {
    timer += elapsedMs;
    if (!musicStarted && timer > musicDelayMs) {
        musicStarted = 1;
        if (GameEngine* root = gGameEngine)
            root->GetJukebox()->PlayEventMusic(kMusicRecord, true);
    }
    if (!dialogStarted) {
        if (timer <= delayMs)
            return;
        OpenStoryDialog();
        UnlockBossPortals();
        dialogStarted = 1;
    }
    GameEngine* root = gGameEngine;
    // Without a host UI no dialog was shown, so there is none to wait for.
    if (!root || !root->UIExists()) {
        finished = 1;
        return;
    }
    if (!IsDialogOpen()) {
        EndClosingSequence();
        finished = 1;
    }
}

void EndGameActivity::OpenStoryDialog() {
    ReportSeamWith("EndGameActivity", "NpcDialogPak::Load and the UI's dialog opening", "%s",
                   kDialogRecord);
}

void EndGameActivity::UnlockBossPortals() {
    ReportSeam("EndGameActivity",
               "FixedItem::SetLock(false) of the FixedItemTyphonPortal entities");
}

bool EndGameActivity::IsDialogOpen() const {
    GameEngine* root = gGameEngine;
    return root && root->GetUI() && root->GetUI()->IsDialogOpen();
}

void EndGameActivity::EndClosingSequence() const {
    if (GameEngine* root = gGameEngine; root && root->GetUI())
        root->GetUI()->EndGame();
}

}  // namespace GAME
