#pragma once
// Loads a level on a thread of its own (the machine's world, on the machine that starts it), so
// the game thread can go on while records are read, meshes built and placed entities made. What
// an entity's Load calls must be safe there: object creation, the root's generator and the
// structures the loader fills (instance groups, unique ids) take their locks. The game thread
// leaves the world itself alone until IsDone.
#include <atomic>
#include <string>

#include "Engine/sys/Thread.h"

namespace GAME {

class LevelLoader : public Thread {
public:
    explicit LevelLoader(std::string levelName) : mLevelName(std::move(levelName)) {}
    ~LevelLoader() override;

    bool IsDone() const { return mDone.load(std::memory_order_acquire); }
    // Waits for the load; its result (false when it failed or never started).
    bool Finish();

protected:
    void Run() override;

private:
    std::string mLevelName;
    std::atomic<bool> mDone{false};
    bool mLoaded = false;  // written by the worker before mDone
};

}  // namespace GAME
