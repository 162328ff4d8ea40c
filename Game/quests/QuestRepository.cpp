#include "Game/quests/QuestRepository.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

#include "Engine/Engine.h"
#include "Engine/net/NetworkIndexTable.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/IOStream.h"
#include "Engine/streams/PropertyText.h"
#include "Engine/sys/Machine.h"
#include "Engine/text/Crc32.h"
#include "Engine/triggers/Trigger.h"
#include "Engine/world/World.h"
#include "Game/characters/CharacterEvents.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestStateSaveThread.h"
#include "Game/quests/QuestStep.h"
#include "Game/quests/triggers/TriggerText.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

namespace {

// The quest byte of an element id: the 257th quest would alias the first.
constexpr std::size_t kMaxQuests = 256;

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

QuestRepository::QuestRepository()
    : mConversationBeginListener("GameEvent_ConversationBegin", "QuestRepository"),
      mCompleteQuestNowListener("GameEvent_CompleteQuestNow", "QuestRepository"),
      mInitialUpdateListener("GameEvent_CreatureInitialUpdate", "QuestRepository"),
      mEnterVolumeListener("GameEvent_EnterBoundingVolume", "QuestRepository"),
      mGenericEntityListener("GameEvent_GenericEntityInitialUpdate", "QuestRepository"),
      mCreatureDeathListener("GameEvent_CreatureDeath", "QuestRepository"),
      mRewardListener("GameEvent_Reward", "QuestRepository") {
    mConversationBeginListener.SetOwner(this, &QuestRepository::OnConversationBegin);
    mCompleteQuestNowListener.SetOwner(this, &QuestRepository::OnCompleteQuestNow);
    mInitialUpdateListener.SetOwner(this, &QuestRepository::OnCreatureInitialUpdate);
    mEnterVolumeListener.SetOwner(this, &QuestRepository::OnEnterBoundingVolume);
    mGenericEntityListener.SetOwner(this, &QuestRepository::OnGenericEntityInitialUpdate);
    mCreatureDeathListener.SetOwner(this, &QuestRepository::OnCreatureDeath);
    mRewardListener.SetOwner(this, &QuestRepository::OnReward);
}

// A save in flight ends before the quests go, and the quests before the registries that point
// into them.
QuestRepository::~QuestRepository() {
    mSaveThread.reset();
    mQuests.clear();
}

QuestRepository* QuestRepository::Get() {
    return &Machine::Current().Get<QuestRepository>();
}

void QuestRepository::Destroy() {
    Machine::Current().Reset<QuestRepository>();
}

void QuestRepository::Load() {
    const World& world = World::Get();
    RecordDatabase& records = Singleton<RecordDatabase>::Get();
    for (std::size_t i = 0; i < world.GetNumQuestFiles(); ++i) {
        const std::string& path = world.GetQuestFile(i);
        if (GetQuest(QuestHandleOf(path)))
            continue;
        std::filesystem::path file = records.ResolveFile(path);
        if (file.empty())
            file = records.GetDataRoot().empty() ? std::filesystem::path(path)
                                                 : records.GetDataRoot() / path;
        std::string bytes;
        if (!ReadWholeFile(file, bytes)) {
            gEngine->Log(1, "Quest file %s cannot be read; its quest is left out", path.c_str());
            continue;
        }
        LoadQuest(path, bytes);
    }
    RebuildActiveTriggers();
}

Quest* QuestRepository::LoadQuest(const std::string& path, std::string_view bytes) {
    const Name handle = QuestHandleOf(path);
    if (GetQuest(handle))
        return nullptr;
    if (mQuests.size() >= kMaxQuests) {
        gEngine->Log(1, "Quest file %s: a world holds at most %zu quests; left out", path.c_str(),
                     kMaxQuests);
        return nullptr;
    }
    std::unique_ptr<IOStream> stream;
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && (bytes[first] == '[' || bytes[first] == '{')) {
        std::string error;
        stream = ReadPropertyText(bytes, path, error);
        if (!stream) {
            gEngine->Log(1, "Quest file %s", error.c_str());
            return nullptr;
        }
    } else {
        stream = std::make_unique<IOStream>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        stream->SetName(path);
    }
    auto quest = std::make_unique<Quest>(static_cast<std::uint32_t>(mQuests.size()) << 24);
    quest->SetCrc(Crc32(bytes));
    quest->Serialize(*stream);
    if (stream->Failed()) {
        gEngine->Log(1, "Quest file %s holds no readable quest; left out", path.c_str());
        return nullptr;
    }
    quest->SetHandle(handle, path);
    mQuests.push_back(std::move(quest));
    return mQuests.back().get();
}

