#pragma once
// The player states that walk: to a clicked point, and toward an object to act on it once there.
#include <cstdint>

#include "Game/ai/controllers/player/ControllerPlayerState.h"

namespace GAME {

class ControllerPlayerStateMoveTo : public ControllerPlayerState {
public:
    // A click this close to the current heading waits until the path is nearly walked.
    static constexpr float kSameHeadingDegrees = 3.0f;
    static constexpr float kPendingGoalPathLength = 2.5f;

    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override { SetState("Idle", ControllerAIStateData()); }
    void RequestMoveAction(bool inPlace, bool second, const WorldVec3& point) override;
    const WorldVec3& GetPendingGoal() const { return mPendingGoal; }

private:
    // The horizontal unit vector from the character toward the point.
    Vec3 HeadingTo(const WorldVec3& point);

    Vec3 mHeading{};
    WorldVec3 mPendingGoal;
};

// Walks toward the state's object; the kind says what the object must still be and which state
// acts on it at the end of the path.
class ControllerPlayerStateMoveToActorBase : public ControllerPlayerState {
public:
    using ControllerPlayerState::ControllerPlayerState;
    void OnBegin() override;
    void OnEnd() override {}
    void OnUpdate(int ms) override;
    void EndOfPathReached() override;

protected:
    // For the skill walk: the target, when one is set, is still a living character.
    virtual bool ObjectStillThere(std::uint32_t object) const = 0;
    virtual AIStateId ArrivalState() const = 0;
    virtual ControllerAIStateData ArrivalData() const;
};

class ControllerPlayerStateMoveToNpc : public ControllerPlayerStateMoveToActorBase {
public:
    using ControllerPlayerStateMoveToActorBase::ControllerPlayerStateMoveToActorBase;
    void RequestNpcAction(bool inPlace, bool second, const WorldVec3& point,
                          std::uint32_t npc) override;

protected:
    bool ObjectStillThere(std::uint32_t object) const override;
    AIStateId ArrivalState() const override { return AIStateId::TalkToNpc; }
};

class ControllerPlayerStateMoveToItem : public ControllerPlayerStateMoveToActorBase {
public:
    using ControllerPlayerStateMoveToActorBase::ControllerPlayerStateMoveToActorBase;
    void RequestItemAction(bool inPlace, bool second, const WorldVec3& point, Item& item) override;

protected:
    bool ObjectStillThere(std::uint32_t object) const override;
    AIStateId ArrivalState() const override { return AIStateId::PickupItem; }
};

class ControllerPlayerStateMoveToFixedItem : public ControllerPlayerStateMoveToActorBase {
public:
    using ControllerPlayerStateMoveToActorBase::ControllerPlayerStateMoveToActorBase;
    void RequestFixedItemAction(bool inPlace, bool second, const WorldVec3& point,
                                std::uint32_t fixedItem) override;

protected:
    bool ObjectStillThere(std::uint32_t object) const override;
    AIStateId ArrivalState() const override { return AIStateId::UseFixedItem; }
};

class ControllerPlayerStateMoveToStrategicMovement : public ControllerPlayerStateMoveToActorBase {
public:
    using ControllerPlayerStateMoveToActorBase::ControllerPlayerStateMoveToActorBase;
    void RequestStrategicMovementAction(bool inPlace, bool second, const WorldVec3& point,
                                        std::uint32_t object) override;

protected:
    bool ObjectStillThere(std::uint32_t object) const override;
    AIStateId ArrivalState() const override { return AIStateId::DoStrategicMovement; }
};

class ControllerPlayerStateMoveToUseSkill : public ControllerPlayerStateMoveToActorBase {
public:
    using ControllerPlayerStateMoveToActorBase::ControllerPlayerStateMoveToActorBase;
    bool RequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                            const WorldVec3& point, std::uint32_t& target) override;

protected:
    bool ObjectStillThere(std::uint32_t object) const override;
    AIStateId ArrivalState() const override { return AIStateId::UseSkill; }
    ControllerAIStateData ArrivalData() const override;
};

}  // namespace GAME
