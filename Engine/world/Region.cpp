#include "Engine/world/Region.h"

#include "Engine/world/EntityGrid.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"

namespace GAME {

Region::Region(std::string name, Vec3 offset, Vec3 size)
    : Region(std::move(name), offset, Vec3(), size) {}

Region::Region(std::string name, Vec3 offset, Vec3 boundsMin, Vec3 boundsMax)
    : mName(std::move(name)), mOffset(offset), mBoundsMin(boundsMin), mBoundsMax(boundsMax) {}

Region::~Region() = default;

bool Region::ContainsLocal(const Vec3& p) const {
    return mBoundsMin.x <= p.x && p.x <= mBoundsMax.x && mBoundsMin.y <= p.y &&
           p.y <= mBoundsMax.y && mBoundsMin.z <= p.z && p.z <= mBoundsMax.z;
}

void Region::SetGround(std::unique_ptr<GroundMesh> ground) {
    mGround = std::move(ground);
}

void Region::SetEntityGrid(std::unique_ptr<EntityGrid> grid) {
    mGrid = std::move(grid);
}

void WorldCoords::RotateAroundPoint(const WorldVec3& pivot, const Vec3& axis, float degrees) {
    const Coords turn = Coords::FromAxisAngle(axis, DegreesToRadians(degrees));
    const Vec3 centre = region ? pivot.GetWorldPosition() - region->GetOffset() : pivot.local;
    coords.xAxis = turn.TransformVector(coords.xAxis);
    coords.yAxis = turn.TransformVector(coords.yAxis);
    coords.zAxis = turn.TransformVector(coords.zAxis);
    coords.origin = centre + turn.TransformVector(coords.origin - centre);
}

bool WorldVec3::TranslateToFloor(const Vec3& offset) {
    if (!region)
        return false;
    const Vec3 moved = local + offset;
    // A step may climb as high as it goes sideways: a slope of up to 45 degrees.
    const float reach = Max(GroundMesh::kFloorReach, Vec2(offset.x, offset.z).Length());
    float height = 0;
    if (const GroundMesh* ground = region->GetGround();
        ground && ground->FloorBelow(moved, height, nullptr, reach)) {
        local = Vec3(moved.x, height, moved.z);
        return true;
    }
    Region* other = World::Get().GetRegionContainingPoint(region->GetOffset() + moved);
    if (!other || other == region || !other->GetGround())
        return false;
    const Vec3 there = moved + region->GetOffset() - other->GetOffset();
    if (!other->GetGround()->FloorBelow(there, height, nullptr, reach))
        return false;
    region = other;
    local = Vec3(there.x, height, there.z);
    return true;
}

}  // namespace GAME
