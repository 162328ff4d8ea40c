#include "Engine/media/graphics/EffectEntity.h"

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"

namespace GAME {

RTTI_IMPLEMENT(EffectEntity, Entity)

void EffectEntity::Load(const LoadTable& table) {
    Entity::Load(table);
    const int lifetime = table.GetInt("particleLifetime", mParticleLifetime);
    if (lifetime < 0)
        gEngine->Log(1, "%s: particleLifetime %d is negative; 0 is used",
                     table.GetRecordName().c_str(), lifetime);
    mParticleLifetime = lifetime < 0 ? 0 : lifetime;
}

void EffectEntity::StartEmitting() {
    mEmitting = true;
    mParticlesLive = true;
    MediaRecorder::Get().Record(MediaCall::StartEmitting, GetObjectId(), GetObjectName());
}

void EffectEntity::StopEmitting() {
    if (mEmitting)
        mStoppedAt = gEngine->GetGameTime();
    mEmitting = false;
    MediaRecorder::Get().Record(MediaCall::StopEmitting, GetObjectId(), GetObjectName());
}

void EffectEntity::ResetEmitter() {
    mParticlesLive = mEmitting;
    mStoppedAt = gEngine->GetGameTime();
    MediaRecorder::Get().Record(MediaCall::ResetEmitter, GetObjectId(), GetObjectName());
}

bool EffectEntity::HasLiveParticles() const {
    if (mEmitting)
        return true;
    return mParticlesLive &&
           gEngine->GetGameTime() - mStoppedAt < static_cast<std::uint64_t>(mParticleLifetime);
}

void EffectEntity::UpdateSelf(int elapsedMs) {
    Entity::UpdateSelf(elapsedMs);
    if (mDeleteWhenDone && !HasLiveParticles())
        Singleton<ObjectManager>::Get().DestroyObject(this);
}

void EffectEntity::FadeLight() {
    mLightFading = true;
    MediaRecorder::Get().Record(MediaCall::FadeLight, GetObjectId(), GetObjectName());
}

void EffectEntity::AddToWorld(const WorldCoords& coords, bool visible) {
    // Outside any region the world refuses it (and says so); it is still placed.
    if (!World::Get().AddEntity(this, coords, visible))
        SetCoords(coords);
    SetVisibility(visible);
    const Vec3 at = coords.GetWorldCoords().origin;
    MediaRecorder::Get().Record(MediaCall::EffectAddToWorld, GetObjectId(), GetObjectName(), at.x,
                                at.y, at.z, visible ? 1.0f : 0.0f);
}

}  // namespace GAME
