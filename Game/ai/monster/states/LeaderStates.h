#pragma once
// A follower staying with its leader: running to a slot beside it, then standing guard there.
#include <cstdint>

#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

// Shared by both: a follower left behind too far teleports to its leader, and the death of
// the leader it follows sends it home.
class MonsterLeaderState : public MonsterFollowingState {
public:
    using MonsterFollowingState::MonsterFollowingState;

    void AllyDied(std::uint32_t ally) override;

protected:
    void TeleportIfFarFromLeader();
};

class ControllerMonsterStateFollowLeader : public MonsterLeaderState {
public:
    using MonsterLeaderState::MonsterLeaderState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;
    void LostSlot() override { EndOfPathReached(); }
};

class ControllerMonsterStateDefendLeader : public MonsterLeaderState {
public:
    using MonsterLeaderState::MonsterLeaderState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;

private:
    static int GetNewTestDistanceInterval();

    int mRetestCountdown = 0;
    int mDefendCountdown = 0;
};

}  // namespace GAME
