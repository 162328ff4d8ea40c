// Reading the data root: whole texts even where a read may stop short, links followed to files
// only, and no descriptor left behind by the batched closing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "Engine/records/RecordDatabase.h"
#include "Engine/records/RecordFiles.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

namespace fs = std::filesystem;

fs::path FreshRoot(const std::string& what) {
    const fs::path root = fs::temp_directory_path() /
                          ("record_files_" + what + "_" +
                           std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    fs::create_directories(root / "Records");
    return root;
}

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A pipe hands its text over in pieces, as a network file system may: a read that stops short
// is not the end there, and the reader must wait for the writer to finish.
// The folding table and the branch-free dropping of separators against the rule spelt plainly,
// over every byte value, with separators and capitals common.
TEST(RecordFiles, NamesNormaliseByThePlainRuleForEveryByte) {
    auto plain = [](std::string_view name) {
        std::string out;
        for (char c : name) {
            if (c == '\\')
                c = '/';
            if (c == '/' && (out.empty() || out.back() == '/'))
                continue;
            out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return out;
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 24), kind(0, 3);
    std::string out;
    for (int i = 0; i < 20000; ++i) {
        std::string name;
        for (int n = length(rng); n > 0; --n) {
            const int k = kind(rng);
            name.push_back(k == 0 ? '/' : k == 1 ? '\\' : static_cast<char>(byte(rng)));
        }
        NormalizeRecordName(name, out);
        ASSERT_EQ(out, plain(name)) << "case " << i;
    }
    NormalizeRecordName("\\//Records\\\\Game/GAME.dbr//", out);
    EXPECT_EQ(out, "records/game/game.dbr/");
}

TEST(RecordFiles, WhereReadsMayStopShortTheWholeTextIsRead) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_FALSE(ShortReadEndsFiles(ends[0]));
    EXPECT_FALSE(ShortReadEndsFiles(-1));
    const std::string first = R"({"level": 5, )";
    const std::string second(20000, ' ');  // past the first read's room
    const std::string third = R"("last": 9})";
    ASSERT_EQ(::write(ends[1], first.data(), first.size()), static_cast<ssize_t>(first.size()));
    std::thread writer([&] {
        for (const std::string* piece : {&second, &third}) {
            std::size_t done = 0;
            while (done < piece->size()) {
                const ssize_t n = ::write(ends[1], piece->data() + done, piece->size() - done);
                if (n <= 0)
                    break;
                done += static_cast<std::size_t>(n);
            }
        }
        ::close(ends[1]);
    });
    std::string buffer;
    std::string_view text;
    const bool ok = ReadWholeFile(ends[0], buffer, text, false);
    writer.join();
    ::close(ends[0]);
    EXPECT_TRUE(ok);
    EXPECT_EQ(text.size(), first.size() + second.size() + third.size());
    EXPECT_TRUE(text == first + second + third);
}

TEST(RecordFiles, LinksCountAsTheFilesTheyLeadToAndFoldersBehindLinksAreNotWalked) {
    test::TestMachine tm{""};
    const fs::path root = FreshRoot("links");
    const fs::path outside = FreshRoot("links_outside");
    std::ofstream(outside / "Target.dbr") << R"({"level": 4})";
    std::ofstream(outside / "Records" / "Hidden.dbr") << R"({"level": 6})";
    fs::create_symlink(outside / "Target.dbr", root / "Records" / "Linked.dbr");
    fs::create_symlink(outside / "Records", root / "Records" / "Elsewhere");
    fs::create_symlink(root / "Records" / "Gone.dbr", root / "Records" / "Dangling.dbr");
    auto& db = Singleton<RecordDatabase>::Get();
    db.SetDataRoot(root);
    EXPECT_EQ(db.Get("records/linked.dbr").GetInt("level"), 4);
    EXPECT_FALSE(db.Load("records/elsewhere/hidden.dbr"));
    EXPECT_FALSE(db.Load("records/dangling.dbr"));
    EXPECT_TRUE(db.ResolveFile("records/elsewhere").empty());
    fs::remove_all(root);
    fs::remove_all(outside);
}

// Read files are closed in batches; a database that loaded any number of them, then dropped
// its root or went away, holds no descriptor.
TEST(RecordFiles, EveryDescriptorIsClosedWhenTheRootChangesOrTheDatabaseGoes) {
    const fs::path root = FreshRoot("descriptors");
    constexpr int kFiles = 75;  // not a whole number of batches
    for (int i = 0; i < kFiles; ++i)
        std::ofstream(root / "Records" / ("R" + std::to_string(i) + ".dbr"))
            << R"({"level": )" << i << "}";
    const std::size_t before = OpenDescriptors();
    {
        test::TestMachine tm{""};
        const std::size_t withMachine = OpenDescriptors();
        auto& db = Singleton<RecordDatabase>::Get();
        for (int round = 0; round < 2; ++round) {
            db.SetDataRoot(root);
            int sum = 0;
            for (int i = 0; i < kFiles; ++i)
                sum += db.Get("records/r" + std::to_string(i) + ".dbr").GetInt("level");
            EXPECT_EQ(sum, kFiles * (kFiles - 1) / 2);
        }
        db.SetDataRoot(fs::path());
        EXPECT_EQ(OpenDescriptors(), withMachine);
        db.SetDataRoot(root);
        EXPECT_EQ(db.Get("records/r3.dbr").GetInt("level"), 3);
    }
    EXPECT_EQ(OpenDescriptors(), before);
    fs::remove_all(root);
}

}  // namespace
}  // namespace GAME
