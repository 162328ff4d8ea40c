#pragma once
// The controller an allied creature's record names: a monster controller that behaves exactly as
// one, registered under its own name so records can tell allies apart.
#include "Game/ai/monster/ControllerMonster.h"

namespace GAME {

class ControllerAlly : public ControllerMonster {
    RTTI_DECLARE(ControllerAlly)
};

}  // namespace GAME
