#include "Game/ai/monster/kinds/ControllerAlly.h"

namespace GAME {

RTTI_IMPLEMENT(ControllerAlly, ControllerMonster)

}  // namespace GAME
