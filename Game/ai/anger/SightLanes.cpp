// The sight tick's weighing (SightWeighing.h): eight foes at once, gathered from their grid
// entries.
#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Engine/world/EntityGrid.h"
#include "Engine/world/World.h"
#include "Game/ai/anger/SightWeighing.h"
#include "Game/characters/movement/SightDigest.h"

namespace GAME {

#if defined(__x86_64__)

// Own names: in a unity batch the anger table's lanes share the anonymous namespace.
namespace SightLanes {
namespace {

using Entry = EntityGrid::Entry;
using Floats = float __attribute__((vector_size(32)));

constexpr std::size_t kFlags = offsetof(Entry, game) + offsetof(EntityGamePart, gameFlags);
constexpr std::size_t kScale = offsetof(Entry, game) + offsetof(EntityGamePart, gameScale);
constexpr std::size_t kPathRegion = offsetof(Entry, game) + offsetof(EntityGamePart, gameRegion);
constexpr std::size_t kPath = offsetof(Entry, game) + offsetof(EntityGamePart, gamePosition);
constexpr std::size_t kPosition = offsetof(Entry, position);
constexpr std::size_t kRegion = offsetof(Entry, region);
constexpr std::size_t kSlot = offsetof(Entry, slot);
static_assert(offsetof(Entry, objectId) == kSlot + 4, "a lane's slot and id are read as one word");
static_assert(sizeof(AngerTable::Provoked) == 12 && offsetof(AngerTable::Provoked, id) == 0 &&
                  offsetof(AngerTable::Provoked, worldSlot) == 4 &&
                  offsetof(AngerTable::Provoked, amount) == 8,
              "eight provocations are written as three registers");

// The eight lanes' entries, as byte offsets from the first (four lanes to a register).
struct Lanes {
    const char* first;
    __m256i low, high;
};

// The value in every lane, as it is (0 + value would turn -0 into +0).
[[gnu::target("avx2"), gnu::always_inline]] inline Floats Spread(float value) {
    return Floats{value, value, value, value, value, value, value, value};
}

[[gnu::target("avx2"), gnu::always_inline]] inline void SpreadInto(SightLaneTerms::Lanes& lanes,
                                                                   float value) {
    const Floats spread = Spread(value);
    __builtin_memcpy(lanes, &spread, sizeof spread);
}

// A spread term, read where it lies (an operand of the instruction that takes it).
[[gnu::target("avx2"), gnu::always_inline]] inline Floats At(const SightLaneTerms::Lanes& lanes) {
    Floats value;
    __builtin_memcpy(&value, lanes, sizeof value);
    return value;
}

[[gnu::target("avx2"), gnu::always_inline]] inline Floats FloatsAt(const Lanes& lanes,
                                                                   std::size_t offset) {
    const auto* at = reinterpret_cast<const float*>(lanes.first + offset);
    const __m128 low = _mm256_i64gather_ps(at, lanes.low, 1);
    const __m128 high = _mm256_i64gather_ps(at, lanes.high, 1);
    return reinterpret_cast<Floats>(_mm256_set_m128(high, low));
}

// Bit k set for each lane k of eight whose word at `offset` holds every bit of `want`.
[[gnu::target("avx2"), gnu::always_inline]] inline unsigned WordsHold(const Lanes& lanes,
                                                                      std::size_t offset,
                                                                      std::uint32_t want) {
    const auto* at = reinterpret_cast<const int*>(lanes.first + offset);
    const __m128i low = _mm256_i64gather_epi32(at, lanes.low, 1);
    const __m128i high = _mm256_i64gather_epi32(at, lanes.high, 1);
    const __m256i words = _mm256_set_m128i(high, low);
    const __m256i bits = _mm256_set1_epi32(static_cast<int>(want));
    const __m256i holds = _mm256_cmpeq_epi32(_mm256_and_si256(words, bits), bits);
    return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(holds)));
}

// Bit k set for each lane k of four (of `index`) whose pointer at `offset` is `pointer`.
[[gnu::target("avx2"), gnu::always_inline]] inline unsigned PointsTo(const char* first,
                                                                     __m256i index,
                                                                     std::size_t offset,
                                                                     const void* pointer) {
    const auto* at = reinterpret_cast<const long long*>(first + offset);
    const __m256i held = _mm256_i64gather_epi64(at, index, 1);
    const __m256i want =
        _mm256_set1_epi64x(static_cast<long long>(reinterpret_cast<std::uintptr_t>(pointer)));
    return static_cast<unsigned>(
        _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(held, want))));
}

// Eight provocations, lane k's id, slot and `amount`, from `low` and `high` (each lane's slot and
// id as one word, four lanes to a register), written as three registers: lane by lane took a
// load of each entry and a shuffle per lane.
[[gnu::target("avx2"), gnu::always_inline]] inline void StoreProvoked(__m256i low, __m256i high,
                                                                      Floats amount,
                                                                      AngerTable::Provoked* out) {
    // By dword: low s0 o0 s1 o1 s2 o2 s3 o3, high s4 o4 .. s7 o7. Out: o0 s0 a0 o1 s1 a1 o2 s2 |
    // a2 o3 s3 a3 o4 s4 a4 o5 | s5 a5 o6 s6 a6 o7 s7 a7.
    const __m256i a = _mm256_permutevar8x32_epi32(reinterpret_cast<__m256i>(amount),
                                                  _mm256_setr_epi32(2, 5, 0, 3, 6, 1, 4, 7));
    const __m256i first = _mm256_blend_epi32(
        _mm256_permutevar8x32_epi32(low, _mm256_setr_epi32(1, 0, 0, 3, 2, 0, 5, 4)), a, 0x24);
    const __m256i middle = _mm256_blend_epi32(
        _mm256_blend_epi32(
            a, _mm256_permutevar8x32_epi32(low, _mm256_setr_epi32(0, 7, 6, 0, 0, 0, 0, 0)), 0x06),
        _mm256_permutevar8x32_epi32(high, _mm256_setr_epi32(0, 0, 0, 0, 1, 0, 0, 3)), 0xB0);
    const __m256i last = _mm256_blend_epi32(
        _mm256_permutevar8x32_epi32(high, _mm256_setr_epi32(2, 0, 5, 4, 0, 7, 6, 0)), a, 0x92);
    auto* const to = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(to, first);
    _mm256_storeu_si256(to + 1, middle);
    _mm256_storeu_si256(to + 2, last);
}

