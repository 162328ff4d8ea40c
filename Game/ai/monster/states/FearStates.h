#pragma once
// A monster out of its mind: confused (walking at random and firing skills at random spots
// until the confusion wears off) or scared (running from the source of its fear and hiding).
#include "Game/ai/monster/states/MonsterStateBases.h"

namespace GAME {

class ControllerMonsterStateConfused : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { WalkRandomly(); }

private:
    bool PickRandomPoint(WorldVec3& out, float maxRadius);
    void WalkRandomly();
    void ShowConfusion(bool on);

    int mAttackCountdown = 0;
};

class ControllerMonsterStateScared : public MonsterQuestObedientState {
public:
    using MonsterQuestObedientState::MonsterQuestObedientState;

    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { RunOrHide(); }

private:
    bool PickRunToPoint(WorldVec3& out);
    void Hide();
    void RunOrHide();

    int mRepickCountdown = 0;
    int mHideCountdown = 0;
};

}  // namespace GAME
