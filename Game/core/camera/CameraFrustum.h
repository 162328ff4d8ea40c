#pragma once
// A convex volume bounded by planes in one region's space: the camera's view pyramid, or the
// part of it between the camera and the player that the engine fades out. Planes face inward.
#include <array>
#include <cstddef>

#include "Engine/world/Math.h"

namespace GAME {

class Region;

struct CameraPlane {
    Vec3 normal;
    float constant = 0.0f;

    // The plane with that normal through the point: constant = -(normal . point).
    static CameraPlane Through(const Vec3& normal, const Vec3& point) {
        return {normal, -normal.Dot(point)};
    }
    float Distance(const Vec3& point) const { return normal.Dot(point) + constant; }
};

class CameraFrustum {
public:
    static constexpr std::size_t kMaxPlanes = 8;

    Region* GetRegion() const { return mRegion; }
    void SetRegion(Region* region) { mRegion = region; }
    std::size_t GetNumPlanes() const { return mCount; }
    const CameraPlane& GetPlane(std::size_t index) const { return mPlanes[index]; }
    // False (and nothing added) once the frustum is full.
    bool AddPlane(const CameraPlane& plane);
    void Clear() { mCount = 0; }
    // Inside or on every plane; an empty frustum contains everything.
    bool Contains(const Vec3& point) const;

private:
    Region* mRegion = nullptr;
    std::array<CameraPlane, kMaxPlanes> mPlanes{};
    std::size_t mCount = 0;
};

// A pinhole camera's frustum: the part of the image from (left, top) to (right, bottom), as
// fractions of the image, between the near and far distances along the view axis (frame.zAxis).
struct PinholeView {
    Coords frame;
    float verticalFov = 0.0f;  // radians
    float aspect = 1.0f;       // width / height
    float nearDistance = 0.1f;
};
void BuildPinholeFrustum(const PinholeView& view, float left, float top, float right, float bottom,
                         float farDistance, CameraFrustum& out);

}  // namespace GAME
