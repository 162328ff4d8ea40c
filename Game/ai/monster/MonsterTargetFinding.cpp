// How a monster comes to hate and choose an enemy: sight anger on 200 ms ticks, anger from
// attacks and taunts, and the enemy search that offers the state machine its targets.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldSweep.h"
#include "Game/ai/anger/SightWeighing.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/ai/monster/SightScreen.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/DistressCall.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

float VerticalDistance(const WorldVec3& a, const WorldVec3& b) {
    return std::fabs(a.GetWorldPosition().y - b.GetWorldPosition().y);
}

// The game's team rules; the teams' own without a root (null). A sweep looks them up once.
const TeamManager* TeamRules() {
    return gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
}

bool AreFoes(const TeamManager* rules, const Team& a, const Team& b) {
    return rules ? rules->IsFoe(a, b) : a.IsFoe(b);
}

bool AreFriends(const TeamManager* rules, const Team& a, const Team& b) {
    return rules ? rules->IsFriend(a, b) : a.IsFriend(b);
}

bool AreFoes(const Team& a, const Team& b) {
    return AreFoes(TeamRules(), a, b);
}

// Scratch of the sphere queries, one per machine: every monster searches several times a
// second.
struct SightScratch {
    std::vector<Entity*> found;
    // A sight tick's weighed foes, carried out together once the sweep is done.
    SightList weighed;
    SightScreen::TeamSeeds seeds;  // the last sweep's teams
};

SightScratch& Scratch() {
    return Singleton<SightScratch>::Get();
}

// What a sweep hands its callback of each character it keeps: the copy the world's grid cell
// holds of its digest.
struct SightSeen {
    World& world;
    const EntityGrid::Entry& entry;

    Character* GetCharacter() const { return static_cast<Character*>(entry.entity); }
    // Reading a character's path position stores the position it falls back on when it has
    // none: a sweep does so wherever reading the character would have.
    WorldVec3 GetPathPosition() const {
        if (!SightDigest::Has(entry.game, SightDigest::kOwnPathPosition))
            GetCharacter()->GetPathPosition();
        return SightDigest::PathPosition(entry.game, WorldVec3(entry.region, entry.position));
    }
};

// A character's team, out of line: a sweep asks it of its sweeper once and of a player only
// when a human sweeps; inline, it takes the room the sweep's own steps need to stay inline.
[[gnu::noinline]] Team TeamOutOfLine(const Character& character) {
    return character.GetTeam();
}

// Whether a sweeper not on the human team keeps a human of faction `minor`, judged once for all
// of them and held in `terms` (see SightScreen::ScreenTerms::wholeMajor). Out of line, as
// TeamOutOfLine: it is asked once a sweep at most.
[[gnu::noinline]] bool JudgeHumansWhole(SightScreen::ScreenTerms& terms, const TeamManager* rules,
                                        const Team& team, bool foes, std::uint32_t minor) {
    if (terms.wholeMajor != Team::Human) {
        const Team human = TeamManager::BuildTeam(Team::Human, minor);
        terms.wholeMajor = Team::Human;
        terms.wholeKeep =
            (foes ? AreFoes(rules, team, human) : AreFriends(rules, team, human)) ? -1 : 0;
    }
    return terms.wholeKeep != 0;
}

// The game's part of a grid entry, written first when the game has not looked at the entity
// since it entered the world. Debug builds check it against the digest and the digest against
// the character.
const EntityGamePart& SweptPart(World& world, const EntityGrid::Entry& entry) {
#ifdef NDEBUG
    if (!SightDigest::Has(entry.game, SightDigest::kWritten))
        SightDigest::FetchChecked(world, entry.slot);
#else
    const EntityDigest& digest = SightDigest::Fetch(world, entry.slot);
    if (!SightDigest::SameGamePart(digest, entry.game) || digest.objectId != entry.objectId) {
        gEngine->Log(0, "SightDigest: the grid's copy for id %u disagrees with the digest",
                     entry.objectId);
        std::abort();
    }
#endif
    return entry.game;
}

using SightScreen::kRemembered;