[[gnu::target("avx2"), gnu::always_inline]] inline Floats SquaredLength(Floats x, Floats y,
                                                                        Floats z) {
    return x * x + y * y + z * z;
}

[[gnu::target("avx2")]] bool Weigh(const Entry* const* foes, const Region* region,
                                   const SightLaneTerms& terms, AngerTable::Provoked* provoked,
                                   float* reach) {
    Lanes lanes{reinterpret_cast<const char*>(foes[0]), {}, {}};
    const __m256i first =
        _mm256_set1_epi64x(static_cast<long long>(reinterpret_cast<std::uintptr_t>(lanes.first)));
    lanes.low = _mm256_sub_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(foes)), first);
    lanes.high =
        _mm256_sub_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(foes + 4)), first);
    const unsigned plain =
        WordsHold(lanes, kFlags, SightDigest::kCausesAnger | SightDigest::kOwnPathPosition) &
        (PointsTo(lanes.first, lanes.low, kRegion, region) |
         PointsTo(lanes.first, lanes.high, kRegion, region) << 4) &
        (PointsTo(lanes.first, lanes.low, kPathRegion, region) |
         PointsTo(lanes.first, lanes.high, kPathRegion, region) << 4);
    if (plain != 0xFF)
        return false;
    const Vec3& offset = region->GetOffset();
    const Floats ox = Spread(offset.x), oy = Spread(offset.y), oz = Spread(offset.z);
    // The distance to the path position, through world space.
    const Floats pathX = FloatsAt(lanes, kPath) + ox;
    const Floats pathY = FloatsAt(lanes, kPath + 4) + oy;
    const Floats pathZ = FloatsAt(lanes, kPath + 8) + oz;
    const Floats distance = reinterpret_cast<Floats>(_mm256_sqrt_ps(reinterpret_cast<__m256>(
        SquaredLength(pathX - At(terms.selfX), pathY - At(terms.selfY), pathZ - At(terms.selfZ)))));
    const Floats outer =
        At(terms.rate) * (At(terms.one) - At(terms.tenth) * distance / At(terms.viewDistance));
    const Floats rate = distance < At(terms.innerDistance) ? At(terms.innerRate) : outer;
    const Floats anger = rate * At(terms.ms) * At(terms.thousandth);
    const Floats amount = At(terms.scale) * anger * FloatsAt(lanes, kScale);
    // The squared distance from where the table measures to the foe's own position.
    const Floats atX = FloatsAt(lanes, kPosition) + ox;
    const Floats atY = FloatsAt(lanes, kPosition + 4) + oy;
    const Floats atZ = FloatsAt(lanes, kPosition + 8) + oz;
    const Floats squared =
        SquaredLength(atX - At(terms.fromX), atY - At(terms.fromY), atZ - At(terms.fromZ));
    __builtin_memcpy(reach, &squared, sizeof squared);
    const auto* const slots = reinterpret_cast<const long long*>(lanes.first + kSlot);
    StoreProvoked(_mm256_i64gather_epi64(slots, lanes.low, 1),
                  _mm256_i64gather_epi64(slots, lanes.high, 1), amount, provoked);
    return true;
}

}  // namespace
}  // namespace SightLanes

[[gnu::target("avx2")]] void SpreadSightTerms(const SightTerms& terms, SightLaneTerms& out) {
    using SightLanes::SpreadInto;
    SpreadInto(out.selfX, terms.selfWorld.x);
    SpreadInto(out.selfY, terms.selfWorld.y);
    SpreadInto(out.selfZ, terms.selfWorld.z);
    SpreadInto(out.fromX, terms.measuredFrom.x);
    SpreadInto(out.fromY, terms.measuredFrom.y);
    SpreadInto(out.fromZ, terms.measuredFrom.z);
    SpreadInto(out.innerDistance, terms.innerDistance);
    SpreadInto(out.innerRate, terms.innerRate);
    SpreadInto(out.rate, terms.rate);
    SpreadInto(out.viewDistance, terms.viewDistance);
    SpreadInto(out.ms, terms.ms);
    SpreadInto(out.scale, terms.scale);
    SpreadInto(out.one, 1.0f);
    SpreadInto(out.tenth, 0.1f);
    SpreadInto(out.thousandth, 0.001f);
}

bool WeighEightFoes(const EntityGrid::Entry* const* foes, const Region* region,
                    const SightLaneTerms& terms, AngerTable::Provoked* provoked, float* reach) {
    return SightLanes::Weigh(foes, region, terms, provoked, reach);
}

#else

void SpreadSightTerms(const SightTerms&, SightLaneTerms&) {}

bool WeighEightFoes(const EntityGrid::Entry* const*, const Region*, const SightLaneTerms&,
                    AngerTable::Provoked*, float*) {
    return false;
}

#endif

}  // namespace GAME
