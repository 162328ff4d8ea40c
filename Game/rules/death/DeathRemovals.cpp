#include "Game/rules/death/DeathRemovals.h"

#include <algorithm>

#include "Engine/object/Object.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"

namespace GAME {

void DeathRemovals::Request(const Entity& entity) {
    if (!IsPending(entity.GetObjectId()))
        mPending.push_back(entity.GetObjectId());
}

void DeathRemovals::Cancel(std::uint32_t objectId) {
    mPending.erase(std::remove(mPending.begin(), mPending.end(), objectId), mPending.end());
}

bool DeathRemovals::IsPending(std::uint32_t objectId) const {
    return std::find(mPending.begin(), mPending.end(), objectId) != mPending.end();
}

void DeathRemovals::Flush() {
    if (mPending.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Destroying a body may queue another (its carried actors): take the list first.
    std::vector<std::uint32_t> pending;
    pending.swap(mPending);
    for (std::uint32_t id : pending) {
        // An entity destroyed since it was queued is skipped.
        auto* entity = objects.GetObject<Entity>(id);
        if (!entity)
            continue;
        if (entity->IsInWorld())
            World::Get().RemoveEntity(entity);
        objects.DestroyObjectEx(entity, "Game/DeathRemovals", __LINE__);
    }
}

}  // namespace GAME
