#include "Game/core/activities/EndGameActivity.h"

#include "Engine/Engine.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameUIInterface.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"

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
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    storyDialog = std::make_unique<NpcDialogPak>();
    if (!objects.LoadTableFile(kDialogRecord))
        gEngine->Log(1, "EndGameActivity: the story dialog %s is missing; nothing is told",
                     kDialogRecord);
    storyDialog->Load(objects.GetLoadTable(kDialogRecord));
    GameEngine* root = gGameEngine;
    if (root && root->UIExists())
        root->GetUI()->OpenStoryDialog(storyDialog->GetPrimaryDialog());
}

void EndGameActivity::UnlockBossPortals() {
    // Every machine runs the ending (the final boss's death reaches all of them) and opens its
    // own portals alike.
    std::vector<Entity*> actors;
    World::Get().GetAllEntities(actors, EntityListType::Actors);
    for (Entity* entity : actors)
        if (entity->IsA<FixedItemTyphonPortal>())
            static_cast<FixedItemTyphonPortal*>(entity)->SetLock(false);
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
