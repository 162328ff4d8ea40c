#pragma once
// The streak a swung weapon or a flying projectile leaves behind. Nothing is drawn: it records
// starting and stopping, and keeps the point set it follows and the box it spans.
#include "Engine/object/Object.h"

namespace GAME {

class WeaponTrail : public Entity {
    RTTI_DECLARE(WeaponTrail)
public:
    // Which of its owner's anchor pairs it follows (0: "Anchor1"/"Anchor2", 1: the next pair).
    void SetPointSetIndex(int index) { mPointSet = index; }
    int GetPointSetIndex() const { return mPointSet; }
    void SetBoundingBox(const Vec3& min, const Vec3& max) {
        mBoxMin = min;
        mBoxMax = max;
    }
    const Vec3& GetBoxMin() const { return mBoxMin; }
    const Vec3& GetBoxMax() const { return mBoxMax; }
    void Start();
    void Stop();
    bool IsStarted() const { return mStarted; }

private:
    int mPointSet = 0;
    Vec3 mBoxMin;
    Vec3 mBoxMax;
    bool mStarted = false;
};

}  // namespace GAME
