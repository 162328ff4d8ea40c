#include "Game/world/volumes/BoundingVolume.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/core/GameEvents.h"
#include "Game/quests/QuestEvents.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

RTTI_IMPLEMENT(BoundingVolume, Actor)

namespace {

// Where the level editor files volumes.
constexpr int kVolumeEditorCategory = 0;

void SendVolumeEntityEvent(const Object& volume, const char* happening) {
    GameEvent_GenericEntity event;
    event.objectId = volume.GetObjectId();
    event.objectName = volume.GetObjectName();
    SendGameEvent(event, happening);
}

void SendVolumeCrossing(std::uint32_t volumeId, std::uint32_t entityId, const char* happening) {
    GameEvent_BoundingVolume event;
    event.volumeId = volumeId;
    event.entityId = entityId;
    SendGameEvent(event, happening);
}

}  // namespace

BoundingVolume::BoundingVolume() = default;

BoundingVolume::~BoundingVolume() {
    if (gEngine->IsEditor())
        EditorFilter::Get().RemoveFilterObject(GetObjectId());
    SendVolumeEntityEvent(*this, "GenericEntityDestroy");
}

void BoundingVolume::Load(const LoadTable& table) {
    SetMesh("System/Meshes/Sphere.msh");
    Actor::Load(table);
    mRadius = table.GetFloat("radius", 0.0f);
    SendVolumeEntityEvent(*this, "GenericEntitySpawn");
}

void BoundingVolume::InitialUpdate() {
    Actor::InitialUpdate();
    if (gEngine->IsEditor()) {
        SetVisibility(true);
        EditorFilter::Get().AddFilterObject(GetObjectId(), kVolumeEditorCategory);
    } else {
        SetVisibility(false);
    }
    FindEntitiesInside(mInVolume);
    SendVolumeEntityEvent(*this, "GenericEntityInitialUpdate");
}

void BoundingVolume::FindEntitiesInside(std::vector<std::uint32_t>& out) {
    out.clear();
    // A volume of no radius holds nothing (a nested one may be given a negative radius).
    if (!GetRegion() || !(mRadius > 0.0f))
        return;
    mFoundEntities.clear();
    World::Get().GetEntitiesInSphere(mFoundEntities, GetRegion(),
                                     Sphere{GetCoords().coords.origin, mRadius});
    for (const Entity* entity : mFoundEntities)
        if (entity != this)
            out.push_back(entity->GetObjectId());
    mFoundEntities.clear();
    std::sort(out.begin(), out.end());
}

void BoundingVolume::UpdateSelf(int elapsedMs) {
    SetScale(mRadius);
    Actor::UpdateSelf(elapsedMs);
    FindEntitiesInside(mFound);
    std::sort(mInVolume.begin(), mInVolume.end());
    auto now = mFound.begin();
    auto held = mInVolume.begin();
    while (now != mFound.end() || held != mInVolume.end()) {
        if (held == mInVolume.end() || (now != mFound.end() && *now < *held)) {
            OnEnter(*now++);
        } else if (now == mFound.end() || *held < *now) {
            OnExit(*held++);
        } else {
            ++now;
            ++held;
        }
    }
    mInVolume.insert(mInVolume.end(), mEntered.begin(), mEntered.end());
    for (std::uint32_t id : mExited)
        std::erase(mInVolume, id);
    std::sort(mInVolume.begin(), mInVolume.end());
    mEntered.clear();
    mExited.clear();
}

void BoundingVolume::OnEnter(std::uint32_t id) {
    mEntered.push_back(id);
    OnEnterAction(id);
}

void BoundingVolume::OnEnterAction(std::uint32_t id) {
    SendVolumeCrossing(GetObjectId(), id, "EnterBoundingVolume");
}

void BoundingVolume::OnExit(std::uint32_t id) {
    mExited.push_back(id);
    OnExitAction(id);
}

void BoundingVolume::OnExitAction(std::uint32_t id) {
    SendVolumeCrossing(GetObjectId(), id, "ExitBoundingVolume");
}

OrientedBox BoundingVolume::GetObjectSpaceBoundingBox() const {
    return OrientedBox{Coords::Identity(), Vec3(mRadius, mRadius, mRadius)};
}

ABBox BoundingVolume::GetRegionBoundingBox() const {
    return ABBox::FromCenter(GetCoords().coords.origin, Vec3(mRadius, mRadius, mRadius));
}

OrientedBox BoundingVolume::GetCollisionBox() const {
    return OrientedBox{GetCoords().coords, Vec3(mRadius, mRadius, mRadius)};
}

WorldVec3 BoundingVolume::GetRandomPointInsideVolume() const {
    WorldVec3 point = GetPosition();
    const float x = RandomFloat(-1.0f, 1.0f);
    const float y = RandomFloat(-1.0f, 1.0f);
    const float z = RandomFloat(-1.0f, 1.0f);
    point.Translate(Vec3(x, y, z) * mRadius);
    return point;
}

WorldVec3 BoundingVolume::GetRandomTerrainPointInsideVolume() const {
    WorldVec3 point = GetPosition();
    const float x = RandomFloat(-1.0f, 1.0f);
    const float y = RandomFloat(-1.0f, 1.0f);
    const float z = RandomFloat(-1.0f, 1.0f);
    point.TranslateToFloor(Vec3(x, y, z) * mRadius);
    return point;
}

bool BoundingVolume::IsPointInsideVolume(const WorldVec3& point) const {
    return GetPosition().VectorTo(point).LengthSquared() < mRadius * mRadius;
}

bool BoundingVolume::GetIntersection(const WorldRay& ray, WorldIntersection& hit, int surface) {
    if (!gEngine->IsEditor() || surface == 0 || !IsInWorld() || !ray.region)
        return false;
    const Vec3 center = GetPosition().GetWorldPosition() - ray.region->GetOffset();
    const float t = RaySphere(ray.origin, ray.direction, center, mRadius, hit.distance);
    if (t == kInfinity || t >= hit.distance)
        return false;
    hit.distance = t;
    hit.point = ray.PointAt(t);
    hit.entityId = GetObjectId();
    return true;
}

}  // namespace GAME
