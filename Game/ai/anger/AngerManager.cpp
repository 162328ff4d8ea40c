#include "Game/ai/anger/AngerManager.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "Engine/Engine.h"
#include "Engine/media/graphics/DebugRenderManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldSweep.h"
#include "Game/characters/Character.h"
#include "Game/characters/CharacterLookup.h"
#include "Game/characters/movement/SightDigest.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

constexpr float kNoClosestSquared = 1e7f;

bool AreFriends(const Team& mine, const Team& other) {
    const GameEngine* root = gGameEngine;
    if (root && root->GetTeamManager())
        return root->GetTeamManager()->IsFriend(mine, other);
    return mine.IsFriend(other);
}

bool AreFriends(const Character& me, const Character& other) {
    return AreFriends(me.GetTeam(), other.GetTeam());
}

// Whether the distance whose square is `squared` is beyond the removal distance. A correctly
// rounded square root passes 50 exactly when its square passes 2500 (the float after 2500 has a
// root nearer the float after 50 than 50 itself), so no root is taken; debug builds take it too.
bool BeyondRemoval(float squared) {
    constexpr float kLimit = AngerManager::kRemovalDistance;
    static_assert(kLimit == 50.0f, "the square below is exact for 50 only as checked");
    const bool beyond = squared > kLimit * kLimit;
#ifndef NDEBUG
    const float distance = squared == 0.0f ? 0.0f : Sqrt(squared);
    if (beyond != (distance > kLimit)) {
        gEngine->Log(0, "AngerManager: the squared reach disagrees with the distance");
        std::abort();
    }
#endif
    return beyond;
}

// What Update weighs of the monster itself, read once per pass, and the last stored team it
// judged (a crowd holds few teams).
struct UpdateSelf {
    const Character* me = nullptr;
    Team team;
    bool inWorld = false;
    WorldVec3 position;
    bool memoValid = false;
    std::uint32_t memoMajor = 0, memoMinor = 0;
    bool memoFriends = false;

    bool IsFriend(const EntityDigest& enemy) {
        if (!memoValid || memoMajor != enemy.gameWords[0] || memoMinor != enemy.gameWords[1]) {
            memoValid = true;
            memoMajor = enemy.gameWords[0];
            memoMinor = enemy.gameWords[1];
            memoFriends = AreFriends(team, SightDigest::StoredTeam(enemy));
        }
        return memoFriends;
    }
};

// ShouldRemoveEnemy for an enemy standing in the world, read from its digest (`selfWorld`: the
// monster's position in world space).
bool ShouldRemoveDigest(UpdateSelf& self, const Vec3& selfWorld, const EntityDigest& enemy,
                        World& world, std::uint32_t worldSlot, float& squared) {
    using namespace SightDigest;
    if (!Has(enemy, kCausesAnger) || !Has(enemy, kAlive))
        return true;
    if (!self.me)
        return false;
    const bool friends =
        Has(enemy, kTeamFromCharacter)
            ? AreFriends(self.team,
                         static_cast<const Character*>(world.GetEntityAt(worldSlot))->GetTeam())
            : self.IsFriend(enemy);
    if (friends || !self.inWorld)
        return true;
    squared = (enemy.GetPosition().GetWorldPosition() - selfWorld).LengthSquared();
    return BeyondRemoval(squared);
}

#if defined(__x86_64__)
// A sight tick's table as Update settles it: the entries and, by slot, each one's step in the
// sweep's list (-1: not listed; null: the slot itself) and by step the squared reach the sweep
// measured.
struct SweptColumns {
    std::uint32_t* ids;
    float* values;
    std::uint32_t* hints;
    const std::int32_t* steps;
    const float* reach;
};
struct SweptTerms {
    float decay;
    bool inWorld;
};

// For each mask of eight lanes, the lanes it holds packed to the front, a byte each.
constexpr std::array<std::uint64_t, 256> kPackedLanes = [] {
    std::array<std::uint64_t, 256> packed{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned at = 0;
        for (unsigned lane = 0; lane < 8; ++lane)
            if ((mask >> lane) & 1u)
                packed[mask] |= std::uint64_t{lane} << (8 * at++);
    }
    return packed;
}();

