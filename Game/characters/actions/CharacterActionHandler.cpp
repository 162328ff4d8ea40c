#include "Game/characters/actions/CharacterActionHandler.h"

#include <utility>

namespace GAME {

// While any action's code runs under the handler, actions taken out of it are parked instead of
// deleted; the outermost call deletes them when it returns.
class CharacterActionHandler::CallGuard {
public:
    explicit CallGuard(CharacterActionHandler& handler) : mHandler(handler) {
        ++mHandler.mCallDepth;
    }
    ~CallGuard() {
        if (--mHandler.mCallDepth == 0)
            mHandler.mRetired.clear();
    }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    CharacterActionHandler& mHandler;
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
    CallGuard guard(*this);
    while (action) {
        mExecuting = true;
        Stop();
        mCurrent = std::move(action);
        mCurrent->Execute();
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
    CallGuard guard(*this);
    old->Finish();
    mRetired.push_back(std::move(old));
}

CharacterActionType CharacterActionHandler::GetActionType() const {
    return mCurrent ? mCurrent->GetType() : CharacterActionType_Base;
}

void CharacterActionHandler::AnimationCallback(const Name& event) {
    if (!mCurrent)
        return;
    CallGuard guard(*this);
    mCurrent->AnimationCallback(event);
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
