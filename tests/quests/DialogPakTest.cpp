// Dialog lines and packs: which line a pack says next, when a line ends, and the merchant's
// groups by mode.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/MerchantDialogPak.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

struct CountingCallback : VoidCallbackFunctor {
    void operator()(int) override { ++calls; }
    int calls = 0;
};

class DialogPaks : public ::testing::Test {
protected:
    DialogPaks() { LocalizationManager::Instance().SetText("SimpleStringFormat", L"%s"); }

    // The text tag of each line the pack says, ending each at once.
    static std::vector<std::string> Say(NpcDialogPak& pack, int times) {
        std::vector<std::string> said;
        for (int i = 0; i < times; ++i) {
            pack.Speak(nullptr);
            Dialog* current = pack.GetCurrentDialog();
            said.push_back(current ? current->GetTextTag() : "");
            pack.Stop();
        }
        return said;
    }
    TestMachine tm;
};

TEST_F(DialogPaks, APackChoosesItsLinesAsItsRecordSays) {
    std::unique_ptr<NpcDialogPak> only(NpcDialogPak::Spawn("Records/Dialog/DefaultOnly.dbr"));
    ASSERT_TRUE(only);
    EXPECT_EQ(Say(*only, 3), (std::vector<std::string>{"tagHello", "tagHello", "tagHello"}));
    EXPECT_EQ(only->GetShortGreetingTimerTime(), 2);
    EXPECT_FLOAT_EQ(only->GetResetDistance(), 6.0f);

    // Absent numbers leave no gap: lines 1 and 3 are the two numbered lines.
    std::unique_ptr<NpcDialogPak> two(NpcDialogPak::Spawn("Records/Dialog/TwoLines.dbr"));
    ASSERT_EQ(two->GetNumberedDialogCount(), 2u);
    const std::vector<std::string> said = Say(*two, 5);
    EXPECT_EQ(said[0], "tagHello");
    const std::set<std::string> both{"tagOne", "tagTwo"};
    EXPECT_EQ(std::set<std::string>(said.begin() + 1, said.begin() + 3), both);
    EXPECT_EQ(std::set<std::string>(said.begin() + 3, said.begin() + 5), both);

    EXPECT_EQ(NpcDialogPak::Spawn("Records/Dialog/Missing.dbr"), nullptr);
    std::unique_ptr<NpcDialogPak> empty(NpcDialogPak::Spawn());
    EXPECT_EQ(Say(*empty, 1), std::vector<std::string>{""});
    EXPECT_EQ(empty->GetPrimaryDialog(), nullptr);
}

TEST_F(DialogPaks, IrritationComesWhenTheRoundTripsAreSpentAndStaysUntilReset) {
    std::unique_ptr<NpcDialogPak> pack(NpcDialogPak::Spawn("Records/Dialog/Irritable.dbr"));
    // Greeting, both lines once; then the round trip is spent.
    const std::vector<std::string> said = Say(*pack, 5);
    EXPECT_EQ(said[0], "tagHello");
    EXPECT_NE(said[1], "tagEnough");
    EXPECT_NE(said[2], "tagEnough");
    EXPECT_EQ(said[3], "tagEnough");
    EXPECT_EQ(said[4], "tagEnough");
    EXPECT_TRUE(pack->IsIrritated());
    pack->ResetIrritation();
    EXPECT_FALSE(pack->IsIrritated());
    EXPECT_NE(Say(*pack, 1)[0], "tagEnough");

    // No round trips given: the first Speak that reaches the numbered lines is irritated.
    std::unique_ptr<NpcDialogPak> atOnce(NpcDialogPak::Spawn("Records/Dialog/IrritableAtOnce.dbr"));
    EXPECT_EQ(Say(*atOnce, 2), (std::vector<std::string>{"tagHello", "tagEnough"}));
}

