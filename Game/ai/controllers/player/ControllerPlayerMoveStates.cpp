#include "Game/ai/controllers/player/ControllerPlayerMoveStates.h"

#include <cmath>
#include <numbers>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/nav/Path.h"
#include "Game/characters/npc/Npc.h"
#include "Game/items/Item.h"
#include "Game/skills/Skill.h"
#include "Game/world/fixeditems/FixedItem.h"

namespace GAME {

Vec3 ControllerPlayerStateMoveTo::HeadingTo(const WorldVec3& point) {
    Vec3 direction = MyPosition().VectorTo(point);
    direction.y = 0.0f;
    const float length = direction.Length();
    return length > 0.0f ? direction * (1.0f / length) : Vec3();
}

void ControllerPlayerStateMoveTo::OnBegin() {
    const WorldVec3& point = GetPointOfInterest();
    MoveTo(point, 0, 0);
    mHeading = HeadingTo(point);
    mPendingGoal = WorldVec3();
}

void ControllerPlayerStateMoveTo::OnUpdate(int) {
    Player* self = GetCharacter();
    Path* path = self ? self->GetPath() : nullptr;
    if (!path) {
        SetState("Idle", ControllerAIStateData());
        return;
    }
    if (mPendingGoal.IsValid() && path->GetLength() < kPendingGoalPathLength) {
        const WorldVec3 goal = mPendingGoal;
        mPendingGoal = WorldVec3();
        DefaultRequestMoveAction(false, false, goal);
    }
}

void ControllerPlayerStateMoveTo::RequestMoveAction(bool inPlace, bool second,
                                                    const WorldVec3& point) {
    static const float kCosine = std::cos(kSameHeadingDegrees * std::numbers::pi_v<float> / 180.0f);
    const Vec3 heading = HeadingTo(point);
    if (heading.x * mHeading.x + heading.y * mHeading.y + heading.z * mHeading.z > kCosine) {
        mPendingGoal = point;
        return;
    }
    DefaultRequestMoveAction(inPlace, second, point);
}

void ControllerPlayerStateMoveToActorBase::OnBegin() {
    MoveTo(GetPointOfInterest(), GetCurrentAlly(), GetCurrentSkillID());
}

void ControllerPlayerStateMoveToActorBase::OnUpdate(int) {
    if (!ObjectStillThere(GetCurrentAlly()))
        SetState("Idle", ControllerAIStateData());
}

ControllerAIStateData ControllerPlayerStateMoveToActorBase::ArrivalData() const {
    return ControllerAIStateData({.ally = GetCurrentAlly()});
}

void ControllerPlayerStateMoveToActorBase::EndOfPathReached() {
    SetState(ArrivalState(), ArrivalData());
}

bool ControllerPlayerStateMoveToNpc::ObjectStillThere(std::uint32_t object) const {
    return Objects().GetObject<Npc>(object) != nullptr;
}

void ControllerPlayerStateMoveToNpc::RequestNpcAction(bool inPlace, bool second,
                                                      const WorldVec3& point, std::uint32_t npc) {
    if (npc != GetCurrentAlly())
        DefaultRequestNpcAction(inPlace, second, point, npc);
}

bool ControllerPlayerStateMoveToItem::ObjectStillThere(std::uint32_t object) const {
    return Singleton<ObjectManager>::Get().GetObject<Item>(object) != nullptr;
}

void ControllerPlayerStateMoveToItem::RequestItemAction(bool inPlace, bool second,
                                                        const WorldVec3& point, Item& item) {
    if (item.GetObjectId() != GetCurrentAlly())
        DefaultRequestItemAction(inPlace, second, point, item);
}

bool ControllerPlayerStateMoveToFixedItem::ObjectStillThere(std::uint32_t object) const {
    return Singleton<ObjectManager>::Get().GetObject<FixedItem>(object) != nullptr;
}

void ControllerPlayerStateMoveToFixedItem::RequestFixedItemAction(bool inPlace, bool second,
                                                                  const WorldVec3& point,
                                                                  std::uint32_t fixedItem) {
    if (fixedItem != GetCurrentAlly())
        DefaultRequestFixedItemAction(inPlace, second, point, fixedItem);
}

bool ControllerPlayerStateMoveToStrategicMovement::ObjectStillThere(std::uint32_t object) const {
    return Singleton<ObjectManager>::Get().GetObject<Entity>(object) != nullptr;
}

void ControllerPlayerStateMoveToStrategicMovement::RequestStrategicMovementAction(
    bool inPlace, bool second, const WorldVec3& point, std::uint32_t object) {
    if (object != GetCurrentAlly())
        DefaultRequestStrategicMovementAction(inPlace, second, point, object);
}

bool ControllerPlayerStateMoveToUseSkill::ObjectStillThere(std::uint32_t object) const {
    return object == 0 || IsAlive(object);
}

ControllerAIStateData ControllerPlayerStateMoveToUseSkill::ArrivalData() const {
    return ControllerAIStateData({.enemy = GetCurrentAlly(),
                                  .ally = GetCurrentAlly(),
                                  .skill = GetCurrentSkillID(),
                                  .point = GetController()->GetTargetPoint()});
}

bool ControllerPlayerStateMoveToUseSkill::RequestSkillAction(bool inPlace, bool second,
                                                             std::uint32_t skillId,
                                                             const WorldVec3& point,
                                                             std::uint32_t& target) {
    if (target == GetCurrentAlly() && skillId == GetCurrentSkillID())
        return true;
    const Skill* current = CurrentSkill();
    if (current && current->GetWarmUpWasActive())
        return true;
    return DefaultRequestSkillAction(inPlace, second, skillId, point, target);
}

}  // namespace GAME
