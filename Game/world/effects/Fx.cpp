#include "Game/world/effects/Fx.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/core/util/MathUtil.h"

namespace GAME {

RTTI_IMPLEMENT(Fx, Entity)

void Fx::Load(const LoadTable& table) {
    Entity::Load(table);
    mDisturbanceRadius = table.GetFloat("disturbanceRadius", 0.0f);
}

void Fx::SetParent(Entity* parent) {
    mParentId = parent ? parent->GetObjectId() : 0;
}

Entity* Fx::GetParent() const {
    return mParentId ? Singleton<ObjectManager>::Get().GetObject<Entity>(mParentId) : nullptr;
}

Coords Fx::GetMyRegionCoords() const {
    return GetMyWorldCoords().GetRegionCoords();
}

WorldCoords Fx::GetMyWorldCoords() const {
    if (const Entity* parent = GetParent())
        return parent->GetCoords();
    return GetCoords();
}

bool Fx::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) {
    if (surface == 0 || !gEngine->IsEditor() || !ray.region)
        return false;
    const Vec3 centre = GetPosition().GetWorldPosition() - ray.region->GetOffset();
    const float distance = RaySphereDistance(ray.origin, ray.direction, centre, 1.0f);
    if (distance == kInfinity || distance >= hit.distance)
        return false;
    hit.distance = distance;
    hit.point = ray.PointAt(distance);
    hit.entityId = GetObjectId();
    return true;
}

void Fx::InitialUpdate() {
    Entity::InitialUpdate();
}

void Fx::AnimationCallback(int, const Name& event) {
    static const Name kDisplaceGrass = Name::Create("DisplaceGrass");
    if (event == kDisplaceGrass)
        World::Get().CreateDisturbance(GetPosition(), mDisturbanceRadius, 5.0f, false);
}

}  // namespace GAME
