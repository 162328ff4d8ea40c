#include "Game/ai/npc/NpcStates.h"

#include <string>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/ai/monster/states/MonsterStateQueries.h"
#include "Game/ai/npc/NpcWanderPoint.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

// Base

void ControllerNpcStateBase::QuestCommandMove(std::uint32_t, const WorldVec3& point) {
    GetController()->SetMoveTerrainPoint(point);
    Go("QuestMove");
}

void ControllerNpcStateBase::QuestCommandWalk(std::uint32_t, const WorldVec3& point) {
    Npc* npc = GetCharacter();
    if (!npc || !npc->CanMoveTo(point, kNpcMoveTolerance))
        return;
    GetController()->SetMoveTerrainPoint(point);
    Go("QuestWalk");
}

void ControllerNpcStateBase::QuestCommandPlayAnimation(AnimationSet_Type type, bool loop) {
    GetController()->SetQuestAnimation(type, loop);
    Go("QuestPlayAnimation");
}

std::uint32_t ControllerNpcStateBase::SocialTarget() {
    const Npc* npc = GetCharacter();
    return npc ? npc->GetSocialTarget() : 0;
}

// Idle

void ControllerNpcStateIdle::OnBegin() {
    Idle();
    ControllerNpc2* controller = GetController();
    mWaitCountdown =
        controller->GetRandom().Int(controller->GetIdleTimeMin(), controller->GetIdleTimeMax());
}

void ControllerNpcStateIdle::OnUpdate(int ms) {
    if (const std::uint32_t target = SocialTarget()) {
        Go("Chat", target);
        return;
    }
    mWaitCountdown -= ms;
    if (mWaitCountdown > 0)
        return;
    const Npc* npc = GetCharacter();
    Go(npc && npc->CanWalk() ? AIStateId::Wander : AIStateId::LongIdle);
}

void ControllerNpcStateIdle::DebugRender() {
    GetController()->PushDebugRenderText("Wait Time: " + std::to_string(mWaitCountdown));
}

// LongIdle

void ControllerNpcStateLongIdle::OnBegin() {
    LongIdle();
    ControllerNpc2* controller = GetController();
    mLongIdleCountdown =
        controller->GetRandom().Int(controller->GetIdleTimeMin(), controller->GetIdleTimeMax());
}

void ControllerNpcStateLongIdle::OnUpdate(int ms) {
    if (const std::uint32_t target = SocialTarget()) {
        Go("Chat", target);
        return;
    }
    mLongIdleCountdown -= ms;
    if (mLongIdleCountdown <= 0)
        Go("Idle");
}

// Chat

void ControllerNpcStateChat::OnBegin() {
    Chat(GetCurrentAlly());
}

void ControllerNpcStateChat::OnUpdate(int) {
    if (SocialTarget() == 0)
        Go("Idle");
}

// Wander

void ControllerNpcStateWander::OnBegin() {
    Npc* npc = GetCharacter();
    ControllerNpc2* controller = GetController();
    const auto& points = controller->GetWanderPoints();
    if (npc && npc->CanWalk() && !points.empty()) {
        const int closest = GetClosestEntityIndex(points, npc->GetPathPosition());
        if (closest >= 0)
            controller->SetCurrentWanderPoint(static_cast<unsigned>(closest));
        if (MoveToCurrentWanderPoint()) {
            mAttraction = 0;
            mAttractionCountdown = kAttractionCheckMs;
            return;
        }
    }
    Go("Idle");
}

bool ControllerNpcStateWander::MoveToCurrentWanderPoint() {
    ControllerNpc2* controller = GetController();
    Npc* npc = GetCharacter();
    const auto& points = controller->GetWanderPoints();
    if (!npc || points.empty())
        return false;
    const auto count = static_cast<unsigned>(points.size());
    const unsigned start = controller->GetCurrentWanderPoint() % count;
    for (unsigned step = 0; step < count; ++step) {
        const unsigned index = (start + step) % count;
        const auto* point =
            dynamic_cast<const NpcWanderPoint*>(FindEntityByUniqueId(points[index]));
        if (!point)
            continue;
        controller->SetCurrentWanderPoint(index);
        const float radius = point->GetRadius();
        // A square around the point, as the designers' records expect, not a disc.
        const float u = controller->GetRandom().Float(-radius, radius);
        const float v = controller->GetRandom().Float(-radius, radius);
        WorldVec3 target = point->GetPosition();
        if (!target.region)
            return false;
        target.TranslateToFloor(Vec3(u, 0.0f, v));
        if (!npc->CanMoveTo(target, kNpcMoveTolerance))
            return false;
        WalkTo(target, 0);
        return true;
    }
    return false;
}

