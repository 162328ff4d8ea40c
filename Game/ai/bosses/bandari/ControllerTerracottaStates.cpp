#include "Game/ai/bosses/bandari/ControllerTerracottaStates.h"

namespace GAME {

void ControllerTerracottaStateStartup::OnUpdate(int) {
    ControllerTerracotta& ctl = Ctl();
    const std::uint32_t enemy = ctl.GetMostHatedEnemy();
    if (enemy == 0)
        return;
    const float ahead = ctl.GetForwardDistance(enemy);
    if (ahead < ctl.GetMarchRange())
        ctl.StartAttackMarch();
    else if (ahead < ctl.GetAttackRange())
        ctl.StartReturn();
}

void ControllerTerracottaStateAttackMarch::OnUpdate(int) {
    ControllerTerracotta& ctl = Ctl();
    // Marches on while it hates nobody (a warrior the boss woke before it saw anyone).
    const std::uint32_t enemy = ctl.GetMostHatedEnemy();
    if (enemy != 0 && ctl.GetForwardDistance(enemy) < ctl.GetAttackRange())
        ctl.StartReturn();
}

void ControllerTerracottaStateAttackMarch::StepAhead() {
    const Monster* self = GetCharacter();
    if (!self)
        return;
    WorldVec3 ahead = self->GetPosition();
    ahead.Translate(self->GetCoords().coords.zAxis * kStep);
    WalkTo(ahead, 0);
}

}  // namespace GAME
