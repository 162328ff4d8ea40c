#pragma once
// The boss Megalesios and the conduits it feeds on. The boss keeps how far its fight has come
// (bursts launched, conduits destroyed) in its saved state, so a reload resumes the fight there;
// a conduit stands on the players' side, the side the boss attacks.
#include "Game/characters/monster/Monster.h"

namespace GAME {

class Megalesios : public Monster {
    RTTI_DECLARE(Megalesios)
public:
    // The monster's state, then the two flags, each a 32-bit word (0 or 1).
    void SaveState(BinaryWriter& writer) override;
    // Any non-zero word reads as set; a state cut short keeps the flags as they were.
    void RestoreState(BinaryReader& reader) override;

    bool GetBurstsLaunched() const { return mBurstsLaunched; }
    void SetBurstsLaunched(bool launched) { mBurstsLaunched = launched; }
    bool GetConduitsDestroyed() const { return mConduitsDestroyed; }
    void SetConduitsDestroyed(bool destroyed) { mConduitsDestroyed = destroyed; }

private:
    bool mBurstsLaunched = false;
    bool mConduitsDestroyed = false;
};

class MegalesiosConduit : public Monster {
    RTTI_DECLARE(MegalesiosConduit)
public:
    void InitialUpdate() override;
};

}  // namespace GAME
