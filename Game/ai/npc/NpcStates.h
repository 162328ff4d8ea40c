#pragma once
// The states of the town controller. Each answers the quest commands with the base's defaults
// unless it says otherwise; every other event is ignored.
#include <cstdint>

#include "Game/ai/controllers/ControllerAIStateT.h"
#include "Game/ai/npc/ControllerNpc2.h"
#include "Game/characters/npc/Npc.h"

namespace GAME {

class ControllerNpcStateBase : public ControllerAIStateT<ControllerNpc2, Npc> {
public:
    using ControllerAIStateT::ControllerAIStateT;

    // Move target = the point, then "QuestMove".
    void QuestCommandMove(std::uint32_t id, const WorldVec3& point) override;
    // Only to a point the character can reach: move target = the point, then "QuestWalk".
    void QuestCommandWalk(std::uint32_t id, const WorldVec3& point) override;
    void QuestCommandPlayAnimation(AnimationSet_Type type, bool loop) override;

protected:
    void Go(const AIStateKey& state, std::uint32_t ally = 0) {
        SetState(state, ControllerAIStateData(ControllerAIStateArgs{.ally = ally}));
    }
    // The character's social target, 0 without a character.
    std::uint32_t SocialTarget();
};

class ControllerNpcStateIdle : public ControllerNpcStateBase {
public:
    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void DebugRender() override;
    int GetWaitCountdown() const { return mWaitCountdown; }

protected:
    int mWaitCountdown = 0;
};

class ControllerNpcStateLongIdle : public ControllerNpcStateIdle {
public:
    using ControllerNpcStateIdle::ControllerNpcStateIdle;
    void OnBegin() override;
    void OnUpdate(int ms) override;
    void QuestCommandMove(std::uint32_t, const WorldVec3&) override {}
    void QuestCommandWalk(std::uint32_t, const WorldVec3&) override {}
    void QuestCommandPlayAnimation(AnimationSet_Type, bool) override {}

private:
    int mLongIdleCountdown = 0;
};

class ControllerNpcStateWander : public ControllerNpcStateBase {
public:
    static constexpr int kAttractionCheckMs = 10000;
    static constexpr float kAttractionRadius = 5.0f;

    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;
    void LostSlot() override { Go("Idle"); }
    void DebugRender() override;
    std::uint32_t GetAttraction() const { return mAttraction; }

    // Walks to a spot around the current wander point (the first that resolves, in ring order).
    bool MoveToCurrentWanderPoint();
    void MoveToNextWanderPoint();
    // The first attractor among the characters near the spawn point, 0 when none.
    std::uint32_t FindAttraction();

private:
    int mAttractionCountdown = 0;
    std::uint32_t mAttraction = 0;
};

class ControllerNpcStateChat : public ControllerNpcStateBase {
public:
    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
};

class ControllerNpcStateWatchAttraction : public ControllerNpcStateBase {
public:
    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
    void LostSlot() override { Go("Idle"); }
    int GetWatchCountdown() const { return mWatchCountdown; }

private:
    int mWatchCountdown = 0;
};

// QuestMove and QuestWalk: walk (or run) to the controller's move target; completion is
// reported when the state ends, also after a move to an unreachable point.
class ControllerNpcStateQuestMove : public ControllerNpcStateBase {
public:
    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int) override {}
    void EndOfPathReached() override { Go("Idle"); }
    void QuestCommandMove(std::uint32_t, const WorldVec3&) override {}

protected:
    virtual void Travel(const WorldVec3& target) { MoveTo(target, 0, 0); }
};

class ControllerNpcStateQuestWalk : public ControllerNpcStateQuestMove {
public:
    using ControllerNpcStateQuestMove::ControllerNpcStateQuestMove;
    void QuestCommandMove(std::uint32_t id, const WorldVec3& point) override {
        ControllerNpcStateBase::QuestCommandMove(id, point);
    }
    void QuestCommandWalk(std::uint32_t, const WorldVec3&) override {}

protected:
    void Travel(const WorldVec3& target) override { WalkTo(target, 0); }
};

class ControllerNpcStateQuestPlayAnimation : public ControllerNpcStateBase {
public:
    using ControllerNpcStateBase::ControllerNpcStateBase;
    void OnBegin() override;
    void OnEnd() override;
    void OnUpdate(int ms) override;
    void HandleEvent(const Name& event) override;
    void QuestCommandPlayAnimation(AnimationSet_Type, bool) override {}
};

}  // namespace GAME
