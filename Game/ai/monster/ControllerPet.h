#pragma once
// The controller a summoned pet's record names: a monster controller that follows and defends
// its leader through the monster states.
#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerPet : public ControllerMonster {
    RTTI_DECLARE(ControllerPet)
};

}  // namespace GAME
