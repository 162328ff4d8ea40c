#pragma once
// The strikes of a network game, held until every machine has them all and then run in one
// order. A strike (a command whose IsStrike holds: a skill's hits on its targets) is decided by
// the machine that owns its actor and reaches the others a step later, so run as it comes the
// same two strikes on one character would be taken in a different order on each machine (and
// the life left would part in its last bits). Instead every machine, the deciding one too, holds
// the strikes it makes or receives and runs them at the next meeting point of the machines (the
// host's, after each step of a frame, and the start of every engine frame) in the order of their
// actors' object ids; one actor's strikes keep the order their machine made them in. Alone
// (no network) a strike runs at once.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace GAME {

class ActorConfigCommand;

class FrameStrikes {
public:
    static FrameStrikes& Get();
    FrameStrikes();
    ~FrameStrikes();
    FrameStrikes(const FrameStrikes&) = delete;
    FrameStrikes& operator=(const FrameStrikes&) = delete;

    // Whether a command is held rather than run now: a strike in a network game, not made from
    // inside another command (every machine makes that one itself, at the same point) unless
    // only one machine decides it (the others get it by packet, so all run it at the next
    // meeting point).
    static bool Holds(const ActorConfigCommand& command);
    void Hold(std::unique_ptr<ActorConfigCommand> command);
    // A change to an actor that reaches every machine but is made by each itself (a share of a
    // reward the server hands out): in a network game it waits for the meeting point and runs
    // there among the strikes, so a change one machine makes in a step and the others after it
    // lands at the same point everywhere. Alone it runs at once.
    static void RunOrHold(unsigned int actorId, std::function<void()> change);
    // Runs the held strikes in order; strikes every machine makes while they run run at once,
    // those one machine decides meanwhile wait for the next meeting point.
    void RunHeld();
    std::size_t GetHeldCount() const { return mHeld.size(); }

private:
    std::vector<std::unique_ptr<ActorConfigCommand>> mHeld;  // sorted by actor id
    std::vector<std::unique_ptr<ActorConfigCommand>> mRunning;
};

}  // namespace GAME
