#include "Game/characters/actions/AttackAction.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/Character.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {

namespace {

const Name& TurnStartEvent() {
    static const Name name = Name::Create("TurnStart");
    return name;
}

const Name& TurnEndEvent() {
    static const Name name = Name::Create("TurnEnd");
    return name;
}

// Made when the library loads: the first swing of a fight interns no names.
[[maybe_unused]] const Name& gTurnStartMade = TurnStartEvent();
[[maybe_unused]] const Name& gTurnEndMade = TurnEndEvent();

}  // namespace

AttackAction::AttackAction(std::uint32_t parentId, std::uint32_t targetId, const WorldVec3& target,
                           std::uint32_t skillId, std::uint16_t seed)
    : CharacterActionBase(parentId, CharacterActionType_Attack),
      mTargetId(targetId),
      mTarget(target),
      mSkillId(skillId),
      mSeed(seed) {
    SetBlendTime(kAttackBlendTime);
}

void AttackAction::Execute() {
    Character* character = GetLivingCharacterOrFinish();
    if (!character)
        return;
    // An attack on a point has no target character and goes on.
    const Character* target = Singleton<ObjectManager>::Get().GetObject<Character>(mTargetId);
    if (target && !target->IsAlive()) {
        Finish();
        return;
    }
    character->RotateTowardsTarget(true);
    if (!character->StartSkill(mSkillId, mTargetId, mTarget, mSeed)) {
        Finish();
        return;
    }
    character->SetActionState(Character_ActionState::Attack);
    character->SetCurrentAttackTarget(mTargetId, mTarget, static_cast<int>(mSkillId));
}

void AttackAction::AnimationCallback(const Name& event) {
    Character* character = GetCharacter();
    if (!character)
        return;
    if (event == TurnStartEvent())
        character->RotateTowardsTarget(true);
    else if (event == TurnEndEvent())
        character->RotateTowardsTarget(false);
    else if (character->HandleSkillAnimationCallback(event, mSkillId, mTargetId, mTarget))
        Finish();
}

void AttackAction::OnFinish() {
    if (Character* character = GetCharacter()) {
        character->SetCurrentAttackTarget(0, WorldVec3(), -1);
        character->RotateTowardsTarget(false);
        character->CancelSkillAction(mSkillId);
    }
}

void AttackAction::PendingActionAborted() {
    if (Character* character = GetCharacter())
        character->CancelSkillAction(mSkillId);
}

std::unique_ptr<CharacterActionPacketBase> AttackAction::GetNetPacket() const {
    auto packet = std::make_unique<AttackPacket>();
    SetPacketCharacter(*packet);
    packet->defenderId = mTargetId;
    packet->location = mTarget;
    packet->seed = mSeed;
    packet->skillNumber = mSkillId;
    GetCharacterPosition(packet->attackerPosition);
    LoadPreMoveData(*packet);
    return packet;
}

}  // namespace GAME
