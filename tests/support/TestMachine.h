#pragma once
// A fresh machine for one test: current while the fixture lives, with its log captured.
#include <memory>
#include <string>
#include <vector>

#include "Engine/sys/Machine.h"

namespace GAME::test {

struct LogLine {
    int level;
    std::string channel;
    std::string text;
};

class TestMachine {
public:
    // dataRoot: the records folder (empty: none).
    explicit TestMachine(const std::string& dataRoot = TestDataDir());
    ~TestMachine();

    Machine& machine() { return *mMachine; }
    const std::vector<LogLine>& Log() const { return *mLog; }
    // Lines whose text contains the fragment.
    int CountLog(const std::string& fragment) const;
    void ClearLog() { mLog->clear(); }

    static std::string TestDataDir();
    static std::string SampleDataDir();

private:
    std::unique_ptr<Machine> mMachine;
    std::unique_ptr<MachineScope> mScope;
    std::shared_ptr<std::vector<LogLine>> mLog;
};

// Makes a machine current for a block (for multi-machine tests).
#define ON_MACHINE(tm) \
    for (::GAME::MachineScope scope_((tm).machine()), *once_ = &scope_; once_; once_ = nullptr)

}  // namespace GAME::test