// Hands `use` each living character in the sphere other than `self` that is a foe (or a friend)
// within `maxYView` of it vertically (0: any height), in world order, after telling `begin` how
// many there are (a `begin(entries, count)` takes their grid entries at once instead, see
// World::SweepSphere). Each is judged from its grid cell's copy in one pass over the cells: the
// crowd's characters lie far apart in memory.
template <class Begin, class Use>
void ForEachCharacterInSphere(const Character& self, float maxYView, Region* region,
                              const Sphere& sphere, bool foes, Begin&& begin, Use&& use) {
    using namespace SightDigest;
    const WorldVec3 position = self.GetPathPosition();
    const Team team = TeamOutOfLine(self);
    const TeamManager* rules = TeamRules();
    World& world = World::Get();
    const std::uint32_t selfSlot = world.GetSlotOf(&self);
    const auto judge = [&](const Team& other) {
        return foes ? AreFoes(rules, team, other) : AreFriends(rules, team, other);
    };
    // A kind deriving its team changes only a human team's minor, which the judgment of a
    // sweeper of another major never reads: the team the digest holds answers alike. (Not
    // remembered: each player's faction is a team of its own.)
    const bool derivedAsHeld = team.GetTeamMajor() != Team::Human;
    // Stored teams judged are remembered in the terms the screens compare with.
    SightScreen::ScreenTerms terms{};
    SightScreen::TeamMemo memo(terms, &Scratch().seeds);
    const auto judgeStored = [&](std::uint32_t major, std::uint32_t minor) {
        return memo.Keeps(major, minor, [&](std::uint32_t ma, std::uint32_t mi) {
            return judge(TeamManager::BuildTeam(ma, mi));
        });
    };
    // Where a human's faction is not read, humans are judged once, when the first is met: the
    // players' factions would push the crowd's teams out of the memo.
    const auto judgeLane = [&](std::uint32_t major, std::uint32_t minor) {
        if (derivedAsHeld && major == Team::Human)
            return JudgeHumansWhole(terms, rules, team, foes, minor);
        return judgeStored(major, minor);
    };
    // The sweeper's own team and the last sweep's, a crowd's, are judged before any screen meets
    // them (a human's judgment of humans asks the game's settings: left to lanes that need it).
    if (team.GetTeamMajor() != Team::Human)
        memo.JudgeAhead(team.GetTeamMajor(), team.GetTeamMinor(), judgeLane);
    // The cell's packed words alone turn away the dead, the non-characters and the other side
    // before their entries are read, unless the filter below would first read something of
    // theirs that matters (an entry the game has not looked at yet, a character asked for its
    // team or, when heights count, for its path position): those it passes on.
    const bool heights = maxYView != 0.0f;
    // Written, a living character holding its team in the digest (or a team read alike from
    // what the digest holds) and its own path position when heights count: judged by team alone.
    const std::uint32_t plainMask = kWritten | kCharacter | kAlive |
                                    (derivedAsHeld ? 0u : std::uint32_t{kTeamFromCharacter}) |
                                    (heights ? std::uint32_t{kOwnPathPosition} : 0u);
    const std::uint32_t plainWant = plainMask & ~std::uint32_t{kTeamFromCharacter};
    const std::uint32_t unsureOwn = heights ? std::uint32_t{kOwnPathPosition} : 0u;
    const std::uint32_t written = kWritten, fromCharacter = kTeamFromCharacter;
    // Four lanes of a pack side by side, without branches on the common way: whether a crowd
    // member is friend or foe is a coin's toss to the processor.
    using WorldCells::LaneBits;
    using WorldCells::LoadQuad;
    using Words = WorldCells::LaneWords;
    using Lanes = WorldCells::LaneMask;
    constexpr std::size_t kWidth = EntityGrid::Pack::kWidth;
    constexpr std::size_t kQuad = WorldCells::kQuad;
    // The remembered teams in every lane, refreshed whenever one is judged.
    struct KnownLanes {
        Words major, minor;
        Lanes valid, keep;
    };
    KnownLanes known[kRemembered];
    const auto refresh = [&] {
        for (std::size_t k = 0; k < kRemembered; ++k)
            known[k] = KnownLanes{Words{} + terms.major[k], Words{} + terms.minor[k],
                                  Lanes{} + terms.valid[k], Lanes{} + terms.keep[k]};
    };
    // Without heights, a plain lane the screen keeps is one the filter below keeps, reading
    // nothing more on the way.
    const Lanes vouches = Lanes{} - static_cast<std::int32_t>(!heights);
    // Eight lanes where the screen can mark what it vouches for too (see SphereScreenMarkOct).
    [[maybe_unused]] const bool eight = WorldCells::HasEightLanesAndScans();
    // Where eight lanes are, only debug builds screen four at a time.
#ifdef NDEBUG
    if (!eight)
#endif
        refresh();
    // Out of line: where eight lanes are, only debug builds ask it, and inline it would take the
    // room the sweep needs to stay inline.
    const auto screenQuads = [&](const EntityGrid::Pack* packs, std::size_t count,
                                 std::uint64_t& sure) __attribute__((noinline)) {
        // Four lanes the sphere holds none of need no answer.
        const std::uint64_t inSphere = sure;
        std::uint64_t passes = 0;
        sure = 0;
        for (std::size_t at = 0; at < count; at += kQuad) {
            if ((inSphere >> at & 0xF) == 0)
                continue;
            const EntityGrid::Pack& p = packs[at / kWidth];
            const std::size_t lane = at % kWidth;
            const Words slots = LoadQuad<Words>(p.slot + lane);
            const Words flags = LoadQuad<Words>(p.gameFlags + lane);
            const Words major = LoadQuad<Words>(p.gameWords[0] + lane);
            const Words minor = LoadQuad<Words>(p.gameWords[1] + lane);
            const Lanes plain = ((flags & plainMask) == plainWant) & (slots != selfSlot);
            const Lanes unsure = ((flags & written) == 0) | ((flags & fromCharacter) != 0) |
                                 ((flags & unsureOwn) != unsureOwn);
            Lanes matched{}, keeps{};
            for (const KnownLanes& k : known) {
                const Lanes match = (major == k.major) & (minor == k.minor) & k.valid;
                matched |= match;
                keeps |= match & k.keep;
            }
            Lanes lanes = (plain & keeps) | (~plain & unsure);
            // Lanes past the cell's last entry hold what left it: never judged.
            const Lanes unknown =
                plain & ~matched & (Lanes{0, 1, 2, 3} < static_cast<std::int32_t>(count - at));
            if (LaneBits(unknown) != 0) [[unlikely]] {
                for (std::size_t k = 0; k < kQuad; ++k)
                    if (unknown[k])
                        lanes[k] = judgeLane(major[k], minor[k]) ? -1 : 0;
                refresh();
            }
            passes |= static_cast<std::uint64_t>(LaneBits(lanes)) << at;
            sure |= static_cast<std::uint64_t>(LaneBits(plain & lanes & vouches)) << at;
        }
        return passes;
    };
    // The same for eight lanes, refreshed whenever a screen judges a team (the filter may judge
    // others meanwhile: the terms hold judged teams either way).
    terms.plainMask = plainMask;
    terms.plain = plainWant;
    terms.own = unsureOwn;
    terms.self = selfSlot;
    terms.vouches = -static_cast<std::int32_t>(!heights);
#if defined(__x86_64__)
    SightScreen::OctTerms octTerms;
#endif
    const auto refreshTerms = [&] {
#if defined(__x86_64__)
        if (eight)
            SightScreen::SpreadTerms(terms, octTerms);
#endif
    };
    refreshTerms();
    // A grid's box of cells at a time: the blocks left with lanes of teams not judged yet are
    // judged here, before the sweep filters them. (`eight` copied: each call would read it
    // through two references.)
    const auto screen = [&, eight](const EntityGrid& grid, WorldCells::CellWalk& walk,
                                   const Vec3& toQuery, const Sphere& inView,
                                   WorldCells::SweepMarker& marker) -> std::size_t {
#if defined(__x86_64__)
        if (eight) {
            [[maybe_unused]] const WorldCells::CellWalk from = walk;
            [[maybe_unused]] const std::size_t markedFrom = marker.found;
            const std::size_t left =
                SightScreen::SphereScreenMarkBoxOct(grid, walk, toQuery, inView, octTerms, marker);
            bool judged = false;
            for (std::size_t l = 0; l < left; ++l) {
                WorldCells::Leftover& block = marker.leftovers[l];
                if (block.unknown == 0)
                    continue;
                SightScreen::JudgeUnknownLanes(block, heights ? 0 : ~std::uint64_t{0}, judgeLane);
                judged = true;
            }
            if (judged) [[unlikely]]
                refreshTerms();
#ifndef NDEBUG
            // Four lanes at a time answer each block the same, the lanes marked (as bits of
            // their block) passed and sure.
            std::size_t l = 0;
            WorldCells::ForEachWalkBlock(
                grid, from, walk,
                [&](const EntityGrid::Pack* packs, const EntityGrid::Entry* entries,
                    std::size_t count) {
                    WorldCells::Leftover block{packs, entries, 0, 0, 0};
                    if (l < left && marker.leftovers[l].entries == entries)
                        block = marker.leftovers[l++];
                    std::uint64_t marked = 0;
                    const auto first = reinterpret_cast<std::uintptr_t>(entries);
                    for (std::size_t k = markedFrom; k < marker.found; ++k) {
                        const std::size_t i =
                            (reinterpret_cast<std::uintptr_t>(marker.at[marker.ranks[k]]) - first) /
                            sizeof(EntityGrid::Entry);
                        if (i < count)
                            marked |= std::uint64_t{1} << i;
                    }
                    const std::uint64_t inSphere =
                        WorldCells::SphereMask(packs, count, toQuery, inView);
                    std::uint64_t quadSure = inSphere;
                    const std::uint64_t quadPasses = screenQuads(packs, count, quadSure);
                    if (((quadPasses & inSphere) ^ (block.passes | marked)) |
                        ((quadSure & inSphere) ^ (block.sure | marked)) |
                        ((block.passes | block.sure | marked) & ~inSphere))
                        std::abort();
                });
            if (l != left)
                std::abort();
#endif
            return left;
        }
#endif
        return WorldCells::ScreenBoxByBlocks(
            grid, walk, marker,
            [&](const EntityGrid::Pack* packs, const EntityGrid::Entry*, std::size_t count,
                WorldCells::Leftover& block) {
                const std::uint64_t inSphere =
                    WorldCells::SphereMask(packs, count, toQuery, inView);
                std::uint64_t sure = inSphere;
                block.passes = screenQuads(packs, count, sure) & inSphere;
                block.sure = sure & inSphere;
            });
    };
    world.SweepSphere(
        region, sphere, EntityListType::Actors, screen,
        [&](const EntityGrid::Entry& entry) {
            const EntityGamePart& digest = SweptPart(world, entry);
            if (entry.slot == selfSlot || !Has(digest, kCharacter) || !Has(digest, kAlive))
                return false;
            const SightSeen seen{world, entry};
            if (heights && VerticalDistance(position, seen.GetPathPosition()) > maxYView)
                return false;
            if (Has(digest, kTeamFromCharacter)) {
                // One judgment either way: a second copy of the rules costs the sweep its place
                // inline.
                const Team other =
                    derivedAsHeld ? StoredTeam(digest) : TeamOutOfLine(*seen.GetCharacter());
#ifndef NDEBUG
                if (judge(other) != judge(seen.GetCharacter()->GetTeam()))
                    std::abort();
#endif
                return judge(other);
            }
            return judgeStored(digest.gameWords[0], digest.gameWords[1]);
        },
        begin,
        [&](const EntityGrid::Entry& entry) {
            use(SightSeen{world, entry});
        });
}

