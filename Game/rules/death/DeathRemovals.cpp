#include "Game/rules/death/DeathRemovals.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"

namespace GAME {

void DeathRemovals::Request(const Character& character) {
    if (!IsPending(character.GetObjectId()))
        mPending.push_back(character.GetObjectId());
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
        // A body destroyed since it was queued is skipped.
        auto* character = objects.GetObject<Character>(id);
        if (!character)
            continue;
        if (character->IsInWorld())
            World::Get().RemoveEntity(character);
        objects.DestroyObjectEx(character, "Game/DeathRemovals", __LINE__);
    }
}

}  // namespace GAME
