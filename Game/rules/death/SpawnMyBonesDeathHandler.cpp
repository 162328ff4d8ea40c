#include "Game/rules/death/SpawnMyBonesDeathHandler.h"

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/ControllerMonster.h"
#include "Game/characters/Character.h"
#include "Game/characters/monster/Monster.h"
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
    // Anything but a monster is destroyed again by the typed creation.
    auto* bones =
        objects.CreateObjectFromFile<Monster>(mCharacter->GetActorToSpawnForMyBones(), mObjectId);
    if (!bones)
        return;
    mCarriedId = bones->GetObjectId();
    ControllerMonster* brain = bones->Lobotomize();
    mBrainId = brain ? brain->GetObjectId() : 0;
    mCharacter->Attach(bones, Coords::Identity(), "");
}

void SpawnMyBonesDeathHandler::AnimationCallback(const Name& name) {
    if (name != DeathNames::End())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* bones = objects.GetObject<Monster>(mCarriedId);
    if (bones && mCharacter) {
        mCharacter->Detach(bones);
        if (auto* brain = objects.GetObject<ControllerMonster>(mBrainId))
            bones->BrainTransplant(brain);
        bones->SetScale(mCharacter->GetScale());
        World::Get().AddEntity(bones, mCharacter->GetCoords(), true);
    }
    mCarriedId = 0;
    mBrainId = 0;
    Finish();
}

void SpawnMyBonesDeathHandler::PreLoad() {
    if (auto* bones = Singleton<ObjectManager>::Get().GetObject<Monster>(mCarriedId))
        bones->PreLoad(false);
}

}  // namespace GAME
