#include "Game/ai/monster/ControllerPet.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerPet, ControllerMonster)

}  // namespace GAME
