#pragma once
// One animation clip: its length, frame rate, own speed, the named events it sends at times of
// a pass, and how it moves the bones of its skeleton. Clips are data (data/Animations); the
// graphics engine hands out one shared, immutable GraphicsAnim per clip name.
#include <string>
#include <utility>
#include <vector>

#include "Engine/text/Name.h"
#include "Engine/world/Math.h"

namespace GAME {

class Skeleton;
class SkeletalPose;

struct AnimationEvent {
    Name name;
    float timeMs = 0.0f;  // into the pass, at speed 1
};

// How a body struck while this clip plays falls limp: the rag-doll texts of the clip (effect
// type, direction, push, elevation), all empty when it names none.
struct AnimationRagDoll {
    std::string effect;
    std::string direction;
    std::string push;
    std::string elevation;
};

// A bone carried linearly by `displacement` over one pass (added to its bind offset).
struct AnimationBoneMotion {
    int bone = -1;
    Vec3 displacement;
};

class GraphicsAnim {
public:
    GraphicsAnim(std::string name, float lengthMs, int frameRate, float speed,
                 const Skeleton* skeleton);

    // The clip every actor falls back to; it always exists.
    static const char* GetDefaultName() { return "Default"; }

    const std::string& GetName() const { return mName; }
    float GetLengthMs() const { return mLengthMs; }
    // Length in whole frames (at least 1).
    int GetLength() const { return mFrames; }
    int GetFrameRate() const { return mFrameRate; }
    float GetAnimSpeed() const { return mSpeed; }
    const Skeleton* GetSkeleton() const { return mSkeleton; }
    // In time order; events of equal time keep the table's order.
    const std::vector<AnimationEvent>& GetEvents() const { return mEvents; }
    const std::vector<AnimationBoneMotion>& GetBoneMotions() const { return mMotions; }
    const AnimationRagDoll& GetRagDoll() const { return mRagDoll; }

    // The frame shown at a time into the pass, 0 .. length - 1.
    int GetFrameAtTime(double timeMs) const;
    // The pose at a frame; without interpolation the frame is taken whole. Frames outside the
    // clip are clamped to it.
    void GetFramePose(SkeletalPose& pose, float frame, bool interpolate) const;

    // The box around the bones of the frame's pose (GetFramePose whole, then
    // SkeletalPose::GetBounds), for a frame of the clip. Kept per frame: the crowd plays the same
    // few clips, so most frames of most clips are asked of many actors.
    void GetFrameBounds(int frame, Vec3& min, Vec3& max) const;

    // Building (by the clip library only).
    void AddEvent(const Name& name, float timeMs);
    void AddBoneMotion(int bone, const Vec3& displacement) {
        mMotions.push_back({bone, displacement});
        ForgetFrameBounds();
    }
    void SetRagDoll(AnimationRagDoll ragDoll) { mRagDoll = std::move(ragDoll); }

private:
    std::string mName;
    float mLengthMs;
    int mFrameRate;
    int mFrames;
    float mSpeed;
    const Skeleton* mSkeleton;
    std::vector<AnimationEvent> mEvents;
    std::vector<AnimationBoneMotion> mMotions;
    AnimationRagDoll mRagDoll;

    struct FrameBounds {
        Vec3 min;
        Vec3 max;
        bool kept = false;
    };
    void MakeFrameBounds(int frame, Vec3& min, Vec3& max) const;
    void ForgetFrameBounds();
    // One per frame, made with the clip: asking never allocates.
    mutable std::vector<FrameBounds> mFrameBounds;
};

}  // namespace GAME
