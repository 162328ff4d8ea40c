#pragma once
// Bodies whose death handlers remove them. The handlers run inside the dying character's own
// update, so the body is only queued there; the game's frame step takes it out of the world and
// destroys it before any entity is updated again. One queue per machine.
#include <cstdint>
#include <vector>

namespace GAME {

class Character;

class DeathRemovals {
public:
    // Queues the character once; it stays whole until Flush.
    void Request(const Character& character);
    // A respawn keeps the body.
    void Cancel(std::uint32_t objectId);
    bool IsPending(std::uint32_t objectId) const;
    std::size_t GetPendingCount() const { return mPending.size(); }
    // Removes and destroys every queued body still alive, in the order queued.
    void Flush();

private:
    std::vector<std::uint32_t> mPending;
};

}  // namespace GAME
