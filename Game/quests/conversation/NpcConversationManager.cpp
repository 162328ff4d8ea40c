#include "Game/quests/conversation/NpcConversationManager.h"

#include <algorithm>

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/quests/conversation/ConversationEvents.h"

namespace GAME {

namespace {
const bool kConversationsForgottenWithTheLevel = [] {
    World::AddLevelUnloadHook(&NpcConversationManager::Reset);
    return true;
}();

template <class T>
bool ListContains(const std::vector<T>& list, const T& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}
template <class T>
bool ListRemove(std::vector<T>& list, const T& value) {
    auto it = std::find(list.begin(), list.end(), value);
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}
template <class T>
void ListAddOnce(std::vector<T>& list, const T& value) {
    if (!ListContains(list, value))
        list.push_back(value);
}
}  // namespace

NpcConversationManager::NpcConversationManager() {
    // Every machine starts its draws alike.
    mRandom.Seed(1);
}

NpcConversationManager& NpcConversationManager::Get() {
    return Machine::Current().Get<NpcConversationManager>();
}

void NpcConversationManager::Reset() {
    Machine::Current().Reset<NpcConversationManager>();
}

void NpcConversationManager::OnStartConversation(Conversation* conversation,
                                                 const std::vector<std::uint32_t>& actors,
                                                 const WorldVec3& centerPoint) {
    if (!conversation)
        return;
    conversation->SetConversationActors(actors);
    conversation->SetCenterPoint(centerPoint);
    for (std::uint32_t id : actors)
        _MakeUnavailable(id);
    _MakeUnavailable(conversation);
    conversation->OnBeginConverse(mRandom);
    mWord = 0;
    mLineCountdown = 0;
}

void NpcConversationManager::OnEndConversation(Conversation* conversation) {
    if (!conversation)
        return;
    std::vector<std::uint32_t> actors;
    conversation->GetConversationActors(actors);
    for (std::uint32_t id : actors)
        _MakeAvailable(id);
    if (conversation->IsPendingDisable()) {
        conversation->SetPendingDisable(false);
        ListRemove(mBusy, conversation);
        ListAddOnce(mDisabled, conversation);
    } else {
        _MakeAvailable(conversation);
    }
}

void NpcConversationManager::AddSpeaker(std::uint32_t characterId, const std::string& pakPath) {
    _EnableConversationPak(pakPath);
    _MakeEnabled(characterId);
}

void NpcConversationManager::Update(int ms) {
    if (mBusy.empty()) {
        mStartCountdown -= ms;
        if (mStartCountdown > 0)
            return;
        mStartCountdown = kRestMs;
        StartDueConversation();
        return;
    }
    mLineCountdown -= ms;
    if (mLineCountdown > 0)
        return;
    mLineCountdown = kLineMs;
    Conversation* conversation = mBusy.front();
    GameEvent_SidelineConversationLine line;
    line.conversation = conversation;
    if (conversation->GetNextSpeakerAndSpeech(line.speakerId, line.tag))
        SendGameEvent(line, "SidelineConversationLine");
    else
        conversation->OnEndConverse();
}

void NpcConversationManager::StartDueConversation() {
    std::vector<std::uint32_t> actors;
    WorldVec3 center;
    // A copy: starting one changes the list.
    const std::vector<Conversation*> candidates = mAvailableConversations;
    for (Conversation* conversation : candidates) {
        const int count = conversation->GetNumberOfConversationalists();
        if (count < 1 || !GatherActors(static_cast<std::size_t>(count), actors, center))
            continue;
        OnStartConversation(conversation, actors, center);
        return;
    }
}

bool NpcConversationManager::GatherActors(std::size_t count, std::vector<std::uint32_t>& actors,
                                          WorldVec3& center) const {
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    // Where the characters were placed, which every machine knows alike.
    auto placeOf = [&](std::uint32_t id, WorldVec3& out) {
        const Character* character = objects.GetObject<Character>(id);
        if (!character || !character->IsAlive() || !character->GetSpawnPoint().region)
            return false;
        out = character->GetSpawnPoint().GetPosition();
        return true;
    };
    for (std::uint32_t first : mAvailable) {
        WorldVec3 firstPlace;
        if (!placeOf(first, firstPlace))
            continue;
        actors.assign(1, first);
        for (std::uint32_t other : mAvailable) {
            WorldVec3 place;
            if (actors.size() == count)
                break;
            if (other != first && placeOf(other, place) &&
                firstPlace.DistanceTo(place) <= kGatherRadius)
                actors.push_back(other);
        }
        if (actors.size() == count) {
            center = firstPlace;
            return true;
        }
    }
    actors.clear();
    return false;
}

// Packs

ConversationPak* NpcConversationManager::FindPak(const std::string& path) const {
    const Name name = Name::Find(path);
    if (name.IsEmpty())
        return nullptr;
    for (const auto& pak : mPaks)
        if (pak->GetName() == name)
            return pak.get();
    return nullptr;
}

void NpcConversationManager::EnablePak(const std::string& path, bool collision) {
    if (path.empty())
        return;
    ConversationPak* pak = FindPak(path);
    if (!pak) {
        auto made = std::make_unique<ConversationPak>();
        if (!made->Load(path))
            return;
        made->SetName(Name::Create(path));
        pak = made.get();
        mPaks.push_back(std::move(made));
    }
    if (collision)
        pak->SetCollision(true);
    for (const auto& conversation : pak->GetConversations())
        _MakeEnabled(conversation.get(), pak->IsCollision());
}

void NpcConversationManager::_EnableConversationPak(const std::string& path) {
    EnablePak(path, false);
}

void NpcConversationManager::_EnableCollisionConversationPak(const std::string& path) {
    EnablePak(path, true);
}

void NpcConversationManager::_DisableConversationPak(const std::string& path) {
    if (ConversationPak* pak = FindPak(path))
        for (const auto& conversation : pak->GetConversations())
            _MakeDisabled(conversation.get());
}

// Characters

void NpcConversationManager::_MakeAvailable(std::uint32_t id) {
    ListRemove(mUnavailable, id);
    ListAddOnce(mAvailable, id);
}

void NpcConversationManager::_MakeUnavailable(std::uint32_t id) {
    ListRemove(mAvailable, id);
    ListAddOnce(mUnavailable, id);
}

void NpcConversationManager::_MakeEnabled(std::uint32_t id) {
    ListAddOnce(mAvailable, id);
}

void NpcConversationManager::_MakeDisabled(std::uint32_t id) {
    ListRemove(mAvailable, id);
    ListRemove(mUnavailable, id);
}

// Conversations

void NpcConversationManager::_MakeAvailable(Conversation* conversation) {
    ListRemove(mBusy, conversation);
    ListAddOnce(mAvailableConversations, conversation);
}

void NpcConversationManager::_MakeUnavailable(Conversation* conversation) {
    ListRemove(mAvailableConversations, conversation);
    ListAddOnce(mBusy, conversation);
}

void NpcConversationManager::_MakeEnabled(Conversation* conversation, bool collision) {
    std::vector<Conversation*>& target = collision ? mCollision : mAvailableConversations;
    ListRemove(mDisabled, conversation);
    // Enabled again (a pack enabled twice): listed once, and a busy one stays busy.
    if (ListContains(mBusy, conversation))
        conversation->SetPendingDisable(false);
    else
        ListAddOnce(target, conversation);
}

void NpcConversationManager::_MakeDisabled(Conversation* conversation) {
    if (ListRemove(mAvailableConversations, conversation)) {
        ListAddOnce(mDisabled, conversation);
    } else if (ListContains(mBusy, conversation)) {
        // It finishes; then it is disabled instead of becoming available.
        conversation->SetPendingDisable(true);
        ListAddOnce(mDisabled, conversation);
    } else if (ListRemove(mCollision, conversation)) {
        ListAddOnce(mDisabled, conversation);
    }
}

}  // namespace GAME
