#pragma once
// The host's network modes: a server on 127.0.0.1 that waits for its clients, and a client that
// connects to it. Both run a game root; each client greets the server with a game-wide chat
// request through its network interface, the server answers with a remote message, and both
// disconnect cleanly.
#include <filesystem>
#include <string>

namespace GAME {

struct NetServerOptions {
    std::filesystem::path dataRoot = "data";
    int port = 27960;
    int clients = 1;
    int timeoutMs = 30000;
};

struct NetClientOptions {
    std::filesystem::path dataRoot = "data";
    std::string connect = "127.0.0.1:27960";
    int timeoutMs = 30000;
};

// Exit codes: 0 when every exchange completed, 1 otherwise.
int RunServer(const NetServerOptions& options);
int RunClient(const NetClientOptions& options);

}  // namespace GAME
