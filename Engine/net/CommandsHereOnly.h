#pragma once
// While one lives, a command enqueued on this machine runs here only, neither sent nor held as a
// strike: for a change each machine makes itself, alike, before the others know the actor (a new
// player's kit put on as it enters).

namespace GAME {

class CommandsHereOnly {
public:
    CommandsHereOnly();
    ~CommandsHereOnly();
    CommandsHereOnly(const CommandsHereOnly&) = delete;
    CommandsHereOnly& operator=(const CommandsHereOnly&) = delete;

    static bool IsActive();
};

}  // namespace GAME
