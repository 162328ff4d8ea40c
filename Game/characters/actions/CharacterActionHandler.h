#pragma once
// Runs a character's actions one at a time. A new action replaces the current one at once: the
// old one is finished and deleted, the new one executed. Actions handed in while an action
// executes wait in a queue and run, in the order they came, when that Execute returns.
//
// An action is never deleted while its own code runs: one that is replaced or stopped from
// inside its Execute or AnimationCallback is finished at once and deleted when that call
// returns.
#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/characters/actions/CharacterAction.h"
#include "Game/core/util/RingQueue.h"

namespace GAME {

// Read every frame: in recycled blocks, beside the other characters' (huge pages).
class CharacterActionHandler : public RecycledStorage {
public:
    CharacterActionHandler();
    virtual ~CharacterActionHandler();
    CharacterActionHandler(const CharacterActionHandler&) = delete;
    CharacterActionHandler& operator=(const CharacterActionHandler&) = delete;

    // Takes the action; null is ignored.
    void Execute(std::unique_ptr<CharacterAction> action);
    // Finishes and deletes the current action, if any.
    void Stop();
    CharacterActionType GetActionType() const;
    void AnimationCallback(const Name& event);
    bool IsActive() const;
    float GetBlendTime() const;
    std::string GetActionAsString() const;
    // Kept for the controller; the handler itself never consults it.
    virtual void SetActionFilter(std::unique_ptr<FilterFunction<CharacterAction>> filter);
    const FilterFunction<CharacterAction>* GetActionFilter() const { return mFilter.get(); }

    const CharacterAction* GetCurrentAction() const { return mCurrent.get(); }
    std::size_t GetQueuedCount() const { return mQueue.size(); }

private:
    // Marks an action whose code runs; when it returns and the action was taken out
    // meanwhile, the action is deleted then.
    class RunningScope;

    std::unique_ptr<CharacterAction> mCurrent;
    std::unique_ptr<FilterFunction<CharacterAction>> mFilter;
    bool mExecuting = false;
    // Room for two inside: a queue rarely holds more, and a character's first queued action
    // takes nothing from the heap.
    RingQueue<std::unique_ptr<CharacterAction>, 2> mQueue;
    // The innermost scope on the stack: scopes link to the ones they nest in, so marking takes
    // nothing from the heap.
    const RunningScope* mRunning = nullptr;
    std::vector<std::unique_ptr<CharacterAction>> mRetired;
};

}  // namespace GAME
