#pragma once
// One side's offer in a trade: the items laid in the trade window, the gold, and whether that
// side has accepted the exchange as it stands.
#include <cstdint>

#include "Game/items/inventory/InventorySack.h"

namespace GAME {

class TradeState {
public:
    virtual ~TradeState() = default;

    InventorySack sack;
    bool finalized = false;
    std::uint32_t goldAmount = 0;
};

}  // namespace GAME