#ifndef NDEBUG
// The sweep's own weighing stands in for ProcessAngerTarget only while that is the default: a
// kind that replaced it without saying so would see otherwise than it says.
void CheckSightAnger(ControllerMonster& controller, Character* foe, int ms, float anger) {
    const float asked = controller.ProcessAngerTarget(foe, ms);
    if (std::memcmp(&asked, &anger, sizeof anger) != 0) {
        gEngine->Log(
            0, "ControllerMonster: sight anger %g for %s differs from ProcessAngerTarget's %g",
            static_cast<double>(anger), foe->GetObjectName().c_str(), static_cast<double>(asked));
        std::abort();
    }
}

// The provocation a sweep makes of a foe is the one AngerManager makes of it.
void CheckProvocation(const EntityGrid::Entry& foe, float amount,
                      const AngerTable::Provoked& provocation) {
    AngerTable::Provoked made;
    if (!AngerManager::SightProvocation(foe.game, foe.objectId, foe.slot, amount, made) ||
        made.id != provocation.id || made.worldSlot != provocation.worldSlot ||
        std::memcmp(&made.amount, &provocation.amount, sizeof made.amount) != 0) {
        gEngine->Log(0, "ControllerMonster: the sight provocation of id %u differs", foe.objectId);
        std::abort();
    }
}

