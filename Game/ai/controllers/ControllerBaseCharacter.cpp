#include "Game/ai/controllers/ControllerBaseCharacter.h"

#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/core/GameEngine.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerBaseCharacter, Controller)

ControllerBaseCharacter::ControllerBaseCharacter() {
    mTimer.Reset();
    mTimer.Update();
}

ControllerBaseCharacter::~ControllerBaseCharacter() = default;

Character* ControllerBaseCharacter::FindParentCharacter() const {
    return Singleton<ObjectManager>::Get().GetObject(GetParentId(), mParent);
}

void ControllerBaseCharacter::Update(int ms) {
    if (mFirstUpdate) {
        mFirstUpdate = false;
        InitialUpdate();
    }
    mTimer.Update(0);
    CharacterHandlerUpdate(ms);
}

void ControllerBaseCharacter::DebugRender() {
    PushDebugRenderText("Object Id: " + std::to_string(GetParentId()));
    Character* character = GetParentCharacter();
    if (!character)
        return;
    const Vec3 p = character->GetPosition().GetWorldPosition();
    PushDebugRenderText("Position: " + std::to_string(static_cast<int>(p.x)) + ", " +
                        std::to_string(static_cast<int>(p.y)) + ", " +
                        std::to_string(static_cast<int>(p.z)));
}

void ControllerBaseCharacter::FlushDebugRender() {
    // A headless machine draws no text; the lines are dropped as a drawn frame would drop them.
    mDebugText.clear();
}

void ControllerBaseCharacter::GetActionsAsStrings(std::vector<std::string>& out) {
    if (Character* character = GetParentCharacter())
        out.push_back(character->GetActionHandler().GetActionAsString());
    out.push_back("Pending Action: " +
                  (mPendingAction ? mPendingAction->ToString() : std::string("(none)")));
    out.push_back("Queued Action: " +
                  (mQueuedAction ? mQueuedAction->ToString() : std::string("(none)")));
}

void ControllerBaseCharacter::RespawnMe() {
    Character* character = GetParentCharacter();
    if (!character)
        return;
    character->SetLifeState(Character_LifeState::Respawning);
    HandleAction(std::make_unique<RespawnAction>(GetParentId(), character->GetSpawnPoint()));
}

void ControllerBaseCharacter::HandleAction(std::unique_ptr<CharacterAction> action) {
    if (!action)
        return;
    SendCharacterAction(*action);
    LocalHandleAction(std::move(action));
}

void ControllerBaseCharacter::ExecuteOrStartPreAction(Character& character,
                                                      std::unique_ptr<CharacterAction> action) {
    std::unique_ptr<CharacterAction> pre = action->GetPreAction();
    if (pre) {
        SetPendingAction(std::move(action));
        character.GetActionHandler().Execute(std::move(pre));
    } else {
        character.GetActionHandler().Execute(std::move(action));
    }
}

void ControllerBaseCharacter::LocalHandleAction(std::unique_ptr<CharacterAction> action) {
    if (!action)
        return;
    Character* character = GetParentCharacter();
    if (!character) {
        gEngine->Log(1,
                     "ControllerBaseCharacter: Can't execute action because parent does not "
                     "exist.");
        return;
    }
    switch (CheckAction(action->GetType())) {
        case Allow:
            if (mPendingAction) {
                mPendingAction->PendingActionAborted();
                mPendingAction.reset();
            }
            mQueuedAction.reset();
            ExecuteOrStartPreAction(*character, std::move(action));
            break;
        case Queue:
            SetQueuedAction(std::move(action));
            break;
        default:
            break;
    }
}

unsigned ControllerBaseCharacter::CheckAction(CharacterActionType type) {
    Character* character = GetParentCharacter();
    if (!character)
        return Deny;
    if (!character->IsA<Player>()) {
        const Character_LifeState life = character->GetLifeState();
        if (life == Character_LifeState::Dying && type == CharacterActionType_Attack)
            return Allow;
        if (life == Character_LifeState::Dead && type != CharacterActionType_Respawn)
            return Deny;
        if (character->GetActionState() == Character_ActionState::Dying &&
            type != CharacterActionType_Respawn)
            return Deny;
        return Allow;
    }
    CharacterActionHandler& handler = character->GetActionHandler();
    if (!handler.IsActive())
        return Allow;
    return gGameEngine->CheckPlayerAction(static_cast<unsigned>(type),
                                          static_cast<unsigned>(handler.GetActionType()));
}

void ControllerBaseCharacter::CharacterHandlerUpdate(int) {
    Character* character = GetParentCharacter();
    if (!character || character->GetActionHandler().IsActive())
        return;
    if (mPendingAction) {
        character->GetActionHandler().Execute(GetPendingAction());
    } else if (mQueuedAction) {
        ExecuteOrStartPreAction(*character, GetQueuedAction());
    } else if (mShowIdle) {
        character->GetActionHandler().Execute(std::make_unique<IdleAction>(GetParentId()));
    }
}

void ControllerBaseCharacter::SetPendingAction(std::unique_ptr<CharacterAction> action) {
    mPendingAction = std::move(action);
}

void ControllerBaseCharacter::SetQueuedAction(std::unique_ptr<CharacterAction> action) {
    mQueuedAction = std::move(action);
}

std::unique_ptr<CharacterAction> ControllerBaseCharacter::GetPendingAction() {
    return std::move(mPendingAction);
}

std::unique_ptr<CharacterAction> ControllerBaseCharacter::GetQueuedAction() {
    return std::move(mQueuedAction);
}

std::uint32_t ControllerBaseCharacter::FindClosestActor(const WorldVec3& point,
                                                        const std::vector<std::uint32_t>& ids) {
    std::uint32_t best = 0;
    float bestDistance = kInfinity;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (std::uint32_t id : ids) {
        const Actor* actor = objects.GetObject<Actor>(id);
        if (!actor)
            continue;
        const float d = World::Get().GetDistanceSquared(point, actor->GetPosition());
        if (d < bestDistance) {
            bestDistance = d;
            best = id;
        }
    }
    return best;
}

}  // namespace GAME
