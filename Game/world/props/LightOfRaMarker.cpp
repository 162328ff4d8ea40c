#include "Game/world/props/LightOfRaMarker.h"

#include "Engine/Engine.h"

namespace GAME {

RTTI_IMPLEMENT(LightOfRaMarker, Actor)

LightOfRaMarker::LightOfRaMarker() {
    if (!gEngine || !gEngine->IsEditor())
        SetVisibility(false);
}

}  // namespace GAME
