#include "Game/world/props/ScriptPoint.h"

#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEvents.h"
#include "Game/core/util/StringUtil.h"

namespace GAME {

RTTI_IMPLEMENT(ScriptPoint, Actor)

void ScriptPoint::Load(const LoadTable& table) {
    SetMesh("System/Meshes/Sphere.msh");
    Actor::Load(table);
    mScriptCharacter = table.GetString("scriptCharacter");
    mSequenceNum = table.GetInt("sequenceNum", 0);
    mWakesCharacter = table.GetBool("wakesCharacter", false);
    if (table.HasKey("radius"))
        SetBoundingRadius(table.GetFloat("radius", GetBoundingRadius()));
}

OrientedBox ScriptPoint::GetCollisionBox() const {
    const float r = GetBoundingRadius();
    return OrientedBox{Coords::Identity(), Vec3{r, r, r}};
}

void ScriptPoint::UpdateSelf(int elapsedMs) {
    Actor::UpdateSelf(elapsedMs);
    const std::uint32_t player = FindPlayerInside();
    // Announced once per entry: a player standing inside does not repeat it.
    if (player != 0 && !mPlayerInside)
        Announce(player);
    mPlayerInside = player != 0;
}

std::uint32_t ScriptPoint::FindPlayerInside() const {
    const WorldVec3 at = GetCoords().GetPosition();
    if (!at.GetRegion())
        return 0;
    thread_local std::vector<Entity*> found;
    found.clear();
    const float radius = GetBoundingRadius();
    World::Get().GetEntitiesInSphere(found, at.GetRegion(), Sphere{at.GetRegionPosition(), radius},
                                     EntityListType::Actors);
    for (const Entity* entity : found) {
        const auto* player = entity->IsA<Player>() ? static_cast<const Player*>(entity) : nullptr;
        if (player && player->IsAlive() &&
            at.DistanceTo(player->GetCoords().GetPosition()) <= radius)
            return player->GetObjectId();
    }
    return 0;
}

void ScriptPoint::Announce(std::uint32_t playerId) const {
    GameEvent_ScriptPoint event;
    event.coords = GetCoords();
    event.targetName = mScriptCharacter;
    event.index = mSequenceNum;
    SendGameEvent(event, "ScriptPoint");
    if (!mWakesCharacter || mScriptCharacter.empty())
        return;
    // Only the machine that drives the character has its brain; elsewhere nothing wakes.
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const std::uint32_t id : World::Get().GetPlacedEntityIds()) {
        const Character* character = objects.GetObject<Character>(id);
        if (!character || !PathEqualsNoCaseStr(character->GetObjectName(), mScriptCharacter))
            continue;
        if (ControllerAI* controller = FindController<ControllerAI>(*character))
            controller->WakeUp(playerId);
    }
}

}  // namespace GAME
