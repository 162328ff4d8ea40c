#include "Host/NetModes.h"

#include <charconv>
#include <chrono>
#include <cstdio>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/transport/EnetTransport.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/GameEngineNetworkInterface.h"
#include "Host/HostApp.h"
#include "Host/PrintableText.h"
#include "Host/ServerGreeter.h"

namespace GAME {

namespace {

using Clock = std::chrono::steady_clock;

bool PrepareData(const std::filesystem::path& dataRoot) {
    HostOptions options;
    options.dataRoot = dataRoot;
    return PrepareMachine(options);
}

constexpr int kFrameMs = 10;

// Runs frames of the connection and the game root until `done` holds; false on time-out.
template <class Done>
bool ServiceUntil(Done done, Clock::time_point deadline) {
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        net->ProcessIncoming(kFrameMs);
        RunFrame(kFrameMs);
    }
    return true;
}

}  // namespace

int RunServer(const NetServerOptions& options) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!PrepareData(options.dataRoot))
        return 1;
    if (options.port <= 0 || options.port > 65535 || options.clients < 1 ||
        options.clients > kMaxClientHosts) {
        std::fprintf(stderr, "gamehost: bad port or client count\n");
        return 1;
    }
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
    std::fflush(stdout);

    // The game root runs the clients' requests through its inbound interface: each greeting is
    // a chat request of the game, answered with a remote message to the client that sent it.
    InitializeObjects();
    gGameEngine->SetAsNetworkServer();
    ServerGreeter greeter;
    greeter.Install();
    const auto answerNewGreetings = [&] {
        return greeter.AnswerNewGreetings(stdout) >= options.clients;
    };

    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
    const bool allGreeted = ServiceUntil(answerNewGreetings, deadline);
    const bool allLeft =
        allGreeted && ServiceUntil([&] { return transport->GetPeerCount() == 0; }, deadline);
    ShutdownObjects();
    net->SetPacketHandler(PacketType::ChatPacket, nullptr);  // the greeter goes with this call
    net->Shutdown();
    if (!allLeft) {
        std::fprintf(stderr,
                     "gamehost: server timed out after %d ms (%d of %d clients greeted and "
                     "gone)\n",
                     options.timeoutMs, greeter.GetClientsGreeted(), options.clients);
        return 1;
    }
    std::printf("gamehost: server done, %d client(s) greeted and disconnected\n", options.clients);
    return 0;
}

int RunClient(const NetClientOptions& options) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!PrepareData(options.dataRoot))
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
    auto connected =
        EnetTransport::Connect(address, static_cast<unsigned short>(port), options.timeoutMs);
    if (!connected) {
        std::fprintf(stderr, "gamehost: cannot connect to %s\n", options.connect.c_str());
        return 1;
    }
    EnetTransport* transport = connected.get();
    NetworkConnectionManager* net = gEngine->GetNetworkConnectionManager();
    net->SetTransport(std::move(connected));
    const int host = net->GetLocalHostId();
    std::printf("gamehost: connected to %s as host %d\n", options.connect.c_str(), host);

    InitializeObjects();
    gGameEngine->SetAsNetworkClient();
    gGameEngine->GetNetworkInterface()->HandleChatMessage(
        L"host " + std::to_wstring(host), L"hello from host " + std::to_wstring(host), 0, {});

    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
    const bool ok =
        ServiceUntil([] { return !gGameEngine->GetUINotifications().empty(); }, deadline);
    if (ok) {
        const auto& texts = gGameEngine->GetUINotifications().front().texts;
        std::printf("gamehost: server says \"%s\"\n",
                    texts.empty() ? "" : PrintableText(texts.front()).c_str());
    }
    ShutdownObjects();
    transport->DisconnectAll(3000);
    net->Shutdown();
    if (!ok) {
        std::fprintf(stderr, "gamehost: no answer from the server within %d ms\n",
                     options.timeoutMs);
        return 1;
    }
    std::printf("gamehost: client done\n");
    return 0;
}

}  // namespace GAME
