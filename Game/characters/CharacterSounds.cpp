// A character's own sounds: attack, loot, body fall, low health, and the net sounds every machine
// hears (registered in the same order on each, so a position in the list names the same pack).
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/media/graphics/GraphicsMeshInstance.h"
#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/ai/controllers/ControllerBaseCharacter.h"
#include "Game/characters/Character.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

namespace {

const Name& BodyFallSoundName() {
    static const Name name = Name::Create("bodyFallSound");
    return name;
}

}  // namespace

void Character::PlayAttackSound() {
    if (SoundPak* sound = GetAttackSound())
        sound->Play(GetPosition(), false, true);
}

void Character::PlayLootSound() {
    if (SoundPak* sound = GetSoundPak(LootSound))
        sound->Play(GetPosition(), false, true);
}

void Character::PlayLowHealthSoundIfNeeded(float currentLife) {
    const float most = mBio.GetAttribute(CharAttributeType::Life);
    if (mLowHealthLatch) {
        if (currentLife >= most * mLowHealthResetLevel * 0.01f)
            mLowHealthLatch = false;
        return;
    }
    if (currentLife > most * mLowHealthTriggerLevel * 0.01f)
        return;
    mLowHealthLatch = true;
    if (SoundPak* sound = GetSoundPak(LowHealthSound))
        sound->Play(GetPosition(), false, true);
    if (auto* controller = FindController<ControllerBaseCharacter>(*this))
        controller->LowHealth();
}

void Character::PlayBodyFallSound(PhysicsSurface surface) {
    const WorldVec3 at = GetAttachedCoords("Target").GetPosition();
    if (surface == PhysicsSurface::Water) {
        SoundPak* splash = GetSoundPak(SplashSound);
        if (splash && GetMeshInstance().HasMesh())
            splash->Play(at, false, true);
        return;
    }
    mAnimationSounds.Play(*this, BodyFallSoundName(), &at);
}

void Character::CollisionCallback(const CollisionData& data) {
    if (data.contact)
        PlayBodyFallSound(data.surface);
}

void Character::RegisterNetSound(SoundPak* sound) {
    if (sound)
        mNetSounds.push_back(sound->GetObjectId());
}

void Character::PlayNetSound(SoundPak* sound) {
    if (!sound)
        return;
    const auto it = std::find(mNetSounds.begin(), mNetSounds.end(), sound->GetObjectId());
    if (it == mNetSounds.end()) {
        gEngine->Log(2, "%s attempted to play an invalid Net Sound.", GetObjectName().c_str());
        return;
    }
    const auto index = static_cast<std::uint32_t>(it - mNetSounds.begin());
    Enqueue(std::make_unique<PlaySoundConfigCmd>(GetObjectId(), index));
}

void Character::OnPlayNetSound(unsigned int index) {
    SoundPak* sound = index < mNetSounds.size()
                          ? Singleton<ObjectManager>::Get().GetObject<SoundPak>(mNetSounds[index])
                          : nullptr;
    if (!sound) {
        gEngine->Log(2, "%s received config cmd to play an invalid Net Sound.",
                     GetObjectName().c_str());
        return;
    }
    sound->Play(GetPosition(), false, true);
}

}  // namespace GAME
