#include "Game/ai/controllers/player/ControllerPlayerState.h"

#include <memory>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/actions/InteractionActions.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/core/util/SeamLog.h"
#include "Game/items/Item.h"
#include "Game/items/hotslots/PlayerHotSlotCtrl.h"
#include "Game/quests/QuestObjects.h"
#include "Game/skills/SkillActivated.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "Game/world/strategic/StrategicMovementBase.h"

namespace GAME {

namespace {

// A click closer than this to the feet is no move.
constexpr float kMinimumMoveDistance = 1.6f;
constexpr float kReachableDistance = 0.5f;
constexpr float kNpcTalkMargin = 3.0f;
constexpr float kItemReachMargin = 1.0f;
// How far beyond reach a reachable spot may leave an item that is still picked up.
constexpr float kItemStretch = 6.0f;
constexpr float kValidTargetRadius = 1.5f;

ControllerAIStateData ObjectData(std::uint32_t object, const WorldVec3& point = WorldVec3()) {
    return ControllerAIStateData({.ally = object, .point = point});
}

}  // namespace

WorldVec3 ControllerPlayerState::MyPosition() {
    Player* self = GetCharacter();
    return self ? self->GetPathPosition() : WorldVec3();
}

bool ControllerPlayerState::Reachable(const WorldVec3& point) {
    Player* self = GetCharacter();
    return self && self->CanMoveTo(point, kReachableDistance);
}

Skill* ControllerPlayerState::CurrentSkill() const {
    return Objects().GetObject<Skill>(GetCurrentSkillID());
}

// Command selection.

bool ControllerPlayerState::SelectPrimaryAction(bool inPlace, bool second, const WorldVec3& point,
                                                unsigned& target) {
    Player* self = GetCharacter();
    if (!self)
        return false;
    if (target != 0) {
        if (Objects().GetObject<Npc>(target)) {
            RequestNpcAction(inPlace, second, point, target);
            return false;
        }
        if (Item* item = Objects().GetObject<Item>(target)) {
            RequestItemAction(inPlace, second, point, *item);
            return false;
        } else if (Objects().GetObject<FixedItem>(target)) {
            RequestFixedItemAction(inPlace, second, point, target);
            return false;
        } else if (Objects().GetObject<StrategicMovementBase>(target)) {
            RequestStrategicMovementAction(inPlace, second, point, target);
            return false;
        }
    }
    const PlayerHotSlotCtrl& slots = self->GetPlayerHotSlotCtrl();
    if (!slots.GetDisableHotSlotsOverride() && (target != 0 || inPlace)) {
        const HotSlotOption* option = GetController()->GetPrimarySlotOption();
        const std::uint32_t skill = option ? option->GetSkillId() : 0;
        if (skill != 0) {
            if (RequestSkillAction(inPlace, second, skill, point, target))
                return false;
            const std::uint32_t fallback = self->GetSkillManager().GetDefaultSkillId();
            if (RequestSkillAction(inPlace, second, fallback, point, target))
                return false;
        }
    }
    RequestMoveAction(inPlace, second, point);
    return true;
}

bool ControllerPlayerState::SelectSecondaryAction(bool inPlace, bool second, const WorldVec3& point,
                                                  unsigned& target) {
    Player* self = GetCharacter();
    if (!self || self->GetPlayerHotSlotCtrl().GetDisableHotSlotsOverride())
        return false;
    const HotSlotOption* option = GetController()->GetSecondarySlotOption();
    if (!option)
        return false;
    const std::uint32_t skill = option->GetSkillId();
    if (skill == 0) {
        PlayerHotSlotCtrl& slots = self->GetPlayerHotSlotCtrl();
        if (option->GetType() == HotSlotOption::kPotion &&
            slots.GetSecondaryStatus() == HotSlotStatus_Ready)
            slots.ActivateSecondarySlot();
        return false;
    }
    if (RequestSkillAction(inPlace, second, skill, point, target))
        return false;
    const auto* activated = Objects().GetObject<SkillActivated>(skill);
    if (activated && activated->UseDefaultWhenUnavailable())
        RequestSkillAction(inPlace, second, self->GetSkillManager().GetDefaultSkillId(), point,
                           target);
    return false;
}

bool ControllerPlayerState::ActivateSuperSkill(bool inPlace, bool second, const WorldVec3& point,
                                               unsigned& target) {
    Player* self = GetCharacter();
    if (!self)
        return false;
    PlayerHotSlotCtrl& slots = self->GetPlayerHotSlotCtrl();
    if (slots.GetDisableHotSlotsOverride() || !slots.IsAnySlotActive())
        return false;
    const HotSlotOption* option = slots.GetActiveSlotOption(true);
    return option && RequestSkillAction(inPlace, second, option->GetSkillId(), point, target);
}

// Items, pets, relics and disabling events.

bool ControllerPlayerState::RequestUseItem(std::uint32_t id, bool flag) {
    return mTraits.takesItems && DefaultRequestUseItemAction(id, flag);
}

bool ControllerPlayerState::RequestReleasePet(std::uint32_t id) {
    return mTraits.takesItems && DefaultRequestReleasePetAction(id);
}

bool ControllerPlayerState::RequestUseRelic(std::uint32_t relicId, std::uint32_t itemId) {
    return mTraits.takesItems && DefaultRequestUseRelicAction(relicId, itemId);
}

void ControllerPlayerState::BeginImmobilize() {
    if (mTraits.interruptible)
        DefaultBeginImmobilizeAction();
}

void ControllerPlayerState::BeginTrap() {
    if (mTraits.interruptible)
        DefaultBeginTrapAction();
}

void ControllerPlayerState::BeginStun() {
    if (mTraits.interruptible)
        DefaultBeginStunAction();
}

bool ControllerPlayerState::DefaultRequestUseItemAction(std::uint32_t id, bool flag) {
    Player* self = GetCharacter();
    if (id == 0 || !self)
        return false;
    self->Enqueue(std::make_unique<UseItemConfigCmd>(self->GetObjectId(), id, flag));
    return true;
}

bool ControllerPlayerState::DefaultRequestReleasePetAction(std::uint32_t id) {
    Player* self = GetCharacter();
    if (!self)
        return false;
    self->Enqueue(std::make_unique<ReleasePetConfigCmd>(self->GetObjectId(), id));
    return true;
}

bool ControllerPlayerState::DefaultRequestUseRelicAction(std::uint32_t relicId,
                                                         std::uint32_t itemId) {
    Player* self = GetCharacter();
    if (relicId == 0 || itemId == 0 || !self)
        return false;
    self->Enqueue(std::make_unique<UseRelicConfigCmd>(self->GetObjectId(), relicId, itemId));
    return true;
}

void ControllerPlayerState::EngageNpc(std::uint32_t npc, bool first, bool second) {
    GetController()->HandleAction(
        std::make_unique<EngageNpcAction>(GetController()->GetParentId(), npc, first, second));
}

void ControllerPlayerState::PickupItem(std::uint32_t item) {
    GetController()->HandleAction(
        std::make_unique<PickUpAction>(GetController()->GetParentId(), item));
}

// Click requests: the defaults unless the state refuses clicks.

bool ControllerPlayerState::RequestSkillAction(bool inPlace, bool second, std::uint32_t skillId,
                                               const WorldVec3& point, std::uint32_t& target) {
    return mTraits.takesClicks &&
           DefaultRequestSkillAction(inPlace, second, skillId, point, target);
}

void ControllerPlayerState::RequestNpcAction(bool inPlace, bool second, const WorldVec3& point,
                                             std::uint32_t npc) {
    if (mTraits.takesClicks)
        DefaultRequestNpcAction(inPlace, second, point, npc);
}

void ControllerPlayerState::RequestItemAction(bool inPlace, bool second, const WorldVec3& point,
                                              Item& item) {
    if (mTraits.takesClicks)
        DefaultRequestItemAction(inPlace, second, point, item);
}

void ControllerPlayerState::RequestFixedItemAction(bool inPlace, bool second,
                                                   const WorldVec3& point,
                                                   std::uint32_t fixedItem) {
    if (mTraits.takesClicks)
        DefaultRequestFixedItemAction(inPlace, second, point, fixedItem);
}

void ControllerPlayerState::RequestStrategicMovementAction(bool inPlace, bool second,
                                                           const WorldVec3& point,
                                                           std::uint32_t object) {
    if (mTraits.takesClicks)
        DefaultRequestStrategicMovementAction(inPlace, second, point, object);
}

void ControllerPlayerState::RequestMoveAction(bool inPlace, bool second, const WorldVec3& point) {
    if (mTraits.takesClicks)
        DefaultRequestMoveAction(inPlace, second, point);
}

void ControllerPlayerState::DefaultRequestMoveAction(bool, bool, const WorldVec3& point) {
    if (!point.IsValid() || MyPosition().DistanceTo(point) < kMinimumMoveDistance)
        return;
    if (Reachable(point)) {
        SetState("MoveTo", ControllerAIStateData({.point = point}));
        return;
    }
    const WorldVec3 furthest = GetCharacter()->GetFurthestMoveToPoint(point);
    if (furthest.IsValid() && Reachable(furthest))
        SetState("MoveTo", ControllerAIStateData({.point = furthest}));
}

void ControllerPlayerState::DefaultRequestNpcAction(bool, bool, const WorldVec3&,
                                                    std::uint32_t npc) {
    Player* self = GetCharacter();
    if (!self)
        return;
    if (self->NearTarget(npc, kNpcTalkMargin)) {
        SetState("TalkToNpc", ObjectData(npc));
        return;
    }
    const Character* other = FindCharacter(npc);
    if (!other)
        return;
    // Only a look: the walk's path updates take the slot on every machine alike.
    const WorldVec3 moveTo = self->GetMoveToPoint(npc, 0, other->GetPathPosition(), false);
    if (moveTo.IsValid() && Reachable(moveTo))
        SetState("MoveToNpc", ObjectData(npc, moveTo));
}

void ControllerPlayerState::DefaultRequestItemAction(bool, bool, const WorldVec3& point,
                                                     Item& item) {
    Player* self = GetCharacter();
    if (!self || !item.IsInWorld())
        return;
    WorldVec3 itemPosition = item.GetCoords().GetPosition();
    if (!itemPosition.IsValid())
        itemPosition = point;
    if (!itemPosition.IsValid()) {
        gEngine->Log(1,
                     "Player tried to pick up item when item and mouse position had no valid "
                     "region");
        return;
    }
    const std::uint32_t id = item.GetObjectId();
    const float reach = self->GetExtents() + item.GetBoundingRadius() + kItemReachMargin;
    const WorldVec3 mine = MyPosition();
    if (mine.DistanceTo(itemPosition) <= reach) {
        SetState("PickupItem", ObjectData(id));
        return;
    }
    WorldVec3 moveTo = self->GetMoveToPoint(id, 0, itemPosition);
    if (!moveTo.IsValid() || !Reachable(moveTo))
        moveTo = self->GetFurthestMoveToPoint(itemPosition);
    // A quest item is fetched however far it lies from where the walk can end.
    auto isQuestItem = [&item] { return item.IsA<QuestItem>(); };
    if (moveTo.IsValid()) {
        if (moveTo.DistanceTo(itemPosition) - reach <= kItemStretch) {
            if (mine.DistanceTo(moveTo) < reach)
                SetState("PickupItem", ObjectData(id));
            else
                SetState("MoveToItem", ObjectData(id, moveTo));
        } else if (isQuestItem()) {
            SetState("MoveToItem", ObjectData(id, moveTo));
        }
        return;
    }
    if (mine.DistanceTo(itemPosition) - reach <= kItemStretch || isQuestItem())
        SetState("PickupItem", ObjectData(id));
}

void ControllerPlayerState::DefaultRequestFixedItemAction(bool, bool, const WorldVec3&,
                                                          std::uint32_t fixedItem) {
    Player* self = GetCharacter();
    const FixedItem* item = Objects().GetObject<FixedItem>(fixedItem);
    if (!self || !item || !item->CanIUse(self->GetObjectId()))
        return;
    const WorldVec3 itemPosition = item->GetPosition();
    const WorldVec3 moveTo = self->GetMoveToPoint(fixedItem, 0, itemPosition);
    if (!moveTo.IsValid())
        return;
    const float reach = item->GetExtraReach();
    const WorldVec3 mine = MyPosition();
    const float toItem = mine.DistanceTo(itemPosition);
    if (self->GetExtents() + reach >= mine.DistanceTo(moveTo) ||
        moveTo.DistanceTo(itemPosition) + reach >= toItem) {
        SetState("UseFixedItem", ObjectData(fixedItem));
        return;
    }
    if (Reachable(moveTo))
        SetState("MoveToFixedItem", ObjectData(fixedItem, moveTo));
}

void ControllerPlayerState::DefaultRequestStrategicMovementAction(bool, bool, const WorldVec3&,
                                                                  std::uint32_t object) {
    Player* self = GetCharacter();
    const Entity* entity = Objects().GetObject<Entity>(object);
    if (!self || !entity)
        return;
    const WorldVec3 moveTo = self->GetMoveToPoint(object, 0, entity->GetCoords().GetPosition());
    if (!moveTo.IsValid())
        return;
    if (self->GetExtents() >= MyPosition().DistanceTo(moveTo))
        SetState("DoStrategicMovement", ObjectData(object));
    else if (Reachable(moveTo))
        SetState("MoveToStrategicMovement", ObjectData(object, moveTo));
}

// Skills.

bool ControllerPlayerState::ChooseSkillTarget(std::uint32_t skillId, std::uint32_t& target) const {
    const auto* skill = Objects().GetObject<SkillActivated>(skillId);
    const ControllerPlayer* controller = GetController();
    switch (skill ? skill->GetTargetType() : SkillTargetType::None) {
        case SkillTargetType::Foe:
            if (controller->GetCombatEnemy() == 0 && controller->GetCombatAlly() != 0) {
                target = 0;
                return false;
            }
            target = controller->GetCombatEnemy();
            return true;
        case SkillTargetType::Friend:
            target = controller->GetCombatAlly();
            return true;
        case SkillTargetType::Self:
            target = controller->GetParentId();
            return true;
        default:
            return true;
    }
}

bool ControllerPlayerState::SkillAccepts(std::uint32_t skillId, std::uint32_t& target,
                                         const WorldVec3& point, bool inPlace, bool voice) {
    auto* skill = Objects().GetObject<SkillActivated>(skillId);
    Player* self = GetCharacter();
    if (!skill || !self)
        return false;
    SkillReason reason = skill->GetReason();
    if (voice && !skill->UseDefaultWhenUnavailable()) {
        if (reason == SkillReason::CoolingDown)
            self->PlaySkillCooldownVox(skillId);
        else if (reason == SkillReason::NotEnoughMana)
            self->PlayNotEnoughManaVox(skillId);
    }
    // No valid target is the skill's third refusal.
    constexpr auto kNoValidTarget = static_cast<SkillReason>(3);
    if (!skill->GetValidTarget(*self, target, point, inPlace, kValidTargetRadius))
        reason = kNoValidTarget;
    return reason == SkillReason::Available;
}

ControllerPlayerState::SkillPlacement ControllerPlayerState::PlaceSkill(
    std::uint32_t skillId, std::uint32_t target, std::uint32_t givenTarget, const WorldVec3& point,
    bool clearNonCharacter, std::uint32_t& outTarget) {
    Player* self = GetCharacter();
    SkillPlacement placement{point, WorldVec3()};
    outTarget = target;
    if (const Character* character = FindCharacter(target)) {
        placement.aim = character->GetPathPosition();
        placement.moveTo = self->GetMoveToPoint(target, skillId, placement.aim, false);
        return placement;
    }
    if (clearNonCharacter)
        outTarget = 0;
    if (const Character* given = FindCharacter(givenTarget))
        placement.moveTo =
            self->GetMoveToPoint(givenTarget, skillId, given->GetPathPosition(), false);
    else
        placement.moveTo = self->GetMoveToPoint(0, skillId, point);
    return placement;
}

bool ControllerPlayerState::SkillReaches(std::uint32_t skillId, std::uint32_t target,
                                         const WorldVec3& aim, const WorldVec3& moveTo) {
    Player* self = GetCharacter();
    const WorldVec3 mine = MyPosition();
    const float reach = Character::GetTargetDistance(self->GetObjectId(), target, skillId) +
                        GetSkillUseTolerance(target);
    return reach > mine.DistanceTo(aim) || self->GetExtents() > mine.DistanceTo(moveTo);
}

bool ControllerPlayerState::DefaultRequestSkillAction(bool inPlace, bool, std::uint32_t skillId,
                                                      const WorldVec3& point,
                                                      std::uint32_t& target) {
    Player* self = GetCharacter();
    if (!self || !Objects().GetObject<SkillActivated>(skillId))
        return false;
    const std::uint32_t given = target;
    if (!ChooseSkillTarget(skillId, target))
        return false;
    if (!SkillAccepts(skillId, target, point, inPlace, true))
        return false;
    if (skillId != self->GetSkillManager().GetDefaultSkillId())
        self->ResetSkillVox();
    const SkillPlacement place = PlaceSkill(skillId, target, given, point, false, target);
    if (!place.moveTo.IsValid())
        return false;
    if (inPlace || SkillReaches(skillId, target, place.aim, place.moveTo)) {
        SetState("UseSkill",
                 ControllerAIStateData(
                     {.enemy = target, .ally = target, .skill = skillId, .point = place.aim}));
    } else if (Reachable(place.moveTo)) {
        GetController()->SetTargetPoint(point);
        SetState("MoveToUseSkill",
                 ControllerAIStateData(
                     {.enemy = target, .ally = target, .skill = skillId, .point = place.moveTo}));
    }
    // Out of reach with no way there the click is still taken: it repeats, it never becomes a move.
    GetController()->SetMouseRepeat(target, place.aim);
    return true;
}

}  // namespace GAME
