#pragma once
// The condition kinds of quest scripts.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/characters/CharacterEvents.h"
#include "Game/characters/player/PlayerEvents.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/core/GameEvents.h"
#include "Game/items/inventory/ItemEvents.h"
#include "Game/quests/QuestEvents.h"
#include "Game/quests/conditions/QuestCondition.h"
#include "Game/quests/triggers/QuestListeners.h"

namespace GAME {

// Entering or leaving a bounding volume of the named record, which it binds to as they spawn.
class Condition_VolumeBase : public QuestCondition {
public:
    explicit Condition_VolumeBase(std::uint32_t id);
    void SerializeChildProperties(IOStream& stream) override;

protected:
    void OnSpawn(const GameEvent_GenericEntity& event);
    void OnDestroy(const GameEvent_GenericEntity& event);
    // The player that crossed a bound volume, or 0.
    std::uint32_t CrossingPlayer(const GameEvent_BoundingVolume& event) const;

    std::string mVolumeRecord;
    std::vector<std::uint32_t> mBound;

private:
    ConditionEventHandler<Condition_VolumeBase, GameEvent_GenericEntity> mSpawnHandler;
    ConditionEventHandler<Condition_VolumeBase, GameEvent_GenericEntity> mDestroyHandler;
};

class Condition_EnterVolume : public Condition_VolumeBase, public EnterVolumeListener {
public:
    explicit Condition_EnterVolume(std::uint32_t id) : Condition_VolumeBase(id) {}
    const char* GetName() const override { return "Condition_EnterVolume"; }
    void SerializeChildProperties(IOStream& stream) override;
    void OnEnterBoundingVolume(const GameEvent_BoundingVolume& event) override;

protected:
    std::string Describe() const override { return "Enter Bounding Volume"; }
};

class Condition_ExitVolume : public Condition_VolumeBase {
public:
    explicit Condition_ExitVolume(std::uint32_t id);
    const char* GetName() const override { return "Condition_ExitVolume"; }
    void OnExitBoundingVolume(const GameEvent_BoundingVolume& event);

protected:
    std::string Describe() const override { return "Exit Bounding Volume"; }

private:
    ConditionEventHandler<Condition_ExitVolume, GameEvent_BoundingVolume> mExitHandler;
};

// The kills: told by the deciding machine's deaths, and on the others by quest messages.
class Condition_KillBase : public QuestCondition, public CreatureDeathListener {
public:
    using QuestCondition::QuestCondition;
    void OnCreatureDeath(const GameEvent_CreatureDeath& event) override;

protected:
    // The record the kind watches when the death is one it counts; empty otherwise.
    virtual bool Matches(const GameEvent_CreatureDeath& event) const = 0;
    virtual void SendKill(const GameEvent_CreatureDeath& event) = 0;
    virtual void CountKill(const GameEvent_CreatureDeath& event) = 0;
    // The deciding machine tells the others, then the trigger is asked.
    void SatisfyKill(std::uint32_t killer, std::uint32_t victim, bool notify, bool setTarget);
    void Register(const std::string& record);
};

class Condition_KillCreature : public Condition_KillBase {
public:
    explicit Condition_KillCreature(std::uint32_t id) : Condition_KillBase(id) {}
    const char* GetName() const override { return "Condition_KillCreature"; }
    void SerializeChildProperties(IOStream& stream) override;
    void Satisfy(std::uint32_t killer, std::uint32_t victim, bool notify);

protected:
    std::string Describe() const override {
        return "Kill Creature " + Highlight(ShowRecordName(mCreatureRecord));
    }
    bool Matches(const GameEvent_CreatureDeath& event) const override;
    void SendKill(const GameEvent_CreatureDeath& event) override;
    void CountKill(const GameEvent_CreatureDeath& event) override;

private:
    std::string mCreatureRecord;
};

class Condition_KillAllCreaturesFromProxy : public Condition_KillBase {
public:
    explicit Condition_KillAllCreaturesFromProxy(std::uint32_t id) : Condition_KillBase(id) {}
    const char* GetName() const override { return "Condition_KillAllCreaturesFromProxy"; }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream& stream) override;
    void Satisfy(int siblingCount, bool notify);
    int GetKillCount() const { return mKills; }

protected:
    std::string Describe() const override {
        return "Kill All Creatures From Proxy " + Highlight(ShowRecordName(mProxyRecord));
    }
    bool Matches(const GameEvent_CreatureDeath& event) const override;
    void SendKill(const GameEvent_CreatureDeath& event) override;
    void CountKill(const GameEvent_CreatureDeath& event) override;

private:
    std::string mProxyRecord;
    std::int32_t mKills = 0;
};

