#include "Game/rules/combat/ParametersCombat.h"

namespace GAME {

ParametersCombat& ParametersCombat::operator=(const ParametersCombat& other) {
    if (this == &other)
        return *this;
    attackerId = other.attackerId;
    combatStyle = other.combatStyle;
    offensiveAbility = other.offensiveAbility;
    attackRandoms = other.attackRandoms;
    unused = other.unused;
    auraName = other.auraName;
    auraLevel = other.auraLevel;
    accumulator = other.accumulator;
    ragDollData = other.ragDollData;
    racialBonusDamage = other.racialBonusDamage;
    fumbleChance = other.fumbleChance;
    manaCost = other.manaCost;
    return *this;
}

}  // namespace GAME
