#pragma once
// Engine classes that game classes derive from; they carry no behaviour of their own here.
#include "Engine/media/graphics/Light.h"
#include "Engine/media/graphics/LineEffect.h"
#include "Engine/object/Object.h"

namespace GAME {

class ChaosBeam : public Entity {
    RTTI_DECLARE(ChaosBeam)
};

class Tile : public Actor {
    RTTI_DECLARE(Tile)
};

}  // namespace GAME
