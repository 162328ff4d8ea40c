#include "Game/skills/SkillBaseSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_SKILL_BASE_SEAM_TEXT(Id, Text) Text,
    GAME_SKILL_BASE_SEAMS(GAME_SKILL_BASE_SEAM_TEXT)
#undef GAME_SKILL_BASE_SEAM_TEXT
};

struct SkillBaseSeamLog {
    std::array<bool, static_cast<std::size_t>(SkillBaseSeam::Count)> reported{};
};

}  // namespace

void ReportSkillBaseSeam(SkillBaseSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<SkillBaseSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Skill: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
