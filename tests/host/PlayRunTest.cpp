// `gamehost play` end to end: bad input is named and leaves the previous save alone; a run saves
// a character that the next run plays on; the same seed and clicks give the same checksums; the
// sample world's default run plays the campaign through, every step of it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
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
    EXPECT_TRUE(Has(Read(clicks), " Meadow ")) << Read(clicks);  // the campaign's village
}

TEST_F(PlayRunTest, TheSampleCampaignPlaysEveryStepInOrder) {
    // The run `make run` plays: each line below must appear, after the one before it.
    const HostOutcome run = Play({"--frames", "5400", "--seed", "1", "--no-save"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> story = {
        "Warden (Records/Characters/Players/Warden.dbr) enters Meadow",
        "Warden carries Healing Draught x1",
        "campaign 1/16: pick up the blade",
        "you picked up Hollow Blade",
        "you put on Hollow Blade; Warden's Short Sword goes into the bag",
        "campaign 3/16: talk to Maren",
        "the host answers yes",
        "campaign 4/16: buy and sell",
        "you buy Healing Draught from Oswin the Pedlar",
        "you sell Warden's Short Sword to Oswin the Pedlar",
        "the stone knows you",
        "asked \"Shall I lead you down the hollow path to the cave mouth?\": you say yes",
        "you bound yourself to the Waystone",
        "campaign 8/16: open the cave door",
        "the Cave Door opens",
        "you walked through the Cave Door",
        "campaign 9/16: fight through the cave",
        "you opened Old Chest",
        "campaign 10/16: touch the Deep Stone",
        "chose the Travel Stone at (8, 16) in Meadow",
        "campaign 12/16: go back to Maren",
        "you picked up Herbwife's Ring",
        "you wear Herbwife's Ring",
        "chose the Deep Stone at (12, 15) in Cave",
        "campaign 14/16: fight the Beastcaller",
        "you killed Beastcaller",
        "campaign 15/16: face the Shaman",
        "you killed Shaman",
        "campaign 16/16: fight on in the den",
        "campaign over: 16 of 16 steps reached",
        "quest \"Boar Trouble\" (Levels/Sample/Quests/BoarTrouble.quest): 2 steps, complete",
        "campaign: 16 of 16 steps done",
        "quests done 1, gold ",
        ", bosses killed ",
    };
    std::size_t from = 0;
    for (const std::string& line : story) {
        const std::size_t at = run.out.find(line, from);
        ASSERT_NE(at, std::string::npos) << "missing, or out of order: " << line << "\n" << run.out;
        from = at + line.size();
    }
    // The fights' lines, each somewhere after the step it belongs to: the skills in the cave's
    // first fight, the potion, the fall and the rise at the shrine in the lair's.
    const std::vector<std::pair<std::string, std::string>> fights = {
        {"campaign 8/16: open the cave door", "you cast Javelin"},
        {"campaign 8/16: open the cave door", "you cast War Cry"},
        {"campaign 8/16: open the cave door", "you picked up Fang Collar"},
        {"campaign 14/16: fight the Beastcaller",
         "you drink Healing Draught from the hot-slot bar"},
        {"campaign 14/16: fight the Beastcaller", "you cast Call of the Hound"},
        {"campaign 14/16: fight the Beastcaller", " comes to your side"},
        {"campaign 14/16: fight the Beastcaller", "you died, killed by "},
        {"you died, killed by ", "you respawned at (6.0, 0.0, 3.0) in Cave"},
    };
    for (const auto& [after, line] : fights) {
        const std::size_t anchor = run.out.find(after);
        ASSERT_NE(anchor, std::string::npos) << after << "\n" << run.out;
        EXPECT_NE(run.out.find(line, anchor), std::string::npos)
            << "missing after \"" << after << "\": " << line << "\n"
            << run.out;
    }
    EXPECT_FALSE(Has(run.out, "no luck with")) << run.out;  // no step given up
    EXPECT_FALSE(Has(run.out, ", life 0\n")) << run.out;    // back on its feet with its life

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
}

TEST_F(PlayRunTest, ASpawnPointPlaysTheReactiveDriverThere) {
    // --spawn leaves the campaign out: the cave's mouth, its door and Waystone, and a fight.
    const HostOutcome run =
        Play({"--frames", "300", "--seed", "1", "--no-save", "--spawn", "CaveEntrance"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Warden (Records/Characters/Players/Warden.dbr) enters Cave"));
    EXPECT_FALSE(Has(run.out, "campaign")) << run.out;
    EXPECT_TRUE(Has(run.out, "you bound yourself to the Waystone")) << run.out;
    EXPECT_TRUE(Has(run.out, "joins the fight")) << run.out;
}

}  // namespace
}  // namespace GAME::test
