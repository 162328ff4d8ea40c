#include "Game/ai/bosses/chainedtyphon/ControllerTyphonChained.h"

#include <memory>

#include "Game/characters/monster/TyphonChained.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerTyphonChained, ControllerMonster)

void ControllerTyphonChained::InitialUpdate() {
    ControllerAI::InitialUpdate();
}

void ControllerTyphonChained::Update(int ms) {
    ControllerMonster::Update(ms);
}

void ControllerTyphonChained::RegisterStates() {
    AddState<ControllerTyphonChainedStateStartup>("Startup", this);
    AddState<ControllerTyphonChainedStateChained>("Chained", this);
    AddState<ControllerTyphonChainedStateBreakingTheChains>("BreakingTheChains", this);
    AddState<ControllerTyphonChainedStateWaitToWalk>("WaitToWalk", this);
    AddState<ControllerTyphonChainedStateWalkToPortal>("WalkToPortal", this);
}

void ControllerTyphonChainedStateStartup::OnBegin() {
    Go("Chained");
    if (TyphonChained* self = GetCharacter())
        self->Enqueue(std::make_unique<SetInvincibleConfigCmd>(self->GetObjectId(), true));
}

void ControllerTyphonChainedStateChained::QuestCommandPlayAnimation(AnimationSet_Type, bool) {
    Go("BreakingTheChains");
}

void ControllerTyphonChainedStateBreakingTheChains::OnBegin() {
    PlayAnimation(AnimationSet_Type::Chat, Name(), 1.0f, false, 0);
}

void ControllerTyphonChainedStateBreakingTheChains::HandleEvent(const Name& name) {
    static const Name end = Name::Create("End");
    if (name != end)
        return;
    Go("WaitToWalk");
    if (TyphonChained* self = GetCharacter())
        self->Enqueue(std::make_unique<QuestAnimationCompletedConfigCmd>(self->GetObjectId()));
}

void ControllerTyphonChainedStateWaitToWalk::QuestCommandMove(std::uint32_t,
                                                              const WorldVec3& point) {
    Go("WalkToPortal", Data({.point = point}));
}

void ControllerTyphonChainedStateWaitToWalk::QuestCommandWalk(std::uint32_t,
                                                              const WorldVec3& point) {
    Go("WalkToPortal", Data({.point = point}));
}

void ControllerTyphonChainedStateWalkToPortal::OnBegin() {
    WalkTo(GetPointOfInterest(), 0);
}

void ControllerTyphonChainedStateWalkToPortal::EndOfPathReached() {
    if (TyphonChained* self = GetCharacter())
        self->Enqueue(std::make_unique<QuestMoveCompletedConfigCmd>(self->GetObjectId()));
}

}  // namespace GAME
