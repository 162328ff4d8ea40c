#pragma once
// Every quest of the running world: loads the world's quest files, hands game events to the
// conditions registered for them, records which triggers fired, decides when steps and quests
// complete, holds actions back while a conversation runs, and keeps the reward announcements.
// One per machine.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/core/GameEventListener.h"
#include "Game/quests/ConditionId.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/QuestNetMsg.h"
#include "Game/quests/triggers/QuestListeners.h"

namespace GAME {

class IOStream;
class Proxy;
class Quest;
class QuestStateSaveThread;
struct QuestFileSnapshot;
class Trigger;
class TriggerAction;
class TriggerCondition;
struct GameEvent_CreatureDeath;
struct GameEvent_CreatureInitialUpdate;
struct GameEvent_GenericEntity;

struct QuestRepositoryReward {
    Name questHandle;
    int region = 0;
    std::string locationTag;
    std::string titleTag;
    std::wstring text;
};

struct FiredTriggerRecord {
    Name questHandle;
    int stepIdx = 0;
    int triggerIdx = 0;
    std::uint32_t target = 0;
    bool operator==(const FiredTriggerRecord&) const = default;
};

class QuestRepository {
public:
    QuestRepository();
    ~QuestRepository();
    QuestRepository(const QuestRepository&) = delete;
    QuestRepository& operator=(const QuestRepository&) = delete;

    // The machine's repository, made on first use; Destroy ends it (made afresh on the next Get).
    static QuestRepository* Get();
    static void Destroy();

    // Reads every quest file the loaded world names that is not loaded yet.
    void Load();
    // Reads one quest from the bytes of its file (a property text or a binary property stream);
    // null, logged with the file's name, when they hold no quest.
    Quest* LoadQuest(const std::string& path, std::string_view bytes);
    void Reset();
    void Update(int elapsedMs);

    Quest* GetQuest(const Name& handle) const;
    const std::vector<std::unique_ptr<Quest>>& GetQuests() const { return mQuests; }
    bool IsQuestActive(const Name& handle) const;
    const std::vector<Name>& GetActiveQuestList() const { return mActiveQuests; }
    void AddActiveQuest(const Name& handle);
    // The element an id of this world's quests names; null for an id from elsewhere.
    TriggerAction* FindActionById(std::uint32_t id) const;
    TriggerCondition* FindConditionById(ConditionId id) const;

    // Registrations by record name, made by conditions and actions while they are read.
    void AddConversationStart(const std::string& name, ConversationStartListener* listener);
    void AddEnterBoundingVolume(const std::string& name, EnterVolumeListener* listener);
    void AddCreatureInitialUpdate(const std::string& name, CreatureInitialUpdateListener* listener);
    void AddGenericEntityInitialUpdate(const std::string& name,
                                       GenericEntityInitialUpdateListener* listener);
    void AddCreatureDeath(const std::string& name, CreatureDeathListener* listener);
    void AddCompleteQuestNow(const Name& handle, Quest* quest);

    void OnConversationBegin(const GameEvent_ConversationBegin& event);
    void OnEnterBoundingVolume(const GameEvent_BoundingVolume& event);
    void OnCompleteQuestNow(const GameEvent_CompleteQuestNow& event);
    void OnCreatureInitialUpdate(const GameEvent_CreatureInitialUpdate& event);
    void OnCreatureDeath(const GameEvent_CreatureDeath& event);
    void OnGenericEntityInitialUpdate(const GameEvent_GenericEntity& event);
    // A proxy's objects as the deciding machine sent them, to the listeners of its name.
    void OnGenericEntityInitialUpdate_Net(const QuestNetMsg_ProxySpawn& message);
    void OnReward(const GameEvent_Reward& event);
    void SimulateRewards();
    const std::vector<QuestRepositoryReward>& GetRewards() const { return mRewards; }

    void AddTrigger(const Name& handle, int stepIdx, int triggerIdx, std::uint32_t target);
    const std::vector<FiredTriggerRecord>& GetFiredTriggers() const { return mFiredTriggers; }
    void FireTriggers();
    void FireAction(TriggerAction& action, std::uint32_t target);
    void EnableDelayedActions(bool enabled) { mDelayActions = enabled; }
    bool AreActionsDelayed() const { return mDelayActions; }
    // A switch for the host's quest tools; the repository keeps it and nothing else.
    void EnableDebugging(bool enabled) { mDebugging = enabled; }
    bool IsDebuggingEnabled() const { return mDebugging; }
    void FlushDelayedActions();
    std::size_t GetDelayedActionCount() const { return mDelayedActions.size(); }

