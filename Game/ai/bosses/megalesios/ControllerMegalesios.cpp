#include "Game/ai/bosses/megalesios/ControllerMegalesios.h"

#include <memory>

#include "Engine/records/LoadTable.h"
#include "Game/ai/bosses/megalesios/MegalesiosStates.h"
#include "Game/ai/monster/states/CombatStates.h"
#include "Game/ai/monster/states/DeathStates.h"
#include "Game/characters/Character.h"
#include "Game/core/net/commands/CharacterCommands.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerMegalesios, ControllerMonster)
RTTI_IMPLEMENT(ControllerMegalesiosConduit, ControllerMonster)

void ControllerMegalesios::Load(const LoadTable& table) {
    ControllerMonster::Load(table);
    mCheckForPlayerRadius = table.GetFloat("CheckForPlayerRadius", 20.0f);
}

void ControllerMegalesios::RegisterStates() {
    ControllerMonster::RegisterStates();
    AddState<ControllerMegalesiosStateStartup>("Startup", this);
    AddState<ControllerMegalesiosStateLaunchBursts>("LaunchBursts", this);
    AddState<ControllerMegalesiosStateAttackConduit>("AttackConduit", this);
}

void ControllerMegalesios::SetInvincible(bool invincible) {
    Character* boss = GetParentCharacter();
    if (boss && boss->IsInvincible() != invincible)
        boss->Enqueue(std::make_unique<SetInvincibleConfigCmd>(GetParentId(), invincible));
}

void ControllerMegalesiosConduit::RegisterStates() {
    AddState<ControllerMonsterStateStartup>("Startup", this);
    AddState<ControllerMonsterStateIdle>("Idle", this);
    AddState<ControllerMonsterStateDying>("Dying", this);
    AddState<ControllerMonsterStateDead>("Dead", this);
}

}  // namespace GAME
