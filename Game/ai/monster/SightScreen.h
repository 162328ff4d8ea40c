#pragma once
// A sight sweep's screen of a grid cell: its packed words judged eight lanes at a time against
// the sweeper's terms, before any entry is read.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "Engine/world/EntityGrid.h"
#include "Engine/world/Math.h"
#include "Engine/world/WorldSweep.h"

namespace GAME::SightScreen {

// A sweep remembers this many judged teams (nothing a sweep calls changes the rules): a crowd
// holds few, but a fight's two sides often stand among a third, and a sweep that meets more
// teams than it remembers judges them over and over.
constexpr std::size_t kRemembered = 3;

// What a sight screen compares each lane with: the flags that make a plain character (`plain`
// of `plainMask`), the flag a lane must hold to be sure of without its entry (`own`), the
// sweeper's slot and the remembered teams (all ones in `valid` and `keep` when set).
struct ScreenTerms {
    std::uint32_t plainMask = 0, plain = 0, own = 0, self = 0;
    std::uint32_t major[kRemembered] = {}, minor[kRemembered] = {};
    std::int32_t valid[kRemembered] = {}, keep[kRemembered] = {};
    std::int32_t vouches = 0;
    // A major whose teams are all judged alike whatever their minor (none: all ones), and
    // whether they are kept: a sweeper of another major never reads a human's faction.
    std::uint32_t wholeMajor = ~std::uint32_t{0};
    std::int32_t wholeKeep = 0;
};

// The teams a sweep's memo held at its end, oldest first, and the major it judged whole: a
// crowd's sweeps meet the same few teams, and each one a screen meets unjudged ends its call on a
// box of cells, so the next sweep judges them first.
struct TeamSeeds {
    std::uint32_t major[kRemembered] = {}, minor[kRemembered] = {};
    std::size_t count = 0;
    std::uint32_t wholeMajor = ~std::uint32_t{0};
};

// A sweep's memory of the last kRemembered stored teams it judged, the oldest replaced first,
// kept in the terms its screens compare with (and left in `seeds`, when given, as it ends).
class TeamMemo {
public:
    explicit TeamMemo(ScreenTerms& terms, TeamSeeds* seeds = nullptr)
        : mTerms(terms), mSeeds(seeds) {}
    TeamMemo(const TeamMemo&) = delete;
    TeamMemo& operator=(const TeamMemo&) = delete;
    ~TeamMemo() {
        if (mSeeds != nullptr)
            Save(*mSeeds);
    }

    // Whether the team of `major` and `minor` is kept, judged by `judge(major, minor)` only when
    // not remembered.
    template <class Judge>
    bool Keeps(std::uint32_t major, std::uint32_t minor, Judge&& judge) {
        for (std::size_t k = 0; k < kRemembered; ++k)
            if (mTerms.valid[k] != 0 && mTerms.major[k] == major && mTerms.minor[k] == minor)
                return mTerms.keep[k] != 0;
        const bool keeps = judge(major, minor);
        mTerms.major[mOlder] = major;
        mTerms.minor[mOlder] = minor;
        mTerms.valid[mOlder] = -1;
        mTerms.keep[mOlder] = keeps ? -1 : 0;
        // Not as a remainder: GCC divides by multiplying, at every team judged.
        mOlder = mOlder + 1 == kRemembered ? 0 : mOlder + 1;
        return keeps;
    }

    // Judges by `judgeLane(major, minor)`, as a screen's unknown lanes would be, the team of
    // `major` and `minor`, then those the last sweep left in the seeds while the memo has room
    // (none pushes out one judged before), then the last sweep's major judged whole (of any
    // minor, by its meaning). A team's answer is the same whenever it is judged.
    template <class JudgeLane>
    void JudgeAhead(std::uint32_t major, std::uint32_t minor, JudgeLane&& judgeLane) {
        judgeLane(major, minor);
        if (mSeeds == nullptr)
            return;
        for (std::size_t s = 0; s < mSeeds->count; ++s)
            if (Remembers(mSeeds->major[s], mSeeds->minor[s]) || mTerms.valid[kRemembered - 1] == 0)
                judgeLane(mSeeds->major[s], mSeeds->minor[s]);
        if (mSeeds->wholeMajor != ~std::uint32_t{0})
            judgeLane(mSeeds->wholeMajor, 0u);
    }

private:
    bool Remembers(std::uint32_t major, std::uint32_t minor) const {
        for (std::size_t k = 0; k < kRemembered; ++k)
            if (mTerms.valid[k] != 0 && mTerms.major[k] == major && mTerms.minor[k] == minor)
                return true;
        return false;
    }

    void Save(TeamSeeds& seeds) const {
        seeds.count = 0;
        for (std::size_t n = 0; n < kRemembered; ++n) {
            const std::size_t k = mOlder + n < kRemembered ? mOlder + n : mOlder + n - kRemembered;
            if (mTerms.valid[k] == 0)
                continue;
            seeds.major[seeds.count] = mTerms.major[k];
            seeds.minor[seeds.count++] = mTerms.minor[k];
        }
        seeds.wholeMajor = mTerms.wholeMajor;
    }

