#include "Game/world/props/ScriptPoint.h"

#include "Engine/records/LoadTable.h"

namespace GAME {

RTTI_IMPLEMENT(ScriptPoint, Actor)

void ScriptPoint::Load(const LoadTable& table) {
    SetMesh("System/Meshes/Sphere.msh");
    Actor::Load(table);
    mScriptCharacter = table.GetString("scriptCharacter");
    mSequenceNum = table.GetInt("sequenceNum", 0);
}

OrientedBox ScriptPoint::GetCollisionBox() const {
    const float r = GetBoundingRadius();
    return OrientedBox{Coords::Identity(), Vec3{r, r, r}};
}

}  // namespace GAME
