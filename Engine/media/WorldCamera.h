#pragma once
// The engine camera: it looks at a target from a distance, pitched down and turned by a yaw,
// through a pinhole of a vertical field of view. Nothing is drawn; the camera answers where it
// is and which frustum it sees, and records the settings it is given.
#include <array>

#include "Engine/world/Region.h"

namespace GAME {

struct Viewport {
    float left = 0, top = 0, width = 1024, height = 768;
};

// A plane kept as normal . p + d >= 0 for the inside.
struct FrustumPlane {
    Vec3 normal;
    float d = 0;
    float Distance(const Vec3& p) const { return normal.Dot(p) + d; }
    // Through a point, inside along the normal (which is made unit).
    static FrustumPlane Through(const Vec3& normal, const Vec3& point);
};

// Planes in one region's space; a point is inside when it is inside every plane.
struct ViewFrustum {
    static constexpr int kMaxPlanes = 12;
    Region* region = nullptr;
    std::array<FrustumPlane, kMaxPlanes> planes{};
    int count = 0;

    bool AddPlane(const FrustumPlane& plane);
    bool Contains(const Vec3& regionPoint) const;
    bool Contains(const WorldVec3& point) const;
};

class WorldCamera {
public:
    static constexpr float kNearPlane = 0.1f;
    static constexpr float kFarPlane = 1000.0f;

    WorldCamera();
    virtual ~WorldCamera();

    // Places the camera for this frame (CalculateViewPosition).
    virtual void Update();
    // The point looked at.
    virtual WorldVec3 GetTarget() const { return mTarget; }
    // The camera frame from the target, distance, pitch, yaw and offset.
    virtual void CalculateViewPosition();

    void SetTarget(const WorldVec3& target) { mTarget = target; }
    void SetCameraDistance(float distance);
    float GetCameraDistance() const { return mDistance; }
    // Radians: pitch looks down from the horizon, yaw turns about the vertical axis.
    void SetCameraPitch(float radians);
    float GetCameraPitch() const { return mPitch; }
    void SetCameraYaw(float radians);
    float GetCameraYaw() const { return mYaw; }
    // The vertical field of view in radians.
    void SetCameraFOV(float radians);
    float GetCameraFOV() const { return mFov; }
    void SetCameraDistanceDefault(float distance) { mDistanceDefault = distance; }
    float GetCameraDistanceDefault() const { return mDistanceDefault; }
    // In degrees, as the settings give it.
    void SetCameraPitchDefault(float degrees) { mPitchDefault = degrees; }
    float GetCameraPitchDefault() const { return mPitchDefault; }
    // Moves the viewpoint (shake) without moving the target.
    void SetCameraOffset(const Vec3& offset) { mOffset = offset; }
    const Vec3& GetCameraOffset() const { return mOffset; }

    // The camera's frame in the target's region: z looks forward, y up, x right.
    const Coords& GetViewCoords() const { return mView; }
    WorldVec3 GetPosition() const { return WorldVec3(mViewRegion, mView.origin); }

    // What the viewport sees, from the near plane to the far plane.
    void GetFrustum(const Viewport& viewport, ViewFrustum& out) const;
    // The part of it within a rectangle of viewport fractions (0..1 from the top left),
    // up to `depth` from the camera.
    void GetSubFrustum(const Viewport& viewport, const Rect& fractions, float depth,
                       ViewFrustum& out) const;

private:
    WorldVec3 mTarget;
    float mDistance = 15.0f;
    float mPitch = DegreesToRadians(45.0f);
    float mYaw = DegreesToRadians(50.0f);
    float mFov = DegreesToRadians(30.0f);
    float mDistanceDefault = 15.0f;
    float mPitchDefault = 45.0f;
    Vec3 mOffset;
    Coords mView;
    Region* mViewRegion = nullptr;
};

}  // namespace GAME
