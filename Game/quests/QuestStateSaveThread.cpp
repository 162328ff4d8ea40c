#include "Game/quests/QuestStateSaveThread.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/streams/BinaryStream.h"

namespace GAME {

QuestStateSaveThread::QuestStateSaveThread() = default;

QuestStateSaveThread::~QuestStateSaveThread() {
    {
        std::lock_guard lock(mLock);
        mQuit = true;
    }
    mWake.notify_all();
    Wait();
}

void QuestStateSaveThread::RequestSave(std::vector<QuestFileSnapshot> files) {
    {
        std::lock_guard lock(mLock);
        for (QuestFileSnapshot& file : files) {
            auto same =
                std::find_if(mPending.begin(), mPending.end(),
                             [&](const QuestFileSnapshot& p) { return p.path == file.path; });
            if (same != mPending.end())
                *same = std::move(file);
            else
                mPending.push_back(std::move(file));
        }
    }
    if (!HasThread()) {
        SetPriority(kPriorityLowest);
        Start();
    }
    mWake.notify_one();
}

void QuestStateSaveThread::WaitDone() {
    std::unique_lock lock(mLock);
    mDone.wait(lock, [this] { return mPending.empty() && !mWriting; });
}

int QuestStateSaveThread::GetFailures() const {
    std::lock_guard lock(mLock);
    return mFailures;
}

void QuestStateSaveThread::Run() {
    SetName("QuestStateSaveThread");
    std::unique_lock lock(mLock);
    for (;;) {
        mWake.wait(lock, [this] { return mQuit || !mPending.empty(); });
        if (mPending.empty() && mQuit)
            break;
        std::vector<QuestFileSnapshot> files;
        files.swap(mPending);
        mWriting = true;
        lock.unlock();
        int failures = 0;
        for (const QuestFileSnapshot& file : files) {
            std::error_code ec;
            if (file.path.has_parent_path())
                std::filesystem::create_directories(file.path.parent_path(), ec);
            if (!WriteFileAtomically(file.path, file.bytes.data(), file.bytes.size())) {
                gEngine->Log(1, "Quest state file %s could not be written", file.path.c_str());
                ++failures;
            }
        }
        lock.lock();
        mWriting = false;
        mFailures += failures;
        mDone.notify_all();
    }
    mDone.notify_all();
}

}  // namespace GAME
