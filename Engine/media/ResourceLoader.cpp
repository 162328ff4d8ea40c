#include "Engine/media/ResourceLoader.h"

#include "Engine/sys/Machine.h"

namespace GAME {

ResourceLoader& ResourceLoader::Get() {
    return Singleton<ResourceLoader>::Get();
}

void ResourceLoader::EnqueueResource(const GraphicsAnim* anim, ResourcePriority priority, bool) {
    if (anim == nullptr)
        return;
    const auto index = static_cast<std::size_t>(priority);
    if (index < mEnqueued.size())
        ++mEnqueued[index];
}

std::size_t ResourceLoader::GetEnqueuedCount(ResourcePriority priority) const {
    const auto index = static_cast<std::size_t>(priority);
    return index < mEnqueued.size() ? mEnqueued[index] : 0;
}

}  // namespace GAME
