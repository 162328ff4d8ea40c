// Eight foes weighed at once against the same float operations one foe at a time: each lane's id,
// slot, amount and reach must come back in its own place of the list's columns, bit for bit, and
// nothing else be written, with the entries lying out of order in memory; and a group with any
// lane that does not anger, lacks its own path position or stands (or has that position) in
// another region is refused with nothing written.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Engine/world/EntityGrid.h"
#include "Engine/world/Region.h"
#include "Engine/world/WorldSweep.h"
#include "Game/ai/anger/SightWeighing.h"
#include "Game/characters/movement/SightDigest.h"

namespace GAME::test {
namespace {

constexpr std::size_t kEight = 8;
// Where the foes' entries lie among the cell's: shuffled, before and after the first.
constexpr std::array<std::size_t, kEight> kPicked = {6, 11, 2, 9, 0, 7, 3, 10};
// A list's places, and the first the group is weighed into.
constexpr std::size_t kListed = 21, kFirstPlace = 5;

SightTerms Terms() {
    SightTerms t;
    t.selfWorld = Vec3(110.0f, 6.0f, -35.0f);
    t.measuredFrom = Vec3(111.0f, 5.5f, -34.0f);
    t.innerDistance = 4.0f;
    t.innerRate = 3.0f;
    t.rate = 1.5f;
    t.viewDistance = 25.0f;
    t.ms = 200.0f;
    t.scale = 2.0f;
    return t;
}

float Squared(float x, float y, float z) {
    return x * x + y * y + z * z;
}

// One foe, as the terms describe it.
AngerTable::Provoked WeighOne(const EntityGrid::Entry& e, const Vec3& offset, const SightTerms& t,
                              float& reach) {
    const Vec3& p = e.game.gamePosition;
    const float distance =
        std::sqrt(Squared(p.x + offset.x - t.selfWorld.x, p.y + offset.y - t.selfWorld.y,
                          p.z + offset.z - t.selfWorld.z));
    const float rate = distance < t.innerDistance
                           ? t.innerRate
                           : t.rate * (1.0f - 0.1f * distance / t.viewDistance);
    const float anger = rate * t.ms * 0.001f;
    reach = Squared(e.position.x + offset.x - t.measuredFrom.x,
                    e.position.y + offset.y - t.measuredFrom.y,
                    e.position.z + offset.z - t.measuredFrom.z);
    return AngerTable::Provoked{e.objectId, e.slot, t.scale * anger * e.game.gameScale};
}

// A cell of twelve plain foes standing in `region`.
std::vector<EntityGrid::Entry> Cell(Region& region) {
    std::vector<EntityGrid::Entry> cell(12);
    for (std::size_t i = 0; i < cell.size(); ++i) {
        EntityGrid::Entry& e = cell[i];
        const auto f = static_cast<float>(i);
        e.position = Vec3(9.0f + 1.5f * f, 0.5f * f, 6.0f - f);
        e.slot = 100 + static_cast<std::uint32_t>(i);
        e.objectId = 5000 + 7 * static_cast<std::uint32_t>(i);
        e.region = &region;
        e.game.gameFlags = SightDigest::kWritten | SightDigest::kCharacter | SightDigest::kAlive |
                           SightDigest::kCausesAnger | SightDigest::kOwnPathPosition;
        e.game.gameScale = 0.5f + 0.25f * f;
        e.game.gameRegion = &region;
        // Some within the inner distance of the monster, the rest beyond it.
        e.game.gamePosition = Vec3(10.0f + 2.0f * f, 1.0f, 5.0f - 0.75f * f);
    }
    return cell;
}

std::array<const EntityGrid::Entry*, kEight> Picked(const std::vector<EntityGrid::Entry>& cell) {
    std::array<const EntityGrid::Entry*, kEight> foes{};
    for (std::size_t k = 0; k < kEight; ++k)
        foes[k] = &cell[kPicked[k]];
    return foes;
}

struct Spoil {
    const char* name;
    std::size_t lane;  // kEight: none
    std::uint32_t dropFlags;
    bool otherRegion, otherPathRegion;
    // A region pointer that differs from the right one in these bits alone (never followed).
    std::uintptr_t regionBits = 0, pathRegionBits = 0;
};

Region* Differing(Region* region, std::uintptr_t bits) {
    return reinterpret_cast<Region*>(reinterpret_cast<std::uintptr_t>(region) ^ bits);
}

TEST(SightWeighingTest, EightFoesMatchOneAtATime) {
    if (!WorldCells::HasEightLanes())
        GTEST_SKIP() << "no eight lanes here";
    Region region("R", Vec3(100.0f, 5.0f, -40.0f));
    Region other("O", Vec3(-300.0f, 0.0f, 0.0f));
    const SightTerms terms = Terms();
    SightLaneTerms laneTerms;
    SpreadSightTerms(terms, laneTerms);
    const Spoil spoils[] = {
        {"plain", kEight, 0, false, false},
        {"first lane calm", 0, SightDigest::kCausesAnger, false, false},
        {"last lane calm", 7, SightDigest::kCausesAnger, false, false},
        {"no own path position", 4, SightDigest::kOwnPathPosition, false, false},
        {"stands elsewhere", 3, 0, true, false},
        {"path position elsewhere", 5, 0, false, true},
        // Pointers compared half by half: either half alone differing refuses the group.
        {"region differs above 32 bits", 2, 0, false, false, std::uintptr_t{1} << 40, 0},
        {"region differs below 32 bits", 6, 0, false, false, 64, 0},
        {"path region differs above 32 bits", 1, 0, false, false, 0, std::uintptr_t{1} << 44},
        {"path region differs below 32 bits", 7, 0, false, false, 0, 128},
    };
    for (const Spoil& spoil : spoils) {
        SCOPED_TRACE(spoil.name);
        std::vector<EntityGrid::Entry> cell = Cell(region);
        const std::array<const EntityGrid::Entry*, kEight> foes = Picked(cell);
        if (spoil.lane < kEight) {
            EntityGrid::Entry& e = cell[kPicked[spoil.lane]];
            e.game.gameFlags &= ~spoil.dropFlags;
            if (spoil.otherRegion)
                e.region = &other;
            if (spoil.otherPathRegion)
                e.game.gameRegion = &other;
            e.region = Differing(e.region, spoil.regionBits);
            e.game.gameRegion = Differing(e.game.gameRegion, spoil.pathRegionBits);
        }
        // The group weighed into places amid a list's, each column with room past them.
        SightList list;
        list.Reserve(kListed);
        const AngerTable::Provoked untouched{1, 2, -1.0f};
        for (std::size_t k = 0; k < kListed; ++k)
            list.At(k).Put(untouched, -1.0f);
        const bool weighed = WeighEightFoes(foes.data(), laneTerms, list.At(kFirstPlace));
        ASSERT_EQ(weighed, spoil.lane == kEight);
        const AngerTable::ProvokedColumns columns = list.Provocations();
        for (std::size_t k = 0; k < kListed; ++k) {
            SCOPED_TRACE(k);
            const bool placed = weighed && k >= kFirstPlace && k < kFirstPlace + kEight;
            float oneReach = -1.0f;
            const AngerTable::Provoked want =
                placed ? WeighOne(*foes[k - kFirstPlace], region.GetOffset(), terms, oneReach)
                       : untouched;
            EXPECT_EQ(columns.ids[k], want.id);
            EXPECT_EQ(columns.worldSlots[k], want.worldSlot);
            EXPECT_EQ(columns.amounts[k], want.amount);
            EXPECT_EQ(list.Reach()[k], oneReach);
        }
    }
}

// One tick's terms weigh groups in turn from several regions: each group by its own region's
// offset, and a group whose first foe stands in another region than the rest, or in none, is
// refused.
TEST(SightWeighingTest, GroupsInTurnFromSeveralRegions) {
    if (!WorldCells::HasEightLanes())
        GTEST_SKIP() << "no eight lanes here";
    Region first("A", Vec3(100.0f, 5.0f, -40.0f));
    Region second("B", Vec3(-60.0f, 2.0f, 30.0f));
    constexpr std::size_t kNowhere = 2;
    std::vector<EntityGrid::Entry> cells[] = {Cell(first), Cell(second), Cell(first)};
    for (EntityGrid::Entry& e : cells[kNowhere])
        e.region = e.game.gameRegion = nullptr;
    const SightTerms terms = Terms();
    // Zeros where the spreading leaves lanes as they were: a null region's words.
    SightLaneTerms laneTerms{};
    SpreadSightTerms(terms, laneTerms);
    // Where the first foe and the rest stand; the first group before any region was spread.
    struct Turn {
        std::size_t firstIn, restIn;
    };
    const Turn turns[] = {{2, 2}, {0, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0},
                          {1, 0}, {1, 1}, {2, 2}, {1, 1}, {2, 0}, {0, 0}};
    Region* const regions[] = {&first, &second};
    for (std::size_t t = 0; t < std::size(turns); ++t) {
        SCOPED_TRACE(t);
        const Turn turn = turns[t];
        auto foes = Picked(cells[turn.restIn]);
        foes[0] = &cells[turn.firstIn][kPicked[0]];
        SightList list;
        list.Reserve(kEight);
        const bool weighed = WeighEightFoes(foes.data(), laneTerms, list.At(0));
        ASSERT_EQ(weighed, turn.firstIn == turn.restIn && turn.firstIn != kNowhere);
        for (std::size_t k = 0; weighed && k < kEight; ++k) {
            float oneReach = -1.0f;
            const AngerTable::Provoked want =
                WeighOne(*foes[k], regions[turn.firstIn]->GetOffset(), terms, oneReach);
            EXPECT_EQ(list.Provocations().amounts[k], want.amount) << k;
            EXPECT_EQ(list.Reach()[k], oneReach) << k;
        }
    }
}

// A run of groups stops at the first refused one: it comes back with the place past the groups
// before it, which hold their own foes, and nothing from it on is written.
TEST(SightWeighingTest, RunStopsAtTheFirstRefusedGroup) {
    if (!WorldCells::HasEightLanes())
        GTEST_SKIP() << "no eight lanes here";
    Region region("R", Vec3(100.0f, 5.0f, -40.0f));
    std::vector<EntityGrid::Entry> cell = Cell(region), calm = Cell(region);
    for (EntityGrid::Entry& e : calm)
        e.game.gameFlags &= ~SightDigest::kCausesAnger;
    const SightTerms terms = Terms();
    SightLaneTerms laneTerms;
    SpreadSightTerms(terms, laneTerms);
    constexpr std::size_t kGroups = 3, kNone = kGroups;
    struct Run {
        std::size_t groups, refused;  // refused: the calm group, or kNone
    };
    const Run runs[] = {{0, kNone}, {3, kNone}, {3, 0}, {3, 1}, {3, 2}, {2, 1}};
    for (const Run& run : runs) {
        SCOPED_TRACE(::testing::Message() << run.groups << " groups, refused " << run.refused);
        std::vector<const EntityGrid::Entry*> foes;
        for (std::size_t g = 0; g < kGroups; ++g) {
            const auto group = Picked(g == run.refused ? calm : cell);
            foes.insert(foes.end(), group.begin(), group.end());
        }
        SightList list;
        list.Reserve(kListed + kGroups * kEight);
        const AngerTable::Provoked untouched{1, 2, -1.0f};
        for (std::size_t k = 0; k < kListed + kGroups * kEight; ++k)
            list.At(k).Put(untouched, -1.0f);
        const EntityGrid::Entry* const* const end = foes.data() + run.groups * kEight;
        SightList::Place at = list.At(kFirstPlace);
        const EntityGrid::Entry* const* const stop =
            WeighEightsWhile(foes.data(), end, laneTerms, at);
        const std::size_t weighed = std::min(run.groups, run.refused);
        ASSERT_EQ(stop, foes.data() + weighed * kEight);
        ASSERT_EQ(list.Before(at), kFirstPlace + weighed * kEight);
        for (std::size_t k = 0; k < kListed + kGroups * kEight; ++k) {
            SCOPED_TRACE(k);
            const bool placed = k >= kFirstPlace && k < kFirstPlace + weighed * kEight;
            float oneReach = -1.0f;
            const AngerTable::Provoked want =
                placed ? WeighOne(*foes[k - kFirstPlace], region.GetOffset(), terms, oneReach)
                       : untouched;
            EXPECT_EQ(list.Provocations().ids[k], want.id);
            EXPECT_EQ(list.Provocations().amounts[k], want.amount);
            EXPECT_EQ(list.Reach()[k], oneReach);
        }
    }
}

}  // namespace
}  // namespace GAME::test
