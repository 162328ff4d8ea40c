#pragma once
// The draws of a town or herd controller: the C runtime's kind of generator (rand() % n
// semantics) with a state of its own, seeded when the controller loads. Only the deciding
// machine runs these controllers, so their draws must move no generator the machines share.
#include <cstdint>

#include "Game/world/WorldRandom.h"

namespace GAME {

// How near a reachable point a town or herd walk must be able to end.
inline constexpr float kNpcMoveTolerance = 0.5f;

class NpcRandom {
public:
    // From the root generator's state (read, not drawn) and the controller's id.
    void SeedFor(std::uint32_t objectId);
    int Next() { return mGenerator.Next(); }
    // A whole number in [min, max] (min when max is below min).
    int Int(int min, int max) { return mGenerator.Int(min, max); }
    float Float(float min, float max) { return mGenerator.Float(min, max); }
    CrtGenerator& GetGenerator() { return mGenerator; }

private:
    CrtGenerator mGenerator;
};

}  // namespace GAME
