#pragma once
// Runs the host's command line in the test process on a fresh machine and keeps what it said.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Host/CommandLine.h"
#include "support/TestMachine.h"

namespace GAME::test {

// All that was written to the file so far (read from its start).
inline std::string WrittenTo(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

struct HostOutcome {
    int code = 0;
    std::string out;
    std::string err;
};

inline HostOutcome RunHost(std::vector<std::string> words) {
    words.insert(words.begin(), "gamehost");
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    TestMachine tm;
    HostOutcome outcome;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    outcome.code = RunCommandLine(static_cast<int>(argv.size()), argv.data());
    outcome.err = testing::internal::GetCapturedStderr();
    outcome.out = testing::internal::GetCapturedStdout();
    return outcome;
}

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace GAME::test
