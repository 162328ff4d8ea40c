#include "ai/ProbeController.h"

namespace GAME::test {

RTTI_IMPLEMENT(ProbeController, ControllerAI)

}  // namespace GAME::test
