#pragma once
// Quest rewards in a network game. Every machine runs its own player's quests, but every machine
// keeps every player's gold and experience in step, so a reward one machine granted alone would
// part it from the others. The server grants instead: a client claims what its quest gives (a
// bonus naming no object), the server finds a reward action of its own quests giving exactly
// that and not yet given to that player, and hands it out as a bonus to every machine, which
// all apply it at the same meeting point.
//
// A named skill's levels travel as that many skill points; the player's own machine then spends
// them on the skill as any spend (SkillPointSpend.h), which every machine pays alike.
#include <cstdint>
#include <string>

namespace GAME {

class Bonus;
class Player;

// This machine's player's reward in a network game: claimed from the server on a client,
// handed out at once on the server. False when there is nothing to give or no one to give it to.
bool SendQuestReward(std::uint32_t target, const Bonus& reward);
// On the server: the grant of a client's claim for `player`, taken from the server's own quests
// once per reward action and player; false when no such reward is left.
bool ClaimQuestReward(std::uint32_t player, const Bonus& claim, Bonus& grant);

// On the player's machine: the next quest grant of exactly `points` skill points to the player
// goes into the skill of that record.
void AwaitQuestSkillPoints(std::uint32_t player, const std::string& skillRecord,
                           std::uint32_t points);
// Where the grant lands (every machine, at the meeting point): the player's machine, awaiting
// it, asks to spend the points on the skill, up to the skill's limit.
void SpendQuestSkillPoints(Player& player, const Bonus& grant);

}  // namespace GAME