// Eight foes weighed at once are what weighing them one by one makes, to the bit.
template <class Weigh>
void CheckEightFoes(const EntityGrid::Entry* const* foes, SightList::Place at, Weigh&& weigh) {
    for (std::size_t k = 0; k < 8; ++k) {
        AngerTable::Provoked one;
        float oneReach = 0.0f;
        const AngerTable::Provoked listed = at.After(k).Provocation();
        const float reach = at.After(k).Reach();
        if (!weigh(*foes[k], one, oneReach) || one.id != listed.id ||
            one.worldSlot != listed.worldSlot ||
            std::memcmp(&one.amount, &listed.amount, sizeof one.amount) != 0 ||
            std::memcmp(&oneReach, &reach, sizeof oneReach) != 0) {
            gEngine->Log(0, "ControllerMonster: eight foes weighed at once differ, id %u",
                         foes[k]->objectId);
            std::abort();
        }
    }
}
#endif

}  // namespace

void ControllerMonster::GetCharactersInSphere(std::vector<Character*>& out, Region* region,
                                              const Sphere& sphere, bool foes) const {
    if (const Character* self = GetParentCharacter())
        ForEachCharacterInSphere(
            *self, mMaxYViewDistance, region, sphere, foes, [](std::size_t) {},
            [&out](const SightSeen& seen) { out.push_back(seen.GetCharacter()); });
}

