#include "Game/core/activities/EndGameActivity.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/GameEngine.h"

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
    // Only the host's dialog query can end it: without a host UI the ending stays on.
    if (!root || !root->UIExists())
        return;
    if (!IsDialogOpen()) {
        EndClosingSequence();
        finished = 1;
    }
}

void EndGameActivity::OpenStoryDialog() {
    gEngine->Log(1,
                 "EndGameActivity: NpcDialogPak::Load(\"%s\") and the UI's dialog opening are "
                 "not available yet",
                 kDialogRecord);
}

void EndGameActivity::UnlockBossPortals() {
    gEngine->Log(1,
                 "EndGameActivity: FixedItem::SetLock(false) of the FixedItemTyphonPortal "
                 "entities is not available yet");
}

bool EndGameActivity::IsDialogOpen() const {
    gEngine->Log(1,
                 "EndGameActivity: the UI's dialog query is not available yet; the dialog "
                 "counts as closed");
    return false;
}

void EndGameActivity::EndClosingSequence() const {
    gEngine->Log(1, "EndGameActivity: the UI's end-game operation is not available yet");
}

}  // namespace GAME
