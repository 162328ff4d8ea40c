#include "Game/quests/conversation/Conversation.h"

#include <array>
#include <string>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/quests/conversation/ConversationEvents.h"
#include "Game/quests/conversation/NpcConversationManager.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

namespace {
// The controller of the actor when it is a character run by a controller with states.
ControllerAI* ActorController(std::uint32_t actorId) {
    const Character* actor = Singleton<ObjectManager>::Get().GetObject<Character>(actorId);
    return actor ? FindController<ControllerAI>(*actor) : nullptr;
}
}  // namespace

std::string ConversationSpeaker::TakeNextTag() {
    if (mNextTag < 0 || static_cast<std::size_t>(mNextTag) >= mTags.size())
        return {};
    return mTags[static_cast<std::size_t>(mNextTag++)];
}

void Conversation::Load(const LoadTable& table) {
    std::array<std::unique_ptr<ConversationSpeaker>, kMaxSpeakers> bySpeaker;
    for (int n = 1; n <= kMaxLines; ++n) {
        const std::string number = std::to_string(n);
        const std::string tag = table.GetString(("dialogTag" + number).c_str());
        const int speaker = table.GetInt(("dialogSpeaker" + number).c_str(), 0);
        if (tag.empty() || speaker == 0)
            continue;
        if (speaker < 1 || speaker > kMaxSpeakers) {
            gEngine->Log(
                1, "Conversation %s: dialogSpeaker%d is %d, not 1 to 4; the line is left out.",
                table.GetRecordName().c_str(), n, speaker);
            continue;
        }
        auto& slot = bySpeaker[static_cast<std::size_t>(speaker - 1)];
        if (!slot)
            slot = std::make_unique<ConversationSpeaker>();
        slot->AddTag(tag);
        mLines.push_back(slot.get());
    }
    for (auto& speaker : bySpeaker)
        if (speaker)
            mSpeakers.push_back(std::move(speaker));
}

void Conversation::SetConversationActors(const std::vector<std::uint32_t>& ids) {
    for (std::size_t i = 0; i < mSpeakers.size() && i < ids.size(); ++i)
        mSpeakers[i]->SetActorId(ids[i]);
}

void Conversation::GetConversationActors(std::vector<std::uint32_t>& out) const {
    out.clear();
    for (const auto& speaker : mSpeakers)
        out.push_back(speaker->GetActorId());
}

WorldVec3 Conversation::GetCenterPoint() const {
    if (mCenterOnFirstSpeaker && !mSpeakers.empty())
        if (const Entity* first =
                Singleton<ObjectManager>::Get().GetObject<Entity>(mSpeakers.front()->GetActorId()))
            return first->GetPosition();
    return mCenterPoint.GetPosition();
}

void Conversation::OnBeginConverse(CrtGenerator& random) {
    mNextLine = 0;
    mCenterOnFirstSpeaker = random.Float(0.0f, 1.0f) <= 0.8f;
    const WorldVec3 center = GetCenterPoint();
    for (const auto& speaker : mSpeakers) {
        speaker->Reset();
        if (ControllerAI* controller = ActorController(speaker->GetActorId()))
            controller->RequestSidelineConversation(center);
    }
    GameEvent_StartSidelineConversation event;
    event.conversation = this;
    SendGameEvent(event, "StartSidelineConversation");
}

bool Conversation::GetNextSpeakerAndSpeech(std::uint32_t& actorId, std::string& tag) {
    actorId = 0;
    tag.clear();
    const bool spoken = mNextLine >= 0 && static_cast<std::size_t>(mNextLine) < mLines.size();
    if (spoken) {
        ConversationSpeaker* speaker = mLines[static_cast<std::size_t>(mNextLine)];
        actorId = speaker->GetActorId();
        tag = speaker->TakeNextTag();
    }
    ++mNextLine;
    return spoken;
}

void Conversation::OnEndConverse() {
    for (const auto& speaker : mSpeakers)
        if (ControllerAI* controller = ActorController(speaker->GetActorId()))
            controller->NotifySidelineConversationEnd();
    NpcConversationManager::Get().OnEndConversation(this);
}

}  // namespace GAME
