#pragma once
// Gradient noise from tables built once at load. The tables take their values from the C
// runtime's rand as it stands when the library loads; rand state here belongs to a machine and
// machines are made after load, so the load-time tables are built from a fresh rand state with
// the C runtime's start-up seed (1). They are the same in every process and on every platform.
#include <array>
#include <cstdint>
#include <functional>

namespace GAME {

struct PerlinNoise1 {
    static constexpr int kSize = 256;
    static constexpr int kTableSize = kSize + kSize + 2;

    // 256 shuffled indices, then a copy of the first 258.
    std::array<std::int32_t, kTableSize> permutation{};
    std::array<float, kTableSize> gradient{};

    // Fills the table from `gen` (the C runtime's rand): 256 draws, then 255 for the shuffle.
    static void Build(PerlinNoise1& table, const std::function<int()>& gen);
    // 0 at every integer; |result| <= 0.5 with unit gradients.
    static float Noise(const PerlinNoise1& table, const float& x);
    // Noise on the library's table.
    static float Sample(float x);
    static const PerlinNoise1& Global();
};

struct PerlinNoise2 {
    static constexpr int kSize = PerlinNoise1::kSize;
    static constexpr int kTableSize = PerlinNoise1::kTableSize;

    std::array<std::int32_t, kTableSize> permutation{};
    std::array<std::array<float, 2>, kTableSize> gradient{};

    // 512 draws (x then y for each entry), then 255 for the shuffle.
    static void Build(PerlinNoise2& table, const std::function<int()>& gen);
    static const PerlinNoise2& Global();
};

}  // namespace GAME