void ControllerNpcStateWander::MoveToNextWanderPoint() {
    ControllerNpc2* controller = GetController();
    const auto count = static_cast<unsigned>(controller->GetWanderPoints().size());
    if (count == 0) {
        Go("Idle");
        return;
    }
    controller->SetCurrentWanderPoint((controller->GetCurrentWanderPoint() + 1) % count);
    if (!MoveToCurrentWanderPoint())
        Go("Idle");
}

std::uint32_t ControllerNpcStateWander::FindAttraction() {
    Npc* npc = GetCharacter();
    if (!npc || !npc->CanBeAttracted())
        return 0;
    const WorldVec3 spawn = npc->GetSpawnPoint().GetPosition();
    if (!spawn.region)
        return 0;
    std::vector<Entity*> found;
    World::Get().GetEntitiesInSphere(found, spawn.region,
                                     Sphere{spawn.GetRegionPosition(), kAttractionRadius},
                                     EntityListType::Actors);
    for (Entity* entity : found)
        if (const auto* other = dynamic_cast<const Npc*>(entity);
            other && other != npc && other->IsNpcAttractor())
            return other->GetObjectId();
    return 0;
}

void ControllerNpcStateWander::OnUpdate(int ms) {
    if (mAttraction != 0)
        return;
    mAttractionCountdown -= ms;
    if (mAttractionCountdown >= 0)
        return;
    mAttraction = FindAttraction();
    if (mAttraction != 0) {
        Npc* npc = GetCharacter();
        if (Character* attraction = FindCharacter(mAttraction); npc && attraction) {
            WorldVec3 slot;
            attraction->RequestDefenseSlot(slot, npc->GetObjectId(), false);
            if (slot.region && npc->CanMoveTo(slot, kNpcMoveTolerance))
                WalkTo(slot, mAttraction);
        }
    }
    mAttractionCountdown = GetController()->GetRandom().Int(0, 4000) + 1000;
}

void ControllerNpcStateWander::EndOfPathReached() {
    if (mAttraction != 0)
        Go("WatchAttraction", mAttraction);
    else
        MoveToNextWanderPoint();
}

void ControllerNpcStateWander::DebugRender() {
    GetController()->PushDebugRenderText("Wander point: " +
                                         std::to_string(GetController()->GetCurrentWanderPoint()));
}

// WatchAttraction

void ControllerNpcStateWatchAttraction::OnBegin() {
    const auto* attraction = Singleton<ObjectManager>::Get().GetObject<Npc>(GetCurrentAlly());
    if (!attraction) {
        Go("Idle");
        return;
    }
    mWatchCountdown = attraction->GetAttractionTime(GetController()->GetRandom().GetGenerator());
    if (mWatchCountdown == 0)
        mWatchCountdown = GetController()->GetRandom().Int(0, 10000) + 10000;
}

void ControllerNpcStateWatchAttraction::OnEnd() {
    const Npc* npc = GetCharacter();
    if (Character* attraction = FindCharacter(GetCurrentAlly()); npc && attraction)
        attraction->ReleaseDefenseSlot(npc->GetObjectId());
}

void ControllerNpcStateWatchAttraction::OnUpdate(int ms) {
    mWatchCountdown -= ms;
    if (mWatchCountdown < 0)
        Go("Idle");
}

// QuestMove, QuestWalk

void ControllerNpcStateQuestMove::OnBegin() {
    Npc* npc = GetCharacter();
    if (!npc)
        return;
    const WorldVec3 target = GetController()->GetMoveTerrainPoint();
    if (npc->CanMoveTo(target, kNpcMoveTolerance)) {
        Travel(target);
        return;
    }
    npc->SetPathPosition(target);
    Go("Idle");
}

void ControllerNpcStateQuestMove::OnEnd() {
    if (Npc* npc = GetCharacter())
        npc->Enqueue(std::make_unique<QuestMoveCompletedConfigCmd>(npc->GetObjectId()));
}

// QuestPlayAnimation

void ControllerNpcStateQuestPlayAnimation::OnBegin() {
    ControllerNpc2* controller = GetController();
    PlayAnimation(controller->GetQuestAnimation(), Name(), 1.0f,
                  controller->GetQuestAnimationLooping(), 0);
}

void ControllerNpcStateQuestPlayAnimation::OnEnd() {
    if (Npc* npc = GetCharacter())
        npc->Enqueue(std::make_unique<QuestAnimationCompletedConfigCmd>(npc->GetObjectId()));
}

void ControllerNpcStateQuestPlayAnimation::OnUpdate(int) {
    if (const std::uint32_t target = SocialTarget())
        Go("Chat", target);
}

void ControllerNpcStateQuestPlayAnimation::HandleEvent(const Name& event) {
    if (IsEndEvent(event) && !GetController()->GetQuestAnimationLooping())
        Go("Idle");
}

}  // namespace GAME
