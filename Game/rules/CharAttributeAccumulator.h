#pragma once
// The sums of a character's attributes over all its sources: a flat value and a percentage
// modifier per CharAttributeType.
#include <array>
#include <cmath>

#include "Game/rules/CharAttribute.h"

namespace GAME {

class CharAttributeAccumulator {
public:
    void AddValue(CharAttributeType type, float value) { mValue[Index(type)] += value; }
    void AddModifier(CharAttributeType type, float modifier) { mModifier[Index(type)] += modifier; }
    // The modifier works on the magnitude, so -20 raised by 50 % is -10.
    float GetValue(CharAttributeType type) const {
        const unsigned index = Index(type);
        const float value = mValue[index];
        return value + std::fabs(value) * (mModifier[index] * 0.01f);
    }
    float GetModifier(CharAttributeType type) const { return mModifier[Index(type)]; }
    void Clear();

private:
    static unsigned Index(CharAttributeType type) {
        const auto index = static_cast<unsigned>(type);
        return index < kCharAttributeTypeCount ? index : 0;
    }

    std::array<float, kCharAttributeTypeCount> mValue{};
    std::array<float, kCharAttributeTypeCount> mModifier{};
};

}  // namespace GAME
