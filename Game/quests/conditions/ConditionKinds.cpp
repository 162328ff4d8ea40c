#include "Game/quests/conditions/ConditionKinds.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/stats/PlayStats.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/Item.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestNetMsg.h"
#include "Game/quests/QuestRepository.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

GAME_TRIGGER_CONDITION_KIND(Condition_EnterVolume)
GAME_TRIGGER_CONDITION_KIND(Condition_ExitVolume)
GAME_TRIGGER_CONDITION_KIND(Condition_KillCreature)
GAME_TRIGGER_CONDITION_KIND(Condition_KillAllCreaturesFromProxy)
GAME_TRIGGER_CONDITION_KIND(Condition_KillCreatureHerd)
GAME_TRIGGER_CONDITION_KIND(Condition_ConversationStart)
GAME_TRIGGER_CONDITION_KIND(Condition_OwnsTriggerToken)
GAME_TRIGGER_CONDITION_KIND(Condition_GotToken)
GAME_TRIGGER_CONDITION_KIND(Condition_UseFixedItem)
GAME_TRIGGER_CONDITION_KIND(Condition_PickupItem)
GAME_TRIGGER_CONDITION_KIND(Condition_CharacterHasItem)
GAME_TRIGGER_CONDITION_KIND(Condition_OnLevelLoad)
GAME_TRIGGER_CONDITION_KIND(Condition_OnQuestComplete)
GAME_TRIGGER_CONDITION_KIND(Condition_MoveCompleted)
GAME_TRIGGER_CONDITION_KIND(Condition_AnimationCompleted)

std::uint32_t LocalPlayerId() {
    return gGameEngine ? gGameEngine->GetPlayerId() : 0;
}

bool DecidesGame() {
    return gGameEngine && gGameEngine->IsServerOrSingle();
}

// Volumes

Condition_VolumeBase::Condition_VolumeBase(std::uint32_t id)
    : QuestCondition(id),
      mSpawnHandler("GameEvent_GenericEntitySpawn", "Condition"),
      mDestroyHandler("GameEvent_GenericEntityDestroy", "Condition") {
    mSpawnHandler.SetOwner(this, &Condition_VolumeBase::OnSpawn);
    mDestroyHandler.SetOwner(this, &Condition_VolumeBase::OnDestroy);
}

void Condition_VolumeBase::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("volumeRecord", mVolumeRecord);
}

void Condition_VolumeBase::OnSpawn(const GameEvent_GenericEntity& event) {
    if (!mVolumeRecord.empty() && RecordNamesEqual(mVolumeRecord, event.objectName))
        mBound.push_back(event.objectId);
}

void Condition_VolumeBase::OnDestroy(const GameEvent_GenericEntity& event) {
    if (mVolumeRecord.empty() || !RecordNamesEqual(mVolumeRecord, event.objectName))
        return;
    if (auto it = std::find(mBound.begin(), mBound.end(), event.objectId); it != mBound.end())
        mBound.erase(it);
}

std::uint32_t Condition_VolumeBase::CrossingPlayer(const GameEvent_BoundingVolume& event) const {
    if (HasFired() || mBound.empty() ||
        std::find(mBound.begin(), mBound.end(), event.volumeId) == mBound.end())
        return 0;
    return Objects().GetObject<Player>(event.entityId) ? event.entityId : 0;
}

void Condition_EnterVolume::SerializeChildProperties(IOStream& stream) {
    Condition_VolumeBase::SerializeChildProperties(stream);
    QuestRepository::Get()->AddEnterBoundingVolume(mVolumeRecord, this);
}

void Condition_EnterVolume::OnEnterBoundingVolume(const GameEvent_BoundingVolume& event) {
    if (const std::uint32_t player = CrossingPlayer(event)) {
        SetTarget(player);
        Satisfy();
    }
}

Condition_ExitVolume::Condition_ExitVolume(std::uint32_t id)
    : Condition_VolumeBase(id), mExitHandler("GameEvent_ExitBoundingVolume", "Condition") {
    mExitHandler.SetOwner(this, &Condition_ExitVolume::OnExitBoundingVolume);
}

void Condition_ExitVolume::OnExitBoundingVolume(const GameEvent_BoundingVolume& event) {
    const std::uint32_t id = CrossingPlayer(event);
    const Player* player = id ? Objects().GetObject<Player>(id) : nullptr;
    // Only the player this machine plays counts: each machine runs its own player's quests.
    if (!player || !player->IsControllingCharacter())
        return;
    SetTarget(id);
    Satisfy();
}

