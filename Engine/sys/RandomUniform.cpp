#include "Engine/sys/RandomUniform.h"

namespace GAME {

void RandomUniform::Seed(std::uint32_t seed) {
    mState = NextState(seed);
}

}  // namespace GAME
