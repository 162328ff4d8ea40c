#include "Game/core/util/PerlinNoise.h"

#include <climits>
#include <cmath>
#include <utility>

namespace GAME {

namespace {

constexpr float kStep = 0.00390625f;  // 1/256
constexpr float kTiny = 0.0001f;

// The C runtime's rand with its own state, as it runs before anything reseeds it.
class StartupRand {
public:
    int operator()() {
        mState = mState * 214013u + 2531011u;
        return static_cast<int>((mState >> 16) & 0x7FFF);
    }

private:
    std::uint32_t mState = 1;
};

float GradientComponent(const std::function<int()>& gen) {
    return static_cast<float>(gen() % 512 - 256) * kStep;
}

template <class Table>
void ShuffleAndCopy(Table& table, const std::function<int()>& gen) {
    for (int i = Table::kSize - 1; i > 0; --i) {
        const int j = gen() & 255;
        std::swap(table.permutation[i], table.permutation[j]);
    }
    for (int i = 0; i < Table::kSize + 2; ++i) {
        table.permutation[Table::kSize + i] = table.permutation[i];
        table.gradient[Table::kSize + i] = table.gradient[i];
    }
}

struct Tables {
    PerlinNoise1 one;
    PerlinNoise2 two;
    Tables() {
        StartupRand rand;
        std::function<int()> gen = [&rand] { return rand(); };
        PerlinNoise1::Build(one, gen);  // the one-dimensional table first
        PerlinNoise2::Build(two, gen);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// Built while the library loads.
[[maybe_unused]] const bool gTablesBuilt = (GetTables(), true);

// floor(x) converted to int as the processor does: out of range gives INT_MIN.
int FloorToInt(float x) {
    const double f = std::floor(static_cast<double>(x));
    if (!(f >= static_cast<double>(INT_MIN) && f <= static_cast<double>(INT_MAX)))
        return INT_MIN;
    return static_cast<int>(f);
}

}  // namespace

void PerlinNoise1::Build(PerlinNoise1& table, const std::function<int()>& gen) {
    for (int i = 0; i < kSize; ++i) {
        table.permutation[i] = i;
        float g = GradientComponent(gen);
        const float q = g * g;
        if (std::fabs(q) > kTiny)
            g = (1.0f / std::sqrt(q)) * g;
        table.gradient[i] = g;
    }
    ShuffleAndCopy(table, gen);
}

void PerlinNoise2::Build(PerlinNoise2& table, const std::function<int()>& gen) {
    for (int i = 0; i < kSize; ++i) {
        table.permutation[i] = i;
        float x = GradientComponent(gen);
        float y = GradientComponent(gen);
        const float q = x * x + y * y;
        if (std::fabs(q) > kTiny) {
            const float scale = 1.0f / std::sqrt(q);
            x *= scale;
            y *= scale;
        }
        table.gradient[i] = {x, y};
    }
    ShuffleAndCopy(table, gen);
}

float PerlinNoise1::Noise(const PerlinNoise1& table, const float& x) {
    const int i = FloorToInt(x);
    const int b0 = i & 255;
    const int b1 = b0 + 1;
    const float r0 = x - static_cast<float>(i);
    const float r1 = r0 - 1.0f;
    const float s = (3.0f - (r0 + r0)) * r0 * r0;
    const float a = table.gradient[table.permutation[b0]] * r0;
    const float b = table.gradient[table.permutation[b1]] * r1;
    return a + s * (b - a);
}

float PerlinNoise1::Sample(float x) {
    return Noise(Global(), x);
}

const PerlinNoise1& PerlinNoise1::Global() {
    return GetTables().one;
}

const PerlinNoise2& PerlinNoise2::Global() {
    return GetTables().two;
}

}  // namespace GAME
