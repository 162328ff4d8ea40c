#include "Game/world/props/Apparatus.h"

#include "Engine/Engine.h"
#include "Engine/records/LoadTable.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

RTTI_IMPLEMENT(Apparatus, Decoration)

namespace {

// Seconds as read, times 1000.0, truncated to whole ms.
int PauseSecondsToMs(float seconds) {
    return static_cast<int>(static_cast<double>(seconds) * 1000.0);
}

}  // namespace

void Apparatus::Load(const LoadTable& table) {
    Decoration::Load(table);
    const int least = PauseSecondsToMs(table.GetFloat("apparatusPauseTimeMin", 0.0f));
    const int most = PauseSecondsToMs(table.GetFloat("apparatusPauseTimeMax", 0.0f));
    if (most < least) {
        gEngine->Log(1,
                     "Apparatus %s: apparatusPauseTimeMax (%d ms) is below apparatusPauseTimeMin "
                     "(%d ms); the pause range is refused and its characters do not pause",
                     table.GetRecordName().c_str(), most, least);
        return;
    }
    mPauseTimeMin = least;
    mPauseTimeMax = most;
}

int Apparatus::GetPauseTime() const {
    return RandomInt(mPauseTimeMin, mPauseTimeMax);
}

}  // namespace GAME
