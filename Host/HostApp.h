#pragma once
// The headless host: one machine, the sample world's data, frames at a fixed step.
#include <cstdio>
#include <filesystem>
#include <string>

namespace GAME {

struct HostOptions {
    std::filesystem::path dataRoot = "data";
    int frames = 600;
    int frameMs = 33;
    std::string level = "Sample";  // data/Levels/<level>/<level>.level
};

// What `gamehost play` adds: who plays, where the input comes from, what is printed and saved.
struct PlayOptions : HostOptions {
    static constexpr const char* kDefaultClass = "Records/Characters/Players/Warden.dbr";
    std::string classRecord = kDefaultClass;
    std::filesystem::path characterFile;  // empty: a new character of the class
    std::filesystem::path saveFile;       // empty: the character file, else "Warden.chr"
    bool noSave = false;
    std::filesystem::path inputFile;   // clicks to replay instead of the scripted driver
    std::filesystem::path recordFile;  // where to write the clicks of this run
    bool seeded = false;
    unsigned seed = 0;
    int checksumEvery = 0;               // frames; 0: only at the end
    int progressSeconds = 10;            // of game time; 0: none
    std::string spawn = "CaveEntrance";  // the spawn point the player enters at
    // `play` on the sample level without --spawn plays the campaign from the village.
    bool spawnGiven = false;
};

// Points the current machine's records and texts at the data root; false when it is missing.
bool PrepareMachine(const HostOptions& options);
// One frame of the current machine: the engine's frame (game time, animations, physics), every
// entity in the world (UpdateSelf, then each character's PreAnimationUpdate, in object-id
// order), then the game root's update when a root exists.
void RunFrame(int frameMs);
// RunFrame in three steps, for a network game whose machines take each other's packets between
// them: the engine's frame (game time, clips, bodies); every entity's UpdateSelf; the
// characters' PreAnimationUpdate and the game root's update.
void RunFrameEngineStep(int frameMs);
void RunFrameEntityStep();
void RunFrameCharacterStep(int frameMs);
// What this machine's renderer does after a single-player frame: the game camera follows the
// player, its view is the one the renderer loads ahead (bodies dying in it may fall limp), and
// the characters standing inside one another in it are pushed apart. A network game leaves both
// out: each machine's camera differs, and neither may decide what all machines share.
void RunFramePresentationStep();
// Loads the level the options name and says what it holds; false, with the reason, when it
// cannot be loaded.
bool LoadLevel(const HostOptions& options);
// One line per quest of the world and one per step: where the player stands in each.
void PrintQuestLog(std::FILE* out);
// Single player: runs the frames and reports what happened; the exit code.
int RunPlay(const PlayOptions& options);

}  // namespace GAME
