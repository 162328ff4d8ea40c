#include "Game/rules/combat/AttackRandoms.h"

#include "Engine/sys/RandomUniform.h"

namespace GAME {

void AttackRandoms::Fill(RandomUniform& random) {
    for (auto& value : mValues)
        value = static_cast<std::uint32_t>(
            random.IGenerate(static_cast<int>(mMinimum), static_cast<int>(mMaximum)));
}

}  // namespace GAME
