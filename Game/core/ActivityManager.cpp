#include "Game/core/ActivityManager.h"

#include "Engine/sys/Machine.h"

namespace GAME {

ActivityManager::~ActivityManager() {
    Clear();
}

ActivityManager* ActivityManager::Get() {
    return &Machine::Current().Get<ActivityManager>();
}

void ActivityManager::Destroy() {
    Machine& machine = Machine::Current();
    if (ActivityManager* manager = machine.Find<ActivityManager>())
        manager->Clear();
    machine.Reset<ActivityManager>();
}

void ActivityManager::InstallActivity(GameActivity* activity) {
    if (!activity)
        return;
    activity->mId = ++mIdCounter;
    mPending.emplace_back(activity);
}

void ActivityManager::FastInstallActivity(GameActivity* activity) {
    if (!activity)
        return;
    activity->mId = ++mIdCounter;
    mActive.emplace_back(activity);
}

bool ActivityManager::IsActivityActive(std::uint32_t id) const {
    return GetActivity(id) != nullptr;
}

GameActivity* ActivityManager::GetActivity(std::uint32_t id) const {
    for (const auto& activity : mActive)
        if (activity && activity->GetId() == id)
            return activity.get();
    return nullptr;
}

void ActivityManager::Update(int elapsedMs) {
    for (auto& activity : mPending)
        mActive.push_back(std::move(activity));
    mPending.clear();
    const bool outermost = !mUpdating;
    mUpdating = true;
    // Index-based: an activity may fast-install another one while it updates.
    for (std::size_t i = 0; i < mActive.size();) {
        const std::uint32_t clears = mClearCount;
        mActive[i]->Update(elapsedMs);
        if (clears != mClearCount) {
            // Cleared from inside: what is active now was installed since, and has not run.
            i = 0;
            continue;
        }
        if (mActive[i]->IsFinished())
            mActive.erase(mActive.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    if (outermost) {
        mUpdating = false;
        std::vector<std::unique_ptr<GameActivity>> doomed;
        doomed.swap(mRetired);
    }
}

void ActivityManager::Render(GraphicsCanvas& canvas) const {
    for (const auto& activity : mActive)
        activity->Render(canvas);
}

void ActivityManager::Clear() {
    ++mClearCount;
    if (mUpdating) {
        for (auto& activity : mActive)
            mRetired.push_back(std::move(activity));
        mActive.clear();
        return;
    }
    // Moved out first so that an activity's destructor may still ask the manager.
    std::vector<std::unique_ptr<GameActivity>> doomed;
    doomed.swap(mActive);
    doomed.clear();
}

}  // namespace GAME
