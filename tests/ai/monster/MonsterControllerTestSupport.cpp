#include "ai/monster/MonsterControllerTestSupport.h"

namespace GAME::test {

RTTI_IMPLEMENT(NotingMonsterController, ControllerMonster)

}  // namespace GAME::test
