#pragma once
// Hooks for assertion reports: the host installs a handler and a log path. The game makes no
// such reports of its own; the settings belong to the machine.
#include <string>

namespace GAME {

using AssertHandlerFunction = void (*)(const char* message);

struct AssertHandlerSettings {
    AssertHandlerFunction handler = nullptr;
    bool firstFlag = false;
    bool secondFlag = false;
    std::string logPath;
};

void InitializeAssertHandler(AssertHandlerFunction handler, bool firstFlag, bool secondFlag);
void SetAssertHandlerLogPath(const char* path);
const AssertHandlerSettings& GetAssertHandlerSettings();

}  // namespace GAME
