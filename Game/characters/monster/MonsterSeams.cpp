#include "Game/characters/monster/MonsterSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_MONSTER_SEAM_TEXT(Id, Text) Text,
    GAME_MONSTER_SEAMS(GAME_MONSTER_SEAM_TEXT)
#undef GAME_MONSTER_SEAM_TEXT
};

// Which seams this machine has reported.
struct MonsterSeamLog {
    std::array<bool, static_cast<std::size_t>(MonsterSeam::Count)> reported{};
};

}  // namespace

void ReportMonsterSeam(MonsterSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<MonsterSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Monster: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
