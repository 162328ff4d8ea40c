#include "Engine/object/EngineClasses.h"

namespace GAME {

RTTI_IMPLEMENT(ChaosBeam, Entity)
RTTI_IMPLEMENT(Tile, Actor)

}  // namespace GAME
