#include "Game/rules/death/DissolveActorDeathHandler.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/graphics/Light.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/rules/death/DeathNames.h"
#include "Game/rules/death/DeathRemovals.h"

namespace GAME {

namespace {
constexpr float kLightRadius = 10.0f;
constexpr float kLightShrinkPerSecond = 5.0f;
}  // namespace

void DissolveActorDeathHandler::Execute() {
    mFinished = false;
    if (mCharacter && mCharacter->GetDeleteBehavior() == "Dissolve")
        StartDissolve();
}

void DissolveActorDeathHandler::StartDissolve() {
    if (!mCharacter)
        return;
    mCharacter->GetMeshInstance().BeginDissolve(
        mCharacter->GetDissolveColorRed(), mCharacter->GetDissolveColorGreen(),
        mCharacter->GetDissolveColorBlue(), mCharacter->GetDissolveTime(),
        mCharacter->GetDissolveTexture());
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* effect = objects.CreateObjectFromFile<EffectEntity>(mCharacter->GetDissolveEffect());
    mLightRadius = kLightRadius;
    if (auto* light = objects.CreateObjectFromFile<Light>(mCharacter->GetDissolveLight())) {
        mLightId = light->GetObjectId();
        mCharacter->Attach(light, Coords::Identity(), "Target");
        light->SetColor(Color{1.0f, 0.0f, 0.0f, 1.0f});
        light->SetRadius(kLightRadius);
    }
    if (effect) {
        mEffectId = effect->GetObjectId();
        mCharacter->Attach(effect, Coords::Identity(), "");
    }
}

void DissolveActorDeathHandler::Update(int ms) {
    if (!mCharacter)
        return;
    if (mCharacter->GetIsDissolved()) {
        Finish();
        return;
    }
    if (auto* light = Singleton<ObjectManager>::Get().GetObject<Light>(mLightId)) {
        mLightRadius -= static_cast<float>(ms) * 0.001f * kLightShrinkPerSecond;
        if (mLightRadius < 0.0f)
            mLightRadius = 0.0f;
        light->SetRadius(mLightRadius);
    }
}

void DissolveActorDeathHandler::AnimationCallback(const Name& name) {
    if (!mCharacter)
        return;
    if (mCharacter->GetDeleteBehavior() == "DissolveOnCallback" && name == DeathNames::Dissolve()) {
        StartDissolve();
        return;
    }
    if (name != DeathNames::End())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (auto* light = objects.GetObject<Light>(mLightId)) {
        mCharacter->Detach(light);
        objects.DestroyObjectEx(light, "Game/DissolveActorDeathHandler", __LINE__);
        mLightId = 0;
    }
    if (auto* effect = objects.GetObject<EffectEntity>(mEffectId)) {
        mCharacter->Detach(effect);
        effect->StopEmitting();
        // Left behind to finish its particles, then it goes by itself.
        effect->SetDeleteWhenDone(true);
        effect->AddToWorld(mCharacter->GetCoords(), true);
        mEffectId = 0;
    }
    Finish();
}

void DissolveActorDeathHandler::ExternalEvent(const Name& name) {
    if (mCharacter && name == DeathNames::PhysicsComplete() &&
        mCharacter->GetDeleteBehavior() != "Dissolve")
        Finish();
}

void DissolveActorDeathHandler::PostProcess() {
    // This runs inside the body's own update: the body goes at the game's next frame step.
    if (mCharacter)
        Singleton<DeathRemovals>::Get().Request(*mCharacter);
}

}  // namespace GAME
