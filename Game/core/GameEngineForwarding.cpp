// The root's UI queues, tutorial pages, and the operations it forwards to the current network
// interface, with the known portals.
#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameConstants.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Game/core/net/GameEngineServicesModules.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/core/players/PartyManager.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerManagerServer.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Game/core/util/SeamLog.h"

namespace GAME {

void GameEngine::ResetTutorialState() {
    unspentSkillPoints = 0;
    unspentMasteryPoints = 0;
    tutorialFlag1 = 0;
    tutorialFlag2 = 0;
    playTimer = 0;
    playTimerStopped = 0;
    playCounter = 0;
    modifierPointsTimer = 0;
    hotSlotChanged = 0;
    hotSlotTimer = 0;
    furtherCounter = 0;
    skillPointsTimer = 0;
    tutorialUnlockList.clear();
    tutorialUnlockBits.assign(kTutorialPageCount, false);
    disableTutorialAutoPop = false;
}

void GameEngine::UnlockTutorialPage(unsigned int page, bool announce) {
    if (page >= tutorialUnlockBits.size() || tutorialUnlockBits[page])
        return;
    tutorialUnlockBits[page] = true;
    tutorialUnlockList.push_back(page);
    if (announce) {
        GameEvent_TutorialUnlock event;
        event.page = page;
        SendGameEvent(event, "TutorialUnlock");
    }
}

bool GameEngine::IsTutorialPageUnlocked(unsigned int page) const {
    return page < tutorialUnlockBits.size() && tutorialUnlockBits[page];
}

void GameEngine::AddChatMessage(const std::wstring& from, const std::wstring& text,
                                unsigned char channel) {
    chatMessages.push_back(ChatMessage{from, text, channel});
}

void GameEngine::RemovePendingMessages(std::vector<ChatMessage>& out) {
    out.insert(out.end(), chatMessages.begin(), chatMessages.end());
    chatMessages.clear();
}

void GameEngine::SendChatMessage(const std::wstring& from, const std::wstring& text,
                                 unsigned char channel, std::vector<unsigned int> recipients) {
    currentInterface->HandleChatMessage(from, text, channel, std::move(recipients));
}

void GameEngine::UnlockAllTutorials() {
    for (unsigned int page = 0; page < static_cast<unsigned int>(kTutorialPageCount); ++page)
        UnlockTutorialPage(page, true);
}

void GameEngine::RegisterLocalPet(std::uint32_t id) {
    if (!IsLocalPet(id))
        localPets.push_back(id);
}

void GameEngine::UnregisterLocalPet(std::uint32_t id) {
    std::erase(localPets, id);
}

bool GameEngine::IsLocalPet(std::uint32_t id) const {
    return std::find(localPets.begin(), localPets.end(), id) != localPets.end();
}

void GameEngine::RegisterPartyRequestResponse(std::uint32_t player, bool accepted) {
    partyRequestResponses.push_back(PartyRequestResponse{player, accepted});
}

GameEngine::PartyRequestResponse GameEngine::GetTopPartyRequestResponse() {
    if (partyRequestResponses.empty())
        return {};
    const PartyRequestResponse top = partyRequestResponses.front();
    partyRequestResponses.pop_front();
    return top;
}

std::wstring GameEngine::GetPlayerName(std::uint32_t id) const {
    PlayerManagerClient* client = GetPlayerManagerClient();
    if (!client)
        return {};
    for (const PlayerNetBasicInfo& info : client->GetPlayerInfoCache())
        if (info.playerId == id)
            return info.playerName;
    return {};
}

void GameEngine::BanPlayer(std::uint32_t player, bool ask) {
    const std::wstring name = GetPlayerName(player);
    if (ask) {
        const std::wstring text = LocalizationManager::Instance().Format("tagQuestionBan", name);
        dialogManager.AddDialog(kDialogTypeQuestion, false, kDialogPartyBan, text, true, true);
        pendingBanPlayerId = player;
        return;
    }
    const std::wstring text = LocalizationManager::Instance().Format("tagMessageBan", name);
    PlayerManagerClient* client = GetPlayerManagerClient();
    if (!client)
        return;
    const std::vector<std::uint32_t> players = client->GetAllPlayersInGame();
    for (std::uint32_t id : players)
        if (id != player)
            currentInterface->DisplayWMessageRemote(id, true, text);
    client->BanPlayer(name);
}

void GameEngine::CreateItem(const WorldCoords& where, const ItemReplicaInfo& item) {
    currentInterface->CreateItem(0, where, item, nullptr);
}

void GameEngine::CreateItemForCharacter(std::uint32_t character, const WorldCoords& where,
                                        const ItemReplicaInfo& item, std::wstring* name) {
    currentInterface->CreateItem(character, where, item, name);
}

void GameEngine::CreateEntity(const WorldCoords& where, const std::string& record,
                              std::uint32_t id) {
    if (id == 0)
        id = Singleton<ObjectManager>::Get().CreateObjectID();
    currentInterface->CreateEntity(where, record, id);
}

void GameEngine::AddPlayerToParty(std::uint32_t player, int party) {
    currentInterface->AddPlayerToParty(player, party);
}

void GameEngine::InvitePlayerToParty(std::uint32_t invitee, int party) {
    const std::uint32_t self = GetPlayerId();
    if (partyManager->GetNumInPlayersParty(self) == 1)
        currentInterface->DisplayMessageRemote(self, invitee, true, "tagInviteSend");
    else
        partyManager->MessagePlayerInvited(static_cast<std::uint32_t>(party), invitee);
    currentInterface->InvitePlayerToParty(invitee, party);
}

void GameEngine::QuestCommandMove(std::uint32_t character, std::uint32_t target, WorldVec3 to,
                                  bool allowInterruptions) {
    currentInterface->QuestCommandMove(character, target, to, allowInterruptions);
}

void GameEngine::QuestCommandWalk(std::uint32_t character, std::uint32_t target, WorldVec3 to,
                                  bool allowInterruptions) {
    currentInterface->QuestCommandWalk(character, target, to, allowInterruptions);
}

void GameEngine::QuestCommandPlayAnimation(std::uint32_t character, unsigned int animation,
                                           bool looping, bool allowInterruptions) {
    currentInterface->QuestCommandPlayAnimation(character, animation, looping, allowInterruptions);
}

void GameEngine::QuestCommandUseSkill(std::uint32_t character, std::string& skill,
                                      std::uint32_t target, bool allowInterruptions) {
    currentInterface->QuestCommandUseSkill(character, skill, target, allowInterruptions);
}

void GameEngine::QuestCommandLockFixedItem(std::uint32_t item, bool lock) {
    currentInterface->QuestCommandLockFixedItem(item, lock);
}

void GameEngine::SendQuestPacket(const std::vector<unsigned int>& words, std::uint32_t receiver,
                                 bool conditionSet) {
    currentInterface->HandleQuestMessagePacket(GetPlayerId(), conditionSet, words, receiver);
}

void GameEngine::DisplayMessageRemote(std::uint32_t target, std::uint32_t namePlayer,
                                      bool notification, const std::string& tag) {
    currentInterface->DisplayMessageRemote(target, namePlayer, notification, tag);
}

void GameEngine::DisplayWMessageRemote(std::uint32_t target, bool notification,
                                       const std::wstring& text) {
    currentInterface->DisplayWMessageRemote(target, notification, text);
}

void GameEngine::BroadcastMessageRemote(std::uint32_t namePlayer, bool notification,
                                        const std::string& tag) {
    PlayerManagerClient* client = GetPlayerManagerClient();
    if (!client)
        return;
    const std::vector<PlayerNetBasicInfo> cache = client->GetPlayerInfoCache();
    for (const PlayerNetBasicInfo& info : cache)
        currentInterface->DisplayMessageRemote(info.playerId, namePlayer, notification, tag);
}

void GameEngine::SendPartyRequestResponse(std::uint32_t sender, std::uint32_t recipient,
                                          bool accepted) {
    PartyRequestResponsePacket packet;
    packet.sender = sender;
    packet.recipient = recipient;
    packet.accepted = accepted;
    if (NetworkConnectionManager* connections = gEngine->GetNetworkConnectionManager())
        connections->SendToServer(&packet);
}

void GameEngine::HandleBonusToServerInbound(const Bonus& bonus, const WorldVec3& where,
                                            std::uint32_t receiver) {
    if (PlayerManagerServer* server = GetPlayerManagerServer())
        server->HandleBonus(bonus, where, receiver);
}

void GameEngine::HandleBonusToServerOutbound(const Bonus& bonus, const WorldVec3& where,
                                             std::uint32_t receiver) {
    currentInterface->HandleBonusToServer(bonus, where, receiver);
}

void GameEngine::RemovePlayerFromGame(int host) {
    if (PlayerManagerServer* server = GetPlayerManagerServer())
        server->RemovePlayerFromGame(host);
    if (PlayerManagerClient* client = GetPlayerManagerClient())
        client->RemovePlayerFromGame(host);
}

void GameEngine::CreateMarketClient(std::uint32_t merchant) {
    if (clientServices)
        clientServices->CreateMarketClient(merchant);
}

void GameEngine::DestroyMarketClient(std::uint32_t merchant) {
    if (clientServices)
        clientServices->DestroyMarketClient(merchant);
}

void GameEngine::ForceMarketRefresh(std::uint32_t merchant) {
    if (currentServerServices)
        currentServerServices->ForceMarketRefresh(merchant);
}

}  // namespace GAME
