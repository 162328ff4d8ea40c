#include "Host/CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "Host/HostApp.h"
#include "Host/NetModes.h"

namespace GAME {

namespace {

constexpr std::string_view kCommands[] = {"play", "server", "client"};

constexpr const char* kFooter =
    "Log lines on stderr start with their level: [0] is detail, [1] something that went wrong\n"
    "(a missing record, a refused request, a bad packet). A [name] after the level is the\n"
    "line's channel.";

// The digits of a whole number and nothing else ("12x" is a typo, not 12).
std::string WholeNumber(std::string& text) {
    long long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error == std::errc::result_out_of_range)
        return "number out of range: " + text;
    if (error != std::errc() || end != last || text.empty())
        return "not a number: " + text;
    return {};
}

// Counts must fit the int they are read into; the message names the range.
CLI::Range Count(int low, int high = std::numeric_limits<int>::max()) {
    return CLI::Range(low, high);
}

// The options of a machine of a network game that `play` has too, and the lockstep's own.
void AddNetPlayOptions(CLI::App& command, NetPlayOptions& options, const CLI::Validator& number) {
    command.add_option("--data", options.dataRoot, "Data folder")->capture_default_str();
    command.add_option("--frames", options.frames, "Frames to run")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));
    command.add_option("--frame-ms", options.frameMs, "Milliseconds per frame")
        ->capture_default_str()
        ->check(number)
        ->check(Count(1));
    command
        .add_option("--level", options.level,
                    "Level to play, data/Levels/NAME/NAME.level (the same on every machine)")
        ->capture_default_str();
    command
        .add_option("--spawn", options.spawn,
                    "Spawn point the players enter at (the same on every machine)")
        ->capture_default_str();
    command.add_flag("--campaign", options.campaign,
                     "Each machine's player plays the sample level's campaign from the village, "
                     "as far as the server allows (give it to every machine)");
    command
        .add_option("--class", options.classRecord,
                    "Class record of this machine's player (a new character)")
        ->capture_default_str();
    command.add_option("--character", options.characterFile,
                       "Character file of this machine's player instead of a new character");
    command.add_option("--save", options.saveFile,
                       "Where to save this machine's player (default: the --character file, "
                       "else the class's name, with the host's number on a client)");
    command.add_flag("--no-save", options.noSave, "Do not save this machine's player");
    command.add_option("--input", options.inputFile,
                       "Clicks to replay instead of the scripted driver's");
    command.add_option("--record", options.recordFile, "Write the clicks of this run here");
    command.add_option("--seed", options.seed, "Seed of the game's generators")
        ->check(number)
        ->check(CLI::Range(0u, std::numeric_limits<unsigned>::max()))
        ->each([&options](const std::string&) { options.seeded = true; });
    command
        .add_option("--checksum-every", options.checksumEvery,
                    "Print the state checksum every N frames (0: only at the end)")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));
    command
        .add_option("--progress-every", options.progressSeconds,
                    "Print a progress line every N seconds of game time (0: never)")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));
    command.add_option("--checksums", options.checksumsFile,
                       "Write each checksum taken here, as \"<frame> <checksum>\" lines");
    command.add_option("--state-dump", options.stateDumpFile,
                       "Write each character's hashed fields here whenever a checksum is taken");
    command
        .add_option("--timeout-ms", options.timeoutMs,
                    "Milliseconds to wait for the other machines at any step")
        ->capture_default_str()
        ->check(number)
        ->check(Count(1));
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv) {
    // CLI11 would only say that a command is required; name the word it did not know.
    if (argc > 1 && argv[1][0] != '-') {
        bool known = false;
        for (std::string_view command : kCommands)
            known = known || command == argv[1];
        if (!known) {
            std::fprintf(stderr,
                         "gamehost: unknown command \"%s\"; the commands are play, server and "
                         "client (see --help)\n",
                         argv[1]);
            return 2;
        }
    }

    CLI::App app{"gamehost - headless host of the game library"};
    app.require_subcommand(1);
    app.footer(kFooter);
    const CLI::Validator number(WholeNumber, "", "NUMBER");

    PlayOptions play;
    CLI::App* playCommand = app.add_subcommand("play", "Single player on the sample world");
    playCommand->add_option("--data", play.dataRoot, "Data folder")->capture_default_str();
    playCommand->add_option("--frames", play.frames, "Frames to run")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));
    playCommand->add_option("--frame-ms", play.frameMs, "Milliseconds per frame")
        ->capture_default_str()
        ->check(number)
        ->check(Count(1));
    playCommand->add_option("--level", play.level, "Level to play, data/Levels/NAME/NAME.level")
        ->capture_default_str();
    playCommand->add_option("--class", play.classRecord, "Class record of a new character")
        ->capture_default_str();
    playCommand->add_option("--character", play.characterFile,
                            "Character file to play instead of a new character");
    playCommand->add_option("--save", play.saveFile,
                            "Where to save the character (default: the --character file, else "
                            "the class's name with .chr)");
    playCommand->add_flag("--no-save", play.noSave, "Do not save the character");
    playCommand
        ->add_option("--spawn", play.spawn,
                     "Spawn point the player enters at; the reactive driver plays there (without "
                     "it the sample level's campaign starts in the village)")
        ->capture_default_str()
        ->each([&play](const std::string&) { play.spawnGiven = true; });
    playCommand->add_option("--input", play.inputFile,
                            "Clicks to replay instead of the scripted driver's");
    playCommand->add_option("--record", play.recordFile, "Write the clicks of this run here");
    playCommand->add_option("--seed", play.seed, "Seed of the game's generators")
        ->check(number)
        ->check(CLI::Range(0u, std::numeric_limits<unsigned>::max()))
        ->each([&play](const std::string&) { play.seeded = true; });
    playCommand
        ->add_option("--checksum-every", play.checksumEvery,
                     "Print the state checksum every N frames (0: only at the end)")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));
    playCommand
        ->add_option("--progress-every", play.progressSeconds,
                     "Print a progress line every N seconds of game time (0: never)")
        ->capture_default_str()
        ->check(number)
        ->check(Count(0));

    NetServerOptions server;
    CLI::App* serverCommand =
        app.add_subcommand("server", "Network server on 127.0.0.1: hosts a player and plays");
    AddNetPlayOptions(*serverCommand, server, number);
    serverCommand->add_option("--port", server.port, "Port to listen on")
        ->capture_default_str()
        ->check(number)
        ->check(Count(1, 65535));
    serverCommand->add_option("--clients", server.clients, "Clients to wait for")
        ->capture_default_str()
        ->check(number)
        ->check(Count(1, 15));

    NetClientOptions client;
    CLI::App* clientCommand =
        app.add_subcommand("client", "Network client: brings a player to the server's game");
    AddNetPlayOptions(*clientCommand, client, number);
    clientCommand->add_option("--connect", client.connect, "Server as HOST:PORT")
        ->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    if (playCommand->parsed())
        return RunPlay(play);
    if (serverCommand->parsed())
        return RunServer(server);
    if (clientCommand->parsed())
        return RunClient(client);
    return 1;
}

}  // namespace GAME
