#include "Game/items/ItemSeed.h"

#include "Engine/sys/RandomUniform.h"

namespace GAME {

void SeedItemGenerator(RandomUniform& random, std::uint32_t seed) {
    random.Seed(seed);
    if (random.GetState() == 0)
        random.Seed(kZeroSeedReplacement);
}

}  // namespace GAME
