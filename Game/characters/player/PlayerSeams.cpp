#include "Game/characters/player/PlayerSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_PLAYER_SEAM_TEXT(Id, Text) Text,
    GAME_PLAYER_SEAMS(GAME_PLAYER_SEAM_TEXT)
#undef GAME_PLAYER_SEAM_TEXT
};

// Which seams this machine has reported.
struct PlayerSeamLog {
    std::array<bool, static_cast<std::size_t>(PlayerSeam::Count)> reported{};
};

}  // namespace

void ReportPlayerSeam(PlayerSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<PlayerSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Player: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