TEST_F(DialogPaks, ALineEndsAfterItsSoundOrItsSilentTimeAndSaysSoOnce) {
    struct Case {
        const char* audio;
        bool speaking;
        int playback;
        int endsAfterMs;
    } cases[] = {{"", false, -1, Dialog::kSilentTimeMs},
                 {"Sounds/Dialog/Hello.wav", true, 1500, 1500},
                 {"Sounds/Dialog/NoSuchFile.wav", false, -1, Dialog::kSilentTimeMs}};
    for (const Case& c : cases) {
        Dialog line("tagHello", c.audio, 1.0f);
        CountingCallback done;
        line.Speak(&done);
        EXPECT_EQ(line.IsSpeaking(), c.speaking) << c.audio;
        EXPECT_EQ(line.GetPlaybackTime(), c.playback) << c.audio;
        EXPECT_TRUE(line.HasBeenPlayed());
        gEngine->AdvanceGameTime(static_cast<std::uint32_t>(c.endsAfterMs - 1));
        line.Update(c.endsAfterMs - 1);
        EXPECT_EQ(done.calls, 0) << c.audio;
        gEngine->AdvanceGameTime(1);
        line.Update(1);
        line.Update(1);
        EXPECT_EQ(done.calls, 1) << c.audio;
        EXPECT_FALSE(line.IsSpeaking());
    }
    Dialog line("tagHello", "", 0.5f);
    line.SetVolumeFade(0.5f);
    LocalizationManager::Instance().SetText("tagHello", L"Hello there");
    EXPECT_EQ(line.GetText(), L"Hello there");
}

TEST_F(DialogPaks, APackTellsItsCallerWhenItsLineEnds) {
    std::unique_ptr<NpcDialogPak> pack(NpcDialogPak::Spawn("Records/Dialog/DefaultOnly.dbr"));
    CountingCallback done;
    pack->Speak(&done);
    EXPECT_TRUE(pack->IsSpeaking());
    // A second Speak while the line runs changes nothing.
    Dialog* first = pack->GetCurrentDialog();
    pack->Speak(nullptr);
    EXPECT_EQ(pack->GetCurrentDialog(), first);
    gEngine->AdvanceGameTime(1500);
    pack->Update(1500);
    EXPECT_EQ(done.calls, 1);
    EXPECT_EQ(pack->GetCurrentDialog(), nullptr);
    EXPECT_EQ(pack->GetPlaybackTime(), -1);
}

TEST_F(DialogPaks, AMerchantSaysALineOfTheGroupItsModeNames) {
    std::unique_ptr<MerchantDialogPak> pack(
        MerchantDialogPak::Spawn("Records/Dialog/Merchant.dbr"));
    ASSERT_TRUE(pack);
    // Present lines fill their group from the first slot.
    EXPECT_NE(pack->GetGroupDialog(MerchantDialogPak::Long, 1), nullptr);
    EXPECT_EQ(pack->GetGroupDialog(MerchantDialogPak::Long, 2), nullptr);
    EXPECT_NE(pack->GetGroupDialog(MerchantDialogPak::Goodbye, 0), nullptr);
    struct Case {
        int mode;
        std::set<std::string> lines;
    } cases[] = {{MerchantDialogPak::Greeting, {"tagLongA", "tagLongB"}},
                 {MerchantDialogPak::Long, {"tagLongA", "tagLongB"}},
                 {MerchantDialogPak::Short, {"tagShort"}},
                 {MerchantDialogPak::Goodbye, {""}},
                 {7, {"none"}}};
    for (const Case& c : cases) {
        pack->SetMode(c.mode);
        std::set<std::string> said;
        for (int i = 0; i < 4; ++i) {
            pack->Speak(nullptr);
            Dialog* line = pack->GetCurrentDialog();
            said.insert(line ? line->GetTextTag() : "none");
        }
        EXPECT_EQ(said, c.lines) << c.mode;
    }
    EXPECT_EQ(pack->GetPlaybackTime(), 0);
    EXPECT_EQ(pack->GetPrimaryDialog(), nullptr);
    EXPECT_FALSE(pack->IsIrritated());

    std::unique_ptr<MerchantDialogPak> greeting(
        MerchantDialogPak::Spawn("Records/Dialog/GreetingMerchant.dbr"));
    greeting->Speak(nullptr);
    EXPECT_EQ(greeting->GetCurrentDialog()->GetTextTag(), "tagWelcome");
}

}  // namespace
}  // namespace GAME::test
