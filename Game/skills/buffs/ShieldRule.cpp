#include "Game/skills/buffs/ShieldRule.h"

#include <algorithm>

#include "Game/rules/combat/CombatManager.h"
#include "Game/skills/profile/SkillProfile.h"

namespace GAME {

bool ShieldQualifies(const SkillProfile& profile, CombatAttributeType type) {
    return profile.IsQualifyingDamage(type);
}

float ShieldReduce(float damage, float percent) {
    if (!(percent > 0.0f))
        return damage;
    const float reduced = damage - percent * 0.01f * damage;
    CombatManager::Trace("^bShield: Reduced (%f) Damage by (%f%%) percent, remaining damage (%f)",
                         static_cast<double>(damage), static_cast<double>(percent),
                         static_cast<double>(reduced));
    return reduced;
}

float ShieldModifyDamage(const SkillProfile& profile, float damage, CombatAttributeType type,
                         float absorption, float percent) {
    if (!ShieldQualifies(profile, type))
        return damage;
    const float reduced = ShieldReduce(damage, percent);
    if (!(absorption > 0.0f))
        return reduced;
    const float absorbed = std::min(reduced, absorption);
    CombatManager::Trace("^bShield: Absorbed (%f) of (%f) damage, max absorption (%f)",
                         static_cast<double>(absorbed), static_cast<double>(reduced),
                         static_cast<double>(absorption));
    return reduced - absorbed;
}

}  // namespace GAME
