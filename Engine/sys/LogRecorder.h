#pragma once
// Keeps the lines logged on its thread while it lives. A load whose result many owners share
// keeps what it said, so that each owner taking the result says it again where its own load
// would have.
#include <string>
#include <vector>

namespace GAME {

struct LoggedLine {
    int level = 0;
    bool hasChannel = false;
    std::string channel;
    std::string text;
};

class LogRecorder {
public:
    // passOn false keeps the lines out of the log (and out of any recorder further out).
    explicit LogRecorder(bool passOn);
    ~LogRecorder();
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    std::vector<LoggedLine> Take() { return std::move(mLines); }

    // Whether a recorder lives on this thread.
    static bool Recording();
    // The engine offers every line here first; false when the line must not reach the log.
    static bool Keep(int level, const char* channel, const std::string& text);
    // Logs the lines again through the current machine's engine (recorders see them too).
    static void Replay(const std::vector<LoggedLine>& lines);

private:
    std::vector<LoggedLine> mLines;
    bool mPassOn;
    LogRecorder* mOuter;
};

}  // namespace GAME
