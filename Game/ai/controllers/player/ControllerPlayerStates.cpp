#include "Game/ai/controllers/player/ControllerPlayerStates.h"

#include <memory>

#include "Engine/sys/Machine.h"
#include "Engine/text/Name.h"
#include "Game/characters/actions/LifeActions.h"
#include "Game/core/GameEngine.h"
#include "Game/items/Item.h"

namespace GAME {

namespace {

// The moving target of a skill gets more slack.
constexpr float kMovingTargetTolerance = 3.0f;
constexpr float kStandingTargetTolerance = 1.0f;

}  // namespace

bool ControllerPlayerState::IsEndEvent(const Name& name) {
    static const Name end = Name::Create("End");
    return name == end;
}

bool ControllerPlayerState::UseStateSkill() {
    const std::uint32_t object = GetCurrentAlly();
    const Character* target = object != 0 ? FindCharacter(object) : nullptr;
    if (object != 0 && !target)
        return false;
    const WorldVec3 at = target ? target->GetPathPosition() : GetPointOfInterest();
    UseSkill(object, at, GetCurrentSkillID(), static_cast<std::uint16_t>(crt_rand()));
    return true;
}

void ControllerPlayerStateIdle::DrawCountdown() {
    mCountdown = gGameEngine->GetRandomGen().IGenerate(kLongIdleMin, kLongIdleMax);
}

void ControllerPlayerStateIdle::OnBegin() {
    Idle();
    DrawCountdown();
}

void ControllerPlayerStateIdle::OnUpdate(int ms) {
    Player* self = GetCharacter();
    if (self && self->IsUnderAttack()) {
        DrawCountdown();
        return;
    }
    mCountdown -= ms;
    if (mCountdown < 0)
        SetState("LongIdle", ControllerAIStateData());
}

void ControllerPlayerStateRespawning::OnBegin() {
    Player* self = GetCharacter();
    if (!self)
        return;
    self->SetLifeState(Character_LifeState::Respawning);
    GetController()->HandleAction(
        std::make_unique<RespawnAction>(self->GetObjectId(), self->GetClosestRespawnPoint()));
}

void ControllerPlayerStateRespawning::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        SetState("Idle", ControllerAIStateData());
}

void ControllerPlayerStateTalkToNpc::RequestNpcAction(bool inPlace, bool second,
                                                      const WorldVec3& point, std::uint32_t npc) {
    if (npc == GetCurrentAlly() && GetController()->IsCommandRepeated())
        return;
    DefaultRequestNpcAction(inPlace, second, point, npc);
}

void ControllerPlayerStatePickupItem::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        SetState("Idle", ControllerAIStateData());
}

void ControllerPlayerStatePickupItem::RequestItemAction(bool inPlace, bool second,
                                                        const WorldVec3& point, Item& item) {
    if (item.GetObjectId() != GetCurrentAlly())
        DefaultRequestItemAction(inPlace, second, point, item);
}

void ControllerPlayerStateUseFixedItem::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        SetState("Idle", ControllerAIStateData());
}

void ControllerPlayerStateUseFixedItem::RequestFixedItemAction(bool inPlace, bool second,
                                                               const WorldVec3& point,
                                                               std::uint32_t fixedItem) {
    if (fixedItem != GetCurrentAlly())
        DefaultRequestFixedItemAction(inPlace, second, point, fixedItem);
}

void ControllerPlayerStateDoStrategicMovement::RequestStrategicMovementAction(
    bool inPlace, bool second, const WorldVec3& point, std::uint32_t object) {
    if (object != GetCurrentAlly())
        DefaultRequestStrategicMovementAction(inPlace, second, point, object);
}

void ControllerPlayerStateUseSkill::OnBegin() {
    if (!UseStateSkill()) {
        SetState("Idle", ControllerAIStateData());
        return;
    }
    mRepeatLock = kRepeatLock;
}

void ControllerPlayerStateUseSkill::OnUpdate(int ms) {
    if (mRepeatLock > 0)
        mRepeatLock -= ms;
}

void ControllerPlayerStateUseSkill::HandleEvent(const Name& name) {
    Player* self = GetCharacter();
    if (IsEndEvent(name) && self && self->GetActionState() != Character_ActionState::Attack)
        SetState("Idle", ControllerAIStateData());
}

float ControllerPlayerStateUseSkill::GetSkillUseTolerance(std::uint32_t target) {
    const Character* enemy = target == GetCurrentEnemy() ? FindCharacter(target) : nullptr;
    return enemy && enemy->IsMoving() ? kMovingTargetTolerance : kStandingTargetTolerance;
}

bool ControllerPlayerStateUseSkill::RequestSkillAction(bool inPlace, bool second,
                                                       std::uint32_t skillId,
                                                       const WorldVec3& point,
                                                       std::uint32_t& target) {
    const Skill* current = CurrentSkill();
    if (current && current->GetWarmUpWasActive())
        return true;
    const bool same = target == GetCurrentEnemy() && skillId == GetCurrentSkillID();
    if (same && GetController()->IsCommandRepeated()) {
        if (mRepeatLock > 0 || !current || !current->IsRepeatable())
            return true;
        mRepeatLock = kRepeatLock;
    }
    return DefaultRequestSkillAction(inPlace, second, skillId, point, target);
}

void ControllerPlayerStateUseSkill::RequestMoveAction(bool inPlace, bool second,
                                                      const WorldVec3& point) {
    if (!GetController()->IsCommandRepeated())
        DefaultRequestMoveAction(inPlace, second, point);
}

}  // namespace GAME
