#include "Game/rules/death/DefaultDeathHandler.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/rules/death/DeathNames.h"

namespace GAME {

namespace {
constexpr int kDeathRagDollPhysics = 3;
}  // namespace

void DefaultDeathHandler::Execute() {
    mFinished = false;
    if (!mCharacter)
        return;
    if (mCharacter->ShouldDoRagDoll() && !mCharacter->ShouldDoLateCrumple()) {
        mCharacter->SetPhysicsType(kDeathRagDollPhysics);
        mCharacter->PlayAnimationSound(Name::Create("deathSound1"));
    } else if (!mCharacter->PlayDeathAnimation()) {
        Finish();
    }
    if (!mCharacter->InRenderPreLoadFrustum() && !mCharacter->IsA<Player>())
        mCharacter->SetVisibility(false);
}

void DefaultDeathHandler::AnimationCallback(const Name& name) {
    if (name == DeathNames::End()) {
        Finish();
        return;
    }
    if (name == DeathNames::RagDoll() && mCharacter && mCharacter->ShouldDoRagDoll() &&
        mCharacter->ShouldDoLateCrumple()) {
        CharacterRagDoll::EffectData data;
        data.effect = CharacterRagDoll::Crumple;
        data.amplification = 0.0f;
        mCharacter->SetRagdollData(data, true);
        mCharacter->SetPhysicsType(kDeathRagDollPhysics);
    }
}

void DefaultDeathHandler::ExternalEvent(const Name& name) {
    if (name == DeathNames::PhysicsComplete())
        Finish();
}

void DefaultDeathHandler::Finish() {
    mFinished = true;
    if (!mCharacter)
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // A copy: stopping an effect may change what is attached.
    const std::vector<std::uint32_t> children = mCharacter->GetAttachedChildren();
    for (std::uint32_t id : children) {
        if (auto* effect = objects.GetObject<EffectEntity>(id)) {
            effect->StopEmitting();
            effect->FadeLight();
        }
    }
}

}  // namespace GAME
