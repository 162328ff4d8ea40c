#pragma once
// An attribute's amount and duration draws. Attacks hand the attributes their accumulator's own
// generator, whose class is final: recognised by address, its draw is inline code instead of a
// virtual call. Any other generator (a caller's own) is drawn through its virtual call.
#include "Engine/sys/RandomUniform.h"
#include "Game/rules/combat/CombatAttributeAccumulator.h"

namespace GAME {

inline float DrawDamageFloat(CombatAttributeAccumulator& accumulator, RandomUniform& random,
                             float minimum, float maximum) {
    CombatRandom& own = accumulator.GetRandomGen();
    if (&random == &own)
        return own.FGenerate(minimum, maximum);
    return random.FGenerate(minimum, maximum);
}

}  // namespace GAME
