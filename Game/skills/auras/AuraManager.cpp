#include "Game/skills/auras/AuraManager.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/Math.h"

namespace GAME {

std::uint32_t AuraManager::AddAura(Actor& owner, const std::string& name, bool permanent,
                                   int seconds) {
    if (name.empty())
        return 0;
    auto* entity = Singleton<ObjectManager>::Get().CreateObjectFromFile<Entity>(name);
    if (!entity) {
        gEngine->Log(1, "Aura was not an Entity (%s)", name.c_str());
        return 0;
    }
    mAuras.emplace_back(name, entity->GetObjectId(), permanent, seconds * 1000);
    owner.Attach(entity, Coords::Identity(), "");
    return entity->GetObjectId();
}

void AuraManager::RemoveAura(std::uint32_t entityId) {
    for (AuraContainer& aura : mAuras)
        if (aura.GetEntityId() == entityId)
            aura.Expire();
}

void AuraManager::RemoveAura(const std::string& name) {
    for (AuraContainer& aura : mAuras)
        if (aura.GetName() == name)
            aura.Expire();
}

void AuraManager::EndAura(Actor& owner, const AuraContainer& aura) {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    if (auto* entity = objects.GetObject<Entity>(aura.GetEntityId()))
        owner.Detach(entity);
    if (Object* object = objects.GetObject(aura.GetEntityId()))
        objects.DestroyObjectEx(object, "Game/AuraManager", __LINE__);
}

void AuraManager::UpdateHeld(Actor& owner, int ms) {
    // In list order; ended auras are dropped as the walk passes them.
    auto kept = mAuras.begin();
    for (auto it = mAuras.begin(); it != mAuras.end(); ++it) {
        if (!it->IsPermanent() && it->CountDown(ms)) {
            EndAura(owner, *it);
            continue;
        }
        if (kept != it)
            *kept = std::move(*it);
        ++kept;
    }
    mAuras.erase(kept, mAuras.end());
}

void AuraManager::Clear(Actor& owner) {
    // Taken first: destroying an aura must not find the list half-walked.
    std::vector<AuraContainer> auras;
    auras.swap(mAuras);
    for (const AuraContainer& aura : auras)
        EndAura(owner, aura);
}

}  // namespace GAME