bool ControllerMonster::InPursuitRange(std::uint32_t enemyId) {
    // Without a limit the enemy is not looked up.
    return mMaxPursuitDistance == 0.0f || InPursuitRange(FindCharacter(enemyId));
}

bool ControllerMonster::InPursuitRangeOf(const Character* enemy) {
    const Character* self = GetParentCharacter();
    return enemy && self && InPursuitRange(*enemy, *self);
}

bool ControllerMonster::InPursuitRange(const Character& enemy, const Character& self) {
    if (mMaxPursuitDistance == 0.0f)
        return true;
    const WorldVec3 enemyPosition = enemy.GetPathPosition();
    if (mMaxYViewDistance != 0.0f &&
        VerticalDistance(enemyPosition, self.GetPathPosition()) > mMaxYViewDistance)
        return false;
    return WorldDistance(GetHomePosition(), enemyPosition) < mMaxPursuitDistance;
}

WorldVec3 ControllerMonster::GetHomePosition() {
    const Character* self = GetParentCharacter();
    if (!self)
        return WorldVec3();
    if (GetExecutingState()->UsePathPositionAsHome())
        return self->GetPathPosition();
    const Monster* monster = GetMonster();
    if (monster && monster->GetLeaderId() != 0 && CanMove())
        if (const Character* leader = FindCharacter(monster->GetLeaderId()))
            return leader->GetPathPosition();
    return self->GetSpawnPoint().GetPosition();
}

float ControllerMonster::ProcessAngerTarget(Character* character, int ms) {
    const Character* self = GetParentCharacter();
    if (!character || !self || !InPursuitRange(character->GetObjectId()))
        return 0.0f;
    return SightAnger(WorldDistance(self->GetPathPosition(), character->GetPathPosition()), ms);
}

float ControllerMonster::SightAnger(float distance, int ms) const {
    const float rate = distance < mInnerViewDistance
                           ? mInnerSightAngerRate
                           : mSightAngerRate * (1.0f - 0.1f * distance / GetViewDistance());
    return rate * static_cast<float>(ms) * 0.001f;
}

