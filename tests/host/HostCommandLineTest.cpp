#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Host/PrintableText.h"
#include "HostRunSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using Outcome = HostOutcome;

TEST(HostCommandLine, BadArgumentsAreNamedAndFail) {
    const Outcome unknown = RunHost({"plya"});
    EXPECT_NE(unknown.code, 0);
    EXPECT_TRUE(Has(unknown.err, "unknown command \"plya\"")) << unknown.err;

    const Outcome letters = RunHost({"play", "--frames", "abc"});
    EXPECT_NE(letters.code, 0);
    EXPECT_TRUE(Has(letters.err, "not a number: abc")) << letters.err;
    const Outcome range = RunHost({"server", "--clients", "16"});
    EXPECT_NE(range.code, 0);
    EXPECT_TRUE(Has(range.err, "16")) << range.err;

    const std::string file = TestMachine::SampleDataDir() + "/Records/Game/GameEngine.dbr";
    const Outcome notFolder = RunHost({"play", "--data", file});
    EXPECT_NE(notFolder.code, 0);
    EXPECT_TRUE(Has(notFolder.err, "is not a folder")) << notFolder.err;

    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / ("gamehost-empty-" + std::to_string(::getpid()));
    std::filesystem::create_directories(empty / "Text");
    const Outcome noRecords = RunHost({"play", "--data", empty.string(), "--frames", "1"});
    std::filesystem::remove_all(empty);
    EXPECT_NE(noRecords.code, 0);
    EXPECT_TRUE(Has(noRecords.err, "Records/Game/GameEngine.dbr")) << noRecords.err;
    EXPECT_FALSE(Has(noRecords.out, "played")) << noRecords.out;
}

TEST(HostCommandLine, HelpShowsTheNetworkWaitAndTheLogLevels) {
    const Outcome help = RunHost({"server", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(Has(help.out, "--timeout-ms")) << help.out;
    EXPECT_TRUE(Has(help.out, "30000")) << help.out;
    EXPECT_TRUE(Has(help.out, "[0] is detail")) << help.out;
}

TEST(HostCommandLine, PlayRunsTheSampleWorld) {
    const Outcome play =
        RunHost({"play", "--data", TestMachine::SampleDataDir(), "--frames", "3", "--no-save"});
    EXPECT_EQ(play.code, 0) << play.err;
    EXPECT_TRUE(Has(play.out, "played 3 frames (99 ms of game time)")) << play.out;
}

TEST(PrintableText, ControlCharactersAreEscapedAndTheRestKept) {
    EXPECT_EQ(PrintableText(L"plain caf\u00e9"), "plain caf\xC3\xA9");
    EXPECT_EQ(PrintableText(L"a\tb\\c\x7F\u009B2J\x01"), "a\\tb\\\\c\\x7F\\u009B2J\\x01");
    EXPECT_EQ(PrintableText(L""), "");
}

}  // namespace
}  // namespace GAME::test