// Update's pass over whole eights of a sight tick's entries, each lane settled as Update would
// settle its entry alone (the same subtraction, the same tests, the closest taken in slot
// order), the kept ones packed down to `kept`. A listed entry is weighed from its reach; an
// unlisted one by `weighOne(slot, squared)`, true when it goes (all of those first: weighing
// touches neither the values nor the closest). `check(slot, value, squared, stays, settled,
// listed)` sees each lane before it moves. Returns the first slot not settled. `BySlot`: every
// slot is listed, at its own step.
template <bool BySlot, class WeighOne, class Check>
[[gnu::target("avx2")]] std::size_t SettleSweptEights(const SweptColumns& columns,
                                                      std::size_t count, const SweptTerms& terms,
                                                      std::size_t& kept, float& closestSquared,
                                                      std::uint32_t& closest,
                                                      std::uint32_t& lastTarget, WeighOne& weighOne,
                                                      Check& check) {
    constexpr std::size_t kEight = 8;
    // A copy: the stores to the columns could otherwise alias the pointers.
    const SweptColumns c = columns;
    const __m256 decay = _mm256_set1_ps(terms.decay);
    const __m256 limit =
        _mm256_set1_ps(AngerManager::kRemovalDistance * AngerManager::kRemovalDistance);
    // Out of the world every entry goes: a NaN floor holds no value.
    const __m256 floor = terms.inWorld ? _mm256_setzero_ps() : _mm256_set1_ps(__builtin_nanf(""));
    // In locals: the stores to the columns could otherwise alias them.
    std::size_t out = kept;
    float nearest = closestSquared;
    std::uint32_t nearestId = closest;
    std::uint32_t target = lastTarget;
    __m256 nearestLanes = _mm256_set1_ps(nearest);
    const std::size_t whole = count - count % kEight;
    std::size_t slot = 0;
    for (; slot < whole; slot += kEight) {
        __m256 squared;
        // Lanes not listed, and of those the ones the world's weighing drops.
        unsigned unlisted = 0, dropped = 0;
        if constexpr (BySlot) {
            squared = _mm256_loadu_ps(c.reach + slot);
        } else {
            const __m256i step =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.steps + slot));
            unlisted = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(step)));
            if (unlisted != 0) {
                alignas(32) float lanes[kEight];
                _mm256_store_ps(
                    lanes,
                    _mm256_mask_i32gather_ps(
                        _mm256_setzero_ps(), c.reach, step,
                        _mm256_castsi256_ps(_mm256_cmpgt_epi32(step, _mm256_set1_epi32(-1))), 4));
                for (std::size_t k = 0; k < kEight; ++k)
                    if ((unlisted >> k) & 1u) {
                        lanes[k] = 0.0f;
                        dropped |= weighOne(slot + k, lanes[k]) ? 1u << k : 0u;
                    }
                squared = _mm256_load_ps(lanes);
            } else {
                squared = _mm256_i32gather_ps(c.reach, step, 4);
            }
        }
        const __m256 before = _mm256_loadu_ps(c.values + slot);
        const __m256 value = _mm256_sub_ps(before, decay);
        // Not beyond the removal distance (a NaN reach is not) and not calmed below 0.
        const __m256 stays = _mm256_and_ps(_mm256_cmp_ps(squared, limit, _CMP_NGT_UQ),
                                           _mm256_cmp_ps(value, floor, _CMP_GE_OQ));
        auto mask = static_cast<unsigned>(_mm256_movemask_ps(stays));
        if (unlisted != 0) {
            const auto calmed = static_cast<unsigned>(
                _mm256_movemask_ps(_mm256_cmp_ps(value, _mm256_setzero_ps(), _CMP_GE_OQ)));
            mask = (mask & ~unlisted) | (calmed & unlisted & ~dropped);
        }
        const auto nearer = static_cast<unsigned>(_mm256_movemask_ps(
                                _mm256_cmp_ps(squared, nearestLanes, _CMP_LT_OQ))) &
                            mask;
        if (nearer != 0) {
            alignas(32) float lanes[kEight];
            _mm256_store_ps(lanes, squared);
            for (std::size_t k = 0; k < kEight; ++k)
                if (((mask >> k) & 1u) && lanes[k] < nearest) {
                    nearest = lanes[k];
                    nearestId = c.ids[slot + k];
                }
            nearestLanes = _mm256_set1_ps(nearest);
        }
        constexpr unsigned kAll = (1u << kEight) - 1;
        // Only a lane that goes can take the target with it.
        if (target != 0 && mask != kAll) {
            const __m256i ids = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.ids + slot));
            const __m256i lost =
                _mm256_cmpeq_epi32(ids, _mm256_set1_epi32(static_cast<int>(target)));
            if ((static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(lost))) & ~mask) != 0)
                target = 0;
        }
