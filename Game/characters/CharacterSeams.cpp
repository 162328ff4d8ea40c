#include "Game/characters/CharacterSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_CHARACTER_SEAM_TEXT(Id, Text) Text,
    GAME_CHARACTER_SEAMS(GAME_CHARACTER_SEAM_TEXT)
#undef GAME_CHARACTER_SEAM_TEXT
};

// Which seams this machine has reported.
struct CharacterSeamLog {
    std::array<bool, static_cast<std::size_t>(CharacterSeam::Count)> reported{};
};

}  // namespace

void ReportCharacterSeam(CharacterSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<CharacterSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Character: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
