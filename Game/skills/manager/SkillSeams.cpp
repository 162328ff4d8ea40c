#include "Game/skills/manager/SkillSeams.h"

#include <array>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kSeamTexts[] = {
#define GAME_SKILL_SEAM_TEXT(Id, Text) Text,
    GAME_SKILL_SEAMS(GAME_SKILL_SEAM_TEXT)
#undef GAME_SKILL_SEAM_TEXT
};

struct SkillSeamLog {
    std::array<bool, static_cast<std::size_t>(SkillSeam::Count)> reported{};
};

}  // namespace

void ReportSkillSeam(SkillSeam seam) {
    const auto index = static_cast<std::size_t>(seam);
    bool& reported = Singleton<SkillSeamLog>::Get().reported[index];
    if (reported)
        return;
    reported = true;
    gEngine->Log(1, "Skills: %s is not available yet", kSeamTexts[index]);
}

}  // namespace GAME