void QuestRepository::Reset() {
    WaitDone();
    mQuests.clear();
    mFiredTriggers.clear();
    mActiveTriggers.clear();
    mActiveQuests.clear();
    mSatisfied.clear();
    mBadQuests.clear();
    mProxySpawns.clear();
    mDelayedActions.clear();
    mDelayedMessages.clear();
    mDelayActions = false;
    mRewards.clear();
    mConversationStart.clear();
    mCompleteQuestNow.clear();
    mCreatureInitialUpdate.clear();
    mEnterBoundingVolume.clear();
    mGenericEntityInitialUpdate.clear();
    mCreatureDeath.clear();
    SendGameEvent(GameEvent_QuestReset(), "QuestReset");
}

void QuestRepository::Update(int) {
    // A firing can arm or close other triggers: the list is made before any fires and stays
    // as it is until the next frame.
    RebuildActiveTriggers();
    for (std::size_t i = 0; i < mActiveTriggers.size(); ++i)
        mActiveTriggers[i]->OnStatusChange(false);
    if (!mDelayActions)
        FireDelayedActions();
}

void QuestRepository::RebuildActiveTriggers() {
    mActiveTriggers.clear();
    for (const auto& quest : mQuests)
        quest->GetActiveTriggers(mActiveTriggers);
}

Quest* QuestRepository::GetQuest(const Name& handle) const {
    for (const auto& quest : mQuests)
        if (quest->GetHandle() == handle)
            return quest.get();
    return nullptr;
}

bool QuestRepository::IsQuestActive(const Name& handle) const {
    const Quest* quest = GetQuest(handle);
    return quest && quest->IsActive();
}

void QuestRepository::AddActiveQuest(const Name& handle) {
    if (std::find(mActiveQuests.begin(), mActiveQuests.end(), handle) == mActiveQuests.end())
        mActiveQuests.push_back(handle);
}

TriggerAction* QuestRepository::FindActionById(std::uint32_t id) const {
    const ConditionId at = ConditionId::FromWord(id);
    if (at.quest >= mQuests.size())
        return nullptr;
    const QuestStep* step = mQuests[at.quest]->GetQuestStepAtIndx(at.step);
    const Trigger* trigger = step ? step->GetTriggerOfIdx(at.trigger) : nullptr;
    return trigger ? trigger->GetActionAtIdx(at.condition) : nullptr;
}

TriggerCondition* QuestRepository::FindConditionById(ConditionId id) const {
    if (id.quest >= mQuests.size())
        return nullptr;
    const QuestStep* step = mQuests[id.quest]->GetQuestStepAtIndx(id.step);
    const Trigger* trigger = step ? step->GetTriggerOfIdx(id.trigger) : nullptr;
    return trigger ? trigger->GetConditionAtIdx(id.condition) : nullptr;
}

