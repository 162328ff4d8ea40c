#include "Game/characters/actions/IdleActions.h"

#include "Game/characters/Character.h"
#include "Game/characters/actions/ActionSupport.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

using namespace action_support;

IdleAction::IdleAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_Idle) {}

void IdleAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character || character->GetActionState() == Character_ActionState::Idle)
        return;
    character->SetActionState(Character_ActionState::Idle);
    PlayAnimation(*character, AnimationSet_Type::AttackIdle);
}

void IdleAction::AnimationCallback(const Name& event) {
    if (event != EndEvent())
        return;
    if (Character* character = GetCharacter())
        PlayAnimation(*character, AnimationSet_Type::AttackIdle);
}

std::unique_ptr<CharacterActionPacketBase> IdleAction::GetNetPacket() const {
    auto packet = std::make_unique<IdleActionPacket>();
    SetPacketCharacter(*packet);
    GetCharacterPosition(packet->position);
    LoadPreMoveData(*packet);
    return packet;
}

LongIdleAction::LongIdleAction(std::uint32_t parentId)
    : CharacterActionBase(parentId, CharacterActionType_LongIdle) {
    mTransitionTimer.Reset();
}

void LongIdleAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    character->SetActionState(Character_ActionState::Fidget);
    if (PlayAnimationIfAvailable(*character, AnimationSet_Type::IdleTransition)) {
        mPhase = Phase::Transition;
        return;
    }
    ResetTransitionTimer();
    PlayLongIdle(*character);
}

void LongIdleAction::AnimationCallback(const Name& event) {
    if (event != EndEvent())
        return;
    Character* character = GetCharacter();
    if (!character)
        return;
    switch (mPhase) {
        case Phase::Transition:
        case Phase::Fidget:
            ResetTransitionTimer();
            PlayLongIdle(*character);
            break;
        case Phase::Looping:
            if (mTransitionTimer.GetTotalElapsedTime() <
                static_cast<std::uint64_t>(mTransitionTime))
                break;
            if (PlayAnimationIfAvailable(*character, AnimationSet_Type::Fidget))
                mPhase = Phase::Fidget;
            else
                ResetTransitionTimer();
            break;
        case Phase::Done:
            Finish();
            break;
    }
}

std::unique_ptr<CharacterActionPacketBase> LongIdleAction::GetNetPacket() const {
    auto packet = std::make_unique<LongIdleActionPacket>();
    SetPacketCharacter(*packet);
    GetCharacterPosition(packet->position);
    LoadPreMoveData(*packet);
    return packet;
}

void LongIdleAction::ResetTransitionTimer() {
    mTransitionTimer.Reset();
    mTransitionTime = gGameEngine->GetRandomGen().IGenerate(mMinTransitionTime, mMaxTransitionTime);
}

void LongIdleAction::PlayLongIdle(Character& character) {
    if (PlayAnimation(character, AnimationSet_Type::LongIdle, Name(), 1.0f, true)) {
        mPhase = Phase::Looping;
        return;
    }
    mPhase = Phase::Done;
    Finish();
}

}  // namespace GAME
