#pragma once
// Running from an enemy for a while: away from it, towards friends or home, as the monster's
// behaviour says. A fleeing monster heeds only confusion and quest commands.
#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

class ControllerMonsterStateFlee : public MonsterDistractedState {
public:
    using MonsterDistractedState::MonsterDistractedState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;

private:
    bool PickFleePoint(WorldVec3& out);
    bool PickPointAwayFromEnemy(WorldVec3& out, const Vec3& away);
    bool PickPointTowardsAllies(WorldVec3& out, const Vec3& away);

    int mFleeCountdown = 0;
    bool mFlightStarted = false;
};

}  // namespace GAME
