#include "Game/ai/bosses/ormenos/ControllerOrmenos.h"

#include <memory>

#include "Game/skills/spell/Skill_AttackTelekinesis.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerOrmenos, ControllerMonster)

void ControllerOrmenos::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerOrmenosStateAttack>("Attack", this);
}

void ControllerOrmenosStateAttack::HandleEvent(const Name& name) {
    static const Name end = Name::Create("End");
    if (name == end) {
        const auto* throwing =
            Singleton<ObjectManager>::Get().GetObject<Skill_AttackTelekinesis>(GetCurrentSkillID());
        if (throwing && !throwing->IsTelkineFinished())
            return;
    }
    ControllerMonsterStateAttack::HandleEvent(name);
}

}  // namespace GAME
