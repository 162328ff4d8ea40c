#include "Game/rules/combat/AttackRandoms.h"

namespace GAME {

void AttackRandoms::FillThrough(RandomUniform& random) {
    const int minimum = static_cast<int>(mMinimum);
    const int maximum = static_cast<int>(mMaximum);
    for (auto& value : mValues)
        value = static_cast<std::uint32_t>(random.IGenerate(minimum, maximum));
}

}  // namespace GAME
