#include "Game/characters/actions/CharacterActionHandler.h"

#include <cstdlib>
#include <utility>

namespace GAME {

class CharacterActionHandler::RunningScope {
public:
    RunningScope(CharacterActionHandler& handler, const CharacterAction* action)
        : mHandler(handler), mAction(action), mOuter(handler.mRunning) {
        mHandler.mRunning = this;
    }
    ~RunningScope() {
        // Scopes nest: the last one marked is this one.
#ifndef NDEBUG
        if (mHandler.mRunning != this)
            std::abort();
#endif
        mHandler.mRunning = mOuter;
        auto& retired = mHandler.mRetired;
        if (retired.empty())
            return;
        // Deleted only once no call of it is left on the stack.
        if (Runs(mOuter, mAction))
            return;
        std::erase_if(retired, [this](const auto& a) { return a.get() == mAction; });
    }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

    // Whether the action's code runs in the scope or any it nests in.
    static bool Runs(const RunningScope* scope, const CharacterAction* action) {
        for (; scope; scope = scope->mOuter)
            if (scope->mAction == action)
                return true;
        return false;
    }

private:
    CharacterActionHandler& mHandler;
    const CharacterAction* mAction;
    const RunningScope* mOuter;
};

CharacterActionHandler::CharacterActionHandler() = default;
CharacterActionHandler::~CharacterActionHandler() = default;

void CharacterActionHandler::Execute(std::unique_ptr<CharacterAction> action) {
    if (!action)
        return;
    if (mExecuting) {
        mQueue.push_back(std::move(action));
        return;
    }
    while (action) {
        mExecuting = true;
        Stop();
        mCurrent = std::move(action);
        CharacterAction* running = mCurrent.get();
        {
            RunningScope scope(*this, running);
            running->Execute();
        }
        mExecuting = false;
        if (mQueue.empty())
            return;
        action = std::move(mQueue.front());
        mQueue.pop_front();
    }
}

void CharacterActionHandler::Stop() {
    if (!mCurrent)
        return;
    // Taken out first: whatever its Finish sets off sees no current action.
    std::unique_ptr<CharacterAction> old = std::move(mCurrent);
    {
        RunningScope scope(*this, old.get());
        old->Finish();
    }
    // Its Execute or callback is still running further up: it goes when that returns.
    if (RunningScope::Runs(mRunning, old.get()))
        mRetired.push_back(std::move(old));
}

CharacterActionType CharacterActionHandler::GetActionType() const {
    return mCurrent ? mCurrent->GetType() : CharacterActionType_Base;
}

void CharacterActionHandler::AnimationCallback(const Name& event) {
    if (!mCurrent)
        return;
    CharacterAction* current = mCurrent.get();
    RunningScope scope(*this, current);
    current->AnimationCallback(event);
}

bool CharacterActionHandler::IsActive() const {
    return mCurrent && mCurrent->IsActive();
}

float CharacterActionHandler::GetBlendTime() const {
    return mCurrent ? mCurrent->GetBlendTime() : 0.0f;
}

std::string CharacterActionHandler::GetActionAsString() const {
    return "Current Action: " + (mCurrent ? mCurrent->ToString() : std::string("(no text)"));
}

void CharacterActionHandler::SetActionFilter(
    std::unique_ptr<FilterFunction<CharacterAction>> filter) {
    mFilter = std::move(filter);
}

}  // namespace GAME
