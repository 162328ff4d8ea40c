#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Engine/records/RecordDatabase.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

namespace fs = std::filesystem;

class RecordIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("record_index_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "Records" / "Deep" / "Er");
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const fs::path& relative, const std::string& text) {
        std::ofstream(root / relative, std::ios::binary) << text;
    }

    test::TestMachine tm{""};
    fs::path root;
};

// However the root is spelled (trailing slashes, "." and ".." steps), a file's record name is
// its path below the root.
TEST_F(RecordIndexTest, NamesAreThePathsBelowTheRootHoweverTheRootIsSpelled) {
    Write("Records/Deep/Er/Mixed Case.dbr", R"({"level": 3})");
    Write("Records/Top.dbr", R"({"level": 1})");
    auto& db = Singleton<RecordDatabase>::Get();
    const fs::path spellings[] = {root, root.string() + "/", root.string() + "//",
                                  root / "." / "Records" / "..",
                                  root.parent_path() / "." / root.filename()};
    for (const fs::path& spelling : spellings) {
        db.SetDataRoot(spelling);
        EXPECT_EQ(db.Get("records\\deep/er/MIXED CASE.dbr").GetInt("level"), 3) << spelling;
        EXPECT_EQ(db.Get("Records/Top.dbr").GetInt("level"), 1) << spelling;
        EXPECT_TRUE(db.ResolveFile("Records/Deep").empty()) << "folders are no records";
    }
}

// A file is read whole, whatever its size; an empty one is a malformed record, logged by name.
TEST_F(RecordIndexTest, FilesAreReadWholeAndAnEmptyOneIsReportedByName) {
    std::string big = R"({"padding": ")";
    big.append(300000, 'p');
    big += R"(", "last": 77})";
    Write("Records/Big.dbr", big);
    Write("Records/Empty.dbr", "");
    auto& db = Singleton<RecordDatabase>::Get();
    db.SetDataRoot(root);
    const LoadTable table = db.Get("Records/Big.dbr");
    EXPECT_EQ(table.GetInt("last"), 77);
    EXPECT_EQ(table.GetString("padding").size(), 300000u);
    EXPECT_FALSE(db.Load("Records/Empty.dbr"));
    EXPECT_EQ(tm.CountLog("Records/Empty.dbr"), 1);
}

}  // namespace
}  // namespace GAME
