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
    AddState("Startup", std::make_unique<ControllerMegalesiosStateStartup>(this));
    AddState("LaunchBursts", std::make_unique<ControllerMegalesiosStateLaunchBursts>(this));
    AddState("AttackConduit", std::make_unique<ControllerMegalesiosStateAttackConduit>(this));
}

void ControllerMegalesios::SetInvincible(bool invincible) {
    Character* boss = GetParentCharacter();
    if (boss && boss->IsInvincible() != invincible)
        boss->Enqueue(std::make_unique<SetInvincibleConfigCmd>(GetParentId(), invincible));
}

void ControllerMegalesiosConduit::RegisterStates() {
    AddState("Startup", std::make_unique<ControllerMonsterStateStartup>(this));
    AddState("Idle", std::make_unique<ControllerMonsterStateIdle>(this));
    AddState("Dying", std::make_unique<ControllerMonsterStateDying>(this));
    AddState("Dead", std::make_unique<ControllerMonsterStateDead>(this));
}

}  // namespace GAME
