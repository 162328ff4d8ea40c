#pragma once
// Parties: a party is known by its leader's player id and each player's party lives in the
// client player cache. This manager answers party questions, runs the local player's invitation
// dialog, sends the party messages and hands out the party's share of the damage dealt.
#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "Game/core/GameConstants.h"
#include "Game/core/GameEvents.h"

namespace GAME {

struct WorldVec3;

class PartyManager {
public:
    static constexpr int kInviteDialogParty = kDialogPartyPartyInvitation;
    static constexpr std::size_t kMaxPendingInvitations = 16;

    PartyManager();
    ~PartyManager();
    PartyManager(const PartyManager&) = delete;
    PartyManager& operator=(const PartyManager&) = delete;

    void Update();

    std::uint32_t GetParty(std::uint32_t player) const;
    std::uint32_t GetPlayerFaction(std::uint32_t player) const;
    bool AreInPartyTogether(std::uint32_t a, std::uint32_t b) const;
    int GetNumPlayersInParty(std::uint32_t party) const;
    int GetNumInPlayersParty(std::uint32_t player) const;
    int GetNumPlayersInPartyNear(std::uint32_t party, const WorldVec3& where, float radius) const;
    void GetPlayersInParty(std::uint32_t party, std::vector<std::uint32_t>& ids) const;
    void GetPartyMembers(std::uint32_t player, std::vector<std::uint32_t>& ids) const;
    float GetPartyExperienceMultiplier(std::uint32_t player, std::uint32_t source) const;

    void MessagePlayerJoin(std::uint32_t party, std::uint32_t player) const;
    void MessagePlayerInvited(std::uint32_t party, std::uint32_t player) const;
    void MessagePlayerLeaving(std::uint32_t party, std::uint32_t player) const;

    void HandlePartyInvite(std::uint32_t player, int inviter);
    void OnInviteToParty(const GameEvent_InviteToParty& event);
    void AttemptToKickFromLocalParty(std::uint32_t player);
    void CleanUpForPlayerLeave(std::uint32_t leaver);
    void ReassignRemainingParty();
    // Whether moving that player to that party takes the local player away from the party he
    // leads (ask before the move reaches the cache).
    bool LocalLeaderLeaves(std::uint32_t player, int party) const;

    // A server remembers the invitations it passed on: only an invited player may take one up.
    void NoteInvitation(std::uint32_t invitee, std::uint32_t inviter);
    bool WasInvited(std::uint32_t invitee, std::uint32_t inviter) const;
    void ForgetInvitationsTo(std::uint32_t invitee);

    bool IsInvitationOpen() const { return mInvitationOpen; }
    std::size_t GetNumPendingInvitations() const { return mPending.size(); }
    std::uint32_t GetCurrentInviter() const {
        return static_cast<std::uint32_t>(mCurrentInvitation.inviter);
    }

private:
    void OpenInvitation(const GameEvent_InviteToParty& event);
    void MessageParty(std::uint32_t party, std::uint32_t player, const char* tag) const;
    void HandOverParty(std::uint32_t leader);
    void MovePlayerToParty(std::uint32_t player, std::uint32_t party);

    bool mInvitationOpen = false;
    GameEventListener<PartyManager, GameEvent_InviteToParty> mInviteListener;
    std::uint32_t mInviteSound = 0;  // object id of the invitation sound pack
    std::vector<GameEvent_InviteToParty> mPending;
    GameEvent_InviteToParty mCurrentInvitation;
    std::set<std::pair<std::uint32_t, std::uint32_t>> mInvitationsPassedOn;  // invitee, inviter
};

}  // namespace GAME
