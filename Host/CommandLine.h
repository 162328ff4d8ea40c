#pragma once
// The host's command line: the three modes, their options and the messages for bad arguments.

namespace GAME {

// Parses the arguments and runs the chosen mode; the process's exit code.
int RunCommandLine(int argc, const char* const* argv);

}  // namespace GAME
