#include "support/TestMachine.h"

#include "Engine/Engine.h"
#include "Engine/records/RecordDatabase.h"

namespace GAME::test {

TestMachine::TestMachine(const std::string& dataRoot)
    : mMachine(std::make_unique<Machine>()), mLog(std::make_shared<std::vector<LogLine>>()) {
    mScope = std::make_unique<MachineScope>(*mMachine);
    auto log = mLog;
    gEngine->SetLogSink([log](int level, const char* channel, const std::string& text) {
        log->push_back({level, channel ? channel : "", text});
    });
    if (!dataRoot.empty())
        Singleton<RecordDatabase>::Get().SetDataRoot(dataRoot);
}

TestMachine::~TestMachine() {
    mScope.reset();
    mMachine.reset();
}

int TestMachine::CountLog(const std::string& fragment) const {
    int count = 0;
    for (const auto& line : *mLog)
        if (line.text.find(fragment) != std::string::npos)
            ++count;
    return count;
}

std::string TestMachine::TestDataDir() {
    return GAME_TEST_DATA_DIR;
}

std::string TestMachine::SampleDataDir() {
    return std::string(GAME_SOURCE_DIR) + "/data";
}

}  // namespace GAME::test