#ifndef NDEBUG
        {
            alignas(32) float was[kEight], far[kEight], now[kEight];
            _mm256_store_ps(was, before);
            _mm256_store_ps(far, squared);
            _mm256_store_ps(now, value);
            for (std::size_t k = 0; k < kEight; ++k)
                check(slot + k, was[k], far[k], ((mask >> k) & 1u) != 0, now[k],
                      ((unlisted >> k) & 1u) == 0);
        }
#else
        (void)check;
#endif
        const __m256i ids = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.ids + slot));
        const __m256i order =
            _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(kPackedLanes[mask])));
        const __m256i hints = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.hints + slot));
        // Whole eights: `kept` is at most `slot`, so only lanes already read are overwritten.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(c.ids + out),
                            _mm256_permutevar8x32_epi32(ids, order));
        _mm256_storeu_ps(c.values + out, _mm256_permutevar8x32_ps(value, order));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(c.hints + out),
                            _mm256_permutevar8x32_epi32(hints, order));
        out += static_cast<std::size_t>(std::popcount(mask));
    }
    kept = out;
    closestSquared = nearest;
    closest = nearestId;
    lastTarget = target;
    return slot;
}
#endif

}  // namespace

bool AngerManager::ShouldRemoveEnemy(const Character* me, const Character* enemy) {
    float squared = 0.0f;
    return ShouldRemoveEnemy(me, enemy, squared);
}

bool AngerManager::ShouldRemoveEnemy(const Character* me, const Character* enemy, float& squared) {
    if (!enemy || !enemy->CausesAnger() || !enemy->IsAlive())
        return true;
    if (!me)
        return false;
    if (AreFriends(*me, *enemy) || !me->IsInWorld() || !enemy->IsInWorld())
        return true;
    // As Vec3::Length would, so the distance and the closest search share one subtraction.
    squared = me->GetPosition().VectorTo(enemy->GetPosition()).LengthSquared();
    const float distance = squared == 0.0f ? 0.0f : Sqrt(squared);
    return distance > kRemovalDistance;
}

void AngerManager::AddAnger(std::uint32_t id, float amount) {
    if (const Character* enemy = FindCharacter(id))
        AddAnger(*enemy, amount);
}

void AngerManager::AddAnger(const Character& enemy, float amount) {
    if (ShouldRemoveEnemy(nullptr, &enemy))
        return;
    AddScaledAnger(enemy.GetObjectId(), World::Get().GetSlotOf(&enemy),
                   amount * enemy.GetAngerMultiplier());
}

void AngerManager::AddAnger(const Character& enemy, std::uint32_t worldSlot, float amount) {
    World& world = World::Get();
    const std::uint32_t id = enemy.GetObjectId();
    if (world.SlotHolds(worldSlot, id))
        AddAnger(SightDigest::Fetch(world, worldSlot), id, worldSlot, amount);
    else
        AddAnger(enemy, amount);
}

void AngerManager::AddAnger(const EntityGamePart& enemy, std::uint32_t id, std::uint32_t worldSlot,
                            float amount) {
    AngerTable::Provoked provoked;
    if (SightProvocation(enemy, id, worldSlot, amount, provoked))
        AddScaledAnger(id, worldSlot, provoked.amount);
}

bool AngerManager::SightProvocation(const EntityGamePart& enemy, std::uint32_t id,
                                    std::uint32_t worldSlot, float amount,
                                    AngerTable::Provoked& out) {
    using namespace SightDigest;
    if (!Has(enemy, kCausesAnger) || !Has(enemy, kAlive))
        return false;
    out = AngerTable::Provoked{id, worldSlot, amount * enemy.gameScale};
    return true;
}

