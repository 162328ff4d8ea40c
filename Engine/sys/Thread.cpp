#include "Engine/sys/Thread.h"

#include <pthread.h>

#include <cstring>

#include "Engine/sys/Machine.h"

namespace GAME {

Thread::~Thread() {
    if (mThread.joinable())
        mThread.detach();
}

void Thread::Start() {
    if (mThread.joinable())
        mThread.detach();
    mThread = std::thread(&Thread::Entry, this, &Machine::Current());
}

void Thread::Entry(Thread* self, Machine* machine) {
    MachineScope scope(*machine);
    self->Run();
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
    mThread.join();
    return true;
}

void Thread::SetName(const char* name) {
    if (!name)
        return;
    char shortName[16] = {};
    std::strncpy(shortName, name, sizeof shortName - 1);
    pthread_setname_np(pthread_self(), shortName);
}

}  // namespace GAME
