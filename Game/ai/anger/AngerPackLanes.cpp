// A large table the batch filled from empty: entries whose calms surely take them below the line
// the next update drops at are written just below it, and only the others go on to the walk.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Game/ai/anger/AngerLanes.h"

namespace GAME::AngerLanes {

namespace {

// Room to pack a filled table's kept entries, kept by the thread.
struct PackRoom {
    std::vector<std::int32_t> kept;
    std::vector<float> amounts;
};

[[gnu::noinline]] PackRoom& PackRoomFor(std::size_t count) {
    thread_local PackRoom room;
    // Packed lanes run on to whole groups.
    const std::size_t whole = count + kBatchLanes;
    if (room.kept.size() < whole) {
        room.kept.resize(whole);
        room.amounts.resize(whole);
    }
    return room;
}

// What the packing holds every entry against: it falls surely when its start is below
// `floor` + `keep` * the calms after it.
struct PackLine {
    double floor;
    double keep;
    float cap;
};

// Where entries are held whose last takes the calms summed in `after`, rounded down to float.
[[gnu::always_inline]] inline float Below(const PackLine& line, double after) {
    const double edge = line.floor + after * line.keep;
    return static_cast<float>(edge - std::fabs(edge) * 0x1p-23 - 0x1p-140);
}

// Eight calms summed in floats.
[[gnu::always_inline]] inline double EightSum(const float* calms) {
    Lanes sum;
    __builtin_memcpy(&sum, calms, sizeof sum);
    sum += __builtin_shufflevector(sum, sum, 4, 5, 6, 7, 0, 1, 2, 3);
    sum += __builtin_shufflevector(sum, sum, 2, 3, 0, 1, 6, 7, 4, 5);
    return static_cast<double>(sum[0] + sum[1]);
}

// Entries `first` to `first` + 8 (only the first `rest` of them) into the packing, which fills
// from the last down to `pos`; `after` the calms after them, summed. The last of them takes the
// fewest calms, so all are held against its line, in floats, rounded down.
[[gnu::always_inline]] inline void PackEight(std::size_t first, const float* calms,
                                             const float* amounts, const PackLine& line,
                                             unsigned rest, double& after, std::size_t& pos,
                                             std::int32_t* kept, float* packed) {
    const float below = Below(line, after);
    after += EightSum(calms);
    Lanes added;
    __builtin_memcpy(&added, amounts, sizeof added);
    added = Lanes{} + added;
    added = added > line.cap ? Lanes{} + line.cap : added;
    LaneMask bits = (added < below) & LaneMask{1, 2, 4, 8, 16, 32, 64, 128};
    bits |= __builtin_shufflevector(bits, bits, 4, 5, 6, 7, 0, 1, 2, 3);
    bits |= __builtin_shufflevector(bits, bits, 2, 3, 0, 1, 6, 7, 4, 5);
    const auto keep = static_cast<unsigned>(~(bits[0] | bits[1])) & ((1u << rest) - 1);
    if (keep == 0xFF) {
        pos -= 8;
        const LaneMask lanes = LaneMask{0, 1, 2, 3, 4, 5, 6, 7} + static_cast<std::int32_t>(first);
        __builtin_memcpy(kept + pos, &lanes, sizeof lanes);
        __builtin_memcpy(packed + pos, amounts, sizeof lanes);
        return;
    }
    for (unsigned bit = keep; bit != 0;) {
        const auto lane = static_cast<unsigned>(31 - std::countl_zero(bit));
        --pos;
        kept[pos] = static_cast<std::int32_t>(first + lane);
        packed[pos] = amounts[lane];
        bit &= ~(1u << lane);
    }
}

// What an entry of a table of `count` is held against (see Pack).
PackLine LineFor(std::size_t count, float cap, float dropped) {
    // Every entry takes fewer than `count` calms.
    const double slack = static_cast<double>(count + 2) * 0x1p-22;
    const double line = dropped, top = cap;
    const double size = std::max(line < 0.0 ? -line : line, top < 0.0 ? -top : top);
    PackLine against{};
    against.floor = line - slack * size - static_cast<double>(count + 2) * 0x1p-140;
    against.keep = 1.0 - slack;
    against.cap = cap;
    return against;
}

// A table's last partial eight, from `first` up to `count`, run on with calms and amounts of 0
// so that it packs as a whole eight.
struct LastEight {
    LastEight(const float* calms, const float* amounts, std::size_t first, std::size_t count) {
        std::copy(calms + first, calms + count, calm);
        std::copy(amounts + first, amounts + count, amount);
    }
    float calm[8] = {}, amount[8] = {};
};

// The packed list runs on to whole groups: lanes past it never reach their own step.
void EndPacked(PackRoom& room, std::size_t count) {
    std::fill_n(room.kept.data() + count, kBatchLanes, std::numeric_limits<std::int32_t>::max());
    std::fill_n(room.amounts.data() + count, kBatchLanes, 0.0f);
}

// Packs the entries of a table filled in list order that may end at or above `dropped` into
// `room`, rising up to `count`, and leaves the others just below it; returns where the packed
// entries begin. An entry ends at its capped amount less the calms after its step, each
// subtraction rounded, and no calm raises a value. One that starts below the line stays there.
// Else every value an entry ending at or above the line passes through lies between the line
// and its start (at most the cap), so each rounding moves it by at most 2^-24 of the larger of
// their sizes. Summed in any order, the calms bound where it can end: the margin is twice that,
// with their sum again for the sum's own rounding (eight in floats, then in doubles). NaN
// anywhere keeps the entry.
std::size_t Pack(float* values, std::size_t count, const float* amounts, const float* calms,
                 float cap, float dropped, PackRoom& room) {
    const PackLine against = LineFor(count, cap, dropped);
    std::int32_t* const kept = room.kept.data();
    float* const packed = room.amounts.data();
    std::fill_n(values, count, std::nextafter(dropped, -std::numeric_limits<float>::infinity()));
    std::size_t pos = count;
    double after = 0.0;
    std::size_t i = count / 8 * 8;
    if (i < count) {
        const LastEight last(calms, amounts, i, count);
        PackEight(i, last.calm, last.amount, against, static_cast<unsigned>(count - i), after, pos,
                  kept, packed);
    }
    while (i > 0) {
        i -= 8;
        PackEight(i, calms + i, amounts + i, against, 8, after, pos, kept, packed);
    }
    EndPacked(room, count);
    return pos;
}

#if defined(__x86_64__)
bool HasEightLanes() {
    static const bool eight = __builtin_cpu_supports("avx2");
    return eight;
}

// For each mask of eight lanes, the lanes it holds packed to the back (the last in lane 7), a
// byte each: stored eight at a time below the packed ones, the kept lanes end where those begin.
constexpr std::array<std::uint64_t, 256> kLanesToBack = [] {
    std::array<std::uint64_t, 256> back{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned at = 8 - static_cast<unsigned>(std::popcount(mask));
        for (unsigned lane = 0; lane < 8; ++lane)
            if ((mask >> lane) & 1u)
                back[mask] |= std::uint64_t{lane} << (8 * at++);
    }
    return back;
}();

// The kept ones of eight entries from `first` (in every lane; only the first `rest` of them)
// into the packing, which fills from the last down to `pos`, moved by the table: no branch on
// which stay. The eight stored below `pos` are in the room, which holds those from `first` on.
[[gnu::target("avx2"), gnu::always_inline]] inline void KeepEightOct(
    __m256i first, const float* amounts, __m256 below, __m256 cap, unsigned rest, std::size_t& pos,
    std::int32_t* kept, float* packed) {
    const __m256 amount = _mm256_loadu_ps(amounts);
    // Capped as the walk caps it, NaN included (the walk's 0 + amount turns only -0 to +0).
    const __m256 added = _mm256_min_ps(cap, amount);
    auto keep = static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(added, below, _CMP_NLT_UQ)));
    if (rest < 8)
        keep &= (1u << rest) - 1;
    const __m256i lanes = _mm256_cvtepu8_epi32(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kLanesToBack[keep])));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(kept + pos - 8), _mm256_add_epi32(lanes, first));
    _mm256_storeu_ps(packed + pos - 8, _mm256_permutevar8x32_ps(amount, lanes));
    pos -= static_cast<std::size_t>(std::popcount(keep));
}

