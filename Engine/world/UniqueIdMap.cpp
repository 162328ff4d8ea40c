#include "Engine/world/UniqueIdMap.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"

namespace GAME {

UniqueIdMap& UniqueIdMap::Get() {
    return Singleton<UniqueIdMap>::Get();
}

bool UniqueIdMap::Add(const UniqueId& id, std::uint32_t objectId) {
    CriticalSectionLock lock(mLock);
    return !id.IsNull() && mIds.emplace(id, objectId).second;
}

void UniqueIdMap::Remove(const UniqueId& id) {
    CriticalSectionLock lock(mLock);
    mIds.erase(id);
}

void UniqueIdMap::Clear() {
    CriticalSectionLock lock(mLock);
    mIds.clear();
}

std::uint32_t UniqueIdMap::GetObjectId(const UniqueId& id) const {
    CriticalSectionLock lock(mLock);
    const auto it = mIds.find(id);
    return it == mIds.end() ? 0 : it->second;
}

Entity* UniqueIdMap::GetEntity(const UniqueId& id) const {
    const std::uint32_t objectId = GetObjectId(id);
    return objectId ? Singleton<ObjectManager>::Get().GetObject<Entity>(objectId) : nullptr;
}

}  // namespace GAME