template <class Listener>
void QuestRepository::AddOnce(Registry<Listener>& registry, const std::string& name,
                              Listener* listener) {
    if (!listener || name.empty())
        return;
    std::vector<Listener*>& listeners = registry[RecordNameKey(name)];
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

template <class Listener>
const std::vector<Listener*>* QuestRepository::Find(const Registry<Listener>& registry,
                                                    std::string_view name) {
    // Asked at every death and entry: the key is built in storage kept per thread.
    thread_local std::string key;
    RecordNameKey(name, key);
    const auto it = registry.find(key);
    return it == registry.end() || it->second.empty() ? nullptr : &it->second;
}

void QuestRepository::AddConversationStart(const std::string& name,
                                           ConversationStartListener* listener) {
    AddOnce(mConversationStart, name, listener);
}
void QuestRepository::AddEnterBoundingVolume(const std::string& name,
                                             EnterVolumeListener* listener) {
    AddOnce(mEnterBoundingVolume, name, listener);
}
void QuestRepository::AddCreatureInitialUpdate(const std::string& name,
                                               CreatureInitialUpdateListener* listener) {
    AddOnce(mCreatureInitialUpdate, name, listener);
}
void QuestRepository::AddGenericEntityInitialUpdate(const std::string& name,
                                                    GenericEntityInitialUpdateListener* listener) {
    AddOnce(mGenericEntityInitialUpdate, name, listener);
}
void QuestRepository::AddCreatureDeath(const std::string& name, CreatureDeathListener* listener) {
    AddOnce(mCreatureDeath, name, listener);
}
void QuestRepository::AddCompleteQuestNow(const Name& handle, Quest* quest) {
    AddOnce(mCompleteQuestNow, handle.str(), quest);
}

// Each handler walks a copy: a listener may register others while it handles the event.
void QuestRepository::OnConversationBegin(const GameEvent_ConversationBegin& event) {
    if (const auto* listeners = Find(mConversationStart, event.name))
        for (ConversationStartListener* listener : std::vector(*listeners))
            listener->OnConversationBegin(event);
}

void QuestRepository::OnEnterBoundingVolume(const GameEvent_BoundingVolume& event) {
    const Object* volume = Singleton<ObjectManager>::Get().GetObject(event.volumeId);
    if (!volume)
        return;
    if (const auto* listeners = Find(mEnterBoundingVolume, volume->GetObjectName()))
        for (EnterVolumeListener* listener : std::vector(*listeners))
            listener->OnEnterBoundingVolume(event);
}

void QuestRepository::OnCompleteQuestNow(const GameEvent_CompleteQuestNow& event) {
    if (const auto* quests = Find(mCompleteQuestNow, event.name))
        for (Quest* quest : std::vector(*quests))
            quest->OnCompleteQuestNow(event);
}

void QuestRepository::OnCreatureInitialUpdate(const GameEvent_CreatureInitialUpdate& event) {
    if (const auto* listeners = Find(mCreatureInitialUpdate, event.objectName))
        for (CreatureInitialUpdateListener* listener : std::vector(*listeners))
            listener->OnCreatureInitialUpdate(event);
}

void QuestRepository::OnCreatureDeath(const GameEvent_CreatureDeath& event) {
    const auto* listeners = Find(mCreatureDeath, event.objectName);
    if (!listeners) {
        // A monster a proxy made answers to the proxy's name too.
        if (const Monster* monster =
                Singleton<ObjectManager>::Get().GetObject<Monster>(event.objectId))
            listeners = Find(mCreatureDeath, monster->GetProxyParent());
    }
    if (listeners)
        for (CreatureDeathListener* listener : std::vector(*listeners))
            listener->OnCreatureDeath(event);
}

void QuestRepository::OnGenericEntityInitialUpdate(const GameEvent_GenericEntity& event) {
    const auto* listeners = Find(mGenericEntityInitialUpdate, event.objectName);
    if (!listeners)
        return;
    const bool deciding = gGameEngine && gGameEngine->IsServerOrSingle();
    for (GenericEntityInitialUpdateListener* listener : std::vector(*listeners)) {
        listener->OnGenericEntityInitialUpdate(event);
        // Looked up again: a listener may have ended the proxy.
        if (deciding)
            if (auto* proxy = Singleton<ObjectManager>::Get().GetObject<Proxy>(event.objectId))
                SendProxySpawn(*proxy);
    }
}

void QuestRepository::OnGenericEntityInitialUpdate_Net(const QuestNetMsg_ProxySpawn& message) {
    const std::string proxyName =
        NetworkIndexTable::Get().NetworkIndexToString(message.proxyNameIndex);
    if (proxyName.empty()) {
        gEngine->Log(1,
                     "QuestRepository: a proxy spawn names network index %u, which no record "
                     "of this level has",
                     message.proxyNameIndex);
        return;
    }
    if (const auto* listeners = Find(mGenericEntityInitialUpdate, proxyName))
        for (GenericEntityInitialUpdateListener* listener : std::vector(*listeners))
            listener->OnGenericEntityInitialUpdate_Net(message);
}

void QuestRepository::OnReward(const GameEvent_Reward& event) {
    if (event.simulated)
        return;
    mRewards.push_back({event.handle, event.region, event.locationTag, event.titleTag, event.text});
}

void QuestRepository::SimulateRewards() {
    for (const QuestRepositoryReward& reward : std::vector(mRewards)) {
        GameEvent_Reward event;
        event.handle = reward.questHandle;
        event.region = reward.region;
        event.locationTag = reward.locationTag;
        event.titleTag = reward.titleTag;
        event.text = reward.text;
        event.simulated = true;
        SendGameEvent(event, "Reward");
    }
}

void QuestRepository::AddTrigger(const Name& handle, int stepIdx, int triggerIdx,
                                 std::uint32_t target) {
    const FiredTriggerRecord record{handle, stepIdx, triggerIdx, target};
    if (std::find(mFiredTriggers.begin(), mFiredTriggers.end(), record) == mFiredTriggers.end())
        mFiredTriggers.push_back(record);
}

void QuestRepository::FireTriggers() {
    // Replaying appends nothing new (the records are there), but walk a copy all the same.
    for (const FiredTriggerRecord& record : std::vector(mFiredTriggers)) {
        Quest* quest = GetQuest(record.questHandle);
        if (!quest)
            continue;
        quest->SetActive(true);
        QuestStep* step = record.stepIdx >= 0
                              ? quest->GetQuestStepAtIndx(static_cast<std::size_t>(record.stepIdx))
                              : nullptr;
        Trigger* trigger = step && record.triggerIdx >= 0
                               ? step->GetTriggerOfIdx(static_cast<std::size_t>(record.triggerIdx))
                               : nullptr;
        if (trigger)
            trigger->ReFire(record.target);
    }
    RebuildActiveTriggers();
}

void QuestRepository::FireAction(TriggerAction& action, std::uint32_t target) {
    if (mDelayActions && action.CanDelay())
        mDelayedActions.push_back({&action, target});
    else
        action.Fire(target, false);
}

void QuestRepository::FlushDelayedActions() {
    mDelayActions = false;
    FireDelayedActions();
}

void QuestRepository::FireDelayedActions() {
    // An action may hold back another while it runs: take the queue first.
    std::vector<DelayedAction> queue;
    queue.swap(mDelayedActions);
    for (const DelayedAction& delayed : queue)
        delayed.action->Fire(delayed.target, false);
    std::vector<DelayedMessage> messages;
    messages.swap(mDelayedMessages);
    for (const DelayedMessage& delayed : messages)
        SendNetMsg(delayed.message, delayed.target);
}

void QuestRepository::RecvConditionSet(const std::vector<std::uint32_t>& words) {
    for (std::uint32_t word : words)
        mSatisfied.insert(ConditionId::FromWord(word));
    DetectUnsolvableQuests(true);
}

void QuestRepository::DetectUnsolvableQuests(bool checkExclusive) {
    for (const ConditionId id : std::vector(mSatisfied.begin(), mSatisfied.end())) {
        const TriggerCondition* condition = FindConditionById(id);
        if (!condition)
            continue;  // an id from another world's quests, or from a forged packet
        Quest& quest = *mQuests[id.quest];
        if (condition->IsExclusive() && !condition->GetSatisfied() &&
            (!condition->IsOptional() || !checkExclusive) && !quest.IsUnsolvable())
            quest.SetUnsolvable();
    }
}

void QuestRepository::CompleteCondition(const std::string& text) {
    std::uint32_t word = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X'))
        first += 2;
    const auto [end, error] = std::from_chars(first, last, word, 16);
    if (error != std::errc() || end != last || first == last) {
        gEngine->Log(1, "CompleteCondition: \"%s\" is not a hexadecimal condition id",
                     text.c_str());
        return;
    }
    RecvConditionSet({word});
}

void QuestRepository::BadQuestState(Quest& quest) {
    quest.SetDirty(true);
    if (std::find(mBadQuests.begin(), mBadQuests.end(), quest.GetHandle()) == mBadQuests.end())
        mBadQuests.push_back(quest.GetHandle());
    GameEvent_QuestUpdate event;
    event.value = 1;
    SendGameEvent(event, "QuestUpdate");
}

}  // namespace GAME
