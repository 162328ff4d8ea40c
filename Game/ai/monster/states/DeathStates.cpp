#include "Game/ai/monster/states/DeathStates.h"

#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Engine/world/World.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"

namespace GAME {

void ControllerMonsterStateDying::OnBegin() {
    Monster* monster = GetCharacter();
    if (!monster || mBeginning)
        return;
    ControllerMonster* controller = GetController();
    if (monster->IsAlive()) {
        mBeginning = true;
        Die();
        mBeginning = false;
    }
    controller->CreateDropMiscItems();
    const std::uint32_t skillId = controller->GetDyingSkillId();
    const Skill* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(skillId);
    if (!skill || skill->GetReason() != SkillReason::Available)
        return;
    // One use on every machine: the command activates the skill everywhere. An attack action
    // as well would run it twice, and would stop the die action whose animation ends the
    // death. Its seed is still drawn, so that later draws come out the same.
    crt_rand();
    const WorldVec3 position = monster->GetPathPosition();
    monster->Enqueue(std::make_unique<ActivateSkillConfigCmd>(
        monster->GetObjectId(), monster->GetSkillManager().GetSkillReferenceNumber(skillId),
        monster->GetObjectId(), position));
    SkillUsed(skillId);
}

void ControllerMonsterStateDead::OnBegin() {
    Monster* monster = GetCharacter();
    Entity* proxy = GetController()->GetTreasureProxy();
    if (monster && proxy)
        World::Get().AddEntity(proxy, monster->GetCoords(), true);
}

}  // namespace GAME
