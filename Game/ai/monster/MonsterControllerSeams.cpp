#include "Game/ai/monster/MonsterControllerSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_MONSTER_CONTROLLER_SEAM_TEXT(Id, Text) Text,
    GAME_MONSTER_CONTROLLER_SEAMS(GAME_MONSTER_CONTROLLER_SEAM_TEXT)
#undef GAME_MONSTER_CONTROLLER_SEAM_TEXT
};

// Which seams this machine has reported.
struct MonsterControllerSeamLog {
    std::array<bool, static_cast<std::size_t>(MonsterControllerSeam::Count)> reported{};
};

}  // namespace

void ReportMonsterControllerSeam(MonsterControllerSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<MonsterControllerSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "ControllerMonster: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
