#include "Game/ai/monster/states/LeaderStates.h"

#include "Engine/sys/Machine.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"

namespace GAME {

namespace {

constexpr float kMoveTolerance = 0.5f;

const ControllerAIStateData kNoData;

ControllerAIStateData WithAlly(std::uint32_t ally) {
    return ControllerAIStateData(0, ally, 0, WorldVec3());
}

}  // namespace

void MonsterLeaderState::AllyDied(std::uint32_t ally) {
    const std::uint32_t followed = GetCurrentAlly();
    DefaultAllyDiedResponse(ally);
    if (ally == followed)
        SetState("Return", kNoData);
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
        SetState("Idle", kNoData);
        return;
    }
    const std::uint32_t ally = GetCurrentAlly();
    const WorldVec3 point = monster->GetMoveToPoint(ally, 0, leader->GetPathPosition());
    if (point.IsValid() && monster->CanMoveTo(point, kMoveTolerance) &&
        !monster->AlreadyThere(point))
        MoveTo(point, ally, 0);
    else
        SetState("DefendLeader", WithAlly(ally));
}

void ControllerMonsterStateFollowLeader::OnUpdate(int) {
    if (IsAlive(GetCurrentAlly()))
        TeleportIfFarFromLeader();
    else
        SetState("Return", kNoData);
}

void ControllerMonsterStateFollowLeader::EndOfPathReached() {
    SetState("DefendLeader", WithAlly(GetCurrentAlly()));
}

// DefendLeader

int ControllerMonsterStateDefendLeader::GetNewTestDistanceInterval() {
    return crt_rand() % 300 + 100;
}

void ControllerMonsterStateDefendLeader::OnBegin() {
    if (!IsAlive(GetCurrentAlly())) {
        SetState("Idle", kNoData);
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
        SetState("Idle", kNoData);
        return;
    }
    TeleportIfFarFromLeader();
    mRetestCountdown -= ms;
    if (mRetestCountdown < 0) {
        const WorldVec3 point =
            monster->GetMoveToPoint(GetCurrentAlly(), 0, leader->GetPathPosition());
        if (point.IsValid() && !monster->AlreadyThere(point)) {
            SetState("FollowLeader", WithAlly(leaderId));
            return;
        }
        mRetestCountdown = GetNewTestDistanceInterval();
    }
    mDefendCountdown -= ms;
    if (mDefendCountdown < 0)
        SetState("Wander", kNoData);
}

}  // namespace GAME