[[gnu::always_inline]] inline const EntityDigest* AngerManager::FindEntryDigest(World& world,
                                                                                std::size_t entry) {
    const std::uint32_t id = mAnger.IdAt(entry);
    std::uint32_t worldSlot = mAnger.HintAt(entry);
    if (!world.SlotHolds(worldSlot, id)) {
        // Left the world and came back, or was angered before it stood here.
        worldSlot = world.GetSlotOf(FindCharacter(id));
        mAnger.SetHint(entry, worldSlot);
        if (worldSlot == World::kNoSlot)
            return nullptr;
    }
    const EntityDigest& digest = SightDigest::Fetch(world, worldSlot);
    return SightDigest::Has(digest, SightDigest::kCharacter) ? &digest : nullptr;
}

void AngerManager::SightTick(const AngerTable::ProvokedColumns& list, const float* reach,
                             std::size_t count, int ms, float forgiveRate, const Character& me) {
    // The steps by slot, scratch that keeps its room.
    thread_local std::vector<std::int32_t> steps;
    // An empty table fills in the thread's spare room, still in cache from the last one, and
    // takes a block of its own only for the entries the Update keeps: in a crowd many are
    // calmed below the line at once, and fresh memory costs more than the copy.
    thread_local AngerTable spare;
    const bool fill = mAnger.empty() && count != 0;
    if (fill)
        mAnger.swap(spare);
    // The Update below drops every entry below its decay: x - decay < 0 exactly when x < decay.
    const bool inOrder =
        mAnger.ProvokeEach(list, count, kMaxAnger, kCalmShare, &steps, DecayOf(ms, forgiveRate));
#ifndef NDEBUG
    // In list order, so slot k holds the k-th listed id.
    bool listed = !inOrder || mAnger.size() == count;
    for (std::size_t slot = 0; inOrder && listed && slot < count; ++slot)
        listed = mAnger.IdAt(slot) == list.ids[slot];
    if (!listed) {
        gEngine->Log(0, "AngerManager: a table in list order does not hold the list");
        std::abort();
    }
#endif
    // In list order the reach of slot k is reach[k]: no steps to look through.
    Update(ms, forgiveRate, &me, inOrder ? nullptr : steps.data(), reach);
    if (fill) {
        // `spare` holds the table's own (empty) block now.
        const std::size_t kept = mAnger.size();
        spare.Reserve(kept + std::min(kept / 4, kRoomToGrow));
        spare = mAnger;
        mAnger.swap(spare);
        spare.clear();
    }
}

