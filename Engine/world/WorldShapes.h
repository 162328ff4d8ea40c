#pragma once
// The shapes the world is asked about: spheres, boxes, rays, frustums and the answers of ray
// queries. Positions are in the local space of the region each shape names.
#include <array>
#include <cstddef>
#include <cstdint>

#include "Engine/world/Math.h"

namespace GAME {

class Region;
class Entity;
struct WorldVec3;

// What a surface is made of; footsteps and drop sounds pick their pack by it.
enum class PhysicsSurface : std::int32_t {
    None = 0,
    Grass = 1,
    Dirt = 2,
    Sand = 3,
    Snow = 4,
    Stone = 5,
    Wood = 6,
    Water = 7,
};

// Which entities a query reports: all of them, only those that are not actors, or only actors.
enum class EntityListType : std::int32_t { All = 0, Static = 1, Actors = 2 };

struct Sphere {
    Vec3 center;
    float radius = 0;
};

struct ABBox {
    Vec3 min;
    Vec3 max;
    static ABBox FromCenter(const Vec3& center, const Vec3& halfExtents) {
        return {center - halfExtents, center + halfExtents};
    }
};

// A ray in a region's space; the direction is expected to be a unit vector.
struct WorldRay {
    Region* region = nullptr;
    Vec3 origin;
    Vec3 direction{0, 0, 1};
    Vec3 PointAt(float distance) const { return origin + direction * distance; }
};

// The nearest hit of a ray: infinite distance when nothing was hit.
struct WorldIntersection {
    float distance = kInfinity;
    Vec3 point;
    PhysicsSurface surface = PhysicsSurface::None;
    std::uint32_t entityId = 0;  // 0: the ground
    bool IsHit() const { return distance != kInfinity; }
};

// A plane n.p + d = 0; the inside is where n.p + d >= 0.
struct Plane {
    Vec3 normal;
    float d = 0;
    float Distance(const Vec3& p) const { return normal.Dot(p) + d; }
    // The plane with that normal through the point; the normal is kept as given.
    static Plane Through(const Vec3& normal, const Vec3& point) {
        return {normal, -normal.Dot(point)};
    }
};

// A convex volume in one region's space, bounded by inward planes: a camera's view pyramid, a
// part of it, or such a part cut further (the camera's transparency volume).
struct WorldFrustum {
    static constexpr int kMaxPlanes = 8;

    Region* region = nullptr;
    std::array<Plane, kMaxPlanes> planes{};
    int count = 0;

    Region* GetRegion() const { return region; }
    std::size_t GetNumPlanes() const { return static_cast<std::size_t>(count); }
    // False, and nothing added, once the frustum is full.
    bool AddPlane(const Plane& plane);
    // Inside or on every plane; a frustum without planes holds everything.
    bool Contains(const Vec3& regionPoint) const;
    // A point of any region, through world space.
    bool Contains(const WorldVec3& point) const;
    bool IntersectsSphere(const Vec3& center, float radius) const;

    // A pinhole camera at the frame's origin looking along its z axis (y up, x right), fovY in
    // radians, aspect = width / height: what the rectangle `image` of its picture (fractions,
    // 0..1 from the top left) sees between nearZ and farZ.
    static WorldFrustum FromPinhole(Region* region, const Coords& eye, float fovY, float aspect,
                                    float nearZ, float farZ,
                                    const Rect& image = Rect{0.0f, 0.0f, 1.0f, 1.0f});
};

// A sphere that the ray meets within maxDistance: the entry distance (0 when the origin is
// inside), else kInfinity.
float RaySphere(const Vec3& origin, const Vec3& direction, const Vec3& center, float radius,
                float maxDistance);

}  // namespace GAME
