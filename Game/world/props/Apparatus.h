#pragma once
// Scenery that non-player characters use: it tells them how long to pause at it.
#include "Game/world/props/Decoration.h"

namespace GAME {

class Apparatus : public Decoration {
    RTTI_DECLARE(Apparatus)
public:
    void Load(const LoadTable& table) override;

    // A pause from the minimum to the maximum, inclusive, in ms (the machine's own draw).
    int GetPauseTime() const;
    int GetPauseTimeMin() const { return mPauseTimeMin; }
    int GetPauseTimeMax() const { return mPauseTimeMax; }

private:
    int mPauseTimeMin = 0;
    int mPauseTimeMax = 0;
};

}  // namespace GAME
