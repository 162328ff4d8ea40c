#include "Game/ai/controllers/player/ControllerPlayerDisabledStates.h"

#include <memory>

#include "Engine/object/ObjectManager.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/skills/SkillActivated.h"

namespace GAME {

namespace {

template <class Command>
void EnqueueRelease(ControllerPlayerState& state) {
    if (Player* self = state.GetCharacter())
        self->Enqueue(std::make_unique<Command>(self->GetObjectId()));
}

}  // namespace

void ControllerPlayerStateImmobilized::OnEnd() {
    EnqueueRelease<ReleaseImmobilizeConfigCmd>(*this);
}

void ControllerPlayerStateStunned::OnEnd() {
    EnqueueRelease<ReleaseStunConfigCmd>(*this);
}

void ControllerPlayerStateTrapped::OnEnd() {
    EnqueueRelease<ReleaseTrapConfigCmd>(*this);
}

bool ControllerPlayerStateTrapped::RequestSkillAction(bool inPlace, bool, std::uint32_t skillId,
                                                      const WorldVec3& point,
                                                      std::uint32_t& target) {
    if (!GetCharacter() || !Singleton<ObjectManager>::Get().GetObject<SkillActivated>(skillId))
        return false;
    // The choice of target is not handed back to the caller here.
    std::uint32_t chosen = target;
    if (!ChooseSkillTarget(skillId, chosen) ||
        !SkillAccepts(skillId, chosen, point, inPlace, false))
        return false;
    std::uint32_t aimed = chosen;
    const SkillPlacement place = PlaceSkill(skillId, chosen, target, point, true, aimed);
    if (!place.moveTo.IsValid())
        return false;
    if (!inPlace && !SkillReaches(skillId, aimed, place.aim, place.moveTo))
        return false;
    SetState("UseSkillWhileTrapped",
             ControllerAIStateData(
                 {.enemy = aimed, .ally = aimed, .skill = skillId, .point = place.aim}));
    GetController()->SetMouseRepeat(aimed, place.aim);
    return true;
}

void ControllerPlayerStateUseSkillWhileTrapped::OnBegin() {
    if (!UseStateSkill())
        SetState("Trapped", ControllerAIStateData());
}

void ControllerPlayerStateUseSkillWhileTrapped::HandleEvent(const Name& name) {
    if (IsEndEvent(name))
        SetState("Trapped", ControllerAIStateData());
}

void ControllerPlayerStateUseSkillWhileTrapped::EndTrap() {
    EnqueueRelease<ReleaseTrapConfigCmd>(*this);
    SetState("Idle", ControllerAIStateData());
}

}  // namespace GAME
