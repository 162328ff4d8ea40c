#pragma once
// The host's network modes: a server on 127.0.0.1 that hosts its own player and waits for its
// clients, and clients that connect to it, each bringing a player. Each client greets the server
// with a game-wide chat request through its network interface and the server answers with a
// remote message; then every machine plays the sample world in lockstep (Host/net/).
#include <filesystem>
#include <string>

#include "Host/HostApp.h"

namespace GAME {

// What `play` offers that applies to every machine of a network game, and the lockstep's own.
struct NetPlayOptions : PlayOptions {
    NetPlayOptions() { frames = 300; }
    int timeoutMs = 30000;                // to wait for any other machine at any step
    std::filesystem::path checksumsFile;  // "<frame> <checksum>" lines, every checksum taken
    std::filesystem::path stateDumpFile;  // each character's hashed fields at those frames
    bool campaign = false;  // each machine's player plays the sample campaign from the village
};

struct NetServerOptions : NetPlayOptions {
    int port = 27960;
    int clients = 1;
};

struct NetClientOptions : NetPlayOptions {
    std::string connect = "127.0.0.1:27960";
};

// Exit codes: 0 when every exchange and every frame completed, 1 otherwise.
int RunServer(const NetServerOptions& options);
int RunClient(const NetClientOptions& options);

}  // namespace GAME
