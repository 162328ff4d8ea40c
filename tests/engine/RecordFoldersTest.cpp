// Files open relative to their folder while the folder is held open, by their whole path past
// the number of folders held: either way every record loads, with its own contents.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Engine/records/RecordDatabase.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

namespace fs = std::filesystem;

TEST(RecordFolders, RecordsInMoreFoldersThanAreHeldOpenAllLoad) {
    test::TestMachine tm{""};
    const fs::path root =
        fs::temp_directory_path() /
        ("record_folders_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    constexpr int kFolders = 100;  // beyond the folders held open
    for (int f = 0; f < kFolders; ++f) {
        const fs::path folder = root / "Records" / ("F" + std::to_string(f)) / "Sub";
        fs::create_directories(folder);
        for (int r = 0; r < 3; ++r)
            std::ofstream(folder / ("R" + std::to_string(r) + ".dbr"))
                << R"({"level": )" << f * 10 + r << "}";
    }
    auto& db = Singleton<RecordDatabase>::Get();
    db.SetDataRoot(root);
    int wrong = 0;
    for (int round = 0; round < 2; ++round) {  // the second round reads the cache
        for (int f = 0; f < kFolders; ++f)
            for (int r = 0; r < 3; ++r) {
                const std::string name =
                    "records/f" + std::to_string(f) + "/SUB/r" + std::to_string(r) + ".dbr";
                wrong += db.Get(name).GetInt("level", -1) != f * 10 + r;
            }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(tm.CountLog("Record"), 0);
    // A new root forgets the folders of the old one.
    db.SetDataRoot(root / "Records" / "F7");
    EXPECT_EQ(db.Get("sub/r2.dbr").GetInt("level"), 72);
    EXPECT_FALSE(db.Load("records/f7/sub/r2.dbr"));
    fs::remove_all(root);
}

// Records are read without asking their size: long ones (past the first read's room, or
// filling a room exactly) come whole, and a short one after them is not mixed with their text.
TEST(RecordFolders, RecordsOfAnyLengthAreReadWhole) {
    test::TestMachine tm{""};
    const fs::path root =
        fs::temp_directory_path() /
        ("record_lengths_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    fs::create_directories(root / "Records");
    const std::string head = R"({"level": 7, "text": ")";
    const std::string tail = R"("})";
    // Whole files of 8 KiB and 16 KiB exactly, and longer ones.
    const std::size_t lengths[] = {8192, 16384, 8193, 100000, 40};
    for (std::size_t i = 0; i < std::size(lengths); ++i) {
        const std::size_t filler = lengths[i] - head.size() - tail.size();
        std::ofstream(root / "Records" / ("L" + std::to_string(i) + ".dbr"), std::ios::binary)
            << head << std::string(filler, static_cast<char>('a' + i)) << tail;
    }
    auto& db = Singleton<RecordDatabase>::Get();
    db.SetDataRoot(root);
    for (std::size_t i = 0; i < std::size(lengths); ++i) {
        const LoadTable record = db.Get("records/l" + std::to_string(i) + ".dbr");
        EXPECT_EQ(record.GetInt("level", -1), 7) << lengths[i];
        const std::string text = record.GetString("text", "");
        EXPECT_EQ(text.size(), lengths[i] - head.size() - tail.size()) << lengths[i];
        EXPECT_EQ(text.find_first_not_of(static_cast<char>('a' + i)), std::string::npos);
    }
    EXPECT_EQ(tm.CountLog("Record"), 0);
    fs::remove_all(root);
}

}  // namespace
}  // namespace GAME
