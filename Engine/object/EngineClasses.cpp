#include "Engine/object/EngineClasses.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT(ChaosBeam, LineEffect)

void ChaosBeam::Liberate() {
    World::Get().RemoveEntity(this);
    Singleton<ObjectManager>::Get().DestroyObject(this);
}
RTTI_IMPLEMENT(Tile, Actor)

}  // namespace GAME
