#include "WorldTestSupport.h"

#include <unistd.h>

#include "support/TestMachine.h"

namespace GAME::test {

SampleLevelCopy::SampleLevelCopy() {
    static int counter = 0;
    mRoot = std::filesystem::temp_directory_path() /
            ("world_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(mRoot);
    std::filesystem::create_directories(mRoot / "Levels");
    std::filesystem::copy(std::filesystem::path(TestMachine::SampleDataDir()) / "Levels/Sample",
                          mRoot / "Levels/Sample", std::filesystem::copy_options::recursive);
    std::filesystem::remove(mRoot / "Levels/Sample/Sample.navcache");
}

SampleLevelCopy::~SampleLevelCopy() {
    std::error_code ec;
    std::filesystem::remove_all(mRoot, ec);
}

}  // namespace GAME::test
