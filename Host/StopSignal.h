#pragma once
// Ctrl-C (SIGINT) and SIGTERM end a run at the next frame instead of killing the process: the
// summary is printed and the character saved as at a normal end (saves are written under a
// temporary name and renamed, so no half-written file is left either way). The handler only
// notes the signal.
namespace GAME {

// Installs the handlers for the rest of the process.
void InstallStopSignals();
// The signal that asked the run to stop; 0 when none did.
int StopSignalReceived();

}  // namespace GAME
