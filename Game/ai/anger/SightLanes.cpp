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

// Words of an entry's first line.
constexpr std::size_t WordOf(std::size_t offset) {
    return offset / sizeof(std::uint32_t);
}
constexpr std::size_t kPosition = WordOf(offsetof(Entry, position));
constexpr std::size_t kSlot = WordOf(offsetof(Entry, slot));
constexpr std::size_t kId = WordOf(offsetof(Entry, objectId));
constexpr std::size_t kRegion = WordOf(offsetof(Entry, region));
constexpr std::size_t kGame = WordOf(offsetof(Entry, game));
constexpr std::size_t kPathRegion = kGame + WordOf(offsetof(EntityGamePart, gameRegion));
constexpr std::size_t kPath = kGame + WordOf(offsetof(EntityGamePart, gamePosition));
constexpr std::size_t kFlags = kGame + WordOf(offsetof(EntityGamePart, gameFlags));
constexpr std::size_t kScale = kGame + WordOf(offsetof(EntityGamePart, gameScale));
static_assert(kPosition + 2 < 8 && kSlot < 8 && kId < 8 && kRegion + 1 < 8 && kPathRegion >= 8 &&
                  kPath >= 8 && kPath + 2 < 16 && kScale < 16 && kFlags < 16,
              "what a lane weighs by lies in the two halves of its entry's first line as loaded");
static_assert(sizeof(Region*) == 8 && offsetof(Entry, region) % 8 == 0 &&
                  offsetof(Entry, game) % 8 == 0,
              "a region pointer is two words, low first");

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

