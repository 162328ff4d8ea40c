#pragma once
// The race texts that racial bonus lines show come from the root object's race table. Until
// the root answers them, this per-machine source does: the root installs its lookup on start.
#include <functional>
#include <string>

namespace GAME {

struct RacialBonusRaceSource {
    // race -> plural display tag; unset answers the unknown-race tag.
    std::function<std::string(const std::string&)> pluralTag;
};

// The plural display tag of a race ("noTagUnknownRace" when no table knows it).
std::string MonsterRaceTagPlural(const std::string& race);
void SetMonsterRaceTagPluralSource(std::function<std::string(const std::string&)> source);

}  // namespace GAME
