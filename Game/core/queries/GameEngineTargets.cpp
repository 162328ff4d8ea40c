// The root's spatial questions for skills and AI, and its random pick from a list.
#include <algorithm>

#include "Engine/world/QueryScratch.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Team.h"

namespace GAME {

std::uint32_t GameEngine::PickObject(const std::vector<std::uint32_t>& candidates,
                                     const std::vector<std::uint32_t>& excluded) {
    auto allowed = [&](std::uint32_t id) {
        return std::find(excluded.begin(), excluded.end(), id) == excluded.end();
    };
    // Counted, then found by index: the pick needs no list of its own.
    const auto count = std::count_if(candidates.begin(), candidates.end(), allowed);
    if (count == 0)
        return 0;
    auto index = randomGen.IGenerate(0, static_cast<int>(count) - 1);
    for (std::uint32_t id : candidates)
        if (allowed(id) && index-- == 0)
            return id;
    return 0;
}

void GameEngine::ReserveCombatRoom(std::size_t population) {
    damageRegister.Reserve(population);
    if (queryScratch.capacity() < population)
        queryScratch.reserve(std::max(population, 2 * queryScratch.capacity()));
}

void GameEngine::FilterInvalidTargets(const Team& team, const std::vector<Entity*>& candidates,
                                      std::vector<std::uint32_t>& out, std::uint32_t exclude,
                                      bool friends) const {
    for (Entity* entity : candidates) {
        auto* character = dynamic_cast<Character*>(entity);
        if (!character || IsOfClass(character, "Npc"))
            continue;
        if (!character->HasDoneInitialUpdate() || !character->IsAlive() || character->IsHiding())
            continue;
        const Team other = character->GetTeam();
        const bool wanted =
            friends ? (teamManager ? teamManager->IsFriend(team, other) : team.IsFriend(other)) &&
                          !IsOfClass(character, "DynamicBarrier")
                    : (teamManager ? teamManager->IsFoe(team, other) : team.IsFoe(other));
        if (wanted && character->GetObjectId() != exclude)
            out.push_back(character->GetObjectId());
    }
}

void GameEngine::GetTargetsInRadius(const Team& team, const WorldVec3& center, float radius,
                                    std::vector<std::uint32_t>& out, std::uint32_t exclude,
                                    bool friends) {
    PrepareQueryScratch(queryScratch);
    if (center.region)
        World::Get().GetEntitiesInSphere(queryScratch, center.region, Sphere{center.local, radius},
                                         EntityListType::Actors);
    FilterInvalidTargets(team, queryScratch, out, exclude, friends);
}

void GameEngine::GetTargetsInRadius(const Character& who, const WorldVec3& center, float radius,
                                    std::vector<std::uint32_t>& out, std::uint32_t exclude,
                                    bool friends) {
    GetTargetsInRadius(who.GetTeam(), center, radius, out, exclude, friends);
}

void GameEngine::GetAllTargetsInRadius(const Team& team, const WorldVec3& center, float radius,
                                       std::vector<std::uint32_t>& out, std::uint32_t exclude) {
    PrepareQueryScratch(queryScratch);
    if (center.region)
        World::Get().GetEntitiesInSphere(queryScratch, center.region, Sphere{center.local, radius},
                                         EntityListType::Actors);
    FilterInvalidTargets(team, queryScratch, out, exclude, true);
    FilterInvalidTargets(team, queryScratch, out, exclude, false);
}

void GameEngine::GetTargetsAlongRay(const Team& team, const WorldRay& ray, float length,
                                    std::vector<std::uint32_t>& out, std::uint32_t exclude,
                                    bool friends) {
    PrepareQueryScratch(queryScratch);
    World::Get().GetAllIntersections(ray, queryScratch, length);
    FilterInvalidTargets(team, queryScratch, out, exclude, friends);
}

void GameEngine::GetTargetsInCone(const Team& team, const WorldVec3& apex, const Vec3& direction,
                                  float angleDegrees, float length, std::vector<std::uint32_t>& out,
                                  std::uint32_t exclude, bool friends) {
    PrepareQueryScratch(queryScratch);
    if (apex.region)
        World::Get().GetEntitiesInCone(queryScratch, apex, direction, angleDegrees * 0.017453292f,
                                       length, EntityListType::Actors);
    FilterInvalidTargets(team, queryScratch, out, exclude, friends);
}

}  // namespace GAME
