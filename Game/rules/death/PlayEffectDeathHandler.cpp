#include "Game/rules/death/PlayEffectDeathHandler.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME {

void PlayEffectDeathHandler::Execute() {
    if (!mCharacter)
        return;
    auto* effect = Singleton<ObjectManager>::Get().CreateObjectFromFile<EffectEntity>(
        mCharacter->GetDeathEffect());
    if (effect) {
        mEffectId = effect->GetObjectId();
        mCharacter->Attach(effect, Coords::Identity(), "Target");
        effect->StartEmitting();
    }
    Finish();
}

}  // namespace GAME
