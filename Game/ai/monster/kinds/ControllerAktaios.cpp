#include "Game/ai/monster/kinds/ControllerAktaios.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerAktaios, ControllerMonster)

}  // namespace GAME
