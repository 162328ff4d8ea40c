#pragma once
// A skill or buff that stands between an attack and its character's life: it reduces the damage
// that passes, or shields the character from attackers of given races entirely.
#include <string>
#include <vector>

#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class CombatFilter {
public:
    virtual ~CombatFilter() = default;
    // The damage that passes.
    virtual float ModifyDamage(float damage, CombatAttributeType type) = 0;
    virtual bool ProvidesInvulnerability(const std::vector<std::string>& races) = 0;
};

}  // namespace GAME
