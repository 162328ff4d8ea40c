#pragma once
// A sight tick weighs every foe its sweep kept: the anger the foe's distance earns, the
// provocation that makes of it and the squared distance the anger table measures it at. A crowd
// is weighed eight foes at a time where the processor has the lanes, each lane taking the float
// operations of one foe in the same order, so the answers are the same bits. (Defined in
// SightLanes.cpp.)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Engine/world/EntityGrid.h"
#include "Engine/world/Math.h"
#include "Game/ai/anger/AngerTable.h"

namespace GAME {

class Region;

// What every foe of one tick is weighed with.
struct SightTerms {
    Vec3 selfWorld;     // the monster's path position, in world space
    Vec3 measuredFrom;  // the monster's position, in world space: where the table measures from
    // The sight anger over `ms` of a foe at distance d: (d < innerDistance ? innerRate :
    // rate * (1 - 0.1 d / viewDistance)) * ms * 0.001, times `scale` (the ticks), times the
    // foe's anger multiplier.
    float innerDistance = 0, innerRate = 0, rate = 0, viewDistance = 0;
    float ms = 0, scale = 0;
};

// The same terms in every lane of eight, spread once per tick rather than by each group of eight
// foes (with the constants the weighing multiplies by and the flags it asks for).
struct SightLaneTerms {
    static constexpr std::size_t kLanes = 8;
    using Lanes = float[kLanes];
    using Words = std::uint32_t[kLanes];
    alignas(32) Lanes selfX, selfY, selfZ, fromX, fromY, fromZ;
    alignas(32) Lanes innerDistance, innerRate, rate, viewDistance, ms, scale;
    alignas(32) Lanes one, tenth, thousandth;
    alignas(32) Words plainFlags;
    // The region the last group stood in, its pointer's words and its offset spread: a tick's
    // groups mostly stand in one, and a term read where it lies takes no register.
    const Region* region = nullptr;
    alignas(32) Words regionLow, regionHigh;
    alignas(32) Lanes offsetX, offsetY, offsetZ;
};

// Only where HasEightLanes.
void SpreadSightTerms(const SightTerms& terms, SightLaneTerms& out);

// A sight tick's weighed foes in list order: their provocations, as the anger table takes them,
// and each foe's reach (its squared world distance from where the table measures). The four
// columns lie in one block a stride apart, so a group of foes reaches them all from one place.
class SightList {
public:
    // Foe k's place: its id, then its world slot, amount and reach, each `stride` bytes on.
    struct Place {
        std::byte* at;
        std::size_t stride;

        // The place of the foe `count` on.
        Place After(std::size_t count) const { return {at + count * kWord, stride}; }
        void Put(const AngerTable::Provoked& provoked, float reach) const {
            std::memcpy(at, &provoked.id, kWord);
            std::memcpy(at + stride, &provoked.worldSlot, kWord);
            std::memcpy(at + 2 * stride, &provoked.amount, kWord);
            std::memcpy(at + 3 * stride, &reach, kWord);
        }
        AngerTable::Provoked Provocation() const {
            AngerTable::Provoked provoked;
            std::memcpy(&provoked.id, at, kWord);
            std::memcpy(&provoked.worldSlot, at + stride, kWord);
            std::memcpy(&provoked.amount, at + 2 * stride, kWord);
            return provoked;
        }
        float Reach() const {
            float reach = 0.0f;
            std::memcpy(&reach, at + 3 * stride, kWord);
            return reach;
        }
    };

    // Room for `count` foes; what the list held is lost when it grows.
    void Reserve(std::size_t count) {
        if (count <= mRoom)
            return;
        // Twice the room, as a vector would: a crowd comes into view a few at a time.
        mRoom = std::max(count, 2 * mRoom);
        // Room only: a place is written before it is read.
        mBlock = std::make_unique_for_overwrite<std::byte[]>(4 * mRoom * kWord);
    }
    Place At(std::size_t k) const { return {mBlock.get() + k * kWord, mRoom * kWord}; }
    // How many foes lie before `place`.
    std::size_t Before(const Place& place) const {
        return static_cast<std::size_t>(place.at - mBlock.get()) / kWord;
    }
    AngerTable::ProvokedColumns Provocations() const {
        return {Column<std::uint32_t>(0), Column<std::uint32_t>(1), Column<float>(2)};
    }
    const float* Reach() const { return Column<float>(3); }

private:
    static constexpr std::size_t kWord = sizeof(std::uint32_t);
    static_assert(sizeof(float) == kWord);

    template <class T>
    const T* Column(std::size_t column) const {
        return reinterpret_cast<const T*>(mBlock.get() + column * mRoom * kWord);
    }

    std::unique_ptr<std::byte[]> mBlock;
    std::size_t mRoom = 0;
};

// Weighs foes[0..8) into the list's places from `at` on and returns true when each of them
// angers, holds its own path position and stands, as that position does, in the region the
// first stands in; else (or when the first stands in none) returns false and writes nothing.
// Keeps that region's lanes in `terms` for the next group. Only where HasEightLanes.
bool WeighEightFoes(const EntityGrid::Entry* const* foes, SightLaneTerms& terms,
                    SightList::Place at);

// Weighs the groups of eight from `group` up to `end` in turn, as WeighEightFoes does, and
// stops at the first it refuses; returns that group (or `end`) with `at` past the weighed ones.
// The loop takes the weighing inline: a group costs no call, and the terms stay in registers.
const EntityGrid::Entry* const* WeighEightsWhile(const EntityGrid::Entry* const* group,
                                                 const EntityGrid::Entry* const* end,
                                                 SightLaneTerms& terms, SightList::Place& at);

}  // namespace GAME
