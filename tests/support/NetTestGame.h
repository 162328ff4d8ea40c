#pragma once
// A networked game in one process: a server machine and client machines, each with its own
// engine state, connected by the loopback transport. Packets wait in queues until Pump delivers
// them, so tests decide exactly when the other machines see what was sent.
//
//   NetTestGame game(2);
//   ON_MACHINE(game.Server()) { ...enqueue a command... }
//   game.Pump();
//   ON_MACHINE(game.Client(0)) { ...check the same change... }
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "support/TestMachine.h"

namespace GAME {
class ActorConfigCommand;
class LoopbackNetwork;
}  // namespace GAME

namespace GAME::test {

class NetTestGame {
public:
    explicit NetTestGame(int clients = 1, const std::string& dataRoot = TestMachine::TestDataDir());
    ~NetTestGame();
    NetTestGame(const NetTestGame&) = delete;
    NetTestGame& operator=(const NetTestGame&) = delete;

    TestMachine& Server() { return *mMachines.front(); }
    TestMachine& Client(int index) { return *mMachines.at(static_cast<std::size_t>(index) + 1); }
    // Host 0 is the server, host n client n - 1.
    TestMachine& Host(int host) { return host == 0 ? Server() : Client(host - 1); }
    int ClientCount() const { return static_cast<int>(mMachines.size()) - 1; }
    // The server first, then the clients in order.
    std::vector<TestMachine*> Machines() const;
    LoopbackNetwork& Network() { return *mNetwork; }
    // Makes the server's machine the network server and every other one a client (current).
    void TakeRole(TestMachine& tm);

    // The command as client `client`'s machine sends it, without running it there, then Pump.
    // True when the server passed something on to client `watcher`.
    bool SendFromClient(ActorConfigCommand& command, int client = 0, int watcher = 1);
    static std::uint64_t PacketsReceived(TestMachine& tm);

    // Delivers queued packets on every machine, round after round, until none is left (at most
    // maxRounds rounds), each machine running the strikes it holds once all are delivered (see
    // FrameStrikes); the number of packets handled.
    int Pump(int maxRounds = 64);
    // Runs frames: each frame runs every machine's engine frame of frameMs (game time,
    // animations, physics) and calls `step` on it (current), the server first, then delivers
    // the packets.
    void RunFrames(int frames, int frameMs,
                   const std::function<void(TestMachine&, int index)>& step = {});

    // `f` run on each machine (current), the server first; the results in that order, if any.
    template <class F>
    auto OnEach(F f) {
        using R = std::invoke_result_t<F>;
        if constexpr (std::is_void_v<R>) {
            for (TestMachine* tm : Machines()) {
                MachineScope scope(tm->machine());
                f();
            }
        } else {
            std::vector<R> results;
            for (TestMachine* tm : Machines()) {
                MachineScope scope(tm->machine());
                results.push_back(f());
            }
            return results;
        }
    }

private:
    std::shared_ptr<LoopbackNetwork> mNetwork;
    std::vector<std::unique_ptr<TestMachine>> mMachines;
};

}  // namespace GAME::test
