// Writing a file through a temporary: each writer has a temporary of its own, and a write past
// the process's file-size limit fails with a message instead of killing the process, leaving
// the previous file and no temporary behind.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/streams/BinaryStream.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class SaveFileSafety : public ::testing::Test {
protected:
    SaveFileSafety() {
        dir = std::filesystem::temp_directory_path() /
              ("save_safety_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        { std::ofstream(dir / "save.bin") << "old"; }
    }
    ~SaveFileSafety() override { std::filesystem::remove_all(dir); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TestMachine tm;
    std::filesystem::path dir;
};

TEST_F(SaveFileSafety, TwoWritersOfOneFileNeverShareATemporary) {
    BinaryWriter first, second;
    ASSERT_TRUE(first.OpenFile(dir / "save.bin"));
    first.WriteUInt32(1);
    first.WriteUInt32(2);
    ASSERT_TRUE(second.OpenFile(dir / "save.bin"));
    second.WriteUInt32(3);
    ASSERT_TRUE(first.Commit());
    EXPECT_EQ(std::filesystem::file_size(dir / "save.bin"), 8u);
    ASSERT_TRUE(second.Commit());
    EXPECT_EQ(std::filesystem::file_size(dir / "save.bin"), 4u);
    EXPECT_EQ(Files(), std::vector<std::string>{"save.bin"});
}

TEST_F(SaveFileSafety, AWritePastTheFileSizeLimitFailsAndLeavesThePreviousFile) {
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool committed = true;
    {
        BinaryWriter writer;
        ASSERT_TRUE(writer.OpenFile(dir / "save.bin"));
        const std::vector<std::uint8_t> block(64 * 1024, 7);
        writer.WriteBytes(block.data(), block.size());
        committed = writer.Commit();
    }
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &before), 0);
    EXPECT_FALSE(committed);
    EXPECT_EQ(tm.CountLog("save.bin failed; the previous file is kept"), 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "save.bin"), 3u);
    EXPECT_EQ(Files(), std::vector<std::string>{"save.bin"});
}

}  // namespace
}  // namespace GAME
