#pragma once
// What every trigger action and condition kind of the quest scripts stands on: the producer that
// registers it by its class name, the event handlers through which it hears game events, and the
// second base of the reward actions.
#include <string>

#include "Engine/text/Name.h"
#include "Engine/triggers/TriggerFactory.h"
#include "Game/core/GameEventListener.h"

namespace GAME {

class IOStream;

// A member of a condition or action that hears one named game event; the owner sets itself at
// the end of its constructor, and events before that are dropped.
template <class Owner, class Payload>
using ConditionEventHandler = GameEventListener<Owner, Payload>;
template <class Owner, class Payload>
using ActionEventHandler = GameEventListener<Owner, Payload>;

// One static producer per kind, named after it ("Action_GiveMoneyProducer").
#define GAME_TRIGGER_ACTION_KIND(Kind) \
    const TriggerProducerOf<Kind, TriggerAction, TriggerActionFactory> Kind##Producer(#Kind);
#define GAME_TRIGGER_CONDITION_KIND(Kind) \
    const TriggerProducerOf<Kind, TriggerCondition, TriggerConditionFactory> Kind##Producer(#Kind);

// The reward actions announce what they give, where and under which title.
class ActionRewardInterface {
public:
    virtual ~ActionRewardInterface() = default;
    // Shows the reward on a banner and, under a location and a title, records it in the quest
    // log ("GameEvent_Reward"); a region of 0 announces nothing.
    virtual void AnnounceReward(const Name& questHandle, int region, const std::string& locationTag,
                                const std::string& titleTag);
    virtual std::wstring GetRewardDescription() = 0;

    // After the action's own properties: "region", "locationTag", "titleTag".
    void SerializeChildProperties(IOStream& stream);

    int GetRegion() const { return mRegion; }
    const std::string& GetLocationTag() const { return mLocationTag; }
    const std::string& GetTitleTag() const { return mTitleTag; }

protected:
    int mRegion = 1;
    std::string mLocationTag;
    std::string mTitleTag;
};

}  // namespace GAME
