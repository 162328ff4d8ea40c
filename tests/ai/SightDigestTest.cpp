// The digest monster sight reads instead of each character: it must say what the character says
// after every kind of change (and so must the copy in its grid cell), and anger entries must find
// their characters again after they leave the world, come back elsewhere, or their old slot goes to
// someone else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "AiTestSupport.h"
#include "Engine/world/WorldSweep.h"
#include "Game/ai/anger/AngerManager.h"
#include "Game/ai/monster/SightScreen.h"
#include "Game/characters/movement/SightDigest.h"

namespace GAME::test {
namespace {

using namespace SightDigest;

class SightDigestTest : public ::testing::Test {
protected:
    void SetUp() override {
        region = World::Get().AddRegion(std::make_unique<Region>("F", Vec3(), Vec3(200, 50, 200)));
        me = Place("Records/AI/Foe.dbr", Team::Monster, 10);
        a = Place("Records/AI/Foe.dbr", Team::Human, 20);
        calm = Place("Records/AI/Calm.dbr", Team::Human, 30);
        loud = Place("Records/AI/Provoking.dbr", Team::Human, 40);
    }
    Character* Place(const char* record, unsigned major, float x) {
        Character* c = PlaceCharacter(record, major, region, Vec3(x, 0, 10));
        all.push_back(c);
        return c;
    }
    const EntityDigest& Of(const Character* c) {
        const std::uint32_t slot = World::Get().GetSlotOf(c);
        EXPECT_NE(slot, World::kNoSlot);
        return Fetch(World::Get(), slot);
    }
    void ExpectAllMatch(const char* when) {
        for (const Character* c : all) {
            if (c->IsInWorld()) {
                EXPECT_TRUE(Matches(Of(c), *c)) << when << ": id " << c->GetObjectId();
                EXPECT_TRUE(GridCopyMatches(c)) << when << ": id " << c->GetObjectId();
            }
        }
    }
    // Whether the copy a sweep reads in the character's grid cell is the digest's.
    bool GridCopyMatches(const Character* c) {
        bool same = false;
        World::Get().SweepSphere(
            c->GetRegion(), Sphere{c->GetCoords().coords.origin, 0.5f}, EntityListType::All,
            [c](const EntityGrid::Entry& entry) { return entry.entity == c; },
            [&](const EntityGrid::Entry& entry) { same = SameGamePart(entry.game, Of(c)); });
        return same;
    }
    void MoveTo(Character* c, float x) {
        World::Get().SetCoords(c, WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, 10))));
    }
    AiDataRoot data;
    TestMachine tm{data.Root()};
    Region* region = nullptr;
    std::vector<Character*> all;
    Character *me = nullptr, *a = nullptr, *calm = nullptr, *loud = nullptr;
    AngerManager anger;
};