// Kills

void Condition_KillBase::Register(const std::string& record) {
    if (DecidesGame())
        QuestRepository::Get()->AddCreatureDeath(record, this);
}

void Condition_KillBase::OnCreatureDeath(const GameEvent_CreatureDeath& event) {
    if (!Matches(event))
        return;
    bool counts = true;
    if (gEngine->IsNetworkEnabled()) {
        if (DecidesGame())
            SendKill(event);
        const PlayerManagerClient* players =
            gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr;
        const PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
        if (players && players->IsPlayerInGame(event.attackerId) &&
            !(parties && parties->AreInPartyTogether(event.attackerId, LocalPlayerId())))
            counts = false;
    }
    if (!HasFired() && counts)
        CountKill(event);
}

void Condition_KillBase::SatisfyKill(std::uint32_t killer, std::uint32_t victim, bool notify,
                                     bool setTarget) {
    SetSatisfied(true);
    if (notify && DecidesGame()) {
        QuestNetMsg message;
        message.type = QuestNetMsgType::ConditionSatisfied;
        message.conditionId = GetId();
        message.sender = LocalPlayerId();
        QuestRepository::Get()->SendNetMsg(message, 0);
    }
    Trigger* trigger = GetTrigger();
    if (!trigger)
        return;
    if (setTarget) {
        trigger->SetTarget(killer);
        trigger->SetVictim(victim);
    }
    trigger->OnStatusChange(false);
}

namespace {

void SendKillMessage(QuestNetMsgType type, std::uint32_t conditionId, std::uint32_t killer,
                     std::uint32_t second, std::uint32_t third, bool exclusive) {
    QuestNetMsg message;
    message.type = type;
    message.conditionId = conditionId;
    message.sender = killer;
    message.words[0] = second;
    message.words[1] = third;
    message.words[2] = exclusive ? 1u : 0u;
    if (type == QuestNetMsgType::ProxyCreatureKilled)
        message.words[1] = exclusive ? 1u : 0u;
    QuestRepository::Get()->SendNetMsg(message, 0);
}

}  // namespace

void Condition_KillCreature::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("creatureRecord", mCreatureRecord);
    Register(mCreatureRecord);
}

bool Condition_KillCreature::Matches(const GameEvent_CreatureDeath& event) const {
    return !mCreatureRecord.empty() && RecordNamesEqual(mCreatureRecord, event.objectName);
}

void Condition_KillCreature::SendKill(const GameEvent_CreatureDeath& event) {
    SendKillMessage(QuestNetMsgType::CreatureKilled, GetId(), event.attackerId, event.attackerId,
                    event.objectId, IsExclusive());
}

void Condition_KillCreature::CountKill(const GameEvent_CreatureDeath& event) {
    Satisfy(event.attackerId, event.objectId, true);
}

void Condition_KillCreature::Satisfy(std::uint32_t killer, std::uint32_t victim, bool notify) {
    SatisfyKill(killer, victim, notify, true);
}

void Condition_KillAllCreaturesFromProxy::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("proxyRecord", mProxyRecord);
    Register(mProxyRecord);
}

// Kept with the quest state, so a quest reloaded mid-fight still reaches its count.
void Condition_KillAllCreaturesFromProxy::StreamChildProperties(IOStream& stream) {
    stream.StreamInt("killCount", mKills);
}

bool Condition_KillAllCreaturesFromProxy::Matches(const GameEvent_CreatureDeath& event) const {
    const Monster* monster = Objects().GetObject<Monster>(event.objectId);
    return monster && !mProxyRecord.empty() &&
           RecordNamesEqual(mProxyRecord, monster->GetProxyParent());
}

void Condition_KillAllCreaturesFromProxy::SendKill(const GameEvent_CreatureDeath& event) {
    const Monster* monster = Objects().GetObject<Monster>(event.objectId);
    SendKillMessage(QuestNetMsgType::ProxyCreatureKilled, GetId(), event.attackerId,
                    monster ? monster->GetProxyNumSiblings() : 0, 0, IsExclusive());
}

void Condition_KillAllCreaturesFromProxy::CountKill(const GameEvent_CreatureDeath& event) {
    const Monster* monster = Objects().GetObject<Monster>(event.objectId);
    Satisfy(monster ? static_cast<int>(monster->GetProxyNumSiblings()) : 0, true);
}

