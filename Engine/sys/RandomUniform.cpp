#include "Engine/sys/RandomUniform.h"

namespace GAME {

namespace {
constexpr std::uint32_t kMultiplier = 16807u;
constexpr std::uint32_t kModulus = 2147483647u;
constexpr double kFraction = 4.656612875245797e-10;  // the double nearest to 1 / 2147483647
}  // namespace

void RandomUniform::Seed(std::uint32_t seed) {
    mState = (seed * kMultiplier) % kModulus;
}

double RandomUniform::Step() {
    mState = (mState * kMultiplier) % kModulus;
    return static_cast<double>(mState) * kFraction;
}

int RandomUniform::IGenerate(int min, int max) {
    const double u = Step();
    const double x =
        static_cast<double>(min) + (static_cast<double>(max) - static_cast<double>(min)) * u + 0.5;
    return static_cast<int>(x);
}

float RandomUniform::FGenerate(float min, float max) {
    const double u = Step();
    return static_cast<float>((static_cast<double>(max) - static_cast<double>(min)) * u +
                              static_cast<double>(min));
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
