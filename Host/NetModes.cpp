#include "Host/NetModes.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/EnetTransport.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Host/PrintableText.h"
#include "Host/ServerGreeter.h"
#include "Host/StopSignal.h"
#include "Host/net/MarkGate.h"
#include "Host/net/NetPlaySession.h"

namespace GAME {

namespace {

using Clock = std::chrono::steady_clock;

// Receives (no frame runs: the game's frames are the lockstep's) until `done` holds or the
// connection is gone; false on time-out, loss or a stop signal.
template <class Done>
bool ReceiveUntil(Done done, int timeoutMs) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() > deadline || !net->GetTransport() ||
            net->GetTransport()->GetPeers().empty() || StopSignalReceived())
            return false;
        net->ProcessIncoming(1);
    }
    return true;
}

// A stop signal before the game began: said, and the machine leaves.
bool StoppedBeforeTheGame() {
    const int signal = StopSignalReceived();
    if (signal)
        std::fprintf(stderr, "gamehost: stopped by signal %d before the game began\n", signal);
    return signal != 0;
}

}  // namespace

int RunServer(const NetServerOptions& options) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    InstallStopSignals();
    if (!PrepareMachine(options))
        return 1;
    if (options.port <= 0 || options.port > 65535 || options.clients < 1 ||
        options.clients > kMaxClientHosts) {
        std::fprintf(stderr, "gamehost: bad port or client count\n");
        return 1;
    }
    NetPlaySession session(options, stdout);
    if (!session.Open())
        return 1;
    auto listening =
        EnetTransport::Listen(static_cast<unsigned short>(options.port), options.clients);
    if (!listening) {
        std::fprintf(stderr, "gamehost: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    EnetTransport* transport = listening.get();
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    net->SetTransport(std::move(listening));
    std::printf("gamehost: server listening on 127.0.0.1:%d for %d client(s)\n", options.port,
                options.clients);

    // The game root runs the clients' requests through its inbound interface: each greeting is
    // a chat request of the game, answered with a remote message to the client that sent it.
    int code = 1;
    ServerGreeter greeter;
    if (session.StartGame()) {
        greeter.Install();
        // The lobby: a client is ready once it greeted and its player was taken; one that
        // leaves, falls silent or is refused frees its seat for another until the game
        // starts. The lobby waits the time-out from its last change.
        auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
        std::vector<int> ready;
        for (;;) {
            greeter.AnswerNewGreetings(stdout);
            session.DropRefused();
            for (int host : net->GetClientHosts())
                if (transport->GetSilenceMs(host) > options.timeoutMs)
                    net->DropHost(host, "silent in the lobby");
            const std::vector<int> connected = net->GetClientHosts();
            for (int host = 1; host <= kMaxClientHosts; ++host)
                if (std::find(connected.begin(), connected.end(), host) == connected.end())
                    session.ForgetJoin(host);
            std::vector<int> now;
            for (int host : connected)
                if (greeter.HasGreeted(host) && session.HasJoined(host))
                    now.push_back(host);
            if (now != ready)
                deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
            ready = now;
            if (static_cast<int>(ready.size()) >= options.clients || Clock::now() >= deadline ||
                StopSignalReceived())
                break;
            net->ProcessIncoming(1);
        }
        const bool stopped = StoppedBeforeTheGame();
        if (!stopped && static_cast<int>(ready.size()) < options.clients)
            std::fprintf(stderr,
                         "gamehost: server timed out after %d ms (%zu of %d clients joined)\n",
                         options.timeoutMs, ready.size(), options.clients);
        else if (!stopped && session.SpawnPlayers(ready))
            code = session.Play();
    }
    session.EndGame();
    net->SetPacketHandler(PacketType::ChatPacket, nullptr);  // the greeter goes with this call
    // The clients leave once they have played the last frame.
    if (code == 0 &&
        !ReceiveUntil([&] { return transport->GetPeerCount() == 0; }, options.timeoutMs)) {
        if (transport->GetPeerCount() != 0) {
            std::fprintf(stderr, "gamehost: the clients did not leave within %d ms\n",
                         options.timeoutMs);
            code = 1;
        }
    }
    transport->DisconnectAll(1000);
    net->Shutdown();
    if (code == 0)
        std::printf("gamehost: server done, %d frames played; every client left\n", options.frames);
    return code;
}

int RunClient(const NetClientOptions& options) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    InstallStopSignals();
    if (!PrepareMachine(options))
        return 1;
    const std::size_t colon = options.connect.rfind(':');
    const std::string address =
        colon == std::string::npos ? options.connect : options.connect.substr(0, colon);
    // The whole rest must be the port: "host:12x" is a typo, not port 12.
    int port = 0;
    if (colon != std::string::npos) {
        const char* first = options.connect.data() + colon + 1;
        const char* last = options.connect.data() + options.connect.size();
        const auto [end, error] = std::from_chars(first, last, port);
        if (error != std::errc() || end != last || end == first)
            port = 0;
    }
    if (address.empty() || port <= 0 || port > 65535) {
        std::fprintf(stderr, "gamehost: --connect wants HOST:PORT\n");
        return 1;
    }
    NetPlaySession session(options, stdout);
    if (!session.Open())
        return 1;
    std::printf("gamehost: connecting to %s (waiting up to %d ms)\n", options.connect.c_str(),
                options.timeoutMs);
    auto connected =
        EnetTransport::Connect(address, static_cast<unsigned short>(port), options.timeoutMs);
    if (!connected) {
        std::fprintf(stderr, "gamehost: cannot connect to %s\n", options.connect.c_str());
        return 1;
    }
    EnetTransport* transport = connected.get();
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    // The server's marks pace this machine's frames: nothing after one is taken before its time.
    net->SetTransport(
        std::make_unique<MarkGate>(std::move(connected), PacketType::PlayerPositionUpdatePacket));
    const int host = net->GetLocalHostId();
    std::printf("gamehost: connected to %s as host %d\n", options.connect.c_str(), host);

    int code = 1;
    if (session.StartGame() && session.SendJoin()) {
        gGameEngine->GetNetworkInterface()->HandleChatMessage(
            L"host " + std::to_wstring(host), L"hello from host " + std::to_wstring(host), 0, {});
        if (ReceiveUntil([] { return !gGameEngine->GetUINotifications().empty(); },
                         options.timeoutMs)) {
            const auto& texts = gGameEngine->GetUINotifications().front().texts;
            std::printf("gamehost: server says \"%s\"\n",
                        texts.empty() ? "" : PrintableText(texts.front()).c_str());
            // In the lobby until the server starts the game with this machine's player in it.
            if (ReceiveUntil([&session] { return session.IsOwnInGame(); }, options.timeoutMs))
                code = session.Play();
            else if (!StoppedBeforeTheGame())
                std::fprintf(stderr,
                             "gamehost: the server did not take this machine's player into a "
                             "game within %d ms\n",
                             options.timeoutMs);
        } else if (!StoppedBeforeTheGame()) {
            std::fprintf(stderr, "gamehost: no answer from the server within %d ms\n",
                         options.timeoutMs);
        }
    }
    session.EndGame();
    // A server that is gone or silent would only be waited for.
    transport->DisconnectAll(code == 0 ? 3000 : 200);
    net->Shutdown();
    if (code == 0)
        std::printf("gamehost: client done\n");
    return code;
}

}  // namespace GAME
