#include "Game/core/camera/SmoothedValue.h"

#include <cmath>

#include "Engine/world/Math.h"

namespace GAME {

SmoothedValue::SmoothedValue(float value, float rate, float threshold, float low, float high)
    : mRate(rate), mThreshold(threshold), mLow(low), mHigh(high) {
    mCurrent = mTarget = GetRangeFraction(value);
}

float SmoothedValue::GetRangeFraction(float value) const {
    if (mLow == mHigh) {
        // An empty range at 0 (a settings record without camera limits) has no fraction to
        // give; 0 keeps the camera's numbers finite.
        return mLow != 0.0f ? value / mLow : 0.0f;
    }
    return (value - mLow) / (mHigh - mLow);
}

void SmoothedValue::SetLow(float low) {
    const float value = GetCurrentValue();
    mLow = low;
    mCurrent = GetRangeFraction(value);
}

void SmoothedValue::SetHigh(float high) {
    const float value = GetCurrentValue();
    mHigh = high;
    mCurrent = GetRangeFraction(value);
}

bool SmoothedValue::ApproachValue(float time) {
    const float diff = mTarget - mCurrent;
    const float distance = std::fabs(diff);
    if (distance > mThreshold) {
        float step = diff * mRate * Clamp(time, 0.0f, 1.0f);
        step = diff > 0.0f ? Min(step, diff) : Max(step, diff);
        mCurrent += step;
        return true;
    }
    if (distance > 0.0f) {
        mCurrent = mTarget;
        return true;
    }
    return false;
}

void SmoothedValue::AddZoom(float amount) {
    mTarget = Clamp(mTarget + amount, 0.0f, 1.0f);
}

}  // namespace GAME
