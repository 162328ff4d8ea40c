// A character restored from a save or a replica takes up the state it was saved in.
#include "Game/characters/Character.h"

#include <memory>

#include "Engine/media/physics/PhysicsEngine.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/MoveActions.h"
#include "Game/characters/anim/AnimationSet.h"

namespace GAME {

void Character::SetInitialStateInfo(Character_ActionState state, const WorldVec3& pathTarget,
                                    std::uint32_t attackTarget, std::uint32_t attackSkill) {
    mInitialActionState = state;
    mInitialPathTarget = pathTarget;
    mInitialAttackTarget = attackTarget;
    mInitialAttackSkill = attackSkill;
}

void Character::RestoreLifeState() {
    if (mLifeState == Character_LifeState::Dead || mLifeState == Character_LifeState::Dying) {
        StopAnimations();
        SetVisibility(false);
        PhysicsEngine::Get().RemoveEntityFromSimulation(this);
        DisableCreateAttachements();
    } else if (mInitialActionState == Character_ActionState::Move) {
        // The move names its skill by reference, as its packet does.
        mActionHandler->Execute(std::make_unique<MoveToAction>(
            GetObjectId(), GetPosition(), mInitialPathTarget, mInitialAttackTarget,
            mSkillManager->GetSkillReferenceNumber(mInitialAttackSkill), 1.0f));
    } else if (mInitialActionState == Character_ActionState::Walk) {
        mActionHandler->Execute(std::make_unique<WalkAction>(
            GetObjectId(), GetPosition(), mInitialPathTarget, mInitialAttackTarget));
    } else if (mAnimationSet) {
        // A restored character that was not on its way stands in its attack idle.
        mAnimationSet->PlayAnimation(*this, AnimationSet_Type::AttackIdle, Name(), 1.0f, true, 0);
    }
    mInitialActionState = Character_ActionState::Unknown;
}

}  // namespace GAME
