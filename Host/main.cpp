// gamehost: the headless host program of the game library.
#include <CLI/CLI.hpp>

#include "Host/HostApp.h"

int main(int argc, char** argv) {
    CLI::App app{"gamehost - headless host of the game library"};
    app.require_subcommand(1);

    GAME::HostOptions play;
    CLI::App* playCommand = app.add_subcommand("play", "Single player on the sample world");
    playCommand->add_option("--data", play.dataRoot, "Data folder")->capture_default_str();
    playCommand->add_option("--frames", play.frames, "Frames to run")->capture_default_str()->check(CLI::NonNegativeNumber);
    playCommand->add_option("--frame-ms", play.frameMs, "Milliseconds per frame")->capture_default_str()->check(CLI::PositiveNumber);

    CLI11_PARSE(app, argc, argv);
    if (playCommand->parsed())
        return GAME::RunPlay(play);
    return 1;
}
