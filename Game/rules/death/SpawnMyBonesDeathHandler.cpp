#include "Game/rules/death/SpawnMyBonesDeathHandler.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/rules/death/DeathNames.h"

namespace GAME {

void SpawnMyBonesDeathHandler::Execute() {
    mFinished = false;
    if (!mCharacter || mObjectId == 0)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Creating under an id in use would destroy its object (perhaps the dead body itself).
    if (objects.GetObject(mObjectId)) {
        gEngine->Log(1, "SpawnMyBonesDeathHandler: %s: object id %u is in use, %s not spawned",
                     mCharacter->GetObjectName().c_str(), mObjectId,
                     mCharacter->GetActorToSpawnForMyBones().c_str());
        return;
    }
    // The monsters come with their own subsystem; their base, the character, carries the bones.
    auto* bones =
        objects.CreateObjectFromFile<Character>(mCharacter->GetActorToSpawnForMyBones(), mObjectId);
    if (!bones)
        return;
    mCarriedId = bones->GetObjectId();
    mBrainId = bones->Lobotomize();
    mCharacter->Attach(bones, Coords::Identity(), "");
}

void SpawnMyBonesDeathHandler::AnimationCallback(const Name& name) {
    if (name != DeathNames::End())
        return;
    auto* bones = Singleton<ObjectManager>::Get().GetObject<Character>(mCarriedId);
    if (bones && mCharacter) {
        mCharacter->Detach(bones);
        if (mBrainId != 0)
            bones->BrainTransplant(mBrainId);
        bones->SetScale(mCharacter->GetScale());
        World::Get().AddEntity(bones, mCharacter->GetCoords(), true);
    }
    mCarriedId = 0;
    mBrainId = 0;
    Finish();
}

void SpawnMyBonesDeathHandler::PreLoad() {
    if (auto* bones = Singleton<ObjectManager>::Get().GetObject<Character>(mCarriedId))
        bones->PreLoad(false);
}

}  // namespace GAME
