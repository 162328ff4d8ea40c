#pragma once
// The time of day of the machine's world: the hour the light starts from and whether time runs
// on from there. Headless, it only keeps both for whoever draws and records each change in the
// MediaRecorder (DayNightStartTime, DayNightEnable).
#include "Engine/media/MediaRecorder.h"

namespace GAME {

class DayNightManager {
public:
    void SetStartTime(float hours) {
        if (hours != mStartTime)
            MediaRecorder::Get().Record(MediaCall::DayNightStartTime, 0, {}, hours);
        mStartTime = hours;
    }
    float GetStartTime() const { return mStartTime; }
    void Enable(bool enabled) {
        if (enabled != mEnabled)
            MediaRecorder::Get().Record(MediaCall::DayNightEnable, 0, {}, enabled ? 1.0f : 0.0f);
        mEnabled = enabled;
    }
    bool IsEnabled() const { return mEnabled; }

private:
    float mStartTime = 12.0f;
    bool mEnabled = true;
};

}  // namespace GAME
