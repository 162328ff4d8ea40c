#include "Game/quests/triggers/TriggerKinds.h"

#include "Engine/streams/IOStream.h"
#include "Game/quests/QuestEvents.h"

namespace GAME {

void ActionRewardInterface::AnnounceReward(const Name& questHandle, int region,
                                           const std::string& locationTag,
                                           const std::string& titleTag) {
    GameEvent_Reward event;
    event.handle = questHandle;
    event.region = region;
    event.locationTag = locationTag;
    event.titleTag = titleTag;
    event.text = GetRewardDescription();
    SendGameEvent(event, "Reward");
}

void ActionRewardInterface::SerializeChildProperties(IOStream& stream) {
    stream.StreamInt("region", mRegion);
    stream.StreamString("locationTag", mLocationTag);
    stream.StreamString("titleTag", mTitleTag);
}

}  // namespace GAME
