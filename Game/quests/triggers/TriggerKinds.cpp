#include "Game/quests/triggers/TriggerKinds.h"

#include "Engine/streams/IOStream.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/actions/QuestActionEvents.h"

namespace GAME {

void ActionRewardInterface::AnnounceReward(const Name& questHandle, int region,
                                           const std::string& locationTag,
                                           const std::string& titleTag) {
    if (region == 0)
        return;
    GameEvent_ShowTextBanner banner;
    banner.text = GetRewardDescription();
    banner.x = 160.0f;
    banner.y = 718.0f;
    banner.alpha = 0.4f;
    banner.durationMs = 3000.0f;
    SendGameEvent(banner, "ShowTextBanner");
    if (locationTag.empty() || titleTag.empty())
        return;
    GameEvent_Reward event;
    event.handle = questHandle;
    event.region = region;
    event.locationTag = locationTag;
    event.titleTag = titleTag;
    event.text = banner.text;
    SendGameEvent(event, "Reward");
}

void ActionRewardInterface::SerializeChildProperties(IOStream& stream) {
    stream.StreamInt("region", mRegion);
    stream.StreamString("locationTag", mLocationTag);
    stream.StreamString("titleTag", mTitleTag);
}

}  // namespace GAME
