#pragma once
// The per-hit shield of buffs: a qualifying hit first loses a percentage, then up to the
// absorption. Shared by the buffs on others and the self buffs. Logged on the combat trace
// (detail level), so a shielded hit writes nothing unless the trace is on.
#include "Game/rules/combat/CombatAttributeType.h"

namespace GAME {

class SkillProfile;

// Whether the profile's qualifying damage (none named: every kind) takes this type.
bool ShieldQualifies(const SkillProfile& profile, CombatAttributeType type);
// The damage left after the percentage step.
float ShieldReduce(float damage, float percent);
// The damage left after the percentage and a per-hit cap that is never used up.
float ShieldModifyDamage(const SkillProfile& profile, float damage, CombatAttributeType type,
                         float absorption, float percent);

}  // namespace GAME