void Condition_KillAllCreaturesFromProxy::Satisfy(int siblingCount, bool notify) {
    ++mKills;
    if (mKills == siblingCount)
        SatisfyKill(0, 0, notify, false);
}

void Condition_KillCreatureHerd::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("creatureRecord", mCreatureRecord);
    stream.StreamInt("creatureCount", mCreatureCount);
    stream.StreamString("questWindowDisplay", mQuestWindowDisplay);
    Register(mCreatureRecord);
}

void Condition_KillCreatureHerd::StreamChildProperties(IOStream& stream) {
    stream.StreamInt("killCount", mKills);
}

void Condition_KillCreatureHerd::GetQuestInformation(std::vector<std::string>& lines) {
    if (!mQuestWindowDisplay.empty())
        lines.push_back(mQuestWindowDisplay + " " + std::to_string(mKills) + "/" +
                        std::to_string(mCreatureCount));
}

bool Condition_KillCreatureHerd::Matches(const GameEvent_CreatureDeath& event) const {
    return !mCreatureRecord.empty() && RecordNamesEqual(mCreatureRecord, event.objectName);
}

void Condition_KillCreatureHerd::SendKill(const GameEvent_CreatureDeath& event) {
    SendKillMessage(QuestNetMsgType::HerdCreatureKilled, GetId(), event.attackerId,
                    event.attackerId, event.objectId, IsExclusive());
}

void Condition_KillCreatureHerd::CountKill(const GameEvent_CreatureDeath& event) {
    Satisfy(event.attackerId, event.objectId, true);
}

void Condition_KillCreatureHerd::Satisfy(std::uint32_t killer, std::uint32_t victim, bool notify) {
    ++mKills;
    if (mKills >= mCreatureCount)
        SatisfyKill(killer, victim, notify, true);
}

// Conversations

void Condition_ConversationStart::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("personRecord", mPersonRecord);
    QuestRepository::Get()->AddConversationStart(mPersonRecord, this);
}

void Condition_ConversationStart::OnConversationBegin(const GameEvent_ConversationBegin& event) {
    if (HasFired() || !RecordNamesEqual(mPersonRecord, event.name) ||
        event.playerId != LocalPlayerId())
        return;
    Satisfy(event.playerId, true, false);
    if (!HasFired())
        return;
    QuestNetMsg message;
    message.type = QuestNetMsgType::ConversationStarted;
    message.conditionId = GetId();
    message.sender = LocalPlayerId();
    message.words[0] = event.playerId;
    QuestRepository::Get()->SendDelayedNetMsg(message, 0);
}

void Condition_ConversationStart::Satisfy(std::uint32_t player, bool, bool status) {
    SetSatisfied(true);
    SetTarget(player);
    if (Trigger* trigger = GetTrigger())
        trigger->OnStatusChange(status);
}

// Tokens

void Condition_TokenBase::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("tokenName", mTokenName);
}

void Condition_OwnsTriggerToken::IsSatisfied(bool& result) {
    const Player* player = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
    const bool owns = player && player->HasToken(mTokenName);
    result = result && (IsNegated() ? !owns : owns);
}

Condition_GotToken::Condition_GotToken(std::uint32_t id)
    : Condition_TokenBase(id), mHandler("GameEvent_GotToken", "Condition") {
    mHandler.SetOwner(this, &Condition_GotToken::OnGotToken);
}

void Condition_GotToken::OnGotToken(const GameEvent_GotToken& event) {
    if (HasFired() || !RecordNamesEqual(mTokenName, event.tokenName))
        return;
    SetTarget(event.playerId);
    QuestCondition::Satisfy();
}

// Items

void Condition_ItemBase::SerializeChildProperties(IOStream& stream) {
    stream.StreamString(Key(), mItem);
}

Condition_UseFixedItem::Condition_UseFixedItem(std::uint32_t id)
    : Condition_ItemBase(id), mHandler("GameEvent_FixedItemUse", "Condition") {
    mHandler.SetOwner(this, &Condition_UseFixedItem::OnFixedItemUse);
}