// The lines of four eights' last entries from `calms` (of the first of them) up, with `after`
// the calms above them, which then takes theirs too. Each eight's calms are summed in floats,
// then in doubles those of the eights above it.
[[gnu::target("avx2"), gnu::always_inline]] inline __m128 FourLinesOct(const float* calms,
                                                                       const PackLine& line,
                                                                       double& after) {
    const __m256 pairs = _mm256_hadd_ps(_mm256_loadu_ps(calms), _mm256_loadu_ps(calms + 8));
    const __m256 others = _mm256_hadd_ps(_mm256_loadu_ps(calms + 16), _mm256_loadu_ps(calms + 24));
    const __m256 halves = _mm256_hadd_ps(pairs, others);
    const __m256d sums = _mm256_cvtps_pd(
        _mm_add_ps(_mm256_castps256_ps128(halves), _mm256_extractf128_ps(halves, 1)));
    const __m256d zero = _mm256_setzero_pd();
    __m256d above = _mm256_blend_pd(_mm256_permute4x64_pd(sums, 0x39), zero, 0x8);
    above = _mm256_add_pd(above, _mm256_blend_pd(_mm256_permute4x64_pd(above, 0x39), zero, 0x8));
    above = _mm256_add_pd(above, _mm256_permute2f128_pd(above, above, 0x81));
    above = _mm256_add_pd(above, _mm256_set1_pd(after));
    after = _mm256_cvtsd_f64(above) + _mm256_cvtsd_f64(sums);
    const __m256d edge =
        _mm256_add_pd(_mm256_set1_pd(line.floor), _mm256_mul_pd(above, _mm256_set1_pd(line.keep)));
    const __m256d size = _mm256_andnot_pd(_mm256_set1_pd(-0.0), edge);
    return _mm256_cvtpd_ps(
        _mm256_sub_pd(_mm256_sub_pd(edge, _mm256_mul_pd(size, _mm256_set1_pd(0x1p-23))),
                      _mm256_set1_pd(0x1p-140)));
}

