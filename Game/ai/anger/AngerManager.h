#pragma once
// The anger table of one monster: how much it hates each character that provoked it (0..100),
// the designer's most hated enemy, the last target it chose and the closest angering enemy.
// Its controller owns one by value, feeds it and reads its targets from it. Not saved.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/world/Math.h"
#include "Game/ai/anger/AngerTable.h"

namespace GAME {

class Character;
class World;
struct EntityDigest;
struct EntityGamePart;

// One bar of the anger display: the character's object name, its anger and its colour.
struct AngerLevel {
    std::string name;
    float value = 0.0f;
    Color color;
};

class AngerManager {
public:
    static constexpr float kMaxAnger = 100.0f;
    // Beyond this distance (world metres) an enemy is forgotten.
    static constexpr float kRemovalDistance = 50.0f;
    // At most this many entries of room beyond the enemies first seen.
    static constexpr std::size_t kRoomToGrow = 32;

    static float GetMaxAnger() { return kMaxAnger; }

    // Anger toward a living, angering character, scaled by its anger multiplier and capped;
    // every other entry calms by 0.7 of the amount shared over the entries.
    void AddAnger(std::uint32_t id, float amount);
    // The same for a character already at hand (no look-up by id).
    void AddAnger(const Character& enemy, float amount);
    // The same, read from its world digest when it still stands in `worldSlot`.
    void AddAnger(const Character& enemy, std::uint32_t worldSlot, float amount);
    // The same for the character `id` standing in `worldSlot`, read from the game's part of its
    // world digest alone.
    void AddAnger(const EntityGamePart& enemy, std::uint32_t id, std::uint32_t worldSlot,
                  float amount);
    // The provocation AddAnger(enemy, id, worldSlot, amount) carries out, in `out`; false when
    // it does nothing.
    static bool SightProvocation(const EntityGamePart& enemy, std::uint32_t id,
                                 std::uint32_t worldSlot, float amount, AngerTable::Provoked& out);
    // About `count` enemies are to be angered at once: an empty table makes room for them all
    // and a quarter more (at most kRoomToGrow more), for the ones that come into view later (a
    // table in use grows as it needs, so it never holds twice what it had).
    void ExpectEnemies(std::size_t count) {
        if (mAnger.empty())
            mAnger.Reserve(count + std::min(count / 4, kRoomToGrow));
    }
    // Decays the table by forgiveRate (anger per second) over ms, drops the enemies that died,
    // left, turned friendly or went out of reach of `me`, and finds the closest one left.
    void Update(int ms, float forgiveRate, const Character* me) {
        Update(ms, forgiveRate, me, nullptr, nullptr);
    }
    // The provocations of a sight sweep's enemies, in order, as AddAnger made them one by one,
    // then Update(ms, forgiveRate, &me). Each listed enemy is a living foe that angers, standing
    // in its listed world slot, at the squared world distance `reach[k]` from `me`'s position:
    // its entry is weighed from that alone. An empty table keeps room for the entries that
    // stay and a quarter more (at most kRoomToGrow more), as ExpectEnemies would for them.
    void SightTick(const AngerTable::ProvokedColumns& list, const float* reach, std::size_t count,
                   int ms, float forgiveRate, const Character& me);
    // The most hated enemy when it exists; else the angriest living entry (the last target
    // counting double) when its score is above the tolerance; else null.
    Character* GetNewTarget(float tolerance);

    void SetMostHatedEnemy(std::uint32_t id) { mMostHatedEnemy = id; }
    // The closest enemy of the last Update and its distance (id 0 when none).
    void GetClosestEnemy(std::uint32_t& id, float& distance) const;
    // Forgets every enemy and the most hated one; the last target stays.
    void Clear();
    // Hands this table and its most hated enemy to another manager.
    void TransferAnger(AngerManager& other) const;
    // Draws the table as statistic graphs: the most hated enemy at full anger, then each entry.
    void ShowAngerLevels() const;
    // The bars ShowAngerLevels draws, in drawing order (appended to `out`).
    void GetAngerLevels(std::vector<AngerLevel>& out) const;

    const AngerTable& GetAngerTable() const { return mAnger; }
    // 0 for a character not in the table.
    float GetAnger(std::uint32_t id) const;
    std::uint32_t GetLastTarget() const { return mLastTarget; }

private:
    // Update, weighing the entry of each slot whose step (`steps`, when given) is k >= 0 from
    // the squared distance `reach[k]` alone (see SightTick); with `reach` but no `steps`, the
    // step of every slot is the slot itself.
    void Update(int ms, float forgiveRate, const Character* me, const std::int32_t* steps,
                const float* reach);
    static bool ShouldRemoveEnemy(const Character* me, const Character* enemy);
    // The same, leaving the squared world distance between the two in `squared` when it gets
    // as far as measuring it.
    static bool ShouldRemoveEnemy(const Character* me, const Character* enemy, float& squared);
    // Provoking one enemy calms the monster toward the others by this share of the amount.
    static constexpr float kCalmShare = 0.7f;
    // What Update takes from each entry for `ms` of forgiving.
    static float DecayOf(int ms, float forgiveRate) {
        return static_cast<float>(ms) * 0.001f * forgiveRate;
    }

    // Adds to the entry of `id` (its world slot hint `worldSlot`) and calms the others. Entries
    // may fall below 0 here; the next Update removes them. Each value takes its own subtraction,
    // as it always did: a shared offset would round differently.
    void AddScaledAnger(std::uint32_t id, std::uint32_t worldSlot, float amount) {
        const std::size_t slot = mAnger.FindOrInsert(id, worldSlot);
        const std::size_t size = mAnger.size();
        float calm = 0.0f;
        const bool calms = AngerTable::CalmOf(amount, size, kCalmShare, calm);
        mAnger.Provoke(slot, amount, kMaxAnger, calms, calm);
    }
    struct Best {
        Character* character = nullptr;
        std::uint32_t id = 0;
        float score = 0.0f;
    };
    // The first living entry of the highest score above `floor` (the last target counting
    // double); with `askEveryEntry` every entry's character is looked at, as it once was.
    Best FindAngriest(float floor, bool askEveryEntry);
    // The digest of the entry's character while the entry's hint still finds it standing in the
    // world (the hint is renewed from the character when it moved slots); null when the
    // character is gone or out of the world.
    const EntityDigest* FindEntryDigest(World& world, std::size_t entry);

    AngerTable mAnger;
    std::uint32_t mMostHatedEnemy = 0;
    std::uint32_t mLastTarget = 0;
    std::uint32_t mClosestEnemy = 0;
    float mClosestEnemyDistance = 0.0f;
};

}  // namespace GAME
