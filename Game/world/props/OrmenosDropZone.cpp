#include "Game/world/props/OrmenosDropZone.h"

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(OrmenosDropZone, Actor)

OrmenosDropZone::OrmenosDropZone() {
    // Only the world editor shows it.
    if (!gEngine || !gEngine->IsEditor())
        SetVisibility(false);
}

void OrmenosDropZone::Load(const LoadTable& table) {
    Actor::Load(table);
    mRadius = table.GetFloat("radius", 1.0f);
}

}  // namespace GAME