// Words [kFirst, kFirst + 8) of the eight foes' entries as columns: column k holds word
// kFirst + k of foe i in lane i. Each entry's words are loaded whole and transposed: a column
// gathered costs more (and the columns not read cost nothing).
template <std::size_t kFirst>
[[gnu::target("avx2"), gnu::always_inline]] inline void LoadColumns(const Entry* const* foes,
                                                                    __m256 (&column)[8]) {
    static_assert(kFirst % 8 == 0 && (kFirst + 8) * 4 <= 64, "one half of the entry's first line");
    __m256 row[8];
    for (std::size_t k = 0; k < 8; ++k)
        row[k] = _mm256_loadu_ps(reinterpret_cast<const float*>(foes[k]) + kFirst);
    // Pairs of rows interleaved, then fours, then the halves of each 128-bit lane swapped in.
    const __m256 t0 = _mm256_unpacklo_ps(row[0], row[1]), t1 = _mm256_unpackhi_ps(row[0], row[1]);
    const __m256 t2 = _mm256_unpacklo_ps(row[2], row[3]), t3 = _mm256_unpackhi_ps(row[2], row[3]);
    const __m256 t4 = _mm256_unpacklo_ps(row[4], row[5]), t5 = _mm256_unpackhi_ps(row[4], row[5]);
    const __m256 t6 = _mm256_unpacklo_ps(row[6], row[7]), t7 = _mm256_unpackhi_ps(row[6], row[7]);
    const __m256 s0 = _mm256_shuffle_ps(t0, t2, 0x44), s1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 s2 = _mm256_shuffle_ps(t1, t3, 0x44), s3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 s4 = _mm256_shuffle_ps(t4, t6, 0x44), s5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 s6 = _mm256_shuffle_ps(t5, t7, 0x44), s7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    column[0] = _mm256_permute2f128_ps(s0, s4, 0x20);
    column[1] = _mm256_permute2f128_ps(s1, s5, 0x20);
    column[2] = _mm256_permute2f128_ps(s2, s6, 0x20);
    column[3] = _mm256_permute2f128_ps(s3, s7, 0x20);
    column[4] = _mm256_permute2f128_ps(s0, s4, 0x31);
    column[5] = _mm256_permute2f128_ps(s1, s5, 0x31);
    column[6] = _mm256_permute2f128_ps(s2, s6, 0x31);
    column[7] = _mm256_permute2f128_ps(s3, s7, 0x31);
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Words(__m256 column) {
    return _mm256_castps_si256(column);
}

[[gnu::target("avx2"), gnu::always_inline]] inline Floats SquaredLength(Floats x, Floats y,
                                                                        Floats z) {
    return x * x + y * y + z * z;
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i WordsAt(
    const SightLaneTerms::Words& lanes) {
    __m256i value;
    __builtin_memcpy(&value, lanes, sizeof value);
    return value;
}

[[gnu::target("avx2"), gnu::always_inline]] inline void SpreadWordInto(SightLaneTerms::Words& lanes,
                                                                       std::uint32_t value) {
    const __m256i spread = _mm256_set1_epi32(static_cast<int>(value));
    __builtin_memcpy(lanes, &spread, sizeof spread);
}

// The lanes where a column differs from the spread word.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Apart(
    __m256 column, const SightLaneTerms::Words& lanes) {
    return _mm256_xor_si256(Words(column), WordsAt(lanes));
}

// Inlined into its callers: a group's call then goes straight to its body, and a run's groups
// take no call at all.
[[gnu::target("avx2"), gnu::always_inline]] inline bool Weigh(const Entry* const* foes,
                                                              SightLaneTerms& terms,
                                                              SightList::Place at) {
    const Entry* f0 = foes[0];
    // Spread for the groups after this one that stand there too.
    const Region* const region = f0->region;
    if (region != terms.region) [[unlikely]] {
        if (!region)
            return false;
        const auto pointer = reinterpret_cast<std::uintptr_t>(region);
        SpreadWordInto(terms.regionLow, static_cast<std::uint32_t>(pointer & 0xFFFFFFFFu));
        SpreadWordInto(terms.regionHigh, static_cast<std::uint32_t>(pointer >> 32));
        const Vec3& offset = region->GetOffset();
        SpreadInto(terms.offsetX, offset.x);
        SpreadInto(terms.offsetY, offset.y);
        SpreadInto(terms.offsetZ, offset.z);
        terms.region = region;
    }
    // The entry's first line, as words: position 0..2, slot 4, id 5, region 6..7 | the game's
    // region 8..9, path position 10..12, flags 13, scale 14. A half at a time, each weighed
    // before the other is loaded, and only then judged: a lane is off when it lacks a flag or
    // either region differs in either word. (The others' pointers read only now: read above,
    // they would stay live across the spreading and take registers the caller keeps.)
    const Entry *f1 = foes[1], *f2 = foes[2], *f3 = foes[3], *f4 = foes[4], *f5 = foes[5],
                *f6 = foes[6], *f7 = foes[7];
    __m256 high[8];
    {
        const Entry* const row[8] = {f0, f1, f2, f3, f4, f5, f6, f7};
        LoadColumns<8>(row, high);
    }
    __m256i off =
        _mm256_or_si256(_mm256_andnot_si256(Words(high[kFlags - 8]), WordsAt(terms.plainFlags)),
                        _mm256_or_si256(Apart(high[kPathRegion - 8], terms.regionLow),
                                        Apart(high[kPathRegion - 7], terms.regionHigh)));
    // The distance to the path position, through world space.
    const Floats pathX = reinterpret_cast<Floats>(high[kPath - 8]) + At(terms.offsetX);
    const Floats pathY = reinterpret_cast<Floats>(high[kPath - 7]) + At(terms.offsetY);
    const Floats pathZ = reinterpret_cast<Floats>(high[kPath - 6]) + At(terms.offsetZ);
    const Floats distance = reinterpret_cast<Floats>(_mm256_sqrt_ps(reinterpret_cast<__m256>(
        SquaredLength(pathX - At(terms.selfX), pathY - At(terms.selfY), pathZ - At(terms.selfZ)))));
    const Floats outer =
        At(terms.rate) * (At(terms.one) - At(terms.tenth) * distance / At(terms.viewDistance));
    const Floats rate = distance < At(terms.innerDistance) ? At(terms.innerRate) : outer;
    const Floats anger = rate * At(terms.ms) * At(terms.thousandth);
    Floats amount = At(terms.scale) * anger * reinterpret_cast<Floats>(high[kScale - 8]);
    // Held in registers here: loads of the other half moved above this spill what they displace.
    // Four pointers pass through too, so those loads wait without a memory clobber (which would
    // load them all again); the rest are read again through `foes`: carried as well, they took
    // registers the caller keeps, which cost a frame and a push and pop each.
    asm volatile("" : "+x"(amount), "+x"(off), "+r"(f0), "+r"(f1), "+r"(f2), "+r"(f3), "+r"(foes));
    f4 = foes[4];
    f5 = foes[5];
    f6 = foes[6];
    f7 = foes[7];
    __m256 low[8];
    {
        const Entry* const row[8] = {f0, f1, f2, f3, f4, f5, f6, f7};
        LoadColumns<0>(row, low);
    }
    off = _mm256_or_si256(off, _mm256_or_si256(Apart(low[kRegion], terms.regionLow),
                                               Apart(low[kRegion + 1], terms.regionHigh)));
    // The squared distance from where the table measures to the foe's own position.
    const Floats atX = reinterpret_cast<Floats>(low[kPosition]) + At(terms.offsetX);
    const Floats atY = reinterpret_cast<Floats>(low[kPosition + 1]) + At(terms.offsetY);
    const Floats atZ = reinterpret_cast<Floats>(low[kPosition + 2]) + At(terms.offsetZ);
    Floats squared =
        SquaredLength(atX - At(terms.fromX), atY - At(terms.fromY), atZ - At(terms.fromZ));
    // The list's columns, as the entries hold them.
    __m256 id = low[kId], slot = low[kSlot];
    // All of it made before the verdict (a group is rarely refused): sunk below it, the other
    // half's rows would stay live across it and spill.
    asm volatile("" : "+x"(squared), "+x"(id), "+x"(slot));
    if (!_mm256_testz_si256(off, off))
        return false;
    // The last two columns from one address: reached from the first, each took an add.
    std::byte* const amounts = at.at + 2 * at.stride;
    _mm256_storeu_ps(reinterpret_cast<float*>(at.at), id);
    _mm256_storeu_ps(reinterpret_cast<float*>(at.at + at.stride), slot);
    _mm256_storeu_ps(reinterpret_cast<float*>(amounts), reinterpret_cast<__m256>(amount));
    _mm256_storeu_ps(reinterpret_cast<float*>(amounts + at.stride),
                     reinterpret_cast<__m256>(squared));
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
    SightLanes::SpreadWordInto(out.plainFlags,
                               SightDigest::kCausesAnger | SightDigest::kOwnPathPosition);
    // No region yet: lanes no entry's region pointer matches (a null one included), and offsets
    // for the refused group's lanes to read.
    out.region = nullptr;
    SightLanes::SpreadWordInto(out.regionLow, 0xFFFFFFFFu);
    SightLanes::SpreadWordInto(out.regionHigh, 0xFFFFFFFFu);
    SpreadInto(out.offsetX, 0.0f);
    SpreadInto(out.offsetY, 0.0f);
    SpreadInto(out.offsetZ, 0.0f);
}

[[gnu::target("avx2")]] bool WeighEightFoes(const EntityGrid::Entry* const* foes,
                                            SightLaneTerms& terms, SightList::Place at) {
    return SightLanes::Weigh(foes, terms, at);
}

[[gnu::target("avx2")]] const EntityGrid::Entry* const* WeighEightsWhile(
    const EntityGrid::Entry* const* group, const EntityGrid::Entry* const* end,
    SightLaneTerms& terms, SightList::Place& at) {
    // A local place: the weighing's byte stores could otherwise alias `at` and reload it.
    SightList::Place place = at;
    for (; group != end && SightLanes::Weigh(group, terms, place); group += SightLaneTerms::kLanes)
        place = place.After(SightLaneTerms::kLanes);
    at = place;
    return group;
}

#else

void SpreadSightTerms(const SightTerms&, SightLaneTerms&) {}

bool WeighEightFoes(const EntityGrid::Entry* const*, SightLaneTerms&, SightList::Place) {
    return false;
}

const EntityGrid::Entry* const* WeighEightsWhile(const EntityGrid::Entry* const* group,
                                                 const EntityGrid::Entry* const*, SightLaneTerms&,
                                                 SightList::Place&) {
    return group;
}

#endif

}  // namespace GAME
