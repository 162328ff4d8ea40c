#pragma once
// The server's check of a player that a client brings to a network game. The client's
// character file is its own business, but what it sends must be a character such a file could
// hold: compared with a fresh player of the same record, the level lies within the level
// record's range, the experience fits the level, the base attributes grew by no more attribute
// points than the levels give, each skill stays within its levels and the skills by no more
// skill points than the levels give, life and mana are finite and within their limits, the gold
// within the purse, every item names an item record, and nothing is carried that no file holds
// (damage over time, buffs cast by others).
#include <cstdint>
#include <string>
#include <vector>

namespace GAME {

// The attribute points that raised a base attribute from the record's value to `value` (a part
// of a step counts as a whole point); 0 when it is not above the record's.
inline std::uint64_t AttributePointsTaken(std::uint64_t value, std::uint64_t record,
                                          std::uint32_t increment) {
    const std::uint64_t step = increment > 0 ? increment : 1;
    return value > record ? (value - record + step - 1) / step : 0;
}

// Empty when the player may join; otherwise one line naming the field that is out of bounds.
// Makes a scratch player of the record for the comparison and destroys it again. Besides the
// levels' points, the bases may have taken those this machine's quests give
// (QuestAttributePointsOffered); the unspent points the client says it brings, when given, are
// lowered to what is left of both.
std::string CheckJoiningPlayer(const std::string& record,
                               const std::vector<std::uint8_t>& replication,
                               std::uint32_t* attributePoints = nullptr);

}  // namespace GAME
