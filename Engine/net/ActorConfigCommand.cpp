#include "Engine/net/ActorConfigCommand.h"

namespace GAME {

namespace {
// Commands run on the game thread of their machine; a worker never runs one.
thread_local int tExecuting = 0;
}  // namespace

void ActorConfigCommand::RunExecute() {
    ++tExecuting;
    struct Leave {
        ~Leave() { --tExecuting; }
    } leave;
    Execute();
}

bool ActorConfigCommand::IsExecuting() {
    return tExecuting > 0;
}

}  // namespace GAME
