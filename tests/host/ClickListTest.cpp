// Click lists: what a run records reads back bit for bit, a bad line is named by file and line,
// and an unfinished recording never replaces the previous list.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Host/play/ClickList.h"

namespace GAME::test {
namespace {

class ClickListTest : public ::testing::Test {
protected:
    ClickListTest() {
        folder = std::filesystem::temp_directory_path() /
                 ("gamehost-clicks-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    ~ClickListTest() override { std::filesystem::remove_all(folder); }

    std::filesystem::path Write(const std::string& name, const std::string& text) {
        const std::filesystem::path file = folder / name;
        std::ofstream(file) << text;
        return file;
    }
    std::string ReadError(const std::filesystem::path& file) {
        std::vector<HostClick> clicks;
        std::string error;
        EXPECT_FALSE(ReadClickList(file, clicks, error));
        EXPECT_TRUE(clicks.empty());
        return error;
    }

    std::filesystem::path folder;
};

TEST_F(ClickListTest, RecordedClicksReadBackBitForBit) {
    const std::vector<HostClick> made = {
        {3, 0, "Meadow", Vec3(0.1f, -0.0f, 1e-7f), 0},
        {3, 4294967295u, "Cave", Vec3(63.999996f, 1.0f / 3.0f, 12345.678f), 0},
        {90, 17, "Meadow", Vec3(-5.5f, 0.0f, 3.0e10f), 0},
    };
    const std::filesystem::path file = folder / "run.clicks";
    {
        ClickRecorder recorder(file);
        std::string error;
        ASSERT_TRUE(recorder.Open(error)) << error;
        for (const HostClick& click : made)
            recorder.Add(click);
        ASSERT_TRUE(recorder.Commit(error)) << error;
    }
    std::vector<HostClick> read;
    std::string error;
    ASSERT_TRUE(ReadClickList(file, read, error)) << error;
    ASSERT_EQ(read.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(read[i].frame, made[i].frame);
        EXPECT_EQ(read[i].target, made[i].target);
        EXPECT_EQ(read[i].region, made[i].region);
        EXPECT_EQ(read[i].point, made[i].point) << FormatClick(read[i]);
        EXPECT_EQ(read[i].line, static_cast<int>(i) + 2);  // after the header comment
    }
}

TEST_F(ClickListTest, TwoRecordersOfOneFileNeverShareATemporary) {
    // The later commit wins whole; nothing of the other is mixed in or left behind.
    const std::filesystem::path file = folder / "run.clicks";
    ClickRecorder first(file);
    ClickRecorder second(file);
    std::string error;
    ASSERT_TRUE(first.Open(error) && second.Open(error)) << error;
    first.Add({1, 1, "Meadow", Vec3(), 0});
    second.Add({2, 2, "Cave", Vec3(), 0});
    second.Add({3, 3, "Cave", Vec3(), 0});
    ASSERT_TRUE(first.Commit(error) && second.Commit(error)) << error;
    std::vector<HostClick> read;
    ASSERT_TRUE(ReadClickList(file, read, error)) << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].region, "Cave");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ClickListTest, MalformedLinesAreNamedByFileAndLine) {
    const std::string good = "# comment\n\n5 0 Meadow 1 2 3\n";
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"6 0 Meadow 1 2", "expected 6 fields"},
        {"6 0 Meadow 1 2 3 4", "expected 6 fields"},
        {"six 0 Meadow 1 2 3", "frame is not a whole number"},
        {"-1 0 Meadow 1 2 3", "frame is not a whole number"},
        {"4 0 Meadow 1 2 3", "comes before the previous click's frame 5"},
        {"6 -3 Meadow 1 2 3", "target is not an object id"},
        {"6 4294967296 Meadow 1 2 3", "target is not an object id"},
        {"6 0 Meadow 1 2x 3", "y is not a finite number"},
        {"6 0 Meadow nan 2 3", "x is not a finite number"},
        {"6 0 Meadow 1 2 inf", "z is not a finite number"},
    };
    for (const auto& c : cases) {
        const std::filesystem::path file =
            Write("bad.clicks", good + c.line + "\n7 0 Meadow 1 2 3\n");
        const std::string error = ReadError(file);
        EXPECT_NE(error.find(file.string() + ":4: "), std::string::npos) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.line << " -> " << error;
    }
    EXPECT_NE(ReadError(folder / "missing.clicks").find("cannot be read"), std::string::npos);
}

TEST_F(ClickListTest, AnUncommittedRecordingLeavesThePreviousListWhole) {
    const std::filesystem::path file = Write("kept.clicks", "1 0 Meadow 1 2 3\n");
    {
        ClickRecorder recorder(file);
        std::string error;
        ASSERT_TRUE(recorder.Open(error));
        recorder.Add({2, 0, "Cave", Vec3(), 0});
    }
    std::vector<HostClick> read;
    std::string error;
    ASSERT_TRUE(ReadClickList(file, read, error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].region, "Meadow");
    // Nothing but the list is left in the folder: the temporary file went with the recorder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace GAME::test
