#include "Engine/Engine.h"
#include "Engine/net/NetworkIndexTable.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/triggers/Trigger.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/conditions/ConditionKinds.h"
#include "Game/world/proxies/Proxy.h"

namespace GAME {

void QuestRepository::SendNetMsg(const QuestNetMsg& message, std::uint32_t target) {
    if (message.type == QuestNetMsgType::ConditionSatisfied)
        RegisterConditionSatisfied(ConditionId::FromWord(message.conditionId));
    if (!gGameEngine)
        return;
    mWords.clear();
    message.Write(mWords);
    gGameEngine->SendQuestPacket(mWords, target, false);
}

void QuestRepository::SendDelayedNetMsg(const QuestNetMsg& message, std::uint32_t target) {
    if (static_cast<std::uint32_t>(message.type) < kQuestNetMsgTypes)
        mDelayedMessages.push_back({message, target});
}

void QuestRepository::SendConditionSet(std::uint32_t target) {
    if (!gGameEngine)
        return;
    mWords.clear();
    for (const ConditionId id : mSatisfied)
        mWords.push_back(id.ToWord());
    gGameEngine->SendQuestPacket(mWords, target, true);
}

void QuestRepository::SendProxySpawnList(std::uint32_t target) {
    if (!gGameEngine)
        return;
    for (const QuestNetMsg_ProxySpawn& spawn : mProxySpawns) {
        mWords.clear();
        WriteProxySpawn(spawn, gGameEngine->GetPlayerId(), mWords);
        gGameEngine->SendQuestPacket(mWords, target, false);
    }
}

void QuestRepository::SendProxySpawn(Proxy& proxy) {
    QuestNetMsg_ProxySpawn spawn;
    spawn.proxyNameIndex = NetworkIndexTable::Get().StringToNetworkIndex(proxy.GetObjectName());
    if (spawn.proxyNameIndex == NetworkIndexTable::kNoIndex) {
        // Only names every machine loaded alike can travel.
        if (gEngine->IsNetworkEnabled())
            gEngine->Log(2,
                         "QuestRepository: proxy %s was not placed by the level; its spawn is not "
                         "sent to other machines",
                         proxy.GetObjectName().c_str());
        return;
    }
    spawn.proxyId = proxy.GetObjectId();
    proxy.GetPrimaryObjects(spawn.primaryObjects);
    proxy.GetAccessoryObjects(spawn.accessoryObjects);
    if (gGameEngine) {
        mWords.clear();
        WriteProxySpawn(spawn, gGameEngine->GetPlayerId(), mWords);
        gGameEngine->SendQuestPacket(mWords, 0, false);
    }
    mProxySpawns.push_back(std::move(spawn));
}

void QuestRepository::RequestClientData() {
    QuestNetMsg request;
    request.type = QuestNetMsgType::ClientDataRequest;
    request.sender = LocalPlayerId();
    SendNetMsg(request, 0);
}

bool QuestRepository::IsInGame(std::uint32_t player) const {
    const PlayerManagerClient* players =
        gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr;
    return players && players->IsPlayerInGame(player);
}

bool QuestRepository::IsInLocalParty(std::uint32_t player) const {
    const PartyManager* parties = gGameEngine ? gGameEngine->GetPartyManager() : nullptr;
    return parties && parties->AreInPartyTogether(player, LocalPlayerId());
}

bool QuestRepository::OnSameSide(std::uint32_t sender) const {
    return sender == LocalPlayerId() || !IsInGame(sender) || IsInLocalParty(sender);
}

void QuestRepository::HandleKillMessage(const QuestNetMsg& message) {
    TriggerCondition* condition = FindConditionById(ConditionId::FromWord(message.conditionId));
    if (!condition)
        return;
    const bool exclusive = message.type == QuestNetMsgType::ProxyCreatureKilled
                               ? message.words[1] != 0
                               : message.words[2] != 0;
    if (OnSameSide(message.sender)) {
        bool satisfied = true;
        condition->IsSatisfied(satisfied);
        if (satisfied)
            return;
        // The kind is the condition's own: an id naming another kind changes nothing.
        if (auto* kill = dynamic_cast<Condition_KillCreature*>(condition);
            kill && message.type == QuestNetMsgType::CreatureKilled)
            kill->Satisfy(message.words[0], message.words[1], false);
        else if (auto* herd = dynamic_cast<Condition_KillCreatureHerd*>(condition);
                 herd && message.type == QuestNetMsgType::HerdCreatureKilled)
            herd->Satisfy(message.words[0], message.words[1], false);
        else if (auto* proxy = dynamic_cast<Condition_KillAllCreaturesFromProxy*>(condition);
                 proxy && message.type == QuestNetMsgType::ProxyCreatureKilled)
            proxy->Satisfy(static_cast<int>(message.words[0]), false);
    } else if (exclusive) {
        mQuests[ConditionId::FromWord(message.conditionId).quest]->SetUnsolvable();
    }
}

bool QuestRepository::RecvNetMsg(const std::vector<std::uint32_t>& words) {
    if (words.empty())
        return true;
    QuestNetMsg message;
    QuestNetMsg_ProxySpawn spawn;
    if (!ReadQuestNetMsg(words, message, spawn))
        return false;
    const std::uint32_t local = LocalPlayerId();
    const bool fromHere = message.sender == local;
    switch (message.type) {
        case QuestNetMsgType::ConditionSatisfied:
            // A party member's satisfied condition is ours too; anyone else's may close a quest.
            if (fromHere || (IsInGame(message.sender) && IsInLocalParty(message.sender)))
                break;
            mSatisfied.insert(ConditionId::FromWord(message.conditionId));
            DetectUnsolvableQuests(false);
            break;
        case QuestNetMsgType::CreatureKilled:
        case QuestNetMsgType::ProxyCreatureKilled:
        case QuestNetMsgType::HerdCreatureKilled:
            HandleKillMessage(message);
            break;
        case QuestNetMsgType::ConversationStarted: {
            if (fromHere || (IsInGame(message.sender) && !IsInLocalParty(message.sender)))
                break;
            auto* condition = dynamic_cast<Condition_ConversationStart*>(
                FindConditionById(ConditionId::FromWord(message.conditionId)));
            if (condition)
                condition->Satisfy(local, false, true);
            break;
        }
        case QuestNetMsgType::ProxySpawned:
            if (!fromHere)
                OnGenericEntityInitialUpdate_Net(spawn);
            break;
        case QuestNetMsgType::ClientDataRequest:
            if (!fromHere && gGameEngine && gGameEngine->IsServerOrSingle()) {
                SendConditionSet(message.sender);
                SendProxySpawnList(message.sender);
            }
            break;
    }
    return true;
}

}  // namespace GAME