void AngerManager::Update(int ms, float forgiveRate, const Character* me, const std::int32_t* steps,
                          const float* reach) {
    if (mMostHatedEnemy && ShouldRemoveEnemy(me, FindCharacter(mMostHatedEnemy)))
        mMostHatedEnemy = 0;
    float closestSquared = kNoClosestSquared;
    const float decay = DecayOf(ms, forgiveRate);
    World& world = World::Get();
    UpdateSelf self;
    if (me) {
        self.me = me;
        self.team = me->GetTeam();
        self.inWorld = me->IsInWorld();
        self.position = me->GetPosition();
    }
    // Survivors slide down over the dropped entries in one pass, keeping the id order.
    const Vec3 selfWorld = self.position.GetWorldPosition();
    // The entry's digest and whether it goes, with the hint renewed in place.
    const auto weigh = [&](std::uint32_t id, std::uint32_t& hint, float& squared) {
        const EntityDigest* digest = nullptr;
        if (!world.SlotHolds(hint, id))
            hint = world.GetSlotOf(FindCharacter(id));
        if (hint != World::kNoSlot) {
            const EntityDigest& fetched = SightDigest::Fetch(world, hint);
            if (SightDigest::Has(fetched, SightDigest::kCharacter))
                digest = &fetched;
        }
        return digest ? ShouldRemoveDigest(self, selfWorld, *digest, world, hint, squared)
                      : ShouldRemoveEnemy(me, FindCharacter(id), squared);
    };
    // The closest in locals: the member could be one of the hints the pass writes through.
    std::uint32_t closest = 0;
    // Decays an entry that stays, and says whether it still does.
    const auto settle = [&](std::uint32_t id, float& value, float squared, bool remove) {
        if (!remove) {
            value -= decay;
            if (value >= 0.0f) {
                if (squared < closestSquared) {
                    closestSquared = squared;
                    closest = id;
                }
                return true;
            }
        }
        if (mLastTarget == id)
            mLastTarget = 0;
        return false;
    };
    if (steps || reach) {
        // A sight tick's (`me` is there): most entries were just weighed by the sweep. Held
        // here: `weigh` may write `self`, so its fields would be read again per entry.
        const bool inWorld = self.inWorld;
        const auto swept = [&](float squared) { return !inWorld || BeyondRemoval(squared); };
#ifndef NDEBUG
        // The sweep's weighing of a listed entry against the entry's own.
        const auto recheck = [&](std::uint32_t id, std::uint32_t hint, float squared) {
            float weighed = 0.0f;
            std::uint32_t checked = hint;
            const bool remove = swept(squared);
            if (weigh(id, checked, weighed) != remove || checked != hint ||
                (!remove && std::memcmp(&weighed, &squared, sizeof squared) != 0)) {
                gEngine->Log(0, "AngerManager: the sweep's weighing of id %u differs", id);
                std::abort();
            }
        };
#endif
        mAnger.CompactArrays(
            [&](std::uint32_t* ids, float* values, std::uint32_t* hints, std::size_t count) {
                std::size_t kept = 0;
                // One entry: a listed one is a living foe that angers, standing in the hinted slot
                // (the sweep just found it so), and a foe is never a friend: only its distance
                // counts.
                const auto keepOne = [&](std::size_t at) {
                    float squared = 0.0f;
                    bool remove = false;
                    const auto step = steps ? steps[at] : static_cast<std::int32_t>(at);
                    if (step >= 0) {
                        squared = reach[step];
                        remove = swept(squared);
#ifndef NDEBUG
                        recheck(ids[at], hints[at], squared);
#endif
                    } else {
                        remove = weigh(ids[at], hints[at], squared);
                    }
                    if (!settle(ids[at], values[at], squared, remove))
                        return;
                    ids[kept] = ids[at];
                    values[kept] = values[at];
                    hints[kept] = hints[at];
                    ++kept;
                };
                std::size_t slot = 0;
#if defined(__x86_64__)
                if (WorldCells::HasEightLanes()) {
                    const SweptColumns columns{ids, values, hints, steps, reach};
                    const SweptTerms terms{decay, inWorld};
                    const auto weighOne = [&](std::size_t at, float& squared) {
                        return weigh(ids[at], hints[at], squared);
                    };
#ifndef NDEBUG
                    // A lane against the same entry settled on its own (`value`: before the decay;
                    // an unlisted one weighed again from the world).
                    const auto check = [&](std::size_t at, float value, float squared, bool stays,
                                           float settled, bool listed) {
                        bool remove = false;
                        if (listed) {
                            recheck(ids[at], hints[at], squared);
                            remove = swept(squared);
                        } else {
                            std::uint32_t hint = hints[at];
                            float weighed = 0.0f;
                            remove = weigh(ids[at], hint, weighed);
                        }
                        value -= decay;
                        const bool expected = !remove && value >= 0.0f;
                        if (expected != stays ||
                            (stays && std::memcmp(&value, &settled, sizeof value) != 0)) {
                            gEngine->Log(0, "AngerManager: the lanes settled id %u apart", ids[at]);
                            std::abort();
                        }
                    };
#else
                    const auto check = [](std::size_t, float, float, bool, float, bool) {};
#endif
                    if (steps)
                        slot = SettleSweptEights<false>(columns, count, terms, kept, closestSquared,
                                                        closest, mLastTarget, weighOne, check);
                    else
                        slot = SettleSweptEights<true>(columns, count, terms, kept, closestSquared,
                                                       closest, mLastTarget, weighOne, check);
                }
#endif
                for (; slot < count; ++slot)
                    keepOne(slot);
                return kept;
            });
    } else {
        mAnger.Compact([&](std::uint32_t id, float& value, std::uint32_t& hint) {
            float squared = 0.0f;
            const bool remove = weigh(id, hint, squared);
            // Without `me` nothing is the closest.
            return settle(id, value, me ? squared : kNoClosestSquared, remove);
        });
    }
    mClosestEnemy = closest;
    if (mClosestEnemy)
        mClosestEnemyDistance = Sqrt(closestSquared);
}

