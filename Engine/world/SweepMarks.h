#pragma once
// How a sweep marks the ranks it keeps and reads them back in rank order (Engine/world/
// WorldSweep.h), and which lanes and bit scans the processor has for it.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Engine/world/EntityGrid.h"

namespace GAME::WorldCells {

// AVX2's eight lanes (wider registers than the library's base).
inline bool HasEightLanes() {
#if defined(__x86_64__)
    static const bool eight = __builtin_cpu_supports("avx2");
    return eight;
#else
    return false;
#endif
}

// A sweep marks each kept rank by a byte of its own: a store, where a bit would take a read and
// a shift as well. The marks are read back 64 ranks at a time, as one word of bits.
constexpr unsigned char kMarked = 0x80;
constexpr std::size_t kMarksPerWord = 64;

// Bit i set for each of the 64 marks at `marks` that is set; clears them.
inline std::uint64_t TakeMarks(unsigned char* marks) {
    std::uint64_t bits = 0;
#if defined(__SSE2__)
    for (std::size_t q = 0; q < kMarksPerWord; q += 16) {
        __m128i* const sixteen = reinterpret_cast<__m128i*>(marks + q);
        bits |= static_cast<std::uint64_t>(
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(sixteen))))
                << q;
        _mm_storeu_si128(sixteen, _mm_setzero_si128());
    }
#else
    for (std::size_t i = 0; i < kMarksPerWord; ++i)
        bits |= static_cast<std::uint64_t>(std::exchange(marks[i], 0) >> 7) << i;
#endif
    return bits;
}

#if defined(__x86_64__)
// TakeMarks 32 marks at a time (only where HasEightLanes). Not forced inline: ReadMarksWith's
// own body, of the base target, could not take it.
[[gnu::target("avx2")]] inline std::uint64_t TakeMarksOct(unsigned char* marks) {
    __m256i* const low = reinterpret_cast<__m256i*>(marks);
    __m256i* const high = reinterpret_cast<__m256i*>(marks + 32);
    const auto lowBits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_loadu_si256(low)));
    const auto highBits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_loadu_si256(high)));
    _mm256_storeu_si256(low, _mm256_setzero_si256());
    _mm256_storeu_si256(high, _mm256_setzero_si256());
    return static_cast<std::uint64_t>(highBits) << 32 | lowBits;
}
#endif

// Writes the entry (`at`, by rank) of each rank marked in words [first, last] to `out`, in rising
// rank, and clears the marks; returns the end of what it wrote.
template <std::uint64_t (*Take)(unsigned char*)>
[[gnu::always_inline]] inline const EntityGrid::Entry** ReadMarksWith(
    unsigned char* marks, const EntityGrid::Entry* const* at, std::size_t first, std::size_t last,
    const EntityGrid::Entry** out) {
    // The word's 64 ranks' entries, stepped with the word: taken from `w` each time, the entry's
    // address costs an add per rank.
    const EntityGrid::Entry* const* wordAt = at + first * kMarksPerWord;
    for (std::size_t w = first; w <= last; ++w, wordAt += kMarksPerWord)
        for (std::uint64_t bits = Take(marks + w * kMarksPerWord); bits != 0; bits &= bits - 1)
            *out++ = wordAt[std::countr_zero(bits)];
    return out;
}

inline const EntityGrid::Entry** ReadMarks(unsigned char* marks, const EntityGrid::Entry* const* at,
                                           std::size_t first, std::size_t last,
                                           const EntityGrid::Entry** out) {
    return ReadMarksWith<TakeMarks>(marks, at, first, last, out);
}

// Eight lanes and BMI1's bit scans (every processor with AVX2 so far has both).
inline bool HasEightLanesAndScans() {
#if defined(__x86_64__)
    static const bool both = HasEightLanes() && __builtin_cpu_supports("bmi");
    return both;
#else
    return false;
#endif
}

#if defined(__x86_64__)
// The index of the lowest bit set in `bits` (not 0), as BMI1's scan (read as the older scan where
// BMI1 lacks, the same index). Written out: GCC clears the scan's register before each one, for
// processors whose scan waited on it (none of those with AVX-512), an instruction a kept rank in
// the loops below and the screens'.
[[gnu::always_inline]] inline std::size_t LowestBit(std::uint64_t bits) {
    std::size_t index;
    asm("tzcnt %1, %0" : "=r"(index) : "r"(bits) : "cc");
    return index;
}

