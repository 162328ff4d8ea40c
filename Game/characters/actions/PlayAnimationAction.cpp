#include "Game/characters/actions/PlayAnimationAction.h"

#include "Game/characters/Character.h"
#include "Game/characters/actions/ActionSupport.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

PlayAnimationAction::PlayAnimationAction(std::uint32_t parentId, AnimationSet_Type type,
                                         const Name& name, float speed, bool loop,
                                         unsigned int value)
    : CharacterActionBase(parentId, CharacterActionType_PlayAnimation),
      mAnimationType(type),
      mName(name),
      mSpeed(speed),
      mLoop(loop),
      mValue(value) {}

void PlayAnimationAction::Execute() {
    Character* character = GetCharacter();
    if (!character)
        return;
    if (!action_support::PlayAnimation(*character, mAnimationType, mName, mSpeed, mLoop, mValue))
        Finish();
    character->SetActionState(Character_ActionState::PlayAnimation);
}

std::unique_ptr<CharacterActionPacketBase> PlayAnimationAction::GetNetPacket() const {
    auto packet = std::make_unique<PlayAnimationActionPacket>();
    SetPacketCharacter(*packet);
    packet->animationType = static_cast<int>(mAnimationType);
    packet->animationName = mName;
    packet->speedModifier = mSpeed;
    packet->loop = mLoop;
    packet->iteration = mValue;
    LoadPreMoveData(*packet);
    return packet;
}

}  // namespace GAME
