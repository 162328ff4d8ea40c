#pragma once
// Owns the running activities of a machine: new ones wait until the next update, finished ones
// are deleted in the update that finishes them. Callers keep ids, not addresses.
#include <cstdint>
#include <memory>
#include <vector>

#include "Game/core/GameActivity.h"

namespace GAME {

class GraphicsCanvas;

class ActivityManager {
public:
    ActivityManager() = default;
    ~ActivityManager();
    ActivityManager(const ActivityManager&) = delete;
    ActivityManager& operator=(const ActivityManager&) = delete;

    // The machine's manager, made on first use; Destroy clears and forgets it.
    static ActivityManager* Get();
    static void Destroy();

    // Runs from the next Update on; the manager owns it. Null does nothing.
    void InstallActivity(GameActivity* activity);
    // Runs in this frame's Update when called before it.
    void FastInstallActivity(GameActivity* activity);

    bool IsActivityActive(std::uint32_t id) const;
    GameActivity* GetActivity(std::uint32_t id) const;

    void Update(int elapsedMs);
    void Render(GraphicsCanvas& canvas) const;
    // Deletes the active activities; pending ones stay.
    void Clear();

    std::size_t GetActiveCount() const { return mActive.size(); }
    std::size_t GetPendingCount() const { return mPending.size(); }

private:
    std::vector<std::unique_ptr<GameActivity>> mActive;
    std::vector<std::unique_ptr<GameActivity>> mPending;
    // Cleared while an update runs: kept until the update ends, since one of them is running.
    std::vector<std::unique_ptr<GameActivity>> mRetired;
    std::uint32_t mIdCounter = 0;
    std::uint32_t mClearCount = 0;
    bool mUpdating = false;
};

}  // namespace GAME
