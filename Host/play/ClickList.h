#pragma once
// Click lists on disk, so that a run can be replayed: one click a line,
// "<frame> <target id> <region> <x> <y> <z>", frames in order; '#' starts a comment line.
// Points are written with nine significant digits, so a float reads back bit for bit.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Engine/streams/BinaryStream.h"
#include "Host/play/HostClick.h"

namespace GAME {

// Reads the whole list; false with "FILE:LINE: what is wrong" (or the file's problem) in
// `error`, and `clicks` left empty.
bool ReadClickList(const std::filesystem::path& file, std::vector<HostClick>& clicks,
                   std::string& error);

// One line of the list.
std::string FormatClick(const HostClick& click);

// Writes the clicks of a run under a temporary name and renames it into place at Commit, so an
// interrupted run leaves the previous list whole.
class ClickRecorder {
public:
    explicit ClickRecorder(std::filesystem::path file);
    ~ClickRecorder();
    ClickRecorder(const ClickRecorder&) = delete;
    ClickRecorder& operator=(const ClickRecorder&) = delete;

    // False with the reason when the temporary file cannot be made.
    bool Open(std::string& error);
    void Add(const HostClick& click);
    bool Commit(std::string& error);

private:
    std::filesystem::path mFile;
    BinaryWriter mOut;
    bool mOpen = false;
};

}  // namespace GAME