class Condition_KillCreatureHerd : public Condition_KillBase {
public:
    explicit Condition_KillCreatureHerd(std::uint32_t id) : Condition_KillBase(id) {}
    const char* GetName() const override { return "Condition_KillCreatureHerd"; }
    void SerializeChildProperties(IOStream& stream) override;
    void StreamChildProperties(IOStream& stream) override;
    void GetQuestInformation(std::vector<std::string>& lines) override;
    void Satisfy(std::uint32_t killer, std::uint32_t victim, bool notify);
    int GetKillCount() const { return mKills; }

protected:
    std::string Describe() const override {
        return "Player Kills " +
               Highlight(std::to_string(mCreatureCount) + " " + ShowRecordName(mCreatureRecord));
    }
    bool Matches(const GameEvent_CreatureDeath& event) const override;
    void SendKill(const GameEvent_CreatureDeath& event) override;
    void CountKill(const GameEvent_CreatureDeath& event) override;

private:
    std::string mCreatureRecord;
    std::int32_t mCreatureCount = 0;
    std::string mQuestWindowDisplay;
    std::int32_t mKills = 0;
};

class Condition_ConversationStart : public QuestCondition, public ConversationStartListener {
public:
    explicit Condition_ConversationStart(std::uint32_t id) : QuestCondition(id) {}
    const char* GetName() const override { return "Condition_ConversationStart"; }
    void SerializeChildProperties(IOStream& stream) override;
    void OnConversationBegin(const GameEvent_ConversationBegin& event) override;
    void Satisfy(std::uint32_t player, bool unused, bool status);

protected:
    std::string Describe() const override {
        return "On Interact with " + Highlight(ShowRecordName(mPersonRecord));
    }

private:
    std::string mPersonRecord;
};

// Token kinds name their token exactly (case matters).
class Condition_TokenBase : public QuestCondition {
public:
    using QuestCondition::QuestCondition;
    void SerializeChildProperties(IOStream& stream) override;
    bool ContainsToken(const char* token) const override { return mTokenName == token; }
    void RemoveTokenReferences(const char* token) override {
        if (mTokenName == token)
            mTokenName.clear();
    }

protected:
    std::string mTokenName;
};

class Condition_OwnsTriggerToken : public Condition_TokenBase {
public:
    using Condition_TokenBase::Condition_TokenBase;
    const char* GetName() const override { return "Condition_OwnsTriggerToken"; }
    void IsSatisfied(bool& result) override;

protected:
    std::string Describe() const override { return "Owns Token " + HighlightToken(mTokenName); }
};

class Condition_GotToken : public Condition_TokenBase {
public:
    explicit Condition_GotToken(std::uint32_t id);
    const char* GetName() const override { return "Condition_GotToken"; }
    void OnGotToken(const GameEvent_GotToken& event);

protected:
    std::string Describe() const override { return "Got Token " + HighlightToken(mTokenName); }

private:
    ConditionEventHandler<Condition_GotToken, GameEvent_GotToken> mHandler;
};

// Items: one used or picked up, or one the trigger's target carries.
class Condition_ItemBase : public QuestCondition {
public:
    using QuestCondition::QuestCondition;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    std::string Describe() const override { return Verb() + Highlight(ShowRecordName(mItem)); }
    virtual std::string Verb() const = 0;
    virtual const char* Key() const { return "itemRecord"; }

    std::string mItem;
};

