#include "Game/rules/combat/AttackRandoms.h"

#include <typeinfo>

#include "Engine/sys/RandomUniform.h"

namespace GAME {

void AttackRandoms::Fill(RandomUniform& random) {
    const int minimum = static_cast<int>(mMinimum);
    const int maximum = static_cast<int>(mMaximum);
    // The attackers' plain generators draw inline; any other class through its own draws.
    if (typeid(random) == typeid(RandomUniform)) {
        random.IGenerateEach(minimum, maximum, mValues);
        return;
    }
    for (auto& value : mValues)
        value = static_cast<std::uint32_t>(random.IGenerate(minimum, maximum));
}

}  // namespace GAME
