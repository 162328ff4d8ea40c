#pragma once
// Writes quest state files on a thread of its own. The game thread hands it finished bytes (a
// snapshot taken between frames), so the thread never reads a quest the game is changing; each
// file is written under a temporary name and renamed, so a save cut short leaves the previous
// one whole.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "Engine/sys/Thread.h"

namespace GAME {

struct QuestFileSnapshot {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
};

class QuestStateSaveThread : public Thread {
public:
    QuestStateSaveThread();
    ~QuestStateSaveThread() override;

    // Queues the files; a file queued again before it was written is written once, as last
    // given. Starts the thread on first use.
    void RequestSave(std::vector<QuestFileSnapshot> files);
    // Returns once every file requested so far is written (or failed, logged).
    void WaitDone();
    int GetFailures() const;

protected:
    void Run() override;

private:
    mutable std::mutex mLock;
    std::condition_variable mWake;
    std::condition_variable mDone;
    std::vector<QuestFileSnapshot> mPending;
    bool mWriting = false;
    bool mQuit = false;
    int mFailures = 0;
};

}  // namespace GAME
