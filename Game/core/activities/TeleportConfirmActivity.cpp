#include "Game/core/activities/TeleportConfirmActivity.h"

#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"

namespace GAME {

void TeleportConfirmActivity::Set(const std::string& textTag, const WorldVec3& where) {
    tag = textTag;
    destination = where;
}

void TeleportConfirmActivity::Update(int) {
    GameEngine* root = gGameEngine;
    if (!root)
        return;
    DialogManager& dialogs = root->GetDialogManager();
    if (!dialogShown) {
        dialogShown = true;
        dialogs.AddDialog(1, false, kDialogPartyTeleport, tag, true, 0, true);
    }
    if (dialogs.GetNumResponsesFor(kDialogPartyTeleport) == 0)
        return;
    const DialogManager::YesNoResponse response = dialogs.GetResponseFor(kDialogPartyTeleport);
    if (response.answer == 1) {
        const Vec3 world = destination.GetWorldPosition();
        root->InitiatePlayerTeleport(static_cast<int>(world.x), static_cast<int>(world.y),
                                     static_cast<int>(world.z));
    }
    finished = true;
}

}  // namespace GAME