    ScreenTerms& mTerms;
    TeamSeeds* mSeeds;
    std::size_t mOlder = 0;
};

// Judges the lanes of `block` whose team the screen did not know (`unknown`, then clear) by
// `judge(major, minor)`, the kept ones passed (and sure where `sure` says, all ones or none). A
// run of lanes of one team is judged once: a block's unknown lanes are mostly of the team just
// met, and judged again it answers alike from the memo.
template <class Judge>
void JudgeUnknownLanes(WorldCells::Leftover& block, std::uint64_t sure, Judge&& judge) {
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    std::uint64_t kept = 0, team = 0;
    bool keeps = false, first = true;
    for (std::uint64_t unknown = block.unknown; unknown != 0; unknown &= unknown - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(unknown));
        const EntityGrid::Pack& p = block.packs[i / kWidth];
        const std::uint32_t major = p.gameWords[0][i % kWidth], minor = p.gameWords[1][i % kWidth];
        const std::uint64_t lane = std::uint64_t{major} << 32 | minor;
        if (first || lane != team) {
            keeps = judge(major, minor);
            team = lane;
            first = false;
        }
        kept |= std::uint64_t{keeps} << i;
    }
    block.passes |= kept;
    block.sure |= kept & sure;
    block.unknown = 0;
}

#if defined(__x86_64__)
// What a screen of a cell's entries answers, a bit per entry.
struct ScreenBits {
    std::uint64_t passes = 0, inSphere = 0, sure = 0, unknown = 0;
};

// What a screen that marks answers (two words: they come back in registers).
struct ScreenPasses {
    std::uint64_t passes = 0, unknown = 0;
};

struct OctTerms;
using OctScreen = ScreenBits (*)(const EntityGrid::Pack*, std::size_t, const Vec3&, const Sphere&,
                                 const OctTerms&);
using OctMarkingScreen = ScreenPasses (*)(const EntityGrid::Pack*, std::size_t, const Vec3&,
                                          const Sphere&, const OctTerms&, WorldCells::SweepMarker&);
using OctBoxScreen = std::size_t (*)(const EntityGrid&, WorldCells::CellWalk&, const Vec3&,
                                     const Sphere&, const OctTerms&, WorldCells::SweepMarker&);

// The same terms in every lane of eight, so that a screen compares with them where they lie;
// `sureMask` and `sure` the flags of a lane sure of without its entry (written, its own team
// and, when it must be, its own path position); the judged teams, the kept ones in the first
// slots and the refused ones in the last; the major judged whole; `vouches` all ones when the
// kept plain lanes are sure of. The screens chosen for as many teams as are judged, so a block
// takes no branch on them.
struct OctTerms {
    WorldCells::OctWords plainMask, plain, sureMask, sure, self;
    WorldCells::OctWords major[kRemembered], minor[kRemembered], wholeMajor;
    std::uint64_t vouches = 0;
    OctScreen screen = nullptr;
    OctMarkingScreen markingScreen = nullptr;
    OctBoxScreen boxScreen = nullptr;
};

// Spreads `t` into every lane (only where HasEightLanes).
[[gnu::target("avx2")]] void SpreadTerms(const ScreenTerms& t, OctTerms& out);

// The sphere test and the screen eight lanes at a time (where the processor has them), a pack
// at a time: the entities the sphere holds (in `inSphere`, as SphereMask finds them) screened
// with the same answers as four at a time, save that plain lanes of a team not remembered come
// back in `unknown`, not yet judged. Only lanes the sphere holds are answered for. (One result
// in memory: three written through references cost the caller more.)
inline ScreenBits SphereScreenOct(const EntityGrid::Pack* packs, std::size_t count,
                                  const Vec3& toQuery, const Sphere& sphere, const OctTerms& t) {
    return t.screen(packs, count, toQuery, sphere, t);
}

// SphereScreenOct of a sweep's block, marking the lanes it is sure of itself (their entries of
// `marker.entries`, in `marker`; see World::SweepSphere) and leaving them out of `passes`. Only
// where HasEightLanesAndScans. (Marked here, a crowd's kept foe costs a few instructions less
// than in the sweep's own loop.)
inline ScreenPasses SphereScreenMarkOct(const EntityGrid::Pack* packs, std::size_t count,
                                        const Vec3& toQuery, const Sphere& sphere,
                                        const OctTerms& t, WorldCells::SweepMarker& marker) {
    return t.markingScreen(packs, count, toQuery, sphere, t, marker);
}

// SphereScreenMarkOct of each block of the grid's box of cells from `walk` on (see
// World::SweepSphere's screens of a box), the blocks with lanes passed or unknown left in
// `marker.leftovers` (their `sure` clear): a crowd's blocks, mostly settled by their marks, cost
// no call each. Only where HasEightLanesAndScans.
inline std::size_t SphereScreenMarkBoxOct(const EntityGrid& grid, WorldCells::CellWalk& walk,
                                          const Vec3& toQuery, const Sphere& sphere,
                                          const OctTerms& t, WorldCells::SweepMarker& marker) {
    return t.boxScreen(grid, walk, toQuery, sphere, t, marker);
}
#endif

}  // namespace GAME::SightScreen
