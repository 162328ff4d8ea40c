#pragma once
// The one state value every placed, usable object shares; the kinds use their own range. It
// travels in seven bits of the replication byte, so no value may pass 127.
#include <cstdint>

namespace GAME {

enum FixedItem_State : std::uint32_t {
    FixedItemState_None = 0,
    FixedItemState_ContainerClosed = 1,
    FixedItemState_ContainerOpen = 2,
    FixedItemState_ShrineIdle = 3,
    FixedItemState_ShrineIdleToActive = 4,
    FixedItemState_ShrineActive = 5,
    FixedItemState_ShrineActiveToDormant = 6,
    FixedItemState_ShrineDormant = 7,
    FixedItemState_ShrineDormantToIdle = 8,
    FixedItemState_DoorClosed = 9,
    FixedItemState_DoorOpen = 10,
    // Open, and the door's auto-close switched off; a door stores it as open.
    FixedItemState_DoorOpenNoAutoClose = 11,
};

}  // namespace GAME
