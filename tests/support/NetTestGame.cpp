#include "support/NetTestGame.h"

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/FrameStrikes.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/LoopbackTransport.h"
#include "Game/core/GameEngine.h"

namespace GAME::test {

NetTestGame::NetTestGame(int clients, const std::string& dataRoot)
    : mNetwork(LoopbackNetwork::Create()) {
    for (int i = 0; i <= clients; ++i) {
        mMachines.push_back(std::make_unique<TestMachine>(dataRoot));
        MachineScope scope(mMachines.back()->machine());
        gEngine->GetNetworkConnectionManager()->SetTransport(i == 0 ? mNetwork->CreateServer()
                                                                    : mNetwork->CreateClient());
    }
}

NetTestGame::~NetTestGame() {
    // Each machine's guard restores the one made before it: tear down newest first.
    while (!mMachines.empty())
        mMachines.pop_back();
}

std::vector<TestMachine*> NetTestGame::Machines() const {
    std::vector<TestMachine*> machines;
    for (const auto& tm : mMachines)
        machines.push_back(tm.get());
    return machines;
}

void NetTestGame::TakeRole(TestMachine& tm) {
    if (&tm == &Server())
        gGameEngine->SetAsNetworkServer();
    else
        gGameEngine->SetAsNetworkClient();
}

std::uint64_t NetTestGame::PacketsReceived(TestMachine& tm) {
    MachineScope scope(tm.machine());
    return gEngine->GetNetworkConnectionManager()->GetPacketsReceived();
}

bool NetTestGame::SendFromClient(ActorConfigCommand& command, int client, int watcher) {
    const std::uint64_t before = PacketsReceived(Client(watcher));
    {
        MachineScope scope(Client(client).machine());
        const std::unique_ptr<NetPacket> packet = command.GetNetPacket();
        gEngine->GetNetworkConnectionManager()->SendToServer(packet.get());
    }
    Pump();
    return PacketsReceived(Client(watcher)) > before;
}

int NetTestGame::Pump(int maxRounds) {
    int handled = 0;
    for (int round = 0; round < maxRounds; ++round) {
        int thisRound = 0;
        for (TestMachine* tm : Machines()) {
            MachineScope scope(tm->machine());
            thisRound += gEngine->GetNetworkConnectionManager()->ProcessIncoming(0);
        }
        handled += thisRound;
        if (thisRound != 0 || mNetwork->PendingTotal() != 0)
            continue;
        // The machines have met: each runs the strikes it holds, in the one order, as the host
        // does after each step of a frame. What they send then goes round again.
        for (TestMachine* tm : Machines()) {
            MachineScope scope(tm->machine());
            FrameStrikes::Get().RunHeld();
        }
        if (mNetwork->PendingTotal() == 0)
            break;
    }
    return handled;
}

void NetTestGame::RunFrames(int frames, int frameMs,
                            const std::function<void(TestMachine&, int)>& step) {
    for (int frame = 0; frame < frames; ++frame) {
        int index = 0;
        for (TestMachine* tm : Machines()) {
            MachineScope scope(tm->machine());
            gEngine->AdvanceFrame(static_cast<std::uint32_t>(frameMs));
            if (step)
                step(*tm, index);
            ++index;
        }
        Pump();
    }
}

}  // namespace GAME::test
