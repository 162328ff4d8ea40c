#pragma once
// The quest repository of a machine: its frame step, trigger firing, reward simulation and
// debugging flag. Quests themselves are loaded by the quest system.
#include <cstdint>

namespace GAME {

class QuestRepository {
public:
    // The machine's repository, made on first use.
    static QuestRepository* Get();

    void Update(int elapsedMs);
    void FireTriggers();
    void SimulateRewards();

    void EnableDebugging(bool enabled) { mDebugging = enabled; }
    bool IsDebuggingEnabled() const { return mDebugging; }

    std::uint32_t GetUpdateCount() const { return mUpdates; }
    std::uint32_t GetTriggerFireCount() const { return mTriggerFires; }
    std::uint32_t GetRewardSimulationCount() const { return mRewardSimulations; }

private:
    bool mDebugging = false;
    std::uint32_t mUpdates = 0;
    std::uint32_t mTriggerFires = 0;
    std::uint32_t mRewardSimulations = 0;
};

}  // namespace GAME
