#include "Game/ai/monster/states/LeaderStates.h"

#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

void MonsterLeaderState::AllyDied(std::uint32_t ally) {
    const std::uint32_t followed = GetCurrentAlly();
    DefaultAllyDiedResponse(ally);
    if (ally == followed)
        Go("Return");
}

void MonsterLeaderState::TeleportIfFarFromLeader() {
    Monster* monster = GetCharacter();
    ControllerMonster* controller = GetController();
    const float limit = controller->GetTeleportToLeaderDistance();
    Character* leader = monster ? FindCharacter(monster->GetLeaderId()) : nullptr;
    if (limit != 0.0f && controller->CanMove() && leader &&
        WorldDistance(monster->GetPosition(), leader->GetPosition()) > limit)
        controller->TeleportToLeader(leader);
}

// FollowLeader

void ControllerMonsterStateFollowLeader::OnBegin() {
    Monster* monster = GetCharacter();
    const Character* leader = monster ? FindCharacter(monster->GetLeaderId()) : nullptr;
    if (!leader || !leader->IsAlive()) {
        Go("Idle");
        return;
    }
    const std::uint32_t ally = GetCurrentAlly();
    // A slot is held only for a move, which every machine carries out; one held standing
    // would be this machine's alone.
    const WorldVec3 point = monster->GetMoveToPoint(ally, 0, leader->GetPathPosition(), false);
    if (point.IsValid() && monster->CanMoveTo(point, kMonsterMoveTolerance) &&
        !monster->AlreadyThere(point))
        MoveTo(monster->GetMoveToPoint(ally, 0, leader->GetPathPosition()), ally, 0);
    else
        Go("DefendLeader", Data({.ally = ally}));
}

void ControllerMonsterStateFollowLeader::OnUpdate(int) {
    if (IsAlive(GetCurrentAlly()))
        TeleportIfFarFromLeader();
    else
        Go("Return");
}

void ControllerMonsterStateFollowLeader::EndOfPathReached() {
    Go("DefendLeader", Data({.ally = GetCurrentAlly()}));
}

// DefendLeader

int ControllerMonsterStateDefendLeader::GetNewTestDistanceInterval() {
    return crt_rand() % 300 + 100;
}

void ControllerMonsterStateDefendLeader::OnBegin() {
    if (!IsAlive(GetCurrentAlly())) {
        Go("Idle");
        return;
    }
    mRetestCountdown = GetNewTestDistanceInterval();
    Idle();
    mDefendCountdown = crt_rand() % 7000 + 3000;
}

void ControllerMonsterStateDefendLeader::OnUpdate(int ms) {
    Monster* monster = GetCharacter();
    const std::uint32_t leaderId = monster ? monster->GetLeaderId() : 0;
    const Character* leader = FindCharacter(leaderId);
    if (!leader || !leader->IsAlive()) {
        Go("Idle");
        return;
    }
    TeleportIfFarFromLeader();
    mRetestCountdown -= ms;
    if (mRetestCountdown < 0) {
        // A look: FollowLeader holds the slot when it moves.
        const WorldVec3 point =
            monster->GetMoveToPoint(GetCurrentAlly(), 0, leader->GetPathPosition(), false);
        if (point.IsValid() && !monster->AlreadyThere(point)) {
            Go("FollowLeader", Data({.ally = leaderId}));
            return;
        }
        mRetestCountdown = GetNewTestDistanceInterval();
    }
    mDefendCountdown -= ms;
    if (mDefendCountdown < 0)
        Go("Wander");
}

}  // namespace GAME
