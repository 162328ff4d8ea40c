#include "Game/ai/controllers/Controller.h"

namespace GAME {

RTTI_IMPLEMENT(Controller, Object)

Controller::Controller() = default;
Controller::~Controller() = default;

void Controller::AttachParent(std::uint32_t id) {
    mParentId = id;
    PostParentAttached();
}

}  // namespace GAME
