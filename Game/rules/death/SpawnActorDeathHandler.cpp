#include "Game/rules/death/SpawnActorDeathHandler.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/rules/death/DeathNames.h"

namespace GAME {

void SpawnActorDeathHandler::Execute() {
    mFinished = false;
    if (mCharacter && !mCharacter->ShouldWaitForCallbackToSpawn())
        SpawnActor();
}

void SpawnActorDeathHandler::AnimationCallback(const Name& name) {
    if (mCharacter && mCharacter->ShouldWaitForCallbackToSpawn() &&
        name == DeathNames::SpawnDeathActor())
        SpawnActor();
    if (name == DeathNames::End())
        Finish();
}

void SpawnActorDeathHandler::SpawnActor() {
    if (!mCharacter || mObjectId == 0)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Creating under an id in use would destroy its object (perhaps the dead body itself).
    if (objects.GetObject(mObjectId)) {
        gEngine->Log(1, "SpawnActorDeathHandler: %s: object id %u is in use, %s not spawned",
                     mCharacter->GetObjectName().c_str(), mObjectId,
                     mCharacter->GetActorToSpawnOnDeath().c_str());
        return;
    }
    auto* actor =
        objects.CreateObjectFromFile<Character>(mCharacter->GetActorToSpawnOnDeath(), mObjectId);
    if (!actor)
        return;
    actor->SetSpawnPoint(mCharacter->GetCoords());
    World::Get().AddEntity(actor, actor->GetSpawnPoint(), true);
}

}  // namespace GAME
