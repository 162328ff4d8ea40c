#include "Game/core/players/PartyManager.h"

#include "Engine/Engine.h"
#include "Engine/events/EventManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/DialogManager.h"

namespace GAME {

namespace {

constexpr const char* kInviteSoundRecord = "Records/Sounds/Soundpak/UI/PartyInviteMessagePak.dbr";

const std::vector<PlayerNetBasicInfo>* Cache() {
    PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr;
    return client ? &client->GetPlayerInfoCache() : nullptr;
}

std::uint32_t LocalPlayer() {
    return gGameEngine ? gGameEngine->GetPlayerId() : 0;
}

}  // namespace

PartyManager::PartyManager() : mInviteListener("GameEvent_InviteToParty") {
    if (SoundPak* sound =
            Singleton<ObjectManager>::Get().CreateObjectFromFile<SoundPak>(kInviteSoundRecord))
        mInviteSound = sound->GetObjectId();
    mInviteListener.SetOwner(this, &PartyManager::OnInviteToParty);
}

PartyManager::~PartyManager() {
    // Looked up again: the object manager may have let it go already.
    auto& objects = Singleton<ObjectManager>::Get();
    if (SoundPak* sound = objects.GetObject<SoundPak>(mInviteSound))
        objects.DestroyObject(sound);
}

std::uint32_t PartyManager::GetParty(std::uint32_t player) const {
    std::uint32_t party = 0;
    if (const auto* cache = Cache())
        for (const auto& record : *cache)
            if (record.playerId == player)
                party = static_cast<std::uint32_t>(record.partyId);
    return party;
}

std::uint32_t PartyManager::GetPlayerFaction(std::uint32_t player) const {
    const std::uint32_t party = GetParty(player);
    return party ? party : player;
}

bool PartyManager::AreInPartyTogether(std::uint32_t a, std::uint32_t b) const {
    if (a == b)
        return true;
    const auto* cache = Cache();
    if (!cache)
        return false;
    bool foundA = false;
    bool foundB = false;
    std::uint32_t partyA = 0;
    std::uint32_t partyB = 0;
    for (const auto& record : *cache) {
        if (record.playerId == a) {
            foundA = true;
            partyA = static_cast<std::uint32_t>(record.partyId);
        }
        if (record.playerId == b) {
            foundB = true;
            partyB = static_cast<std::uint32_t>(record.partyId);
        }
    }
    return foundA && foundB && partyA == partyB && partyA != 0;
}

int PartyManager::GetNumPlayersInParty(std::uint32_t party) const {
    if (party == 0)
        return 1;
    int count = 0;
    if (const auto* cache = Cache())
        for (const auto& record : *cache)
            if (static_cast<std::uint32_t>(record.partyId) == party)
                ++count;
    return count;
}

int PartyManager::GetNumInPlayersParty(std::uint32_t player) const {
    return GetNumPlayersInParty(GetParty(player));
}

int PartyManager::GetNumPlayersInPartyNear(std::uint32_t party, const WorldVec3& where,
                                           float radius) const {
    if (party == 0)
        return 1;
    int count = 0;
    if (const auto* cache = Cache())
        for (const auto& record : *cache)
            if (static_cast<std::uint32_t>(record.partyId) == party &&
                record.position.DistanceTo(where) <= radius)
                ++count;
    return count;
}

void PartyManager::GetPlayersInParty(std::uint32_t party, std::vector<std::uint32_t>& ids) const {
    if (party == 0) {
        ids.clear();
        return;
    }
    if (const auto* cache = Cache())
        for (const auto& record : *cache)
            if (static_cast<std::uint32_t>(record.partyId) == party)
                ids.push_back(record.playerId);
}

void PartyManager::GetPartyMembers(std::uint32_t player, std::vector<std::uint32_t>& ids) const {
    const std::uint32_t party = GetParty(player);
    if (party == 0)
        ids.push_back(player);
    else
        GetPlayersInParty(party, ids);
}

float PartyManager::GetPartyExperienceMultiplier(std::uint32_t player, std::uint32_t source) const {
    if (!gGameEngine)
        return 0.0f;
    std::vector<std::uint32_t> members;
    GetPartyMembers(player, members);
    float sum = 0.0f;
    for (std::uint32_t member : members)
        sum += gGameEngine->GetPlayerDamagePercent(member, source);
    return sum;
}

void PartyManager::MessageParty(std::uint32_t party, std::uint32_t player, const char* tag) const {
    if (!gGameEngine)
        return;
    std::vector<std::uint32_t> members;
    GetPlayersInParty(party, members);
    for (std::uint32_t member : members)
        if (member != player)
            gGameEngine->DisplayMessageRemote(member, player, true, tag);
}

void PartyManager::MessagePlayerJoin(std::uint32_t party, std::uint32_t player) const {
    MessageParty(party, player, "tagMessageJoin");
}

void PartyManager::MessagePlayerInvited(std::uint32_t party, std::uint32_t player) const {
    MessageParty(party, player, "tagInviteSend");
}

void PartyManager::MessagePlayerLeaving(std::uint32_t party, std::uint32_t player) const {
    MessageParty(party, player, "tagMessageLeave");
}

void PartyManager::HandlePartyInvite(std::uint32_t player, int inviter) {
    const std::uint32_t local = LocalPlayer();
    if (player == 0 || player != local || !gGameEngine->GetMainPlayer() || GetParty(player) != 0)
        return;
    GameEvent_InviteToParty event;
    event.inviter = inviter;
    Singleton<EventManager>::Get().Send(&event, "GameEvent_InviteToParty");
}

void PartyManager::OnInviteToParty(const GameEvent_InviteToParty& event) {
    if (mInvitationOpen) {
        // One waiting invitation per inviter, and only so many: a flood of invitations cannot
        // bury the player in dialogs.
        for (GameEvent_InviteToParty& pending : mPending)
            if (pending.inviter == event.inviter) {
                pending = event;
                return;
            }
        if (mPending.size() >= kMaxPendingInvitations) {
            gEngine->Log(1, "PartyManager: dropped an invitation from %d: %zu are waiting",
                         event.inviter, mPending.size());
            return;
        }
        mPending.push_back(event);
        return;
    }
    OpenInvitation(event);
}

void PartyManager::OpenInvitation(const GameEvent_InviteToParty& event) {
    mInvitationOpen = true;
    std::wstring name = L"ErrorName";
    if (PlayerManagerClient* client = gGameEngine ? gGameEngine->GetPlayerManagerClient() : nullptr)
        name = client->GetPlayerName(static_cast<std::uint32_t>(event.inviter));
    const std::wstring text = LocalizationManager::Instance().Format("tagInviteMessage", name);
    if (gGameEngine)
        gGameEngine->GetDialogManager().AddDialog(kDialogTypeQuestion, false, kInviteDialogParty,
                                                  text, true, true);
    if (SoundPak* sound = Singleton<ObjectManager>::Get().GetObject<SoundPak>(mInviteSound))
        sound->Play(WorldVec3());
    mCurrentInvitation = event;
}

void PartyManager::Update() {
    if (!mInvitationOpen || !gGameEngine)
        return;
    DialogManager& dialogs = gGameEngine->GetDialogManager();
    if (dialogs.GetNumResponsesFor(kInviteDialogParty) <= 0)
        return;
    const auto response = dialogs.GetResponseFor(kInviteDialogParty);
    mInvitationOpen = false;
    const std::uint32_t local = LocalPlayer();
    const std::uint32_t inviter = static_cast<std::uint32_t>(mCurrentInvitation.inviter);
    gGameEngine->SendPartyRequestResponse(local, inviter, response.answer == 1);

    if (response.answer == 1) {
        MovePlayerToParty(local, inviter);
        MovePlayerToParty(inviter, inviter);
        MessagePlayerJoin(inviter, local);
        mPending.clear();
        return;
    }

    gGameEngine->DisplayMessageRemote(inviter, local, true, "tagMessageDeny");
    if (!mPending.empty()) {
        const GameEvent_InviteToParty next = mPending.front();
        mPending.erase(mPending.begin());
        OpenInvitation(next);
    }
}

void PartyManager::AttemptToKickFromLocalParty(std::uint32_t player) {
    if (!gGameEngine)
        return;
    const std::uint32_t local = LocalPlayer();
    const std::uint32_t party = GetParty(player);
    if (local != 0 && party == local && player != local) {
        MessagePlayerLeaving(party, player);
        if (GetNumPlayersInParty(GetParty(local)) == 2)
            MovePlayerToParty(local, 0);
        MovePlayerToParty(player, 0);
        return;
    }
    gGameEngine->AddUINotification(kUINotificationBubble,
                                   L"You do not have permission to kick that person.", false);
}

void PartyManager::MovePlayerToParty(std::uint32_t player, std::uint32_t party) {
    gGameEngine->AddPlayerToParty(player, static_cast<int>(party));
    // In a networked game the call goes only to the other side; this machine's lists must take
    // the change too, or its next heartbeat or full list would undo it.
    GameEngineInboundInterface* local = gGameEngine->GetInboundNetworkInterface();
    if (!local || gGameEngine->GetNetworkInterface() == local)
        return;
    const int source = local->GetSourceHost();
    local->SetSourceHost(-1);
    local->AddPlayerToParty(player, static_cast<int>(party));
    local->SetSourceHost(source);
}

void PartyManager::HandOverParty(std::uint32_t leader) {
    if (!gGameEngine || leader == 0)
        return;
    std::vector<std::uint32_t> members;
    GetPlayersInParty(leader, members);
    // The leader may still be cached when he goes; he must not inherit his own party.
    std::erase(members, leader);
    if (members.empty())
        return;
    if (members.size() == 1) {
        MovePlayerToParty(members.front(), 0);
        return;
    }
    const std::uint32_t newLeader = members.front();
    for (std::uint32_t member : members)
        MovePlayerToParty(member, newLeader);
}

void PartyManager::CleanUpForPlayerLeave(std::uint32_t leaver) {
    std::erase_if(mInvitationsPassedOn, [leaver](const auto& entry) {
        return entry.first == leaver || entry.second == leaver;
    });
    HandOverParty(leaver);
}

void PartyManager::NoteInvitation(std::uint32_t invitee, std::uint32_t inviter) {
    if (invitee != 0 && inviter != 0 && invitee != inviter)
        mInvitationsPassedOn.emplace(invitee, inviter);
}

bool PartyManager::WasInvited(std::uint32_t invitee, std::uint32_t inviter) const {
    return mInvitationsPassedOn.contains({invitee, inviter});
}

void PartyManager::ForgetInvitationsTo(std::uint32_t invitee) {
    std::erase_if(mInvitationsPassedOn,
                  [invitee](const auto& entry) { return entry.first == invitee; });
}

bool PartyManager::LocalLeaderLeaves(std::uint32_t player, int party) const {
    const std::uint32_t local = LocalPlayer();
    return player != 0 && player == local && Singleton<ObjectManager>::Get().GetObject(local) &&
           GetParty(local) == local && static_cast<std::uint32_t>(party) != local;
}

void PartyManager::ReassignRemainingParty() {
    HandOverParty(LocalPlayer());
}

}  // namespace GAME