void ControllerMonster::AngerUpdate(int ms) {
    mAngerAccumulator -= static_cast<float>(ms);
    if (mAngerAccumulator >= 0.0f)
        return;
    // A long frame counts every whole tick it spanned.
    const int ticks = static_cast<int>(1.0 - mAngerAccumulator * 0.005);
    mAngerAccumulator += static_cast<float>(ticks * kTickMs);
    const Character* self = GetParentCharacter();
    if (self) {
        const WorldVec3 position = self->GetPathPosition();
        // Nothing the sweep calls moves anything: every foe is weighed from here, and the home
        // that bounds the pursuit (asked once, when a foe first needs it) stays put. Each foe is
        // weighed as ProcessAngerTarget would, from its digest: the sweep already held it within
        // the vertical view of this very position.
        bool homeKnown = false;
        WorldVec3 home;
        const bool selfPlaced = position.region != nullptr;
        SightScratch& scratch = Scratch();
        // Read once: nothing the sweep calls changes them.
        const bool sightIsDefault = mSightAngerIsDefault;
        const float maxPursuit = mMaxPursuitDistance;
        const bool bounded = maxPursuit != 0.0f;
        const auto scale = static_cast<float>(ticks);
        SightTerms terms;
        terms.selfWorld = position.GetWorldPosition();
        // Where the anger table measures its enemies from.
        terms.measuredFrom = self->GetPosition().GetWorldPosition();
        terms.innerDistance = mInnerViewDistance;
        terms.innerRate = mInnerSightAngerRate;
        terms.rate = mSightAngerRate;
        terms.viewDistance = GetViewDistance();
        terms.ms = static_cast<float>(kTickMs);
        terms.scale = scale;
        // WorldDistance(position, at), this monster's side taken once.
        const auto distanceTo = [&](const WorldVec3& at) {
            return std::sqrt(selfPlaced && at.region
                                 ? (at.GetWorldPosition() - terms.selfWorld).LengthSquared()
                                 : kInfinity);
        };
        // One foe into `provocation` and `reach`; false when it does not anger.
        const auto weigh = [&](const EntityGrid::Entry& entry, AngerTable::Provoked& provocation,
                               float& reach) {
            if (!SightDigest::Has(entry.game, SightDigest::kCausesAnger))
                return false;
            // The common case, a foe holding its own path position, reads it straight from
            // the entry (SightSeen::GetPathPosition's answer, nothing to store on the way).
            const WorldVec3 at = SightDigest::Has(entry.game, SightDigest::kOwnPathPosition)
                                     ? entry.game.GetGamePosition()
                                     : SightSeen{World::Get(), entry}.GetPathPosition();
            float anger = 0.0f;
            if (bounded && !homeKnown) {
                home = GetHomePosition();
                homeKnown = true;
            }
            if (!bounded || WorldDistance(home, at) < maxPursuit)
                anger = SightAnger(distanceTo(at), kTickMs);
#ifndef NDEBUG
            CheckSightAnger(*this, static_cast<Character*>(entry.entity), kTickMs, anger);
#endif
            // The sweep kept a living character that angers: the provocation always stands.
            provocation = AngerTable::Provoked{entry.objectId, entry.slot,
                                               scale * anger * entry.game.gameScale};
#ifndef NDEBUG
            CheckProvocation(entry, scale * anger, provocation);
#endif
            reach =
                (WorldVec3(entry.region, entry.position).GetWorldPosition() - terms.measuredFrom)
                    .LengthSquared();
            return true;
        };
        SightList& list = scratch.weighed;
        std::size_t listed = 0;
        // The kept foes at once, in world order. Nothing the weighing asks reads the anger
        // table: the provocations wait for the sweep's end and are carried out together, in the
        // same order.
        const auto weighAll = [&](const EntityGrid::Entry* const* foes, std::size_t found) {
            if (!sightIsDefault) {
                mAngerManager.ExpectEnemies(found);
                for (std::size_t k = 0; k < found; ++k) {
                    const EntityGrid::Entry& entry = *foes[k];
                    if (!SightDigest::Has(entry.game, SightDigest::kCausesAnger))
                        continue;
                    const float anger =
                        ProcessAngerTarget(static_cast<Character*>(entry.entity), kTickMs);
                    mAngerManager.AddAnger(entry.game, entry.objectId, entry.slot, scale * anger);
                }
                return;
            }
            // Eight foes at a time where they are plain (unbounded pursuit, see WeighEightFoes).
            constexpr std::size_t kEight = 8;
            // Room for a last group's eight.
            list.Reserve(found + kEight);
            AngerTable::Provoked one;
            float oneReach = 0.0f;
            std::size_t next = 0;
            SightLaneTerms laneTerms;
            if (!bounded && selfPlaced && found >= kEight && WorldCells::HasEightLanes()) {
                SpreadSightTerms(terms, laneTerms);
                // A local: stepped through the captures, it was saved around each group's call.
                SightList::Place at = list.At(listed);
                const auto weighGroup = [&](const EntityGrid::Entry* const* group) {
                    if (!WeighEightFoes(group, laneTerms, at))
                        return false;
#ifndef NDEBUG
                    CheckEightFoes(group, at, weigh);
#endif
                    return true;
                };
                next = found - found % kEight;
                const EntityGrid::Entry* const* const groupsEnd = foes + next;
                for (const EntityGrid::Entry* const* group = foes; group != groupsEnd;
                     group += kEight) {
#ifndef NDEBUG
                    const EntityGrid::Entry* const* const run = group;
                    const SightList::Place runAt = at;
#endif
                    group = WeighEightsWhile(group, groupsEnd, laneTerms, at);
#ifndef NDEBUG
                    for (std::size_t k = 0; run + k != group; k += kEight)
                        CheckEightFoes(run + k, runAt.After(k), weigh);
#endif
                    if (group == groupsEnd)
                        break;
                    for (std::size_t k = 0; k < kEight; ++k)
                        if (weigh(*group[k], one, oneReach))
                            at.Put(one, oneReach), at = at.After(1);
                }
                // The last few as a group too, their last foe in the lanes past them (each lane
                // is weighed alone, and only the few are listed): a group costs about what two
                // foes weighed one by one do.
                constexpr std::size_t kFewestAsGroup = 3;
                if (const std::size_t few = found - next; few >= kFewestAsGroup) {
                    const EntityGrid::Entry* group[kEight] = {};
                    for (std::size_t k = 0; k < kEight; ++k)
                        group[k] = foes[next + std::min(k, few - 1)];
                    if (weighGroup(group)) {
                        at = at.After(few);
                        next = found;
                    }
                }
                listed = list.Before(at);
            }
            for (; next < found; ++next)
                if (weigh(*foes[next], one, oneReach))
                    list.At(listed++).Put(one, oneReach);
        };
        ForEachCharacterInSphere(*self, mMaxYViewDistance, position.GetRegion(),
                                 Sphere{position.GetRegionPosition(), GetViewDistance()}, true,
                                 weighAll, [](const SightSeen&) {});
        mAngerManager.SightTick(list.Provocations(), list.Reach(), listed, ticks * kTickMs,
                                mForgiveRate, *self);
        return;
    }
    mAngerManager.Update(ticks * kTickMs, mForgiveRate, self);
}