void Condition_UseFixedItem::OnFixedItemUse(const GameEvent_FixedItemUse& event) {
    if (HasFired() || mItem.empty())
        return;
    const auto* item = Singleton<ObjectManager>::Get().GetObject<FixedItem>(event.itemId);
    if (!item || !RecordNamesEqual(mItem, item->GetObjectName()))
        return;
    SetTarget(event.userId);
    Satisfy();
}

Condition_PickupItem::Condition_PickupItem(std::uint32_t id)
    : Condition_ItemBase(id), mHandler("GameEvent_ItemAdd", "Condition") {
    mHandler.SetOwner(this, &Condition_PickupItem::OnItemAdd);
}

void Condition_PickupItem::OnItemAdd(const GameEvent_ItemAdd& event) {
    if (HasFired() || event.flag || mItem.empty())
        return;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    const auto* item = objects.GetObject<Item>(event.itemId);
    if (!objects.GetObject<Player>(event.ownerId) || !item ||
        !RecordNamesEqual(mItem, item->GetObjectName()))
        return;
    SetTarget(event.ownerId);
    Satisfy();
}

void Condition_CharacterHasItem::IsSatisfied(bool& result) {
    const Trigger* trigger = GetTrigger();
    const auto* character =
        trigger ? Singleton<ObjectManager>::Get().GetObject<Character>(trigger->GetTarget())
                : nullptr;
    const bool has = character && !mItem.empty() && character->HasItem(mItem);
    result = result && (IsNegated() ? !has : has);
}

// Game events

Condition_OnLevelLoad::Condition_OnLevelLoad(std::uint32_t id)
    : QuestCondition(id), mHandler("GameEvent_PreRun", "Condition") {
    mHandler.SetOwner(this, &Condition_OnLevelLoad::OnPreRun);
}

void Condition_OnLevelLoad::OnPreRun(const GameEvent_PreRun&) {
    if (!HasFired())
        Satisfy();
}

Condition_OnQuestComplete::Condition_OnQuestComplete(std::uint32_t id)
    : QuestCondition(id), mHandler("GameEvent_QuestComplete", "Condition") {
    mHandler.SetOwner(this, &Condition_OnQuestComplete::OnQuestComplete);
}

void Condition_OnQuestComplete::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("questFile", mQuestFile);
}

void Condition_OnQuestComplete::OnQuestComplete(const GameEvent_QuestComplete& event) {
    if (mQuestFile.empty() || (!event.first && !event.second) || HasFired())
        return;
    if (QuestHandleOf(mQuestFile) == event.handle)
        Satisfy();
}

void Condition_CompletedBase::SerializeChildProperties(IOStream& stream) {
    stream.StreamString("characterRecord", mCharacterRecord);
}

void Condition_CompletedBase::OnEntityInitialUpdate(const GameEvent_GenericEntity& event) {
    if (mCharacterRecord.empty() || !RecordNamesEqual(mCharacterRecord, event.objectName))
        return;
    ReportSeam("Condition", "Proxy::GetPrimaryObjects (characters a proxy placed)");
}

void Condition_CompletedBase::OnCompleted(const std::string& objectName) {
    if (HasFired() || mCharacterRecord.empty())
        return;
    bool match = RecordNamesEqual(mCharacterRecord, objectName);
    for (std::size_t i = 0; !match && i < mBound.size(); ++i) {
        const Character* character = Objects().GetObject<Character>(mBound[i]);
        match = character && character->GetObjectName() == objectName;
    }
    if (match)
        Satisfy();
}

Condition_MoveCompleted::Condition_MoveCompleted(std::uint32_t id)
    : Condition_CompletedBase(id),
      mHandler("GameEvent_MoveCompleted", "Condition"),
      mInitialHandler("GameEvent_GenericEntityInitialUpdate", "Condition") {
    mHandler.SetOwner(this, &Condition_MoveCompleted::OnMoveCompleted);
    mInitialHandler.SetOwner(this, &Condition_MoveCompleted::OnInitialUpdate);
}

Condition_AnimationCompleted::Condition_AnimationCompleted(std::uint32_t id)
    : Condition_CompletedBase(id),
      mHandler("GameEvent_AnimationCompleted", "Condition"),
      mInitialHandler("GameEvent_GenericEntityInitialUpdate", "Condition") {
    mHandler.SetOwner(this, &Condition_AnimationCompleted::OnAnimationCompleted);
    mInitialHandler.SetOwner(this, &Condition_AnimationCompleted::OnInitialUpdate);
}

}  // namespace GAME
