#include "Game/ai/monster/SightScreen.h"

#include "Game/characters/movement/SightDigest.h"

namespace GAME::SightScreen {

#if defined(__x86_64__)
[[gnu::target("avx2")]] void SpreadTerms(const ScreenTerms& t, OctTerms& out) {
    using WorldCells::OctMask;
    using WorldCells::OctWords;
    const std::uint32_t sureMask = SightDigest::kWritten | SightDigest::kTeamFromCharacter | t.own;
    out.plainMask = OctWords{} + t.plainMask;
    out.plain = OctWords{} + t.plain;
    out.sureMask = OctWords{} + sureMask;
    out.sure = OctWords{} + (SightDigest::kWritten | t.own);
    out.self = OctWords{} + t.self;
    // A slot not yet judged repeats a judged one, so a screen asks no slot whether it is valid
    // (with none judged, nothing is known).
    std::size_t judged = kRemembered;
    for (std::size_t k = kRemembered; k-- > 0;)
        if (t.valid[k] != 0)
            judged = k;
    for (std::size_t k = 0; k < kRemembered; ++k) {
        const std::size_t from = t.valid[k] != 0 || judged == kRemembered ? k : judged;
        out.major[k] = OctWords{} + t.major[from];
        out.minor[k] = OctWords{} + t.minor[from];
        out.keep[k] = OctMask{} + (t.keep[from] & t.valid[from]);
    }
    out.vouches = OctMask{} + t.vouches;
    out.anyKnown = OctMask{} - static_cast<std::int32_t>(judged != kRemembered);
}

[[gnu::target("avx2")]] ScreenBits SphereScreenOct(const EntityGrid::Pack* packs, std::size_t count,
                                                   const Vec3& toQuery, const Sphere& sphere,
                                                   const OctTerms& t) {
    using WorldCells::OctMask;
    using WorldCells::OctWords;
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    // Kept here, not in the result: stores there could be the terms' own.
    std::uint64_t meets = 0, passes = 0, vouched = 0, fresh = 0;
    // A pack pointer of its own: taken from `at` each time, it costs a shift and an add.
    const EntityGrid::Pack* pack = packs;
    for (std::size_t at = 0; at < count; at += kWidth, ++pack) {
        const EntityGrid::Pack& p = *pack;
        const unsigned lanesIn = WorldCells::SphereBitsOct(p, toQuery, sphere);
        if (lanesIn == 0)
            continue;
        meets |= static_cast<std::uint64_t>(lanesIn) << at;
        OctWords slots, flags, major, minor;
        __builtin_memcpy(&slots, p.slot, sizeof slots);
        __builtin_memcpy(&flags, p.gameFlags, sizeof flags);
        __builtin_memcpy(&major, p.gameWords[0], sizeof major);
        __builtin_memcpy(&minor, p.gameWords[1], sizeof minor);
        // As and-not: GCC would take `!=` as a compare and a second one against zero.
        const OctMask plain = reinterpret_cast<OctMask>(
            _mm256_andnot_si256(reinterpret_cast<__m256i>(slots == t.self),
                                reinterpret_cast<__m256i>((flags & t.plainMask) == t.plain)));
        // Written, holding its own team (and path position when it counts): not unsure.
        const OctMask settled = (flags & t.sureMask) == t.sure;
        // Remembered teams differ: a lane matches one at most.
        OctMask known{}, keeps{};
        for (std::size_t k = 0; k < kRemembered; ++k) {
            const OctMask match = (major == t.major[k]) & (minor == t.minor[k]);
            known |= match;
            keeps |= match & t.keep[k];
        }
        known &= t.anyKnown;
        // A plain lane passes when its team is kept, any other when it is unsure.
        const OctMask lanes = (plain & keeps) | ~(plain | settled);
        passes |= static_cast<std::uint64_t>(WorldCells::OctBits(lanes)) << at;
        vouched |= static_cast<std::uint64_t>(WorldCells::OctBits(plain & keeps & t.vouches)) << at;
        fresh |= static_cast<std::uint64_t>(WorldCells::OctBits(plain & ~known)) << at;
    }
    // Lanes past the cell's last entry hold what left it.
    ScreenBits bits;
    bits.inSphere = meets & WorldCells::FirstBits(count);
    bits.sure = vouched & bits.inSphere;
    bits.unknown = fresh & bits.inSphere;
    bits.passes = passes & bits.inSphere;
    return bits;
}
#endif
}  // namespace GAME::SightScreen
