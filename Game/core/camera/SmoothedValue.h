#pragma once
// A value eased toward a target within a range. Current and target are fractions of the range:
// fraction f stands for low + (high - low) * f, so a zoom moves every eased value alike.
namespace GAME {

class SmoothedValue {
public:
    SmoothedValue(float value, float rate, float threshold, float low, float high);

    // (value - low) / (high - low); value / low for an empty range.
    float GetRangeFraction(float value) const;
    float GetValue(float fraction) const { return mLow + (mHigh - mLow) * fraction; }
    float GetCurrentValue() const { return GetValue(mCurrent); }
    float GetTargetValue() const { return GetValue(mTarget); }

    float GetCurrent() const { return mCurrent; }
    float GetTarget() const { return mTarget; }
    void SetCurrent(float fraction) { mCurrent = fraction; }
    void SetTarget(float fraction) { mTarget = fraction; }
    void SetCurrentValue(float value) { mCurrent = GetRangeFraction(value); }
    void SetTargetValue(float value) { mTarget = GetRangeFraction(value); }

    float GetLow() const { return mLow; }
    float GetHigh() const { return mHigh; }
    // A new range end; the current fraction is recomputed to stand for the same value.
    void SetLow(float low);
    void SetHigh(float high);

    // One easing step of `time` (clamped to 0..1); true when the current fraction moved.
    bool ApproachValue(float time);
    // Moves the target by `amount`, kept within 0..1.
    void AddZoom(float amount);

private:
    float mCurrent = 0.0f;
    float mTarget = 0.0f;
    float mRate = 0.5f;
    float mThreshold = 0.001f;
    float mLow = 0.0f;
    float mHigh = 1.0f;
};

}  // namespace GAME
