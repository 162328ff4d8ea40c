#include "Engine/net/FrameStrikes.h"

#include <algorithm>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/CommandsHereOnly.h"
#include "Engine/net/NetPacket.h"
#include "Engine/sys/Machine.h"

namespace GAME {

FrameStrikes& FrameStrikes::Get() {
    return Singleton<FrameStrikes>::Get();
}

FrameStrikes::FrameStrikes() = default;
FrameStrikes::~FrameStrikes() = default;

bool FrameStrikes::Holds(const ActorConfigCommand& command) {
    return command.IsStrike() && gEngine && gEngine->IsNetworkEnabled() &&
           !CommandsHereOnly::IsActive() &&
           (!ActorConfigCommand::IsExecuting() || command.DecidedByOneMachine());
}

namespace {

class HeldChange final : public ActorConfigCommand {
public:
    HeldChange(unsigned int actorId, std::function<void()> change)
        : ActorConfigCommand(actorId), mChange(std::move(change)) {}
    void Execute() override { mChange(); }
    std::unique_ptr<NetPacket> GetNetPacket() override { return nullptr; }
    bool IsStrike() const override { return true; }
    bool DecidedByOneMachine() const override { return true; }

private:
    std::function<void()> mChange;
};

}  // namespace

void FrameStrikes::RunOrHold(unsigned int actorId, std::function<void()> change) {
    if (gEngine && gEngine->IsNetworkEnabled())
        Get().Hold(std::make_unique<HeldChange>(actorId, std::move(change)));
    else
        change();
}

void FrameStrikes::Hold(std::unique_ptr<ActorConfigCommand> command) {
    if (!command)
        return;
    const unsigned int actor = command->GetObjectId();
    // After the strikes of the same actor: its machine made them in this order.
    const auto at =
        std::upper_bound(mHeld.begin(), mHeld.end(), actor,
                         [](unsigned int id, const std::unique_ptr<ActorConfigCommand>& held) {
                             return id < held->GetObjectId();
                         });
    mHeld.insert(at, std::move(command));
}

void FrameStrikes::RunHeld() {
    if (mHeld.empty() || !mRunning.empty())
        return;  // nothing held, or asked again from inside a strike
    mRunning.swap(mHeld);
    for (std::unique_ptr<ActorConfigCommand>& strike : mRunning)
        strike->RunExecute();
    mRunning.clear();
}

}  // namespace GAME