TEST_F(SightDigestTest, TheDigestFollowsEveryChangeOfWhatSightReads) {
    ExpectAllMatch("placed");
    EXPECT_TRUE(Has(Of(a), kCharacter) && Has(Of(a), kAlive) && Has(Of(a), kCausesAnger));
    EXPECT_FALSE(Has(Of(calm), kCausesAnger));
    EXPECT_EQ(Of(loud).gameScale, 2.0f);

    // Without a path position of its own the character is seen where it stands; once read, the
    // path position stays where it was while the body moves on.
    MoveTo(a, 25);
    EXPECT_EQ(PathPosition(Of(a)).local, Vec3(25, 0, 10));
    EXPECT_EQ(a->GetPathPosition().local, Vec3(25, 0, 10));
    MoveTo(a, 27);
    EXPECT_EQ(PathPosition(Of(a)).local, Vec3(25, 0, 10));
    a->SetPathPosition(WorldVec3(region, Vec3(26, 0, 11)));
    EXPECT_EQ(PathPosition(Of(a)).local, Vec3(26, 0, 11));
    ExpectAllMatch("moved");

    a->SetTeam(TeamManager::BuildTeam(Team::Monster, Team::Red));
    EXPECT_EQ(Of(a).gameWords[0], static_cast<std::uint32_t>(Team::Monster));
    EXPECT_EQ(Of(a).gameWords[1], static_cast<std::uint32_t>(Team::Red));
    a->SetInvisible(true);
    EXPECT_EQ(Of(a).gameWords[0], static_cast<std::uint32_t>(Team::Friendly));
    a->SetInvisible(false);
    loud->SetObserverMode(true);
    EXPECT_FALSE(Has(Of(loud), kAlive));
    calm->SetCausesAnger(true);
    EXPECT_TRUE(Has(Of(calm), kCausesAnger));
    a->SetLifeState(Character_LifeState::Dead);
    EXPECT_FALSE(Has(Of(a), kAlive));
    ExpectAllMatch("changed");

    // A slot given up and taken again holds nothing of its former character.
    const std::uint32_t slot = World::Get().GetSlotOf(a);
    World::Get().RemoveEntity(a);
    EXPECT_EQ(World::Get().FindDigest(a), nullptr);
    EXPECT_FALSE(World::Get().SlotHolds(slot, a->GetObjectId()));
    Character* next = Place("Records/AI/Foe.dbr", Team::Human, 50);
    ASSERT_EQ(World::Get().GetSlotOf(next), slot);
    EXPECT_TRUE(Has(Of(next), kAlive));
    ExpectAllMatch("slot reused");
}

TEST_F(SightDigestTest, AngerFindsItsEnemiesWhereverTheyStandNow) {
    World& world = World::Get();
    const std::uint32_t slotOfA = world.GetSlotOf(a);
    anger.AddAnger(Of(a), a->GetObjectId(), slotOfA, 30.0f);
    anger.AddAnger(Of(loud), loud->GetObjectId(), world.GetSlotOf(loud), 5.0f);
    // a leaves; another takes its slot; a comes back elsewhere, farther than before.
    world.RemoveEntity(a);
    Character* stranger = Place("Records/AI/Foe.dbr", Team::Human, 15);
    ASSERT_EQ(world.GetSlotOf(stranger), slotOfA);
    world.AddEntity(a, WorldCoords(region, Coords::FromOrigin(Vec3(35, 0, 10))), true);
    ASSERT_NE(world.GetSlotOf(a), slotOfA);
    anger.Update(0, 0.0f, me);
    EXPECT_GT(anger.GetAnger(a->GetObjectId()), 0.0f);
    EXPECT_EQ(anger.GetAnger(stranger->GetObjectId()), 0.0f);
    std::uint32_t closest = 0;
    float distance = 0;
    anger.GetClosestEnemy(closest, distance);
    EXPECT_EQ(closest, a->GetObjectId());
    EXPECT_FLOAT_EQ(distance, 25.0f);
    EXPECT_EQ(anger.GetNewTarget(0.0f), a);

    // Dead where it stands now, it is passed over and then forgotten; out of the world, so is
    // the other.
    a->SetLifeState(Character_LifeState::Dead);
    EXPECT_EQ(anger.GetNewTarget(0.0f), loud);
    world.RemoveEntity(loud);
    anger.Update(0, 0.0f, me);
    EXPECT_TRUE(anger.GetAngerTable().empty());
}

