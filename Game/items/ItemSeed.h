#pragma once
// Seeding the generators of items, loot, quests and relics from a record's seed.
#include <cstdint>

namespace GAME {

class RandomUniform;

// A seed whose first state would be 0 (0 itself among them) would leave the generator at 0
// for ever, every draw its lower bound; such seeds use this fixed seed on every machine.
inline constexpr std::uint32_t kZeroSeedReplacement = 0x5EED;

// Seeds the generator; every other seed keeps its exact sequence.
void SeedItemGenerator(RandomUniform& random, std::uint32_t seed);

}  // namespace GAME
