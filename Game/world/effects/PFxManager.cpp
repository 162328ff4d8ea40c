#include "Game/world/effects/PFxManager.h"

#include "Engine/media/graphics/EffectEntity.h"
#include "Engine/object/ObjectManager.h"
#include "Game/world/effects/FxMesh.h"

namespace GAME {

namespace {
EffectEntity* FindParticle(std::uint32_t id) {
    return Objects().GetObject<EffectEntity>(id);
}
FxMesh* FindMesh(std::uint32_t id) {
    return Objects().GetObject<FxMesh>(id);
}
}  // namespace

PFxManager::~PFxManager() {
    for (const auto& [id, slot] : mParticles)
        if (EffectEntity* effect = FindParticle(id); effect && !slot.attached)
            Objects().DestroyObject(effect);
    for (const auto& [id, slot] : mMeshes)
        if (FxMesh* mesh = FindMesh(id); mesh && !slot.attached)
            Objects().DestroyObject(mesh);
}

std::uint32_t PFxManager::AddParticleEffect(const std::string& record,
                                            const std::string& attachPoint) {
    if (record.empty())
        return 0;
    EffectEntity* effect = Objects().CreateObjectFromFile<EffectEntity>(record);
    if (!effect)
        return 0;
    effect->PreLoad(false);
    const std::uint32_t id = effect->GetObjectId();
    mParticles[id] = ParticleSlot{attachPoint, false, false, false};
    return id;
}

void PFxManager::StartParticleEffect(std::uint32_t id) {
    auto it = mParticles.find(id);
    if (it == mParticles.end() || it->second.removed)
        return;
    EffectEntity* effect = FindParticle(id);
    if (!effect)
        return;
    ParticleSlot& slot = it->second;
    effect->ResetEmitter();
    if (!slot.attached && mActor) {
        mActor->Attach(effect, Coords::Identity(), slot.attachPoint.c_str());
        slot.attached = true;
    }
    effect->StartEmitting();
    slot.emitting = true;
}

void PFxManager::StopParticleEffect(std::uint32_t id) {
    auto it = mParticles.find(id);
    if (it == mParticles.end() || !it->second.emitting)
        return;
    if (EffectEntity* effect = FindParticle(id))
        effect->StopEmitting();
    it->second.emitting = false;
}

void PFxManager::RemoveParticleEffect(std::uint32_t& id) {
    auto it = mParticles.find(id);
    if (it != mParticles.end()) {
        StopParticleEffect(id);
        it->second.removed = true;
    }
    id = 0;
}

std::uint32_t PFxManager::AddMeshEffect(const std::string& record) {
    if (record.empty())
        return 0;
    FxMesh* mesh = Objects().CreateObjectFromFile<FxMesh>(record);
    if (!mesh)
        return 0;
    mesh->PreLoad(false);
    const std::uint32_t id = mesh->GetObjectId();
    mMeshes[id] = MeshSlot{mesh->GetAttachPoint(), false};
    return id;
}

void PFxManager::StartMeshEffect(std::uint32_t id) {
    auto it = mMeshes.find(id);
    FxMesh* mesh = FindMesh(id);
    if (it == mMeshes.end() || !mesh || it->second.attached)
        return;
    if (mActor)
        mActor->Attach(mesh, Coords::Identity(), it->second.attachPoint.c_str());
    mesh->Start();
    it->second.attached = true;
}

void PFxManager::StopMeshEffect(std::uint32_t id) {
    auto it = mMeshes.find(id);
    FxMesh* mesh = FindMesh(id);
    if (it == mMeshes.end() || !mesh || !it->second.attached)
        return;
    if (mActor)
        mActor->Detach(mesh);
    mesh->Stop();
    it->second.attached = false;
}

void PFxManager::RemoveMeshEffect(std::uint32_t& id) {
    auto it = mMeshes.find(id);
    if (it != mMeshes.end()) {
        StopMeshEffect(id);
        if (FxMesh* mesh = FindMesh(id))
            Objects().DestroyObject(mesh);
        mMeshes.erase(it);
    }
    id = 0;
}

void PFxManager::OneShotParticleEffect(const std::string& record, const std::string& attachPoint) {
    if (record.empty())
        return;
    EffectEntity* effect = Objects().CreateObjectFromFile<EffectEntity>(record);
    if (!effect)
        return;
    effect->SetDeleteWhenDone(true);
    effect->StartEmitting();
    if (mActor)
        mActor->Attach(effect, Coords::Identity(), attachPoint.c_str());
}

void PFxManager::Update(int) {
    for (auto it = mParticles.begin(); it != mParticles.end();) {
        ParticleSlot& slot = it->second;
        EffectEntity* effect = FindParticle(it->first);
        if (slot.attached && !slot.emitting && (!effect || !effect->HasLiveParticles())) {
            if (effect && mActor)
                mActor->Detach(effect);
            slot.attached = false;
        }
        if (slot.removed && !slot.emitting && !slot.attached) {
            if (effect)
                Objects().DestroyObject(effect);
            it = mParticles.erase(it);
            continue;
        }
        ++it;
    }
}

}  // namespace GAME
