#include "Game/skills/SkillTargets.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/Skill.h"

namespace GAME {

float GetCharacterExtents(const Character& character) {
    switch (character.GetPathingSize()) {
        case CharacterPathingSize::Medium:
            return 1.0f;
        case CharacterPathingSize::Large:
            return 1.75f;
        default:
            return 0.5f;
    }
}

namespace {

TeamManager* Teams() {
    return gGameEngine ? gGameEngine->GetTeamManager() : nullptr;
}

// Kept between calls: target searches run per attack and must not allocate once warm.
std::vector<std::uint32_t>& TargetScratch() {
    thread_local std::vector<std::uint32_t> found;
    found.clear();
    return found;
}

// The root's query around the point (nothing without a root).
void FindTargets(const Character& caster, const WorldVec3& center, float radius,
                 std::vector<std::uint32_t>& out, bool friends) {
    if (GameEngine* root = gGameEngine)
        root->GetTargetsInRadius(caster, center, radius, out, 0, friends);
}

}  // namespace

bool Skill::GetValidMeleeTarget(const Character& caster, std::uint32_t& target,
                                const WorldVec3& point, bool useCasterPosition, float radius,
                                bool noSearch) {
    if (target == 0 && !noSearch) {
        auto& found = TargetScratch();
        FindTargets(caster, useCasterPosition ? caster.GetPosition() : point, radius, found, false);
        target = found.empty() ? 0 : found.front();
        return true;
    }
    if (TeamManager* teams = Teams(); teams && teams->IsFoe(caster.GetObjectId(), target))
        return true;
    target = 0;
    return false;
}

bool Skill::GetValidRangedTarget(const Character& caster, std::uint32_t& target,
                                 const WorldVec3& point, bool, float radius) {
    if (target != 0) {
        if (TeamManager* teams = Teams(); teams && teams->IsFoe(caster.GetObjectId(), target))
            return true;
        target = 0;
        return false;
    }
    auto& found = TargetScratch();
    FindTargets(caster, point, radius, found, false);
    target = found.empty() ? 0 : found.front();
    return true;
}

bool Skill::GetValidFriendTarget(const Character& caster, std::uint32_t& target,
                                 const WorldVec3& point, bool useCasterPosition, float radius) {
    if (target != 0) {
        if (TeamManager* teams = Teams(); teams && teams->IsFriend(caster.GetObjectId(), target))
            return true;
        target = 0;
        return false;
    }
    auto& found = TargetScratch();
    FindTargets(caster, useCasterPosition ? caster.GetPosition() : point, radius, found, true);
    const auto self = std::find(found.begin(), found.end(), caster.GetObjectId());
    const bool casterFound = self != found.end();
    if (casterFound)
        found.erase(self);
    if (!found.empty())
        target = found.front();
    else
        target = casterFound ? caster.GetObjectId() : 0;
    return target != 0;
}

}  // namespace GAME
