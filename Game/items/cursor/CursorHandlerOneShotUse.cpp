#include "Game/items/cursor/CursorHandlerOneShotUse.h"

#include "Game/items/inventory/PlayerInventoryCtrl.h"

namespace GAME {

void CursorHandlerOneShotUse::SecondaryInitialize() {
    if (PlayerInventoryCtrl* bag = GetInventoryCtrl())
        bag->UseOneShot(item);
    item = 0;
}

}  // namespace GAME
