#include "Engine/sys/RandomUniform.h"

namespace GAME {

void RandomUniform::Seed(std::uint32_t seed) {
    mState = NextState(seed);
}

void RandomUniformLocked::Seed(std::uint32_t seed) {
    CriticalSectionLock lock(mLock);
    RandomUniform::Seed(seed);
}

int RandomUniformLocked::IGenerate(int min, int max) {
    CriticalSectionLock lock(mLock);
    return RandomUniform::IGenerate(min, max);
}

float RandomUniformLocked::FGenerate(float min, float max) {
    CriticalSectionLock lock(mLock);
    return RandomUniform::FGenerate(min, max);
}

}  // namespace GAME