class Condition_UseFixedItem : public Condition_ItemBase {
public:
    explicit Condition_UseFixedItem(std::uint32_t id);
    const char* GetName() const override { return "Condition_UseFixedItem"; }
    void OnFixedItemUse(const GameEvent_FixedItemUse& event);

protected:
    std::string Verb() const override { return "Use Item "; }

private:
    ConditionEventHandler<Condition_UseFixedItem, GameEvent_FixedItemUse> mHandler;
};

class Condition_PickupItem : public Condition_ItemBase {
public:
    explicit Condition_PickupItem(std::uint32_t id);
    const char* GetName() const override { return "Condition_PickupItem"; }
    void OnItemAdd(const GameEvent_ItemAdd& event);

protected:
    std::string Verb() const override { return "Picks Up Item "; }

private:
    ConditionEventHandler<Condition_PickupItem, GameEvent_ItemAdd> mHandler;
};

class Condition_CharacterHasItem : public Condition_ItemBase {
public:
    using Condition_ItemBase::Condition_ItemBase;
    const char* GetName() const override { return "Condition_CharacterHasItem"; }
    void IsSatisfied(bool& result) override;

protected:
    std::string Verb() const override { return "Has Item "; }
    const char* Key() const override { return "itemName"; }
};

class Condition_OnLevelLoad : public QuestCondition {
public:
    explicit Condition_OnLevelLoad(std::uint32_t id);
    const char* GetName() const override { return "Condition_OnLevelLoad"; }
    void OnPreRun(const GameEvent_PreRun& event);

protected:
    std::string Describe() const override { return "On Game Level Load"; }

private:
    ConditionEventHandler<Condition_OnLevelLoad, GameEvent_PreRun> mHandler;
};

class Condition_OnQuestComplete : public QuestCondition {
public:
    explicit Condition_OnQuestComplete(std::uint32_t id);
    const char* GetName() const override { return "Condition_OnQuestComplete"; }
    void SerializeChildProperties(IOStream& stream) override;
    void OnQuestComplete(const GameEvent_QuestComplete& event);

protected:
    std::string Describe() const override { return "Quest " + Highlight(mQuestFile) + " Complete"; }

private:
    std::string mQuestFile;
    ConditionEventHandler<Condition_OnQuestComplete, GameEvent_QuestComplete> mHandler;
};

// A named character, or a proxy's characters, finished what a quest asked of it.
class Condition_CompletedBase : public QuestCondition {
public:
    using QuestCondition::QuestCondition;
    void SerializeChildProperties(IOStream& stream) override;

protected:
    void OnEntityInitialUpdate(const GameEvent_GenericEntity& event);
    void OnCompleted(const std::string& objectName);

    std::string mCharacterRecord;
    std::vector<std::uint32_t> mBound;
};

class Condition_MoveCompleted : public Condition_CompletedBase {
public:
    explicit Condition_MoveCompleted(std::uint32_t id);
    const char* GetName() const override { return "Condition_MoveCompleted"; }
    void OnInitialUpdate(const GameEvent_GenericEntity& event) { OnEntityInitialUpdate(event); }
    void OnMoveCompleted(const GameEvent_MoveCompleted& event) { OnCompleted(event.objectName); }

protected:
    std::string Describe() const override { return "Move completed"; }

private:
    ConditionEventHandler<Condition_MoveCompleted, GameEvent_MoveCompleted> mHandler;
    ConditionEventHandler<Condition_MoveCompleted, GameEvent_GenericEntity> mInitialHandler;
};

class Condition_AnimationCompleted : public Condition_CompletedBase {
public:
    explicit Condition_AnimationCompleted(std::uint32_t id);
    const char* GetName() const override { return "Condition_AnimationCompleted"; }
    void OnInitialUpdate(const GameEvent_GenericEntity& event) { OnEntityInitialUpdate(event); }
    void OnAnimationCompleted(const GameEvent_AnimationCompleted& event) {
        OnCompleted(event.objectName);
    }

protected:
    std::string Describe() const override { return "Animation completed"; }

private:
    ConditionEventHandler<Condition_AnimationCompleted, GameEvent_AnimationCompleted> mHandler;
    ConditionEventHandler<Condition_AnimationCompleted, GameEvent_GenericEntity> mInitialHandler;
};

}  // namespace GAME
