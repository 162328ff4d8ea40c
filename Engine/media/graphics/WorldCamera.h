#pragma once
// The engine camera: it looks at a target from a distance, pitched down and turned by a yaw,
// through a pinhole of a vertical field of view. Nothing is drawn; the camera answers where it
// is and which frustum it sees, and records the settings it is given. A game camera derives from
// it and supplies its own target.
#include "Engine/world/Region.h"
#include "Engine/world/WorldShapes.h"

namespace GAME {

struct Viewport {
    float left = 0, top = 0, width = 1024, height = 768;
};

class WorldCamera {
public:
    static constexpr float kNearPlane = 0.1f;
    static constexpr float kFarPlane = 1000.0f;

    WorldCamera();
    virtual ~WorldCamera();
    WorldCamera(const WorldCamera&) = default;
    WorldCamera& operator=(const WorldCamera&) = default;

    // Places the camera for this frame (CalculateViewPosition).
    virtual void Update();
    // The point looked at: the target as set.
    virtual WorldVec3 GetTarget() const { return mTarget; }
    // The camera frame from the target (GetTarget), distance, pitch and yaw.
    virtual void CalculateViewPosition();
    // The per-frame input step of a camera that follows input; the engine's own has none.
    virtual void UpdateFromInputImpl() {}

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
    // The defaults come from the game's settings; until then they are 0.
    void SetCameraDistanceDefault(float distance) { mDistanceDefault = distance; }
    float GetCameraDistanceDefault() const { return mDistanceDefault; }
    // In degrees, as the settings give it.
    void SetCameraPitchDefault(float degrees) { mPitchDefault = degrees; }
    float GetCameraPitchDefault() const { return mPitchDefault; }
    // The shake offset. The camera keeps it for whoever supplies the target: a shaking game
    // camera moves its target by it (GetTarget), and the eye follows the target.
    void SetCameraOffset(const Vec3& offset) { mOffset = offset; }
    const Vec3& GetCameraOffset() const { return mOffset; }

    // The camera's frame in the target's region: z looks forward, y up, x right.
    const Coords& GetViewFrame() const { return mView; }
    WorldVec3 GetPosition() const { return WorldVec3(mViewRegion, mView.origin); }

    // What the viewport sees, from the near plane to the far plane.
    void GetFrustum(const Viewport& viewport, WorldFrustum& out) const;
    // The part of it within a rectangle of viewport fractions (0..1 from the top left),
    // up to `depth` from the camera.
    void GetSubFrustum(const Viewport& viewport, const Rect& fractions, float depth,
                       WorldFrustum& out) const;

private:
    WorldVec3 mTarget;
    float mDistance = 0.0f;
    float mPitch = 0.0f;
    float mYaw = 0.0f;
    float mFov = DegreesToRadians(30.0f);
    float mDistanceDefault = 0.0f;
    float mPitchDefault = 0.0f;
    Vec3 mOffset;
    Coords mView;
    Region* mViewRegion = nullptr;
};

}  // namespace GAME
