#include "Engine/sys/Thread.h"

#include <pthread.h>

#include <cstring>

#include "Engine/Engine.h"
#include "Engine/sys/Machine.h"

namespace GAME {

Thread::~Thread() {
    if (mRunning->load() > 0)
        gEngine->Log(1, "Thread destroyed while its worker still runs; waiting for it to end");
    JoinAll();
    // Only a worker destroying its own object is left; it cannot wait for itself.
    for (std::thread& replaced : mReplaced)
        if (replaced.joinable())
            replaced.detach();
    if (mThread.joinable())
        mThread.detach();
}

void Thread::Start() {
    if (mThread.joinable())
        mReplaced.push_back(std::move(mThread));
    ++*mRunning;
    mThread = std::thread(&Thread::Entry, this, &Machine::Current(), mRunning);
}

void Thread::Entry(Thread* self, Machine* machine, std::shared_ptr<std::atomic<int>> running) {
    MachineScope scope(*machine);
    self->Run();
    --*running;  // the object may be gone already
}

void Thread::SetPriority(int level) {
    switch (level) {
        case 0:
            mPriority = kPriorityLowest;
            break;
        case 2:
            mPriority = kPriorityAboveNormal;
            break;
        default:
            mPriority = kPriorityNormal;
            break;
    }
}

bool Thread::Wait() {
    if (!mThread.joinable() || mThread.get_id() == std::this_thread::get_id())
        return false;
    return JoinAll();
}

bool Thread::JoinAll() {
    const auto self = std::this_thread::get_id();
    bool joined = false;
    for (std::thread& replaced : mReplaced)
        if (replaced.joinable() && replaced.get_id() != self) {
            replaced.join();
            joined = true;
        }
    std::erase_if(mReplaced, [](const std::thread& t) { return !t.joinable(); });
    if (mThread.joinable() && mThread.get_id() != self) {
        mThread.join();
        joined = true;
    }
    return joined;
}

void Thread::SetName(const char* name) {
    if (!name)
        return;
    char shortName[16] = {};
    std::strncpy(shortName, name, sizeof shortName - 1);
    pthread_setname_np(pthread_self(), shortName);
}

}  // namespace GAME
