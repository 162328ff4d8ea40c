#pragma once
// A sight tick weighs every foe its sweep kept: the anger the foe's distance earns, the
// provocation that makes of it and the squared distance the anger table measures it at. A crowd
// is weighed eight foes at a time where the processor has the lanes, each lane taking the float
// operations of one foe in the same order, so the answers are the same bits. (Defined in
// SightLanes.cpp.)
#include <cstddef>
#include <cstdint>

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

// Weighs foes[0..8) into provoked[0..8) and reach[0..8) and returns true when each of them angers,
// holds its own path position and stands, as that position does, in `region` (never null);
// else returns false and writes nothing. Keeps `region`'s lanes in `terms` for the next group.
// Only where HasEightLanes.
bool WeighEightFoes(const EntityGrid::Entry* const* foes, const Region* region,
                    SightLaneTerms& terms, AngerTable::Provoked* provoked, float* reach);

}  // namespace GAME
