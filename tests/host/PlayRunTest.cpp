// `gamehost play` end to end: bad input is named and leaves the previous save alone; a run saves
// a character that the next run plays on; the same seed and clicks give the same checksums; the
// sample world's default run is a real fight.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "HostRunSupport.h"

namespace GAME::test {
namespace {

class PlayRunTest : public ::testing::Test {
protected:
    PlayRunTest() {
        folder = std::filesystem::temp_directory_path() /
                 ("gamehost-play-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        save = (folder / "kept.chr").string();
        Write(save, kPreviousSave);
    }
    ~PlayRunTest() override { std::filesystem::remove_all(folder); }

    static constexpr const char* kPreviousSave = "the previous save, byte for byte";

    void Write(const std::filesystem::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    HostOutcome Play(std::vector<std::string> words) {
        words.insert(words.begin(), {"play", "--data", TestMachine::SampleDataDir()});
        return RunHost(words);
    }
    // The checksum lines of a run, in order.
    static std::vector<std::string> Checksums(const std::string& out) {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            if (Has(line, "checksum"))
                lines.push_back(line);
        return lines;
    }
    // A failed run: said what, did not play, and left the previous save alone.
    void ExpectRefused(const HostOutcome& run, const std::string& message) {
        EXPECT_NE(run.code, 0);
        EXPECT_TRUE(Has(run.err, message)) << run.err;
        EXPECT_FALSE(Has(run.out, "played")) << run.out;
        EXPECT_EQ(Read(save), kPreviousSave);
    }

    std::filesystem::path folder;
    std::string save;
};

TEST_F(PlayRunTest, BadInputIsNamedAndThePreviousSaveStaysWhole) {
    const std::string missing = (folder / "missing.chr").string();
    ExpectRefused(Play({"--character", missing, "--save", save}),
                  "character file " + missing + " not found");

    // A damaged file refuses itself; the same file is the default save and stays as it was.
    ExpectRefused(Play({"--character", save}), "character file " + save + " is damaged");

    ExpectRefused(Play({"--class", "Records/Characters/Players/Nobody.dbr", "--save", save}),
                  "class record Records/Characters/Players/Nobody.dbr is unknown");
    // A record of another class is no player either.
    ExpectRefused(Play({"--class", "Records/Characters/SampleHero.dbr", "--save", save}),
                  "class record Records/Characters/SampleHero.dbr");

    // A level is a name inside the data folder, never a path out of it.
    ExpectRefused(Play({"--level", "../Sample", "--save", save}),
                  "--level \"../Sample\" is not a level name");
    ExpectRefused(Play({"--level", "Atlantis", "--save", save}),
                  "level Atlantis could not be loaded");

    const std::string clicks = (folder / "bad.clicks").string();
    Write(clicks, "1 0 Meadow 1 2 3\n2 0 Meadow 1 two 3\n");
    ExpectRefused(Play({"--input", clicks, "--save", save}), clicks + ":2: y is not");
    Write(clicks, "# a region of another level\n\n1 0 Atlantis 1 2 3\n");
    ExpectRefused(Play({"--input", clicks, "--save", save}),
                  clicks + ":3: the level has no region \"Atlantis\"");
}

TEST_F(PlayRunTest, ARunSavesACharacterTheNextRunPlaysOn) {
    const std::string fresh = (folder / "fresh.chr").string();
    const HostOutcome first = Play({"--frames", "5", "--seed", "3", "--save", fresh});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_TRUE(Has(first.out, "saved " + fresh)) << first.out;
    const std::string written = Read(fresh);
    ASSERT_FALSE(written.empty());

    const HostOutcome second = Play({"--frames", "5", "--character", fresh, "--no-save"});
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_TRUE(Has(second.out, "not saved (--no-save)")) << second.out;
    EXPECT_EQ(Read(fresh), written);
    // Nothing but the two files and the quests saved with them: every save went through its
    // temporary name and was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              3);
    const std::filesystem::path quests = fresh + ".quests";
    ASSERT_TRUE(std::filesystem::is_directory(quests));
    for (const auto& entry : std::filesystem::directory_iterator(quests))
        EXPECT_TRUE(entry.path().extension() == ".que" || entry.path().extension() == ".rep")
            << entry.path();
}

TEST_F(PlayRunTest, ACharacterFileBringsTheBagTheEquipmentAndTheBarBackByteForByte) {
    const std::string fresh = (folder / "kit.chr").string();
    const std::string again = (folder / "again.chr").string();
    ASSERT_EQ(Play({"--frames", "5", "--seed", "3", "--save", fresh}).code, 0);
    const HostOutcome loaded = Play({"--frames", "0", "--character", fresh, "--save", again});
    ASSERT_EQ(loaded.code, 0) << loaded.err;
    EXPECT_TRUE(Has(loaded.out, "Warden carries Healing Draught x1")) << loaded.out;
    EXPECT_TRUE(Has(loaded.out, "Oak Shield")) << loaded.out;
    EXPECT_EQ(Read(again), Read(fresh));
}

TEST_F(PlayRunTest, TheSameSeedAndClicksGiveTheSameChecksums) {
    const std::string clicks = (folder / "run.clicks").string();
    const std::vector<std::string> common = {"--frames",         "90", "--seed",   "11",
                                             "--checksum-every", "30", "--no-save"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), common.begin(), common.end());
        return Play(more);
    };
    const HostOutcome recorded = with({"--record", clicks});
    ASSERT_EQ(recorded.code, 0) << recorded.err;
    const HostOutcome again = with({});
    const HostOutcome replayed = with({"--input", clicks});
    ASSERT_EQ(replayed.code, 0) << replayed.err;

