#include "Game/rules/RacialBonusRaces.h"

#include "Engine/sys/Machine.h"

namespace GAME {

std::string MonsterRaceTagPlural(const std::string& race) {
    const auto& source = Singleton<RacialBonusRaceSource>::Get();
    if (source.pluralTag)
        return source.pluralTag(race);
    return "noTagUnknownRace";
}

void SetMonsterRaceTagPluralSource(std::function<std::string(const std::string&)> source) {
    Singleton<RacialBonusRaceSource>::Get().pluralTag = std::move(source);
}

}  // namespace GAME
