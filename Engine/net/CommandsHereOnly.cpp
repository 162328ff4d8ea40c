#include "Engine/net/CommandsHereOnly.h"

namespace GAME {

namespace {
// Commands are enqueued on the game thread of their machine.
thread_local int tHereOnly = 0;
}  // namespace

CommandsHereOnly::CommandsHereOnly() {
    ++tHereOnly;
}

CommandsHereOnly::~CommandsHereOnly() {
    --tHereOnly;
}

bool CommandsHereOnly::IsActive() {
    return tHereOnly > 0;
}

}  // namespace GAME