    const std::vector<std::string> sums = Checksums(recorded.out);
    ASSERT_EQ(sums.size(), 4u) << recorded.out;  // frames 30, 60, 90 and the end
    EXPECT_EQ(Checksums(again.out), sums);
    EXPECT_EQ(Checksums(replayed.out), sums);
    EXPECT_TRUE(Has(Read(clicks), " Cave ")) << Read(clicks);  // where the player enters
}

TEST_F(PlayRunTest, TheSampleRunFightsLevelsDiesAndRespawns) {
    // The run `make run` plays: the monsters must strike back, reward kills and anger by sight.
    const HostOutcome run = Play({"--frames", "1000", "--seed", "1", "--no-save"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "joins the fight")) << run.out;
    EXPECT_TRUE(Has(run.out, "experience)")) << run.out;  // "you killed X (+N experience)"
    EXPECT_TRUE(Has(run.out, "you reached level 2")) << run.out;
    EXPECT_TRUE(Has(run.out, "you died, killed by ")) << run.out;
    EXPECT_TRUE(Has(run.out, "you respawned at ")) << run.out;
    EXPECT_FALSE(Has(run.out, ", life 0\n")) << run.out;  // back on its feet with its life
    // The kit's potion, drunk from the hot-slot bar when life ran low; a wolf's collar falls.
    EXPECT_TRUE(Has(run.out, "you drink Healing Draught from the hot-slot bar")) << run.out;
    EXPECT_TRUE(Has(run.out, "loot falls: Fang Collar")) << run.out;
    EXPECT_TRUE(Has(run.out, "Warden carries Healing Draught x1")) << run.out;

    // The host counts the kills it saw; the player's own statistics must count the same.
    int kills = -1;
    int statsKills = -2;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) {
        std::sscanf(line.c_str(), "gamehost: kills %d,", &kills);
        std::sscanf(line.c_str(), "gamehost:     Number of kills: %d", &statsKills);
    }
    EXPECT_GT(kills, 0) << run.out;
    // The statistics count a kill once the body has fallen (its death animation ended); a kill
    // in the run's last second may not be counted there yet.
    EXPECT_LE(statsKills, kills) << run.out;
    EXPECT_GE(statsKills, kills - 1) << run.out;
    EXPECT_EQ(Checksums(Play({"--frames", "1000", "--seed", "1", "--no-save"}).out),
              Checksums(run.out));
}

}  // namespace
}  // namespace GAME::test
