#include "Game/skills/SkillTargets.h"

#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Team.h"

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

// Kept between calls: target searches run per attack and must not allocate once warm.
std::vector<Entity*>& Found() {
    thread_local std::vector<Entity*> found;
    found.clear();
    return found;
}

void Filter(const std::vector<Entity*>& found, const Team& team, std::vector<std::uint32_t>& out,
            std::uint32_t exclude, bool friends) {
    for (Entity* entity : found) {
        auto* character = dynamic_cast<Character*>(entity);
        if (!character || character->GetObjectId() == exclude ||
            !character->HasDoneInitialUpdate() || !character->IsAlive() || character->IsHiding() ||
            FindObjectOfClass(character->GetObjectId(), "Npc"))
            continue;
        const Team other = character->GetTeam();
        if (friends) {
            if (team.IsFriend(other) &&
                !FindObjectOfClass(character->GetObjectId(), "DynamicBarrier"))
                out.push_back(character->GetObjectId());
        } else if (team.IsFoe(other)) {
            out.push_back(character->GetObjectId());
        }
    }
}

}  // namespace

void GetTargetsInRadius(const Team& team, const WorldVec3& centre, float radius,
                        std::vector<std::uint32_t>& out, std::uint32_t exclude, bool friends) {
    out.clear();
    if (!centre.region)
        return;
    std::vector<Entity*>& found = Found();
    World::Get().GetEntitiesInSphere(found, centre.region, Sphere{centre.local, radius},
                                     EntityListType::Actors);
    Filter(found, team, out, exclude, friends);
}

void GetTargetsInCone(const Team& team, const WorldVec3& apex, const Vec3& direction,
                      float angleDegrees, float length, std::vector<std::uint32_t>& out,
                      std::uint32_t exclude, bool friends) {
    out.clear();
    if (!apex.region)
        return;
    std::vector<Entity*>& found = Found();
    World::Get().GetEntitiesInCone(found, apex, direction, angleDegrees * 0.017453292f, length,
                                   EntityListType::Actors);
    Filter(found, team, out, exclude, friends);
}

}  // namespace GAME
