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
    // The judged slots first, so a screen compares with as many teams as are judged (their
    // order is no matter: a lane matches one at most).
    std::size_t judged = 0;
    for (std::size_t k = 0; k < kRemembered; ++k) {
        if (t.valid[k] == 0)
            continue;
        out.major[judged] = OctWords{} + t.major[k];
        out.minor[judged] = OctWords{} + t.minor[k];
        out.keep[judged] = OctMask{} + t.keep[k];
        ++judged;
    }
    out.teams = judged;
    out.vouches = OctMask{} + t.vouches;
}

namespace {

// The screen of a cell's packs against the first kTeams remembered teams (the judged ones).
template <std::size_t kTeams>
[[gnu::target("avx2"), gnu::always_inline]] inline ScreenBits ScreenPacks(
    const EntityGrid::Pack* packs, std::size_t count, const Vec3& toQuery, const Sphere& sphere,
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
        for (std::size_t k = 0; k < kTeams; ++k) {
            const OctMask match = (major == t.major[k]) & (minor == t.minor[k]);
            known |= match;
            keeps |= match & t.keep[k];
        }
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

}  // namespace

[[gnu::target("avx2")]] ScreenBits SphereScreenOct(const EntityGrid::Pack* packs, std::size_t count,
                                                   const Vec3& toQuery, const Sphere& sphere,
                                                   const OctTerms& t) {
    switch (t.teams) {
        case 0:
            return ScreenPacks<0>(packs, count, toQuery, sphere, t);
        case 1:
            return ScreenPacks<1>(packs, count, toQuery, sphere, t);
        case 2:
            return ScreenPacks<2>(packs, count, toQuery, sphere, t);
        default:
            break;
    }
    static_assert(kRemembered == 3);
    return ScreenPacks<kRemembered>(packs, count, toQuery, sphere, t);
}
#endif
}  // namespace GAME::SightScreen
