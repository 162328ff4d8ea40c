#include "Game/ai/bosses/spirit/ControllerSpirit.h"

#include <memory>

#include "Game/ai/bosses/spirit/ControllerSpiritHost.h"
#include "Game/ai/bosses/spirit/ControllerSpiritStates.h"
#include "Game/ai/controllers/CharacterController.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerSpirit, ControllerMonster)

ControllerSpirit::ControllerSpirit() = default;
ControllerSpirit::~ControllerSpirit() = default;

void ControllerSpirit::Update(int ms) {
    ControllerMonster::Update(ms);
}

void ControllerSpirit::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerSpiritStateStartup>("Startup", this);
    AddState<ControllerSpiritStateIdle>("Idle", this);
    AddState<ControllerSpiritStateAttackToAnimate>("AttackToAnimate", this);
    AddState<ControllerSpiritStatePursueToAnimate>("PursueToAnimate", this);
}

std::uint32_t ControllerSpirit::ChooseBestSkillOverride(std::uint32_t enemyId, bool checkDistance) {
    if (checkDistance)
        return 0;
    const auto* enemy = Singleton<ObjectManager>::Get().GetObject<Character>(enemyId);
    if (!enemy || !FindController<ControllerSpiritHost>(*enemy))
        return 0;
    return GetSpecialAttack5SkillId();
}

}  // namespace GAME
