#include "Game/core/net/commands/CharacterCommandSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_CHARACTER_COMMAND_SEAM_TEXT(Id, Text) Text,
    GAME_CHARACTER_COMMAND_SEAMS(GAME_CHARACTER_COMMAND_SEAM_TEXT)
#undef GAME_CHARACTER_COMMAND_SEAM_TEXT
};

struct CharacterCommandSeamLog {
    std::array<bool, static_cast<std::size_t>(CharacterCommandSeam::Count)> reported{};
};

}  // namespace

void ReportCharacterCommandSeam(CharacterCommandSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<CharacterCommandSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Commands: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
