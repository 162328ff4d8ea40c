#pragma once
// The machine's background loader of graphics resources. Headless, a resource is "loaded" the
// moment it is enqueued; the loader only counts what was asked of it, per priority.
#include <array>
#include <cstddef>

namespace GAME {

class GraphicsAnim;

// 0: when there is time; 1: before the level starts.
enum class ResourcePriority : int { Background = 0, Immediate = 1 };

class ResourceLoader {
public:
    static ResourceLoader& Get();

    // `track`: the caller keeps using the resource, so it stays resident.
    void EnqueueResource(const GraphicsAnim* anim, ResourcePriority priority, bool track);
    std::size_t GetEnqueuedCount(ResourcePriority priority) const;

private:
    std::array<std::size_t, 2> mEnqueued{};
};

}  // namespace GAME