// A sweep judges a stored team once while it is among the last few judged; a team pushed out
// is judged again, and the screens' terms never hold an answer for the wrong team.
TEST(SightScreenTeamMemo, JudgesEachTeamOnceWhileRemembered) {
    SightScreen::ScreenTerms terms;
    SightScreen::TeamMemo memo(terms);
    std::vector<std::uint32_t> judged;
    const auto judge = [&](std::uint32_t major, std::uint32_t minor) {
        judged.push_back(major * 10 + minor);
        return (major + minor) % 2 == 0;
    };
    struct Row {
        std::uint32_t major, minor;
        bool judgedNow;
    };
    // Three remembered, the oldest judged pushed out first (a team met again stays as old).
    const Row rows[] = {{1, 1, true}, {1, 2, true},  {1, 1, false}, {2, 1, true},
                        {2, 2, true}, {1, 2, false}, {1, 1, true},  {2, 1, false},
                        {1, 2, true}, {1, 1, false}, {3, 1, true},  {1, 2, false}};
    for (const Row& row : rows) {
        const std::size_t before = judged.size();
        EXPECT_EQ(memo.Keeps(row.major, row.minor, judge), (row.major + row.minor) % 2 == 0)
            << row.major << "/" << row.minor;
        EXPECT_EQ(judged.size() > before, row.judgedNow) << row.major << "/" << row.minor;
    }
    for (std::size_t k = 0; k < SightScreen::kRemembered; ++k) {
        EXPECT_NE(terms.valid[k], 0);
        EXPECT_EQ(terms.keep[k] != 0, (terms.major[k] + terms.minor[k]) % 2 == 0);
    }
}

// The next sweep judges its own team first, then what the last one's memo held, oldest first,
// while there is room: none pushes out its own. The major judged whole comes last.
TEST(SightScreenTeamMemo, JudgesTheLastSweepsTeamsAheadWhileThereIsRoom) {
    constexpr std::uint32_t kNone = ~std::uint32_t{0};
    struct Row {
        std::vector<std::uint32_t> met;  // major * 10 + minor, judged by the last sweep in turn
        std::uint32_t wholeMajor;
        std::vector<std::uint32_t> ahead;  // judged ahead by the next, after its own 9/9
    };
    const Row rows[] = {{{}, kNone, {}},
                        {{11}, kNone, {11}},
                        {{11, 12, 21, 22}, kNone, {12, 21}},
                        {{99, 11, 12}, kNone, {11, 12}},
                        {{11, 99, 12, 13}, kNone, {12, 13}},
                        {{11}, 5, {11, 50}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "met " << row.met.size() << " whole " << row.wholeMajor);
        std::vector<std::uint32_t> judged;
        const auto judge = [&](std::uint32_t major, std::uint32_t minor) {
            judged.push_back(major * 10 + minor);
            return major > minor;
        };
        SightScreen::TeamSeeds seeds;
        {
            SightScreen::ScreenTerms terms;
            SightScreen::TeamMemo memo(terms, &seeds);
            for (const std::uint32_t team : row.met)
                memo.Keeps(team / 10, team % 10, judge);
            terms.wholeMajor = row.wholeMajor;
        }
        SightScreen::ScreenTerms terms;
        SightScreen::TeamMemo memo(terms, &seeds);
        judged.clear();
        memo.JudgeAhead(9, 9, [&](std::uint32_t major, std::uint32_t minor) {
            return memo.Keeps(major, minor, judge);
        });
        std::vector<std::uint32_t> ahead{99};
        ahead.insert(ahead.end(), row.ahead.begin(), row.ahead.end());
        EXPECT_EQ(judged, ahead);
        // Each judged ahead answers from the memo, the sweeper's own team too.
        judged.clear();
        for (const std::uint32_t team : ahead)
            EXPECT_EQ(memo.Keeps(team / 10, team % 10, judge), team / 10 > team % 10);
        EXPECT_TRUE(judged.empty());
    }
}

