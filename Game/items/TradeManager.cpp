#include "Game/items/TradeManager.h"

namespace GAME {

void TradeManager::Update() {
    ++mUpdates;
}

}  // namespace GAME
