#include "Game/rules/CharAttributeAccumulator.h"

#include <cmath>

namespace GAME {

float CharAttributeAccumulator::GetValue(CharAttributeType type) const {
    const unsigned index = Index(type);
    const float value = mValue[index];
    return value + std::fabs(value) * (mModifier[index] * 0.01f);
}

void CharAttributeAccumulator::Clear() {
    mValue.fill(0.0f);
    mModifier.fill(0.0f);
}

}  // namespace GAME
