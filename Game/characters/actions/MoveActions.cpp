#include "Game/characters/actions/MoveActions.h"

#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/actions/ActionSupport.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

using namespace action_support;

MoveToAction::MoveToAction(std::uint32_t parentId, const WorldVec3& start, const WorldVec3& target,
                           std::uint32_t targetId, std::uint32_t skillId, float value)
    : CharacterActionBase(parentId, CharacterActionType_MoveTo),
      mStart(start),
      mTarget(target),
      mTargetId(targetId),
      mSkillId(skillId),
      mValue(value) {}

void MoveToAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    if (character->DisallowsMovement()) {
        Finish();
        return;
    }
    ControllerSetTarget(*character, mTargetId);
    if (World::Get().GetDistanceSquared(character->GetCoords().GetPosition(), mStart) >
        kJumpToStartDistanceSquared)
        character->SetPathPosition(mStart);
    else
        character->SetPathPositionNotCoords(mStart);
    character->SetCurrentAttackTarget(mTargetId, mTarget, static_cast<int>(mSkillId));
    character->SkillWarmUp(mSkillId, false);
    character->MoveTo(mTarget, GetBlendTime());
    character->PlayLoopingRunningSound();
    // Running: the action lasts as long as the run.
    if (character->GetActionState() == Character_ActionState::Move)
        return;
    ControllerEndOfPathReached(*character);
    Finish();
}

void MoveToAction::OnFinish() {
    if (Character* character = GetCharacter()) {
        character->SkillWarmUp(mSkillId, true);
        character->StopLoopingRunningSound();
    }
}

std::unique_ptr<CharacterActionPacketBase> MoveToAction::GetNetPacket() const {
    auto packet = std::make_unique<MoveToPacket>();
    SetPacketCharacter(*packet);
    packet->startLocation = mStart;
    packet->worldLocation = mTarget;
    packet->targetId = mTargetId;
    packet->skillNumber = mSkillId;
    packet->speed = mValue;
    LoadPreMoveData(*packet);
    return packet;
}

WalkAction::WalkAction(std::uint32_t parentId, const WorldVec3& start, const WorldVec3& target,
                       std::uint32_t targetId)
    : CharacterActionBase(parentId, CharacterActionType_Walk),
      mStart(start),
      mTarget(target),
      mTargetId(targetId) {}

void WalkAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    if (character->DisallowsMovement()) {
        Finish();
        return;
    }
    ControllerSetTarget(*character, mTargetId);
    character->SetCurrentAttackTarget(mTargetId, mTarget, 0);
    character->SetPathPositionNotCoords(mStart);
    character->WalkTo(mTarget, GetBlendTime());
}

std::unique_ptr<CharacterActionPacketBase> WalkAction::GetNetPacket() const {
    auto packet = std::make_unique<WalkPacket>();
    SetPacketCharacter(*packet);
    packet->startLocation = mStart;
    packet->worldLocation = mTarget;
    packet->targetId = mTargetId;
    LoadPreMoveData(*packet);
    return packet;
}

}  // namespace GAME
