#pragma once
// A steady blue light marking an anchor.
#include "Engine/media/graphics/Light.h"

namespace GAME {

class LightAnchor : public Light {
    RTTI_DECLARE(LightAnchor)
public:
    LightAnchor();
};

}  // namespace GAME
