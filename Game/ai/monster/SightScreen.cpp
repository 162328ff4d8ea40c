#include "Game/ai/monster/SightScreen.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <utility>

#include "Game/characters/movement/SightDigest.h"

namespace GAME::SightScreen {

#if defined(__x86_64__)
namespace {

// Lanes of `lanes` whose team is one of the judged slots [kFirst, kFirst + kCount).
template <std::size_t kFirst, std::size_t kCount>
[[gnu::target("avx2"), gnu::always_inline]] inline WorldCells::OctMask Matches(
    const OctTerms& t, WorldCells::OctWords major, WorldCells::OctWords minor) {
    WorldCells::OctMask any{};
    for (std::size_t k = kFirst; k < kFirst + kCount; ++k)
        any |= (major == t.major[k]) & (minor == t.minor[k]);
    return any;
}

// Whether a major is judged whole, and how.
enum Whole : std::size_t { kNoWhole, kWholeKept, kWholeRefused, kWholes };

// A byte per pack of each answer (the sphere's, kept, held, fresh), stored as found: one store
// each instead of a shift and an or into the block's word.
using PackBytes = std::uint8_t[4][EntityGrid::Pack::kWidth];

// The screen of pack k of a block against the judged teams: kKept kept ones in the first slots,
// kRefused refused ones in the last, and the major judged whole. A pack the sphere misses leaves
// its other bytes as they were: its sphere byte says they answer for nothing.
template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused>
[[gnu::target("avx2"), gnu::always_inline]] inline void ScreenPack(const EntityGrid::Pack& p,
                                                                   std::size_t k, PackBytes& bytes,
                                                                   const Vec3& toQuery,
                                                                   const Sphere& sphere,
                                                                   const OctTerms& t) {
    using WorldCells::OctMask;
    using WorldCells::OctWords;
    const unsigned lanesIn = WorldCells::SphereBitsOct(p, toQuery, sphere);
    bytes[0][k] = static_cast<std::uint8_t>(lanesIn);
    if (lanesIn == 0)
        return;
    OctWords slots, flags, major, minor;
    __builtin_memcpy(&slots, p.slot, sizeof slots);
    __builtin_memcpy(&flags, p.gameFlags, sizeof flags);
    __builtin_memcpy(&major, p.gameWords[0], sizeof major);
    __builtin_memcpy(&minor, p.gameWords[1], sizeof minor);
    // Held in registers: GCC would read the flags twice, and the minors as two compares'
    // operands, loading both teams' minors instead.
    asm("" : "+x"(flags));
    if constexpr (kKept + kRefused >= 2)
        asm("" : "+x"(minor));
    // As and-not: GCC would take `!=` as a compare and a second one against zero.
    const __m256i plain =
        _mm256_andnot_si256(reinterpret_cast<__m256i>(slots == t.self),
                            reinterpret_cast<__m256i>((flags & t.plainMask) == t.plain));
    // Written, holding its own team (and path position when it counts): not unsure.
    const OctMask settled = (flags & t.sureMask) == t.sure;
    // Remembered teams differ: a lane matches one at most.
    // A lane of the major judged whole may match a slot too: both say the same.
    OctMask kept = Matches<0, kKept>(t, major, minor);
    if constexpr (kWhole == kWholeKept)
        kept |= major == t.wholeMajor;
    OctMask known = kept | Matches<kRemembered - kRefused, kRefused>(t, major, minor);
    if constexpr (kWhole == kWholeRefused)
        known |= major == t.wholeMajor;
    // A plain lane passes when its team is kept, any other when it is unsure (neither plain
    // nor settled): the two as bits, joined once for the block.
    bytes[1][k] = static_cast<std::uint8_t>(WorldCells::OctBits(
        reinterpret_cast<OctMask>(_mm256_and_si256(plain, reinterpret_cast<__m256i>(kept)))));
    bytes[2][k] =
        static_cast<std::uint8_t>(WorldCells::OctBits(reinterpret_cast<OctMask>(plain) | settled));
    bytes[3][k] = static_cast<std::uint8_t>(WorldCells::OctBits(
        reinterpret_cast<OctMask>(_mm256_andnot_si256(reinterpret_cast<__m256i>(known), plain))));
}

// The screen of a block's packs (a whole block of them when kFull), with no loop to keep: a
// crowd's packs cost a few instructions less each. A whole block is screened apart from a part
// of one: as a part, it costs GCC registers the rest of the walk needs.
// `bytes` may hold an earlier block's answers: each pack here writes its sphere byte, and the
// count cuts the lanes past them, so none of those answers counts.
template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused, bool kFull = false>
[[gnu::target("avx2"), gnu::always_inline]] inline ScreenBits ScreenPacks(
    const EntityGrid::Pack* packs, std::size_t count, const Vec3& toQuery, const Sphere& sphere,
    const OctTerms& t, PackBytes& bytes) {
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    static_assert(WorldCells::kBlock == 8 * kWidth);
    if constexpr (kFull) {
#pragma GCC unroll 8
        for (std::size_t k = 0; k < WorldCells::kBlock / kWidth; ++k)
            ScreenPack<kWhole, kKept, kRefused>(packs[k], k, bytes, toQuery, sphere, t);
    } else {
        // Entered at its last pack.
        const auto screen = [&](std::size_t k) __attribute__((target("avx2"), always_inline)) {
            ScreenPack<kWhole, kKept, kRefused>(packs[k], k, bytes, toQuery, sphere, t);
        };
        switch ((count + kWidth - 1) / kWidth) {
            case 8:
                screen(7);
                [[fallthrough]];
            case 7:
                screen(6);
                [[fallthrough]];
            case 6:
                screen(5);
                [[fallthrough]];
            case 5:
                screen(4);
                [[fallthrough]];
            case 4:
                screen(3);
                [[fallthrough]];
            case 3:
                screen(2);
                [[fallthrough]];
            case 2:
                screen(1);
                [[fallthrough]];
            default:
                screen(0);
        }
    }
    // Pack k's byte holds bits 8k to 8k + 7 (little-endian, as every processor with these
    // lanes is).
    std::uint64_t meets, keeps, held, fresh;
    __builtin_memcpy(&meets, bytes[0], sizeof meets);
    __builtin_memcpy(&keeps, bytes[1], sizeof keeps);
    __builtin_memcpy(&held, bytes[2], sizeof held);
    __builtin_memcpy(&fresh, bytes[3], sizeof fresh);
    // Lanes past the cell's last entry hold what left it.
    ScreenBits bits;
    bits.inSphere = kFull ? meets : meets & WorldCells::FirstBits(count);
    bits.sure = keeps & t.vouches & bits.inSphere;
    bits.unknown = fresh & bits.inSphere;
    bits.passes = (keeps | ~held) & bits.inSphere;
    return bits;
}

template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused>
[[gnu::target("avx2")]] ScreenBits ScreenOf(const EntityGrid::Pack* packs, std::size_t count,
                                            const Vec3& toQuery, const Sphere& sphere,
                                            const OctTerms& t) {
    alignas(32) PackBytes bytes = {};
    return ScreenPacks<kWhole, kKept, kRefused>(packs, count, toQuery, sphere, t, bytes);
}

// Marks the lanes of `sure` (bits of the block at `entries`), `found` of them kept so far, and
// lists their ranks when kList. (Debug builds check the world's entry of each rank, `at`.)
template <bool kList = true>
[[gnu::target("avx2,bmi"), gnu::always_inline]] inline void MarkSure(
    std::uint64_t sure, const EntityGrid::Entry* entries,
    [[maybe_unused]] const EntityGrid::Entry* const* at, unsigned char* marks, std::uint32_t* ranks,
    std::size_t& found) {
    if (sure == 0)
        return;
    std::uint32_t* to = ranks + found;
    found += static_cast<std::size_t>(std::popcount(sure));
    const auto mark = [&](std::uint64_t m, std::size_t k) {
        const EntityGrid::Entry& entry = entries[WorldCells::LowestBit(m)];
        const std::uint32_t rank = entry.rank;
#ifndef NDEBUG
        if (at[rank] != &entry)
            std::abort();
#endif
        marks[rank] = WorldCells::kMarked;
        if constexpr (kList)
            to[k] = rank;
    };
    // Four to a step: the kept list's pointer moves once for them.
    for (std::uint64_t m = sure;; to += 4) {
        mark(m, 0);
        if ((m &= m - 1) == 0)
            break;
        mark(m, 1);
        if ((m &= m - 1) == 0)
            break;
        mark(m, 2);
        if ((m &= m - 1) == 0)
            break;
        mark(m, 3);
        if ((m &= m - 1) == 0)
            break;
    }
}

template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused>
[[gnu::target("avx2,bmi")]] ScreenPasses MarkOf(const EntityGrid::Pack* packs, std::size_t count,
                                                const Vec3& toQuery, const Sphere& sphere,
                                                const OctTerms& t,
                                                WorldCells::SweepMarker& marker) {
    alignas(32) PackBytes bytes = {};
    const ScreenBits bits =
        ScreenPacks<kWhole, kKept, kRefused>(packs, count, toQuery, sphere, t, bytes);
    if (bits.sure != 0) {
        // Held here: the marks' byte stores could otherwise be the marker's own.
        std::size_t found = marker.found;
        MarkSure(bits.sure, marker.entries, marker.at, marker.marks, marker.ranks, found);
        marker.found = found;
    }
    return ScreenPasses{bits.passes & ~bits.sure, bits.unknown};
}

// MarkBoxOf from `walk` on, `left` blocks left so far, listing the kept ranks when kList. A walk
// that lists hands the rest of the box over to one that does not at the first cell of entries it
// starts with `marker.listed` listed: past them the list is not read back, and a crowd's marks
// spare its stores. (Not at a block: the choice there costs the walk a register.)
template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused, bool kList>
[[gnu::target("avx2,bmi")]] std::size_t MarkBoxFrom(const EntityGrid& grid,
                                                    WorldCells::CellWalk& walk, const Vec3& query,
                                                    const Sphere& inView, const OctTerms& t,
                                                    WorldCells::SweepMarker& marker,
                                                    std::size_t left) {
    using WorldCells::kBlock;
    // Held here for the whole box, as MarkOf holds them for a block (the sphere too: each
    // block would take it again after the marks' stores).
    const Vec3 toQuery = query;
    const Sphere sphere = inView;
    const EntityGrid::Entry* const* const at = marker.at;
    unsigned char* const marks = marker.marks;
    std::uint32_t* const ranks = marker.ranks;
    WorldCells::Leftover* const leftovers = marker.leftovers;
    std::size_t found = marker.found;
    constexpr std::size_t kPacks = kBlock / EntityGrid::Pack::kWidth;
    const int x0 = walk.x0, x1 = walk.x1, z1 = walk.z1;
    // Cleared once: each block writes the sphere's byte of every pack it has.
    alignas(32) PackBytes bytes = {};
    int x = walk.x;
    std::size_t first = walk.first;
    for (int z = walk.z; z <= z1; ++z, x = x0) {
        for (EntityGrid::RowCursor row = grid.RowFrom(x, z); x <= x1; ++x, first = 0, row.Next()) {
            const EntityGrid::EntryList& cell = row.Entries();
            // Stepped a block at a time: taken from an index, an entry's address costs an add
            // per mark.
            const EntityGrid::Entry* blockEntries = cell.data();
            const EntityGrid::Pack* block = row.Packs().data();
            std::size_t rest = cell.size();
            // Only a call's first cell may be taken up inside.
            if (first != 0) [[unlikely]] {
                blockEntries += first;
                block += first / EntityGrid::Pack::kWidth;
                rest -= first;
            }
            if (rest == 0)
                continue;
            if constexpr (kList)
                if (found >= marker.listed) [[unlikely]] {
                    walk = WorldCells::CellWalk{x, z, x0, x1, z1, first};
                    marker.found = found;
                    return MarkBoxFrom<kWhole, kKept, kRefused, false>(grid, walk, toQuery, sphere,
                                                                       t, marker, left);
                }
            for (;; rest -= kBlock) {
                const ScreenBits bits = rest >= kBlock
                                            ? ScreenPacks<kWhole, kKept, kRefused, true>(
                                                  block, kBlock, toQuery, sphere, t, bytes)
                                            : ScreenPacks<kWhole, kKept, kRefused>(
                                                  block, rest, toQuery, sphere, t, bytes);
                MarkSure<kList>(bits.sure, blockEntries, at, marks, ranks, found);
                const std::uint64_t passes = bits.passes & ~bits.sure;
                if ((passes | bits.unknown) != 0) [[unlikely]] {
                    leftovers[left++] =
                        WorldCells::Leftover{block, blockEntries, passes, 0, bits.unknown};
                    // Teams not judged yet end the call (judged, they are known to the next
                    // block), as does a full list of leftovers: the walk goes on from the next
                    // block.
                    if ((bits.unknown != 0) | (left == WorldCells::kLeftovers)) {
                        const bool last = rest <= kBlock;
                        walk.z = z;
                        walk.x = last ? x + 1 : x;
                        walk.first = last ? 0 : cell.size() - rest + kBlock;
                        marker.found = found;
                        return left;
                    }
                }
                if (rest <= kBlock)
                    break;
                blockEntries += kBlock;
                block += kPacks;
            }
        }
    }
    walk.z = z1 + 1;
    walk.x = x0;
    walk.first = 0;
    marker.found = found;
    return left;
}

template <std::size_t kWhole, std::size_t kKept, std::size_t kRefused>
[[gnu::target("avx2,bmi")]] std::size_t MarkBoxOf(const EntityGrid& grid,
                                                  WorldCells::CellWalk& walk, const Vec3& query,
                                                  const Sphere& inView, const OctTerms& t,
                                                  WorldCells::SweepMarker& marker) {
    return MarkBoxFrom<kWhole, kKept, kRefused, true>(grid, walk, query, inView, t, marker, 0);
}

// By (whole * (kRemembered + 1) + kept) * (kRemembered + 1) + refused, chosen as the terms are
// spread: a block takes no branch on the teams judged (the pairs past kRemembered teams are
// never asked for).
constexpr std::size_t kTeamShapes = (kRemembered + 1) * (kRemembered + 1);
constexpr std::size_t kShapes = kWholes * kTeamShapes;
constexpr std::size_t WholeOf(std::size_t shape) {
    return shape / kTeamShapes;
}
constexpr std::size_t KeptOf(std::size_t shape) {
    return shape % kTeamShapes / (kRemembered + 1);
}
constexpr std::size_t RefusedOf(std::size_t shape) {
    return std::min(shape % (kRemembered + 1), kRemembered - KeptOf(shape));
}

template <std::size_t... kShape>
constexpr auto ScreenTable(std::index_sequence<kShape...>) {
    return std::array{&ScreenOf<WholeOf(kShape), KeptOf(kShape), RefusedOf(kShape)>...};
}

template <std::size_t... kShape>
constexpr auto MarkTable(std::index_sequence<kShape...>) {
    return std::array{&MarkOf<WholeOf(kShape), KeptOf(kShape), RefusedOf(kShape)>...};
}

template <std::size_t... kShape>
constexpr auto BoxTable(std::index_sequence<kShape...>) {
    return std::array{&MarkBoxOf<WholeOf(kShape), KeptOf(kShape), RefusedOf(kShape)>...};
}

constexpr auto kScreens = ScreenTable(std::make_index_sequence<kShapes>());
constexpr auto kMarks = MarkTable(std::make_index_sequence<kShapes>());
constexpr auto kBoxes = BoxTable(std::make_index_sequence<kShapes>());

}  // namespace

[[gnu::target("avx2")]] void SpreadTerms(const ScreenTerms& t, OctTerms& out) {
    using WorldCells::OctWords;
    const std::uint32_t sureMask = SightDigest::kWritten | SightDigest::kTeamFromCharacter | t.own;
    out.plainMask = OctWords{} + t.plainMask;
    out.plain = OctWords{} + t.plain;
    out.sureMask = OctWords{} + sureMask;
    out.sure = OctWords{} + (SightDigest::kWritten | t.own);
    out.self = OctWords{} + t.self;
    // The judged teams only, the kept from the first slot and the refused from the last, so a
    // screen compares with as many teams as are judged and needs no keep flag per team (their
    // order is no matter: a lane matches one at most).
    std::size_t kept = 0, refused = kRemembered;
    for (std::size_t k = 0; k < kRemembered; ++k) {
        if (t.valid[k] == 0)
            continue;
        const std::size_t to = t.keep[k] != 0 ? kept++ : --refused;
        out.major[to] = OctWords{} + t.major[k];
        out.minor[to] = OctWords{} + t.minor[k];
    }
    std::size_t whole = kNoWhole;
    if (t.wholeMajor != ~std::uint32_t{0}) {
        out.wholeMajor = OctWords{} + t.wholeMajor;
        whole = t.wholeKeep != 0 ? kWholeKept : kWholeRefused;
    }
    out.vouches = t.vouches != 0 ? ~std::uint64_t{0} : 0;
    const std::size_t shape =
        (whole * (kRemembered + 1) + kept) * (kRemembered + 1) + (kRemembered - refused);
    out.screen = kScreens[shape];
    out.markingScreen = kMarks[shape];
    out.boxScreen = kBoxes[shape];
}
#endif
}  // namespace GAME::SightScreen
