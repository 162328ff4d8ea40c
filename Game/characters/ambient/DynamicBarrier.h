#pragma once
// A character-like obstacle that monsters' path logic recognises as a barrier in their way: a
// pursuing monster turns on a hostile one that stands between it and its enemy. Every operation
// is the ambient character's.
#include <cstdint>

#include "Game/characters/ambient/AmbientCharacter.h"

namespace GAME {

class DynamicBarrier : public AmbientCharacter {
    RTTI_DECLARE(DynamicBarrier)
public:
    DynamicBarrier();
    ~DynamicBarrier() override;

    // The living barrier hostile to `selfId` that a ray from `selfId` to `targetId` meets
    // nearest to `selfId`'s path position; null when none (or either is no character).
    static DynamicBarrier* FindBlocking(std::uint32_t selfId, std::uint32_t targetId);
};

}  // namespace GAME