AngerManager::Best AngerManager::FindAngriest(float floor, bool askEveryEntry) {
    Best best;
    best.score = floor;
    World& world = World::Get();
    if (!askEveryEntry) {
        // The entry that would win, when its character lives, wins: no earlier entry scores as
        // high and no later one higher.
        const std::size_t slot = mAnger.Angriest(floor, mLastTarget);
        if (slot == mAnger.size())
            return best;
        const std::uint32_t id = mAnger.IdAt(slot);
        Character* candidate = nullptr;
        if (const EntityDigest* digest = FindEntryDigest(world, slot)) {
            if (SightDigest::Has(*digest, SightDigest::kAlive))
                candidate = static_cast<Character*>(world.GetEntityAt(mAnger.HintAt(slot)));
        } else if (Character* found = FindCharacter(id); found && found->IsAlive()) {
            candidate = found;
        }
        if (candidate) {
            const float anger = mAnger.ValueAt(slot);
            return Best{candidate, id, id == mLastTarget ? anger * 2.0f : anger};
        }
    }
    mAnger.Flush();
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot) {
        const std::uint32_t id = mAnger.IdAt(slot);
        const float anger = mAnger.ValueAt(slot);
        // The current target counts double, so a monster does not flit between enemies.
        const float score = id == mLastTarget ? anger * 2.0f : anger;
        // Only an entry that would win needs its character.
        if (!askEveryEntry && !(score > best.score))
            continue;
        Character* candidate = nullptr;
        if (const EntityDigest* digest = FindEntryDigest(world, slot)) {
            if (!SightDigest::Has(*digest, SightDigest::kAlive))
                continue;
            candidate = static_cast<Character*>(world.GetEntityAt(mAnger.HintAt(slot)));
        } else {
            candidate = FindCharacter(id);
            if (!candidate || !candidate->IsAlive())
                continue;
        }
        if (score > best.score) {
            best.score = score;
            best.character = candidate;
            best.id = id;
        }
    }
    return best;
}

Character* AngerManager::GetNewTarget(float tolerance) {
    if (mMostHatedEnemy)
        if (Character* hated = FindCharacter(mMostHatedEnemy))
            return hated;
    // No entry at or below the tolerance can be chosen, so none needs weighing; the first
    // angriest above it is the same either way.
    const Best best = FindAngriest(tolerance > 0.0f ? tolerance : 0.0f, false);
#ifndef NDEBUG
    const Best everyEntry = FindAngriest(0.0f, true);
    const bool chosen = everyEntry.character && everyEntry.score > tolerance;
    if (chosen != (best.character != nullptr) ||
        (chosen && (everyEntry.character != best.character ||
                    std::memcmp(&everyEntry.score, &best.score, sizeof best.score) != 0))) {
        gEngine->Log(0, "AngerManager: the target weighed above the tolerance differs");
        std::abort();
    }
#endif
    if (!best.character || !(best.score > tolerance))
        return nullptr;
    mLastTarget = best.id;
    return best.character;
}

void AngerManager::GetClosestEnemy(std::uint32_t& id, float& distance) const {
    id = mClosestEnemy;
    distance = mClosestEnemyDistance;
}

void AngerManager::Clear() {
    mAnger.clear();
    mMostHatedEnemy = 0;
    mClosestEnemy = 0;
}

void AngerManager::TransferAnger(AngerManager& other) const {
    other.mMostHatedEnemy = mMostHatedEnemy;
    other.mAnger = mAnger;
}

float AngerManager::GetAnger(std::uint32_t id) const {
    const std::size_t slot = mAnger.Find(id);
    return slot == mAnger.size() ? 0.0f : mAnger.ValueAt(slot);
}

void AngerManager::GetAngerLevels(std::vector<AngerLevel>& out) const {
    auto& objects = Singleton<ObjectManager>::Get();
    const auto bar = [&](std::uint32_t id, float value) {
        const Object* object = id ? objects.GetObject(id) : nullptr;
        if (!object)
            return;
        const float share = value * 0.01f;
        out.push_back({object->GetObjectName(), value, Color{share, 1.0f - share, 0.0f, 1.0f}});
    };
    bar(mMostHatedEnemy, kMaxAnger);
    for (std::size_t slot = 0; slot < mAnger.size(); ++slot)
        bar(mAnger.IdAt(slot), mAnger.ValueAt(slot));
}

void AngerManager::ShowAngerLevels() const {
    std::vector<AngerLevel> levels;
    GetAngerLevels(levels);
    DebugRenderManager& graph = DebugRenderManager::Get();
    for (const AngerLevel& level : levels)
        graph.RenderStatisticGraph(level.name, level.value, level.color);
}

}  // namespace GAME
