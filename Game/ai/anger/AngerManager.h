#pragma once
// The anger table of one monster: how much it hates each character that provoked it (0..100),
// the designer's most hated enemy, the last target it chose and the closest angering enemy.
// Its controller owns one by value, feeds it and reads its targets from it. Not saved.
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

    static float GetMaxAnger() { return kMaxAnger; }

    // Anger toward a living, angering character, scaled by its anger multiplier and capped;
    // every other entry calms by 0.7 of the amount shared over the entries.
    void AddAnger(std::uint32_t id, float amount);
    // The same for a character already at hand (no look-up by id).
    void AddAnger(const Character& enemy, float amount);
    // The same for the character `id` standing in `worldSlot`, read from the game's part of its
    // world digest alone.
    void AddAnger(const EntityGamePart& enemy, std::uint32_t id, std::uint32_t worldSlot,
                  float amount);
    // About `count` enemies are to be angered at once: an empty table makes room for them all
    // (a table in use grows as it needs, so it never holds twice what it had).
    void ExpectEnemies(std::size_t count) {
        if (mAnger.empty())
            mAnger.Reserve(count);
    }
    // Decays the table by forgiveRate (anger per second) over ms, drops the enemies that died,
    // left, turned friendly or went out of reach of `me`, and finds the closest one left.
    void Update(int ms, float forgiveRate, const Character* me);
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
    static bool ShouldRemoveEnemy(const Character* me, const Character* enemy);
    // The same, leaving the squared world distance between the two in `squared` when it gets
    // as far as measuring it.
    static bool ShouldRemoveEnemy(const Character* me, const Character* enemy, float& squared);
    // Adds to the entry of `id` (its world slot hint `worldSlot`) and calms the others.
    void AddScaledAnger(std::uint32_t id, std::uint32_t worldSlot, float amount);
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
