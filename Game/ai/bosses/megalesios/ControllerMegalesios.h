#pragma once
// The two-phase Megalesios fight: the boss stands invincible until a quest makes it use a skill,
// launches its bursts, then attacks its conduits; when the conduit it chose falls it becomes
// vulnerable and fights as an ordinary monster. Its conduits only stand and die.
#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerMegalesios : public ControllerMonster {
    RTTI_DECLARE(ControllerMegalesios)
public:
    // The monster's record, then "CheckForPlayerRadius".
    void Load(const LoadTable& table) override;
    // The monster's states with "Startup" replaced and "LaunchBursts", "AttackConduit" added.
    void RegisterStates() override;

    float GetCheckForPlayerRadius() const { return mCheckForPlayerRadius; }
    // On every machine: invincibility decides what every machine's strikes do.
    void SetInvincible(bool invincible);

private:
    float mCheckForPlayerRadius = 20.0f;
};

class ControllerMegalesiosConduit : public ControllerMonster {
    RTTI_DECLARE(ControllerMegalesiosConduit)
public:
    // "Startup", "Idle", "Dying" and "Dead" only: a conduit never pursues, roams or flees.
    void RegisterStates() override;
};

}  // namespace GAME
