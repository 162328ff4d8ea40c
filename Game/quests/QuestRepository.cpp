#include "Game/quests/QuestRepository.h"

#include "Engine/sys/Machine.h"

namespace GAME {

QuestRepository* QuestRepository::Get() {
    return &Machine::Current().Get<QuestRepository>();
}

// No quest is loaded yet: the steps only count themselves, so the frame order is observable.
void QuestRepository::Update(int) {
    ++mUpdates;
}

void QuestRepository::FireTriggers() {
    ++mTriggerFires;
}

void QuestRepository::SimulateRewards() {
    ++mRewardSimulations;
}

}  // namespace GAME
