#include "Game/rules/death/DeathHandler.h"

namespace GAME {

const Name& DeathHandler::EndName() {
    static const Name name = Name::Create("End");
    return name;
}

}  // namespace GAME