    // Quest messages between machines (a target of 0: every player).
    void SendNetMsg(const QuestNetMsg& message, std::uint32_t target);
    void SendDelayedNetMsg(const QuestNetMsg& message, std::uint32_t target);
    void SendConditionSet(std::uint32_t target);
    void SendProxySpawnList(std::uint32_t target);
    const std::vector<QuestNetMsg_ProxySpawn>& GetProxySpawns() const { return mProxySpawns; }
    void RequestClientData();
    // False when the words are no quest message (the caller logs who sent them).
    bool RecvNetMsg(const std::vector<std::uint32_t>& words);
    std::size_t GetDelayedNetMsgCount() const { return mDelayedMessages.size(); }

    void RegisterConditionSatisfied(ConditionId id) { mSatisfied.insert(id); }
    const std::set<ConditionId>& GetSatisfiedConditions() const { return mSatisfied; }
    void RecvConditionSet(const std::vector<std::uint32_t>& words);
    void DetectUnsolvableQuests(bool checkExclusive);
    // The debug console's completion of a condition given as hexadecimal text.
    void CompleteCondition(const std::string& text);
    void BadQuestState(Quest& quest);
    const std::vector<Name>& GetBadQuests() const { return mBadQuests; }

    // Quest state files: one per quest in `dir`, and the repository's file `file` beside them.
    // Saving writes the quests changed since they were last saved; in the background the
    // files are written by the save thread from a snapshot taken now.
    bool LoadQuestState(const std::filesystem::path& dir, const std::string& file);
    bool SaveQuestState(const std::filesystem::path& dir, const std::string& file, bool background);
    // Returns once every save requested so far is written.
    void WaitDone();
    // False (nothing of the quest read) when the file was written for another quest file.
    bool StreamQuestState(IOStream& stream, Quest& quest);
    void StreamProperties(IOStream& stream);

    void RebuildActiveTriggers();
    const std::vector<Trigger*>& GetActiveTriggers() const { return mActiveTriggers; }

private:
    struct DelayedAction {
        TriggerAction* action = nullptr;
        std::uint32_t target = 0;
    };
    struct DelayedMessage {
        QuestNetMsg message;
        std::uint32_t target = 0;
    };
    // Whether a sender's events count for the local player: itself, one not in the game, or one
    // of its party.
    bool OnSameSide(std::uint32_t sender) const;
    bool IsInGame(std::uint32_t player) const;
    bool IsInLocalParty(std::uint32_t player) const;
    void HandleKillMessage(const QuestNetMsg& message);
    // The deciding machine tells every player which objects the proxy made, and keeps the
    // message for players who join later.
    void SendProxySpawn(Proxy& proxy);
    template <class Listener>
    using Registry = std::unordered_map<std::string, std::vector<Listener*>>;

    template <class Listener>
    static void AddOnce(Registry<Listener>& registry, const std::string& name, Listener* listener);
    template <class Listener>
    static const std::vector<Listener*>* Find(const Registry<Listener>& registry,
                                              std::string_view name);
    void FireDelayedActions();
    std::vector<QuestFileSnapshot> TakeSnapshot(const std::filesystem::path& dir,
                                                const std::string& file);

    std::vector<std::unique_ptr<Quest>> mQuests;
    std::vector<FiredTriggerRecord> mFiredTriggers;
    std::vector<Trigger*> mActiveTriggers;
    std::vector<Name> mActiveQuests;
    std::set<ConditionId> mSatisfied;
    std::vector<Name> mBadQuests;
    std::vector<QuestNetMsg_ProxySpawn> mProxySpawns;
    std::vector<DelayedAction> mDelayedActions;
    std::vector<DelayedMessage> mDelayedMessages;
    std::vector<std::uint32_t> mWords;  // scratch for sending
    bool mDelayActions = false;
    bool mDebugging = false;
    std::vector<QuestRepositoryReward> mRewards;
    std::unique_ptr<QuestStateSaveThread> mSaveThread;

    Registry<ConversationStartListener> mConversationStart;
    Registry<Quest> mCompleteQuestNow;
    Registry<CreatureInitialUpdateListener> mCreatureInitialUpdate;
    Registry<EnterVolumeListener> mEnterBoundingVolume;
    Registry<GenericEntityInitialUpdateListener> mGenericEntityInitialUpdate;
    Registry<CreatureDeathListener> mCreatureDeath;

    GameEventListener<QuestRepository, GameEvent_ConversationBegin> mConversationBeginListener;
    GameEventListener<QuestRepository, GameEvent_CompleteQuestNow> mCompleteQuestNowListener;
    GameEventListener<QuestRepository, GameEvent_CreatureInitialUpdate> mInitialUpdateListener;
    GameEventListener<QuestRepository, GameEvent_BoundingVolume> mEnterVolumeListener;
    GameEventListener<QuestRepository, GameEvent_GenericEntity> mGenericEntityListener;
    GameEventListener<QuestRepository, GameEvent_CreatureDeath> mCreatureDeathListener;
    GameEventListener<QuestRepository, GameEvent_Reward> mRewardListener;
};

}  // namespace GAME
