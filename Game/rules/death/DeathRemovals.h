#pragma once
// Bodies whose death handlers remove them, and placed objects that remove themselves (a one-shot
// sound volume). Both decide inside their own update, so the entity is only queued there; the
// game's frame step takes it out of the world and destroys it before any entity is updated
// again. One queue per machine.
#include <cstdint>
#include <vector>

namespace GAME {

class Entity;

class DeathRemovals {
public:
    // Queues the character once; it stays whole until Flush.
    void Request(const Entity& entity);
    // A respawn keeps the body.
    void Cancel(std::uint32_t objectId);
    bool IsPending(std::uint32_t objectId) const;
    std::size_t GetPendingCount() const { return mPending.size(); }
    // Removes and destroys every queued entity still there, in the order queued.
    void Flush();

private:
    std::vector<std::uint32_t> mPending;
};

}  // namespace GAME
