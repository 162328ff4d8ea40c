#pragma once
// A place designers mark around the Aktaios boss, where its light falls. Only the world editor
// shows it.
#include "Engine/object/Object.h"

namespace GAME {

class LightOfRaMarker : public Actor {
    RTTI_DECLARE(LightOfRaMarker)
public:
    LightOfRaMarker();
};

}  // namespace GAME