// ReadMarks, with TakeMarksOct (only where HasEightLanesAndScans): a bit taken costs a few
// instructions less. A sweep's words hold a few ranks each, and nearly every word some.
[[gnu::target("avx2,bmi")]] inline const EntityGrid::Entry** ReadMarksOct(
    unsigned char* marks, const EntityGrid::Entry* const* at, std::size_t first, std::size_t last,
    const EntityGrid::Entry** out) {
    const EntityGrid::Entry* const* wordAt = at + first * kMarksPerWord;
    unsigned char* const end = marks + last * kMarksPerWord;
    for (unsigned char* word = marks + first * kMarksPerWord; word <= end;
         word += kMarksPerWord, wordAt += kMarksPerWord) {
        std::uint64_t bits = TakeMarksOct(word);
        if (bits == 0)
            continue;
        // Four to a step: the list's pointer moves once for them.
        for (;; out += 4) {
            out[0] = wordAt[LowestBit(bits)];
            if ((bits &= bits - 1) == 0) {
                out += 1;
                break;
            }
            out[1] = wordAt[LowestBit(bits)];
            if ((bits &= bits - 1) == 0) {
                out += 2;
                break;
            }
            out[2] = wordAt[LowestBit(bits)];
            if ((bits &= bits - 1) == 0) {
                out += 3;
                break;
            }
            out[3] = wordAt[LowestBit(bits)];
            if ((bits &= bits - 1) == 0) {
                out += 4;
                break;
            }
        }
    }
    return out;
}
#endif

// ReadMarks, 32 marks at a time where the processor has them (and `eight` allows).
inline const EntityGrid::Entry** ReadMarksWidest(unsigned char* marks,
                                                 const EntityGrid::Entry* const* at,
                                                 std::size_t first, std::size_t last,
                                                 const EntityGrid::Entry** out,
                                                 [[maybe_unused]] bool eight) {
#if defined(__x86_64__)
    if (eight && HasEightLanesAndScans())
        return ReadMarksOct(marks, at, first, last, out);
#endif
    return ReadMarks(marks, at, first, last, out);
}

// The entries (`at`, by rank) of the `count` ranks listed at `ranks` (each once, in any order)
// to `out` in rising rank, their marks cleared; returns the end of what it wrote. A few ranks
// kept among a large world's many words of marks cost themselves and the words they fall in:
// each rank is set as a bit of `bits` (a word of 64 ranks each) and its word as a bit of
// `words` (64 words each, `wordCount` of them), both left clear again.
template <std::size_t (*Lowest)(std::uint64_t)>
[[gnu::always_inline]] inline const EntityGrid::Entry** ReadListedRanksWith(
    unsigned char* marks, std::uint64_t* bits, std::uint64_t* words, std::size_t wordCount,
    const std::uint32_t* ranks, std::size_t count, const EntityGrid::Entry* const* at,
    const EntityGrid::Entry** out) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t rank = ranks[i];
        marks[rank] = 0;
        bits[rank / kMarksPerWord] |= std::uint64_t{1} << rank % kMarksPerWord;
        words[rank / (kMarksPerWord * kMarksPerWord)] |= std::uint64_t{1}
                                                         << rank / kMarksPerWord % kMarksPerWord;
    }
    for (std::size_t n = 0; n < wordCount; ++n) {
        std::uint64_t noted = words[n];
        if (noted == 0)
            continue;
        words[n] = 0;
        std::uint64_t* const bitsAt = bits + n * kMarksPerWord;
        const EntityGrid::Entry* const* const wordsAt = at + n * kMarksPerWord * kMarksPerWord;
        // A word noted holds a rank, and a set bit of a word is a rank.
        do {
            const std::size_t w = Lowest(noted);
            std::uint64_t set = bitsAt[w];
            bitsAt[w] = 0;
            const EntityGrid::Entry* const* const wordAt = wordsAt + w * kMarksPerWord;
            do {
                *out++ = wordAt[Lowest(set)];
                set &= set - 1;
            } while (set != 0);
            noted &= noted - 1;
        } while (noted != 0);
    }
    return out;
}

inline std::size_t LowestBitPlain(std::uint64_t bits) {
    return static_cast<unsigned>(std::countr_zero(bits));
}

#if defined(__x86_64__)
// BMI2's shifts as well (every processor with AVX2 so far has them).
inline bool HasEightLanesScansAndShifts() {
    static const bool all = HasEightLanesAndScans() && __builtin_cpu_supports("bmi2");
    return all;
}

[[gnu::target("bmi,bmi2")]] inline const EntityGrid::Entry** ReadListedRanksScans(
    unsigned char* marks, std::uint64_t* bits, std::uint64_t* words, std::size_t wordCount,
    const std::uint32_t* ranks, std::size_t count, const EntityGrid::Entry* const* at,
    const EntityGrid::Entry** out) {
    return ReadListedRanksWith<LowestBit>(marks, bits, words, wordCount, ranks, count, at, out);
}
#endif

// ReadListedRanksWith, with BMI's bit scans and shifts where the processor has them (and `eight`
// allows).
inline const EntityGrid::Entry** ReadListedRanksWidest(
    unsigned char* marks, std::uint64_t* bits, std::uint64_t* words, std::size_t wordCount,
    const std::uint32_t* ranks, std::size_t count, const EntityGrid::Entry* const* at,
    const EntityGrid::Entry** out, [[maybe_unused]] bool eight) {
#if defined(__x86_64__)
    if (eight && HasEightLanesScansAndShifts())
        return ReadListedRanksScans(marks, bits, words, wordCount, ranks, count, at, out);
#endif
    return ReadListedRanksWith<LowestBitPlain>(marks, bits, words, wordCount, ranks, count, at,
                                               out);
}

}  // namespace GAME::WorldCells
