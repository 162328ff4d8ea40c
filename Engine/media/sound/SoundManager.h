#pragma once
// Where the machine's listener stands. Nothing is heard; sound users read the ears' position
// to decide what would be audible. Outside any region until the host or a test places it.
#include "Engine/world/Region.h"

namespace GAME {

class SoundManager {
public:
    static SoundManager& Get();

    const WorldVec3& GetEarsPosition() const { return mEars; }
    void SetEarsPosition(const WorldVec3& ears) { mEars = ears; }

private:
    WorldVec3 mEars;
};

}  // namespace GAME
