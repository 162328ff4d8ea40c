#include "Engine/anim/GraphicsAnim.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/anim/SkeletalPose.h"
#include "Engine/anim/Skeleton.h"

namespace GAME {

GraphicsAnim::GraphicsAnim(std::string name, float lengthMs, int frameRate, float speed,
                           const Skeleton* skeleton)
    : mName(std::move(name)),
      mLengthMs(lengthMs),
      mFrameRate(frameRate),
      mFrames(std::max(1, static_cast<int>(std::lround(lengthMs * frameRate / 1000.0)))),
      mSpeed(speed),
      mSkeleton(skeleton),
      mFrameBounds(static_cast<std::size_t>(mFrames)) {}

void GraphicsAnim::AddEvent(const Name& name, float timeMs) {
    const AnimationEvent event{name, timeMs};
    auto at = std::upper_bound(
        mEvents.begin(), mEvents.end(), event,
        [](const AnimationEvent& a, const AnimationEvent& b) { return a.timeMs < b.timeMs; });
    mEvents.insert(at, event);
}

int GraphicsAnim::GetFrameAtTime(double timeMs) const {
    const double frame = std::floor(timeMs * mFrameRate / 1000.0);
    if (!(frame > 0.0))
        return 0;
    return frame >= mFrames - 1 ? mFrames - 1 : static_cast<int>(frame);
}

void GraphicsAnim::GetFramePose(SkeletalPose& pose, float frame, bool interpolate) const {
    pose.Reset(mSkeleton);
    if (!mSkeleton)
        return;
    float f = interpolate ? frame : std::floor(frame);
    if (!(f > 0.0f))
        f = 0.0f;
    f = std::min(f, static_cast<float>(mFrames - 1));
    const float share = f / static_cast<float>(mFrames);
    for (const AnimationBoneMotion& motion : mMotions) {
        Coords local = pose.GetLocalCoords(motion.bone);
        local.origin += motion.displacement * share;
        pose.SetLocalCoords(motion.bone, local);
    }
}

void GraphicsAnim::MakeFrameBounds(int frame, Vec3& min, Vec3& max) const {
    // One pose per thread to make it in.
    thread_local SkeletalPose scratch;
    GetFramePose(scratch, static_cast<float>(frame), false);
    scratch.GetBounds(min, max);
}

void GraphicsAnim::ForgetFrameBounds() {
    for (FrameBounds& bounds : mFrameBounds)
        bounds.kept = false;
}

void GraphicsAnim::GetFrameBounds(int frame, Vec3& min, Vec3& max) const {
    const int clamped = std::clamp(frame, 0, mFrames - 1);
    FrameBounds& bounds = mFrameBounds[static_cast<std::size_t>(clamped)];
    if (bounds.kept) {
#ifndef NDEBUG
        Vec3 freshMin, freshMax;
        MakeFrameBounds(clamped, freshMin, freshMax);
        if (std::memcmp(&freshMin, &bounds.min, sizeof freshMin) != 0 ||
            std::memcmp(&freshMax, &bounds.max, sizeof freshMax) != 0) {
            gEngine->Log(0, "GraphicsAnim: the kept bounds of %s frame %d are stale", mName.c_str(),
                         clamped);
            std::abort();
        }
#endif
        min = bounds.min;
        max = bounds.max;
        return;
    }
    MakeFrameBounds(clamped, min, max);
    bounds = {min, max, true};
}

}  // namespace GAME
