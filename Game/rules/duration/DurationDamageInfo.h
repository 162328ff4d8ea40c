#pragma once
// A value per 100 ms tick and a length: the argument of an add (per second, seconds) and the
// element of a replica's run list (value per tick, run length in ticks).
namespace GAME {

struct DurationDamageInfo {
    float damage = 0.0f;
    float duration = 0.0f;

    bool operator==(const DurationDamageInfo&) const = default;
};

}  // namespace GAME
