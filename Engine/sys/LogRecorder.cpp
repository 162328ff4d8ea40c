#include "Engine/sys/LogRecorder.h"

#include <cassert>

#include "Engine/Engine.h"

namespace GAME {

namespace {
thread_local LogRecorder* tInnermost = nullptr;
}  // namespace

LogRecorder::LogRecorder(bool passOn) : mPassOn(passOn), mOuter(tInnermost) {
    tInnermost = this;
}

LogRecorder::~LogRecorder() {
    // Recorders live on the stack: the innermost ends first.
    assert(tInnermost == this);
    tInnermost = mOuter;
}

bool LogRecorder::Recording() {
    return tInnermost != nullptr;
}

bool LogRecorder::Keep(int level, const char* channel, const std::string& text) {
    for (LogRecorder* recorder = tInnermost; recorder != nullptr; recorder = recorder->mOuter) {
        LoggedLine& line = recorder->mLines.emplace_back();
        line.level = level;
        line.hasChannel = channel != nullptr;
        if (channel != nullptr)
            line.channel = channel;
        line.text = text;
        if (!recorder->mPassOn)
            return false;
    }
    return true;
}

void LogRecorder::Replay(const std::vector<LoggedLine>& lines) {
    for (const LoggedLine& line : lines)
        gEngine->LogChannel(line.level, line.hasChannel ? line.channel.c_str() : nullptr, "%s",
                            line.text.c_str());
}

}  // namespace GAME
