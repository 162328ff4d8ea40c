#include "Game/items/market/TradeManager.h"

namespace GAME {

void TradeManager::Update() {
    ++mUpdates;
}

}  // namespace GAME
