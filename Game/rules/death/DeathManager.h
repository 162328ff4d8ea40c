#pragma once
// The list of a character's death handlers: started by its die action, updated each frame
// until every handler has finished, then post-processed once; a respawn resets it.
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/rules/death/DeathHandler.h"

namespace GAME {

class DeathManager : public RecycledStorage {
public:
    explicit DeathManager(Character* character) : mCharacter(character) {}
    virtual ~DeathManager() = default;
    DeathManager(const DeathManager&) = delete;
    DeathManager& operator=(const DeathManager&) = delete;

    void AddHandler(std::unique_ptr<DeathHandler> handler);
    // One new object id per handler that needs one, in list order.
    std::vector<std::uint32_t> CreateObjectIds() const;
    // Hands the ids out in list order; false (and nothing handed out) when the list is too
    // short for the handlers that need ids.
    bool SetObjectIds(const std::vector<std::uint32_t>& ids);
    void Execute();
    void Update(int ms);
    void AnimationCallback(const Name& name);
    void ExternalEvent(const Name& name);
    bool IsFinished() const;
    // Between Execute and PostProcess: outside it an update does nothing and nothing finishes,
    // so a living character's frame asks only this.
    bool IsRunning() const { return mExecuted && !mPostProcessed; }
    void PostProcess();
    void Reset();
    void PreLoad();

    std::size_t GetHandlerCount() const { return mHandlers.size(); }
    std::size_t GetObjectIdCount() const;

private:
    Character* mCharacter = nullptr;
    std::vector<std::unique_ptr<DeathHandler>> mHandlers;
    bool mExecuted = false;
    bool mPostProcessed = false;
};

}  // namespace GAME