void ControllerMonster::FindEnemyUpdate(int ms) {
    mFindEnemyTimer -= ms;
    if (mFindEnemyTimer >= 0)
        return;
    bool searched = false;
    Character* closest = nullptr;
    float closestDistance = 0.0f;
    // A long frame runs at most two ticks.
    for (int tick = 0; tick < 2; ++tick) {
        mFindEnemyTimer += kTickMs;
        if (GetExecutingState()->ShouldFindEnemy())
            FindEnemy();
        // CanFlee draws a number: it is asked last.
        if (ShouldAlwaysLookForClosestEnemy() ||
            (mEnemyTooClose > 0.0f && GetExecutingState()->ShouldFindClosestEnemy() &&
             mFleeBehavior == FleeWhenEnemyClose && CanFlee())) {
            ClosestEnemyCheck(searched, closest, closestDistance);
            FindClosestEnemy(closest, closestDistance);
        }
        if (mFindEnemyTimer >= 0)
            return;
    }
    mFindEnemyTimer = kTickMs;
}

void ControllerMonster::ClosestEnemyCheck(bool& searched, Character*& best, float& bestDistance) {
    const Character* self = GetParentCharacter();
    if (!self)
        return;
    const WorldVec3 position = self->GetPathPosition();
    // The second tick of a frame reuses the search while the monster stands where it did.
    if (searched && position == mClosestSearchPosition)
        return;
    searched = true;
    mClosestSearchPosition = position;
    best = nullptr;
    bestDistance = 0.0f;
    mFoundScratch.clear();
    GetFoesInSphere(mFoundScratch, position.GetRegion(),
                    Sphere{position.GetRegionPosition(), mEnemyTooClose});
    const float limit = mEnemyTooClose + 0.1f;
    for (Character* other : mFoundScratch) {
        const float d = WorldDistance(position, other->GetPathPosition());
        if (d < limit && (!best || d < bestDistance)) {
            best = other;
            bestDistance = d;
        }
    }
}

void ControllerMonster::FindEnemy() {
    const Character* target = mAngerManager.GetNewTarget(mAngerTolerance);
    if (!target)
        return;
    mEnemySeen = true;
    GetExecutingState()->EnemyFound(target->GetObjectId());
}

void ControllerMonster::FindClosestEnemy(Character* character, float distance) {
    if (!character)
        return;
    if (!ClosestEnemyFoundOverride(character->GetObjectId(), distance))
        GetExecutingState()->ClosestEnemyFound(character->GetObjectId(), distance);
}

