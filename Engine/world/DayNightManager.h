#pragma once
// The time of day of the machine's world: the hour the light starts from and whether time runs
// on from there. Headless, it only keeps both for whoever draws.
namespace GAME {

class DayNightManager {
public:
    void SetStartTime(float hours) { mStartTime = hours; }
    float GetStartTime() const { return mStartTime; }
    void Enable(bool enabled) { mEnabled = enabled; }
    bool IsEnabled() const { return mEnabled; }

private:
    float mStartTime = 12.0f;
    bool mEnabled = true;
};

}  // namespace GAME
