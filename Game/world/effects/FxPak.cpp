#include "Game/world/effects/FxPak.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/world/World.h"
#include "Game/core/ObjectLookup.h"
#include "Game/world/effects/FxMesh.h"

namespace GAME {

RTTI_IMPLEMENT(FxPak, Entity)

FxPak::~FxPak() {
    if (SoundPak* sound = GetActivateSound())
        Singleton<ObjectManager>::Get().DestroyObject(sound);
}

SoundPak* FxPak::GetActivateSound() const {
    return mActivateSoundId ? Singleton<ObjectManager>::Get().GetObject<SoundPak>(mActivateSoundId)
                            : nullptr;
}

void FxPak::Load(const LoadTable& table) {
    Entity::Load(table);
    mParticleNames.clear();
    mMeshNames.clear();
    table.GetStringArray("particleEffectNames", mParticleNames);
    table.GetStringArray("meshEffectNames", mMeshNames);
    if (SoundPak* sound = GetSoundPakFromRecord(table, "activateSound"))
        mActivateSoundId = sound->GetObjectId();
    SetBoundingRadius(1.0f);
}

void FxPak::InitialUpdate() {
    Entity::InitialUpdate();
    LoadResources();
    if (SoundPak* sound = GetActivateSound())
        sound->Play(GetPosition());
}

void FxPak::LoadResources() {
    auto& objects = Singleton<ObjectManager>::Get();
    for (const std::string& name : mMeshNames) {
        if (FxMesh* mesh = objects.CreateObjectFromFile<FxMesh>(name)) {
            mesh->AddToWorld(GetCoords());
            mesh->Start();
        }
    }
    for (const std::string& name : mParticleNames) {
        if (EffectEntity* effect = objects.CreateObjectFromFile<EffectEntity>(name)) {
            effect->StartEmitting();
            effect->AddToWorld(GetCoords(), true);
        }
    }
    mMeshNames.clear();
    mParticleNames.clear();
}

void FxPak::UpdateSelf(int elapsedMs) {
    Entity::UpdateSelf(elapsedMs);
    if (elapsedMs > 0 && IsInWorld()) {
        World::Get().RemoveEntity(this);
        Singleton<ObjectManager>::Get().DestroyObject(this);
    }
}

}  // namespace GAME