// A block's unknown lanes take their own team's judgment, a run of lanes of one team judged
// once and in lane order (team 0/0 too, and teams of one major apart); what the block passed or
// was sure of before stays so, and the unknown lanes are left clear.
TEST(SightScreenTeamMemo, JudgesARunOfUnknownLanesOfOneTeamOnce) {
    // Lanes 0-3 and 12-15 of team 0/0 (kept), 4-7 of 1/0 (refused), 8-11 of 1/1 (kept).
    EntityGrid::Pack packs[2] = {};
    for (std::uint32_t i = 0; i < 16; ++i) {
        packs[i / 8].gameWords[0][i % 8] = i >= 4 && i < 12 ? 1 : 0;
        packs[i / 8].gameWords[1][i % 8] = i >= 8 && i < 12 ? 1 : 0;
    }
    struct Row {
        std::uint64_t unknown, sure;
        std::vector<std::uint32_t> judged;  // major * 10 + minor, in turn
        std::uint64_t kept;
    };
    const Row rows[] = {{0x000F, 0, {0}, 0x000F},
                        {0x03FC, ~std::uint64_t{0}, {0, 10, 11}, 0x030C},
                        {0x1018, ~std::uint64_t{0}, {0, 10, 0}, 0x1008},
                        {0x00E0, 0, {10}, 0},
                        {0xF000, 0, {0}, 0xF000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "unknown " << row.unknown);
        constexpr std::uint64_t kPassed = std::uint64_t{1} << 40 | 1, kSure = 1;
        WorldCells::Leftover block{packs, nullptr, kPassed, kSure, row.unknown};
        std::vector<std::uint32_t> judged;
        SightScreen::JudgeUnknownLanes(block, row.sure,
                                       [&](std::uint32_t major, std::uint32_t minor) {
                                           judged.push_back(major * 10 + minor);
                                           return (major + minor) % 2 == 0;
                                       });
        EXPECT_EQ(judged, row.judged);
        EXPECT_EQ(block.passes, kPassed | row.kept);
        EXPECT_EQ(block.sure, kSure | (row.kept & row.sure));
        EXPECT_EQ(block.unknown, 0u);
    }
}

