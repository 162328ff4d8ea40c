#pragma once
// The headless host: one machine, the sample world's data, frames at a fixed step.
#include <filesystem>
#include <string>

namespace GAME {

struct HostOptions {
    std::filesystem::path dataRoot = "data";
    int frames = 600;
    int frameMs = 33;
};

// Points the current machine's records and texts at the data root; false when it is missing.
bool PrepareMachine(const HostOptions& options);
// One frame of the current machine: the engine's frame (game time, animations, physics), then
// the game root's update when a root exists.
void RunFrame(int frameMs);
// Single player: runs the frames and reports what happened; the exit code.
int RunPlay(const HostOptions& options);

}  // namespace GAME
