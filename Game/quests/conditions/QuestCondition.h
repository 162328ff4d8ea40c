#pragma once
// What the condition kinds of quest scripts share: the "satisfied" pair of calls, the check that
// their trigger has not fired, and their one-line descriptions.
#include <cstdint>
#include <string>

#include "Engine/triggers/Trigger.h"
#include "Game/quests/triggers/TriggerKinds.h"
#include "Game/quests/triggers/TriggerText.h"

namespace GAME {

class QuestCondition : public TriggerCondition {
public:
    using TriggerCondition::TriggerCondition;

    const std::string& GetDescription() override {
        mDescription = std::string(NegatedPrefix(IsNegated())) + Describe();
        return mDescription;
    }

protected:
    virtual std::string Describe() const = 0;
    bool HasFired() const { return GetTrigger() && GetTrigger()->HasFired(); }
    // Satisfied, then the trigger asked again (`status`: the argument it is asked with).
    void Satisfy(bool status = false) {
        SetSatisfied(true);
        if (Trigger* trigger = GetTrigger())
            trigger->OnStatusChange(status);
    }
    void SetTarget(std::uint32_t target) {
        if (Trigger* trigger = GetTrigger())
            trigger->SetTarget(target);
    }
};

// The local player's object id (0 when there is none).
std::uint32_t LocalPlayerId();
// Whether this machine decides the game (a server or single player).
bool DecidesGame();

}  // namespace GAME
