#include "Game/rules/death/DeathManager.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/Character.h"

namespace GAME {

void DeathManager::AddHandler(std::unique_ptr<DeathHandler> handler) {
    if (handler)
        mHandlers.push_back(std::move(handler));
}

std::size_t DeathManager::GetObjectIdCount() const {
    return static_cast<std::size_t>(std::count_if(
        mHandlers.begin(), mHandlers.end(), [](const auto& h) { return h->NeedsObjectId(); }));
}

std::vector<std::uint32_t> DeathManager::CreateObjectIds() const {
    std::vector<std::uint32_t> ids;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const auto& handler : mHandlers)
        if (handler->NeedsObjectId())
            ids.push_back(objects.CreateObjectID());
    return ids;
}

bool DeathManager::SetObjectIds(const std::vector<std::uint32_t>& ids) {
    // The ids may come from a peer: a short list is refused rather than read past.
    if (ids.size() < GetObjectIdCount()) {
        gEngine->Log(1, "DeathManager: %zu object ids for %zu handlers that need one (%s)",
                     ids.size(), GetObjectIdCount(),
                     mCharacter ? mCharacter->GetObjectName().c_str() : "no character");
        return false;
    }
    std::size_t next = 0;
    for (const auto& handler : mHandlers)
        if (handler->NeedsObjectId())
            handler->SetObjectId(ids[next++]);
    return true;
}

void DeathManager::Execute() {
    mExecuted = true;
    if (mCharacter)
        mCharacter->ImDying();
    for (const auto& handler : mHandlers)
        handler->Execute();
}

void DeathManager::Update(int ms) {
    if (!IsRunning())
        return;
    for (const auto& handler : mHandlers)
        handler->Update(ms);
}

void DeathManager::AnimationCallback(const Name& name) {
    for (const auto& handler : mHandlers)
        handler->AnimationCallback(name);
}

void DeathManager::ExternalEvent(const Name& name) {
    for (const auto& handler : mHandlers)
        handler->ExternalEvent(name);
}

bool DeathManager::IsFinished() const {
    if (!IsRunning())
        return false;
    return std::all_of(mHandlers.begin(), mHandlers.end(),
                       [](const auto& handler) { return handler->IsFinished(); });
}

void DeathManager::PostProcess() {
    if (mPostProcessed)
        return;
    if (mCharacter)
        mCharacter->ImDead();
    for (const auto& handler : mHandlers)
        handler->PostProcess();
    mPostProcessed = true;
}

void DeathManager::Reset() {
    mExecuted = false;
    mPostProcessed = false;
    for (const auto& handler : mHandlers)
        handler->Reset();
}

void DeathManager::PreLoad() {
    for (const auto& handler : mHandlers)
        handler->PreLoad();
}

}  // namespace GAME