std::uint32_t ControllerMonster::GetMostHatedEnemy() {
    const Character* target = mAngerManager.GetNewTarget(mAngerTolerance);
    return target ? target->GetObjectId() : 0;
}

void ControllerMonster::UnderAttack(std::uint32_t attackerId) {
    if (!InPursuitRange(attackerId))
        return;
    mAngerManager.AddAnger(attackerId, mAttackedAnger);
    GetExecutingState()->Attacked(attackerId);
}

void ControllerMonster::AllyAttacked(std::uint32_t allyId, std::uint32_t attackerId) {
    // A character's call for help has both looked up already.
    const DistressCall* call = DistressCall::Matching(allyId, attackerId);
    if (call ? !InPursuitRange(call->attacker) || !ShouldCareAboutAlly(*call->ally)
             : !InPursuitRange(attackerId) || !ShouldCareAboutDistressCall(allyId))
        return;
    if (call && call->attacker)
        mAngerManager.AddAnger(*call->attacker, call->attackerSlot, mAllyAttackedAnger);
    else
        mAngerManager.AddAnger(attackerId, mAllyAttackedAnger);
    const std::uint32_t outer = mAnsweredAlly;
    const DistressCall* outerCall = mAnsweredCall;
    mAnsweredAlly = allyId;
    mAnsweredCall = call;
    GetExecutingState()->AllyAttacked(allyId, attackerId);
    mAnsweredAlly = outer;
    mAnsweredCall = outerCall;
}

bool ControllerMonster::CaresAboutDistressCall(std::uint32_t allyId) const {
    if (allyId == 0 || allyId != mAnsweredAlly)
        return ShouldCareAboutDistressCall(allyId);
#ifndef NDEBUG
    if (!ShouldCareAboutDistressCall(allyId)) {
        gEngine->Log(0, "ControllerMonster: the distress call kept for ally %u is stale", allyId);
        std::abort();
    }
#endif
    return true;
}

bool ControllerMonster::ShouldCareAboutDistressCall(std::uint32_t allyId) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const Character* ally = objects.GetObject<Character>(allyId);
    if (!ally) {
        // Fixed items (chests, doors) call for help too; the class may live in a later library.
        const Object* object = objects.GetObject(allyId);
        const RTTI_ClassInfo* fixedItem = Object::classInfo.FindByName("FixedItem");
        return object && fixedItem && object->GetClassInfo().IsA(*fixedItem);
    }
    return ShouldCareAboutAlly(*ally);
}

bool ControllerMonster::SharesDistressGroup(const Character& ally) const {
    const Character* self = GetParentCharacter();
    if (!self)
        return false;
    if (mDistressResponseBehavior == RespondToSameType)
        return ally.GetDistressCallGroup() == self->GetDistressCallGroup();
    for (const std::string& race : ally.GetRace())
        for (const std::string& mine : self->GetRace())
            if (race == mine)
                return true;
    return false;
}

void ControllerMonster::TauntMe(float amount, std::uint32_t id) {
    if (InPursuitRange(id))
        mAngerManager.AddAnger(id, amount);
}

Character* ControllerMonster::PickRandomEnemyInView() const {
    const Character* self = GetParentCharacter();
    if (!self)
        return nullptr;
    const WorldVec3 position = self->GetPathPosition();
    std::vector<Character*>& foes = mFoundScratch;
    foes.clear();
    GetFoesInSphere(foes, position.GetRegion(),
                    Sphere{position.GetRegionPosition(), GetViewDistance()});
    if (foes.empty())
        return nullptr;
    return foes[static_cast<std::size_t>(crt_rand()) % foes.size()];
}

void ControllerMonster::DieIfEnemyInRange() {
    const Character* self = GetParentCharacter();
    const Monster* monster = GetMonster();
    if (!self || !monster)
        return;
    std::vector<Entity*>& found = Scratch().found;
    found.clear();
    World::Get().GetEntitiesInSphere(
        found, self->GetRegion(),
        Sphere{self->GetCoords().coords.origin, monster->GetDeathFromEnemyRange()},
        EntityListType::Actors);
    // Alive or hiding does not matter here.
    for (Entity* entity : found) {
        if (entity == self || !entity->IsA<Character>())
            continue;
        if (AreFoes(self->GetTeam(), static_cast<Character*>(entity)->GetTeam())) {
            KillMe();
            return;
        }
    }
}

}  // namespace GAME
