#pragma once
// A worker thread: derive, supply Run, Start it, and signal and Wait for it before destroying
// it. No worker outlives the object: one still running when the object goes is waited for (and
// reported, since by then the derived part it runs on is gone), and a worker replaced by a
// second Start is kept until Wait or destruction instead of being let go.
//
// The worker runs on the machine that started it, so its log lines and singletons are that
// machine's. Priorities: level 0 asks for the lowest priority (-2), level 2 for above normal
// (+1), anything else for normal (0). The level is kept (GetPriority) but not applied: threads
// of one process share the ordinary scheduling class on Linux, and raising a thread above the
// others needs privileges a game does not have.
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace GAME {

class Machine;

class Thread {
public:
    static constexpr int kPriorityLowest = -2;
    static constexpr int kPriorityNormal = 0;
    static constexpr int kPriorityAboveNormal = 1;

    Thread() = default;
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts Run on a new thread; a thread started before keeps running and is waited for
    // with this one.
    void Start();
    void SetPriority(int level);
    int GetPriority() const { return mPriority; }
    // False at once when no thread was started (or when called from the worker itself); true
    // once every thread started on this object has ended.
    bool Wait();
    bool HasThread() const { return mThread.joinable(); }

    // Names the calling thread for debuggers and tools (at most 15 characters are kept).
    static void SetName(const char* name);

protected:
    virtual void Run() = 0;

private:
    static void Entry(Thread* self, Machine* machine, std::shared_ptr<std::atomic<int>> running);
    // Joins every held thread but the calling one; false when none was joined.
    bool JoinAll();

    std::thread mThread;
    std::vector<std::thread> mReplaced;  // earlier workers, still to be joined
    // Workers that have not returned from Run yet.
    std::shared_ptr<std::atomic<int>> mRunning = std::make_shared<std::atomic<int>>(0);
    int mPriority = kPriorityNormal;
};

}  // namespace GAME