#if defined(__x86_64__)
// A screen answers as lane-by-lane judging does whichever remembered slots hold judged teams,
// none of them to all (an unjudged slot's words may equal a lane's team), and whichever major is
// judged whole (agreeing with a slot of its own, as a sweep's judgments do).
TEST(SightScreenOct, AnswersForTheJudgedTeamsOnly) {
    if (!WorldCells::HasEightLanes())
        GTEST_SKIP() << "no eight lanes";
    constexpr std::uint32_t kPlainMask = kWritten | kCharacter | kTeamFromCharacter;
    constexpr std::uint32_t kPlain = kWritten | kCharacter, kSelf = 5;
    // Entries in the sphere (x up to 12.5) from 0 to 12, and in the "two" layouts from 34 to 46
    // too; the others far off. Blocks of one to eight packs, with lanes past the last entry and
    // packs the sphere misses between and after those it holds.
    struct Shape {
        std::size_t count;
        bool two;
    };
    const Shape shapes[] = {{3, false}, {15, false}, {20, false}, {29, false}, {37, true},
                            {44, true}, {56, true},  {61, true},  {64, false}};
    EntityGrid::Pack packs[8] = {};
    for (std::uint32_t i = 0; i < 64; ++i) {
        EntityGrid::Pack& p = packs[i / 8];
        p.slot[i % 8] = i;
        // Teams 1/0 to 4/0 in turn; every fifth lane an unsure one, every seventh unwritten.
        p.gameFlags[i % 8] = i % 7 == 6 ? 0u : i % 5 == 4 ? kPlain | kTeamFromCharacter : kPlain;
        p.gameWords[0][i % 8] = 1 + i % 4;
        // Major 4's minors differ, which a major judged whole does not read.
        p.gameWords[1][i % 8] = i % 4 == 3 ? i : 0;
    }
    struct Row {
        std::int32_t valid[3];
        std::int32_t vouches;
        std::uint32_t wholeMajor = ~std::uint32_t{0};
        std::int32_t wholeKeep = 0;
    };
    const Row rows[] = {{{0, 0, 0}, -1},         {{0, -1, 0}, -1},        {{-1, 0, -1}, 0},
                        {{0, -1, -1}, -1},       {{-1, -1, -1}, -1},      {{0, 0, 0}, -1, 4, -1},
                        {{-1, 0, -1}, 0, 4, -1}, {{0, -1, 0}, -1, 4, 0},  {{0, -1, 0}, -1, 2, 0},
                        {{-1, 0, 0}, -1, 1, -1}, {{0, 0, -1}, -1, 3, -1}, {{0, 0, 0}, -1, 2, 0}};
    for (const Shape& shape : shapes)
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message()
                         << "count " << shape.count << (shape.two ? " two " : " ") << row.valid[0]
                         << row.valid[1] << row.valid[2] << " whole " << row.wholeMajor);
            for (std::uint32_t i = 0; i < 64; ++i) {
                const bool twice = shape.two && i >= 34 && i < 50;
                packs[i / 8].x[i % 8] = i < 13  ? static_cast<float>(i)
                                        : twice ? static_cast<float>(i - 34)
                                                : 100.0f;
            }
            SightScreen::ScreenTerms terms{kPlainMask, kPlain, 0, kSelf};
            for (std::size_t k = 0; k < SightScreen::kRemembered; ++k) {
                terms.major[k] = static_cast<std::uint32_t>(k) + 1;  // an unjudged one too
                terms.valid[k] = row.valid[k];
                terms.keep[k] = k == 1 ? 0 : -1;
            }
            terms.vouches = row.vouches;
            terms.wholeMajor = row.wholeMajor;
            terms.wholeKeep = row.wholeKeep;
            SightScreen::OctTerms oct;
            SightScreen::SpreadTerms(terms, oct);
            const std::size_t count = shape.count;
            const SightScreen::ScreenBits bits =
                SightScreen::SphereScreenOct(packs, count, Vec3(), Sphere{Vec3(), 12.5f}, oct);
            std::uint64_t inSphere = 0, passes = 0, sure = 0, unknown = 0;
            for (std::uint32_t i = 0; i < count; ++i) {
                if (packs[i / 8].x[i % 8] > 12.5f)
                    continue;
                const std::uint32_t flags = packs[i / 8].gameFlags[i % 8], team = 1 + i % 4;
                const bool plain = (flags & kPlainMask) == kPlain && i != kSelf;
                const bool whole = team == row.wholeMajor;
                const bool known = whole || (team <= 3 && row.valid[team - 1] != 0);
                const bool keeps = known && (whole ? row.wholeKeep != 0 : team != 2);
                const bool unsure = (flags & kWritten) == 0 || (flags & kTeamFromCharacter) != 0;
                inSphere |= std::uint64_t{1} << i;
                passes |= std::uint64_t{plain ? keeps : unsure} << i;
                sure |= std::uint64_t{plain && keeps && row.vouches != 0} << i;
                unknown |= std::uint64_t{plain && !known} << i;
            }
            EXPECT_EQ(bits.inSphere, inSphere);
            EXPECT_EQ(bits.passes, passes);
            EXPECT_EQ(bits.sure, sure);
            EXPECT_EQ(bits.unknown, unknown);
            if (!WorldCells::HasEightLanesAndScans())
                continue;
            // Marking what it is sure of itself, after two ranks already kept: the same
            // answers, the sure ones marked (ranks falling as lanes rise) instead of passed.
            constexpr std::uint32_t kRanks = 2 * 64 + 2;
            EntityGrid::Entry entries[64];
            const EntityGrid::Entry* at[kRanks] = {};
            for (std::uint32_t i = 0; i < 64; ++i) {
                entries[i].rank = kRanks - 2 - 2 * i;
                at[entries[i].rank] = &entries[i];
            }
            unsigned char marks[kRanks] = {};
            std::uint32_t ranks[kRanks] = {1, 3};
            WorldCells::SweepMarker marker{at, marks, ranks, 2, entries};
            const SightScreen::ScreenPasses marking = SightScreen::SphereScreenMarkOct(
                packs, count, Vec3(), Sphere{Vec3(), 12.5f}, oct, marker);
            EXPECT_EQ(marking.passes, passes & ~sure);
            EXPECT_EQ(marking.unknown, unknown);
            std::vector<std::uint32_t> wantRanks = {1, 3};
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint32_t rank = entries[i].rank;
                const bool marked = (sure >> i & 1) != 0;
                if (marked)
                    wantRanks.push_back(rank);
                EXPECT_EQ(marks[rank], marked ? WorldCells::kMarked : 0) << "lane " << i;
            }
            EXPECT_EQ(std::vector<std::uint32_t>(ranks, ranks + marker.found), wantRanks);
        }
}

