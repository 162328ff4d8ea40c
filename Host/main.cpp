// gamehost: the headless host program of the game library.
#include <CLI/CLI.hpp>
#include <limits>

#include "Host/HostApp.h"
#include "Host/NetModes.h"

int main(int argc, char** argv) {
    CLI::App app{"gamehost - headless host of the game library"};
    app.require_subcommand(1);
    // Counts must fit the int they are read into; the message names the range.
    const auto count = [](int low) { return CLI::Range(low, std::numeric_limits<int>::max()); };

    GAME::HostOptions play;
    CLI::App* playCommand = app.add_subcommand("play", "Single player on the sample world");
    playCommand->add_option("--data", play.dataRoot, "Data folder")->capture_default_str();
    playCommand->add_option("--frames", play.frames, "Frames to run")
        ->capture_default_str()
        ->check(count(0));
    playCommand->add_option("--frame-ms", play.frameMs, "Milliseconds per frame")
        ->capture_default_str()
        ->check(count(1));

    GAME::NetServerOptions server;
    CLI::App* serverCommand = app.add_subcommand("server", "Network server on 127.0.0.1");
    serverCommand->add_option("--data", server.dataRoot, "Data folder")->capture_default_str();
    serverCommand->add_option("--port", server.port, "Port to listen on")
        ->capture_default_str()
        ->check(CLI::Range(1, 65535));
    serverCommand->add_option("--clients", server.clients, "Clients to wait for")
        ->capture_default_str()
        ->check(CLI::Range(1, 15));

    GAME::NetClientOptions client;
    CLI::App* clientCommand = app.add_subcommand("client", "Network client");
    clientCommand->add_option("--data", client.dataRoot, "Data folder")->capture_default_str();
    clientCommand->add_option("--connect", client.connect, "Server as HOST:PORT")
        ->capture_default_str();

    CLI11_PARSE(app, argc, argv);
    if (playCommand->parsed())
        return GAME::RunPlay(play);
    if (serverCommand->parsed())
        return GAME::RunServer(server);
    if (clientCommand->parsed())
        return GAME::RunClient(client);
    return 1;
}
