#include "Game/characters/monster/Guard.h"

#include "Game/core/players/Team.h"

namespace GAME {

RTTI_IMPLEMENT(Guard, Monster)

void Guard::Load(const LoadTable& table) {
    Monster::Load(table);
    // On the players' side whatever team the record names.
    SetTeam(TeamManager::DefaultPlayerTeam());
    SetInvincible(true);
}

}  // namespace GAME