// A screen of a box of cells answers as the marking screen of each of its blocks in turn: the
// same blocks left (each with the same lanes), the same ranks marked in the same order, whichever
// cells it covers and however many calls its room for leftovers and its unjudged teams take.
TEST(SightScreenOct, ScreensABoxAsEachOfItsBlocks) {
    if (!WorldCells::HasEightLanesAndScans())
        GTEST_SKIP() << "no eight lanes";
    constexpr std::uint32_t kPlainMask = kWritten | kCharacter | kTeamFromCharacter;
    constexpr std::uint32_t kPlain = kWritten | kCharacter;
    struct Row {
        std::size_t counts[6];  // cell (x, z) holds counts[(x + z) % 6]
        int x0, x1, z0, z1;
        bool judged;  // every team, or teams 3 and 4 not yet
    };
    // Empty cells, a block and a lane past it, a cell of more blocks than a call has room for.
    const Row rows[] = {{{3, 0, 70, 0, 13, 64}, 0, 5, 0, 0, false},
                        {{9, 65, 1, 0, 128, 8}, 1, 4, 0, 2, false},
                        {{9, 65, 1, 0, 128, 8}, 0, 5, 0, 2, true},
                        {{0, 0, 0, 0, 0, 0}, 0, 5, 0, 2, false},
                        {{0, 5, 2200, 40, 0, 0}, 1, 3, 1, 1, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.counts[0] << "," << row.counts[1] << "," << row.counts[2] << " from "
                     << row.x0 << "," << row.z0 << (row.judged ? " judged" : ""));
        // Cells of 8 m, four rows of six.
        EntityGrid grid(Vec3(), Vec3(40, 8, 24));
        std::uint32_t rank = 0;
        for (int x = 0; x < 6; ++x)
            for (int z = 0; z < 4; ++z)
                for (std::size_t i = 0; i < row.counts[(x + z) % 6]; ++i, ++rank) {
                    EntityGrid::Entry e;
                    e.position = Vec3(static_cast<float>(8 * x) + static_cast<float>(i % 8), 0,
                                      static_cast<float>(8 * z + static_cast<int>(i % 3)));
                    e.radius = 0.5f;
                    // Ranks not in cell order.
                    e.rank = rank * 7919 % 10007;
                    e.slot = rank;
                    // Teams 1 to 4 in turn; unsure lanes among them.
                    e.game.gameFlags = i % 7 == 6   ? 0u
                                       : i % 5 == 4 ? kPlain | kTeamFromCharacter
                                                    : kPlain;
                    e.game.gameWords[0] = 1 + static_cast<std::uint32_t>(i % 4);
                    grid.Insert(grid.CellIndexOf(e.position), e);
                }
        // Team 1 kept, 2 refused; judged, 3 kept and 4 refused whole.
        SightScreen::ScreenTerms terms{kPlainMask, kPlain, 0, 5};
        for (std::uint32_t k = 0; k < 3; ++k) {
            terms.major[k] = k + 1;
            terms.valid[k] = k < 2 || row.judged ? -1 : 0;
            terms.keep[k] = k == 1 ? 0 : -1;
        }
        if (row.judged)
            terms.wholeMajor = 4;
        terms.vouches = -1;
        SightScreen::OctTerms oct;
        SightScreen::SpreadTerms(terms, oct);
        const Sphere sphere{Vec3(20, 0, 10), 14};
        constexpr std::size_t kRanks = 10007;
        // The world's entry of each rank.
        std::vector<const EntityGrid::Entry*> at(kRanks);
        for (int cell = 0; cell < 6 * 4; ++cell)
            for (const EntityGrid::Entry& e : grid.CellEntries(cell))
                at[e.rank] = &e;
        struct Marks {
            const std::vector<const EntityGrid::Entry*>& at;
            std::vector<unsigned char> marks = std::vector<unsigned char>(kRanks);
            std::vector<std::uint32_t> ranks = std::vector<std::uint32_t>(kRanks);
            WorldCells::SweepMarker marker{at.data(), marks.data(), ranks.data(), 0, nullptr};
        };
        using Left = std::vector<std::tuple<const EntityGrid::Pack*, const EntityGrid::Entry*,
                                            std::uint64_t, std::uint64_t>>;
        Marks byBlock{at};
        Left blocksLeft;
        const WorldCells::CellWalk box{row.x0, row.z0, row.x0, row.x1, row.z1, 0};
        const WorldCells::CellWalk end{row.x1, row.z1, row.x0, row.x1, row.z1, SIZE_MAX};
        WorldCells::ForEachWalkBlock(
            grid, box, end,
            [&](const EntityGrid::Pack* packs, const EntityGrid::Entry* entries,
                std::size_t count) {
                byBlock.marker.entries = entries;
                const SightScreen::ScreenPasses bits = SightScreen::SphereScreenMarkOct(
                    packs, count, Vec3(), sphere, oct, byBlock.marker);
                if ((bits.passes | bits.unknown) != 0)
                    blocksLeft.emplace_back(packs, entries, bits.passes, bits.unknown);
            });
        // Listing every kept rank, or only the first few: the rest are then left out of the
        // list (ranks past its start need not be), from some row and call on.
        for (const std::size_t listed : {std::size_t{SIZE_MAX}, std::size_t{5}, std::size_t{0}}) {
            SCOPED_TRACE(::testing::Message() << "listing " << listed);
            Marks byBox{at};
            Left boxLeft;
            WorldCells::Leftover leftovers[WorldCells::kLeftovers];
            byBox.marker.leftovers = leftovers;
            byBox.marker.listed = listed;
            std::size_t calls = 0;
            for (WorldCells::CellWalk walk = box; walk.z <= row.z1 && calls < 100; ++calls) {
                const std::size_t left = SightScreen::SphereScreenMarkBoxOct(
                    grid, walk, Vec3(), sphere, oct, byBox.marker);
                for (std::size_t l = 0; l < left; ++l) {
                    // Teams to judge end a call.
                    EXPECT_EQ(leftovers[l].sure, 0u);
                    EXPECT_TRUE(l + 1 == left || leftovers[l].unknown == 0) << l;
                    boxLeft.emplace_back(leftovers[l].packs, leftovers[l].entries,
                                         leftovers[l].passes, leftovers[l].unknown);
                }
            }
            EXPECT_EQ(boxLeft, blocksLeft);
            EXPECT_EQ(byBox.marker.found, byBlock.marker.found);
            const std::size_t prefix = std::min(listed, byBlock.marker.found);
            EXPECT_TRUE(std::equal(byBox.ranks.begin(), byBox.ranks.begin() + prefix,
                                   byBlock.ranks.begin()));
            EXPECT_EQ(byBox.marks, byBlock.marks);
            EXPECT_LT(calls, 100u);
            EXPECT_TRUE(!row.judged || calls == blocksLeft.size() / WorldCells::kLeftovers + 1)
                << calls;
        }
    }
}
#endif

}  // namespace
}  // namespace GAME::test
