#pragma once
// A character's skill points spent on its skills. The machine that controls the character asks
// for a spend as the skill's state update one level up; a rise of a skill of the character's own
// list that way is a spend on a character that is not a monster (a player): every machine, the
// deciding one too, holds it to the next meeting point (the command is a strike) and there pays
// the points and raises the level, or changes nothing when the points or the skill's limit do
// not allow it, alike everywhere. So the points left agree on every machine, and the server's copy
// having paid, a client cannot spend the same points twice.
#include <cstdint>

namespace GAME {

class Skill;
class SkillManager;
class SkillState;

// On the controlling machine: one point on the skill. False when the character has no point,
// the skill is at its limit or not of the character's list, or this machine does not decide.
// A second spend of the same skill before the first landed asks for the same level: it pays
// nothing.
bool SpendSkillPoint(SkillManager& manager, std::uint32_t skillId);
// Whether a state update for the skill of that reference is a spend.
bool IsSkillPointSpend(SkillManager& manager, std::uint32_t reference, const SkillState& state);
// Pays the levels the spend raises the skill by (`SubtractSkillPoint` for each) and raises it
// (`AddToSkillLevel`), or logs why not.
void PaySkillLevels(SkillManager& manager, Skill& skill, const SkillState& state);

}  // namespace GAME
