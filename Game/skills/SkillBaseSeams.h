#pragma once
// What the skill base reaches in parts of the game that are not built yet (the rag-doll data of
// animations, projectiles, secondary skills). Each logs one level-1
// line per machine the first time it is skipped ("Skill: <operation> is not available yet") and
// does nothing; a query answers 0, false or nothing found.
#include <cstddef>

namespace GAME {

// clang-format off
#define GAME_SKILL_BASE_SEAMS(X) \
    X(AnimationRagDollInfo, "AnimationSet rag-doll data of the current animation") \
    X(ProjectileAddModifier, "ProjectileBase::AddProjectileModifier") \
    X(SecondarySkills, "SkillSecondary activation and stop")
// clang-format on

enum class SkillBaseSeam : std::size_t {
#define GAME_SKILL_BASE_SEAM_ID(Id, Text) Id,
    GAME_SKILL_BASE_SEAMS(GAME_SKILL_BASE_SEAM_ID)
#undef GAME_SKILL_BASE_SEAM_ID
        Count
};

void ReportSkillBaseSeam(SkillBaseSeam seam);

}  // namespace GAME
