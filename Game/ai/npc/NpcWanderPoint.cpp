#include "Game/ai/npc/NpcWanderPoint.h"

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/WorldShapes.h"
#include "Game/core/util/MathUtil.h"

namespace GAME {

RTTI_IMPLEMENT(NpcWanderPoint, Actor)

NpcWanderPoint::NpcWanderPoint() {
    if (!gEngine->IsEditor())
        SetVisibility(false);
}

NpcWanderPoint::~NpcWanderPoint() {
    // A destroyed point must not stay listed in the editor.
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
}

void NpcWanderPoint::Load(const LoadTable& table) {
    Actor::Load(table);
    mRadius = table.GetFloat("radius", 1.0f);
}

void NpcWanderPoint::InitialUpdate() {
    Actor::InitialUpdate();
    if (!gEngine->IsEditor())
        return;
    SetScale(mRadius);
    EditorFilter::Get().AddFilterObject(GetObjectId(), kEditorCategory);
}

bool NpcWanderPoint::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int) {
    if (!gEngine->IsEditor() || !ray.region)
        return false;
    const Vec3 centre = GetPosition().GetWorldPosition() - ray.region->GetOffset();
    const float distance = RaySphereDistance(ray.origin, ray.direction, centre, mRadius);
    if (distance == kInfinity || distance >= hit.distance)
        return false;
    hit.distance = distance;
    hit.point = ray.PointAt(distance);
    hit.entityId = GetObjectId();
    return true;
}

}  // namespace GAME