// Pack, eight entries at a time, the lines of four eights at once.
[[gnu::target("avx2")]] std::size_t PackOct(float* values, std::size_t count, const float* amounts,
                                            const float* calms, float cap, float dropped,
                                            PackRoom& room) {
    const PackLine against = LineFor(count, cap, dropped);
    std::int32_t* const kept = room.kept.data();
    float* const packed = room.amounts.data();
    const float low = std::nextafter(dropped, -std::numeric_limits<float>::infinity());
    const __m256 top = _mm256_set1_ps(cap);
    std::size_t pos = count;
    double after = 0.0;
    std::size_t i = count / 8 * 8;
    if (i < count) {
        const LastEight last(calms, amounts, i, count);
        KeepEightOct(_mm256_set1_epi32(static_cast<int>(i)), last.amount,
                     _mm256_set1_ps(Below(against, after)), top, static_cast<unsigned>(count - i),
                     pos, kept, packed);
        after += EightSum(last.calm);
        std::fill(values + i, values + count, low);
    }
    for (; i >= 32; i -= 32) {
        alignas(16) float below[4];
        _mm_store_ps(below, FourLinesOct(calms + i - 32, against, after));
        const __m256 fill = _mm256_set1_ps(low);
        __m256i first = _mm256_set1_epi32(static_cast<int>(i));
#pragma GCC unroll 4
        for (std::size_t e = 4; e-- > 0;) {
            const std::size_t at = i - 32 + 8 * e;
            first = _mm256_sub_epi32(first, _mm256_set1_epi32(8));
            _mm256_storeu_ps(values + at, fill);
            KeepEightOct(first, amounts + at, _mm256_broadcast_ss(below + e), top, 8, pos, kept,
                         packed);
        }
    }
    while (i > 0) {
        i -= 8;
        _mm256_storeu_ps(values + i, _mm256_set1_ps(low));
        KeepEightOct(_mm256_set1_epi32(static_cast<int>(i)), amounts + i,
                     _mm256_set1_ps(Below(against, after)), top, 8, pos, kept, packed);
        after += EightSum(calms + i);
    }
    EndPacked(room, count);
    return pos;
}
#endif

}  // namespace

PackedEntries PackFilled(float* values, std::size_t count, const float* amounts, const float* calms,
                         float cap, float dropped) {
    PackRoom& room = PackRoomFor(count);
#if defined(__x86_64__)
    const std::size_t from = HasEightLanes()
                                 ? PackOct(values, count, amounts, calms, cap, dropped, room)
                                 : Pack(values, count, amounts, calms, cap, dropped, room);
#else
    const std::size_t from = Pack(values, count, amounts, calms, cap, dropped, room);
#endif
    return {room.kept.data() + from, room.amounts.data() + from, count - from};
}

}  // namespace GAME::AngerLanes
