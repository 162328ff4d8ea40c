#include "Game/world/props/OrmenosDropZone.h"

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

RTTI_IMPLEMENT(OrmenosDropZone, Actor)

namespace {
bool DropZoneInEditor() {
    return gEngine && gEngine->IsEditor();
}
}  // namespace

OrmenosDropZone::OrmenosDropZone() {
    if (!DropZoneInEditor())
        SetVisibility(false);
}

void OrmenosDropZone::Load(const LoadTable& table) {
    Actor::Load(table);
    mRadius = table.GetFloat("radius", 1.0f);
}

void OrmenosDropZone::InitialUpdate() {
    Actor::InitialUpdate();
    if (DropZoneInEditor())
        SetScale(mRadius);
}

bool OrmenosDropZone::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) {
    // A miss leaves `hit` as it was: it may hold a nearer entity's hit.
    if (surface == 0 || !DropZoneInEditor() || !IsInWorld() || !ray.region)
        return false;
    const Vec3 center = GetPosition().GetWorldPosition() - ray.region->GetOffset();
    const float t = RaySphere(ray.origin, ray.direction, center, mRadius, hit.distance);
    if (t == kInfinity || t >= hit.distance)
        return false;
    hit.distance = t;
    hit.point = ray.PointAt(t);
    hit.surface = PhysicsSurface::None;
    hit.entityId = GetObjectId();
    return true;
}

}  // namespace GAME
