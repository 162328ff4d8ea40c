#include "Game/ai/monster/states/MonsterStateSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_MONSTER_STATE_SEAM_TEXT(Id, Text) Text,
    GAME_MONSTER_STATE_SEAMS(GAME_MONSTER_STATE_SEAM_TEXT)
#undef GAME_MONSTER_STATE_SEAM_TEXT
};

// Which seams this machine has reported.
struct MonsterStateSeamLog {
    std::array<bool, static_cast<std::size_t>(MonsterStateSeam::Count)> reported{};
};

}  // namespace

void ReportMonsterStateSeam(MonsterStateSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<MonsterStateSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Monster states: %s is not available yet", kSeamTexts[index]);
}

bool FindProjectileLaunchPoint(std::uint32_t, WorldVec3&) {
    ReportMonsterStateSeam(MonsterStateSeam::ProjectileInfo);
    return false;
}

}  // namespace GAME
