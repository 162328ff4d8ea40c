#include "Game/ai/controllers/ControllerSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_CONTROLLER_SEAM_TEXT(Id, Text) Text,
    GAME_CONTROLLER_SEAMS(GAME_CONTROLLER_SEAM_TEXT)
#undef GAME_CONTROLLER_SEAM_TEXT
};

// Which seams this machine has reported.
struct ControllerSeamLog {
    std::array<bool, static_cast<std::size_t>(ControllerSeam::Count)> reported{};
};

}  // namespace

void ReportControllerSeam(ControllerSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<ControllerSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Controller: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
