// Sideline conversations and the dialog queue: a conversation record's lines in record order
// (a line without a speaker left out), the speakers' lines handed out one by one, the lists of
// the conversation manager (a busy conversation disabled finishes first, a pack enabled twice
// stays one pack listing its conversations once), a conversation started and spoken to its end
// by the manager; the dialog queue's oldest-first answers and its empty top.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/characters/npc/Npc.h"
#include "Game/core/GameEngine.h"
#include "Game/core/GameEventListener.h"
#include "Game/quests/DialogManager.h"
#include "Game/quests/conversation/ConversationEvents.h"
#include "Game/quests/conversation/NpcConversationManager.h"
#include "Game/world/WorldRandom.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kPak = "T/Pak.dbr";

class Conversations : public ::testing::Test {
protected:
    Conversations() {
        InitializeObjects();
        region = World::Get().AddRegion(std::make_unique<Region>("Square"));
        auto& records = Singleton<RecordDatabase>::Get();
        // Line 3 names no speaker; speaker 2 speaks before speaker 1 is done.
        EXPECT_TRUE(records.AddRecordText("T/Talk.dbr", R"({
            "dialogTag1": "a1", "dialogSpeaker1": 1, "dialogTag2": "b1", "dialogSpeaker2": 2,
            "dialogTag3": "lost", "dialogSpeaker3": 0, "dialogTag4": "a2", "dialogSpeaker4": 1,
            "dialogTag5": "", "dialogSpeaker5": 2})"));
        EXPECT_TRUE(records.AddRecordText(
            kPak, R"({"allConversations": ["T/Talk.dbr", "T/Missing.dbr"]})"));
        EXPECT_TRUE(records.AddRecordText("T/Talker.dbr", R"({"Class": "Npc",
            "conversationPak": "T/Pak.dbr"})"));
    }
    ~Conversations() override { ShutdownObjects(); }

    Npc* Place(float x) {
        auto* npc = Singleton<ObjectManager>::Get().CreateObjectFromFile<Npc>("T/Talker.dbr");
        const WorldCoords at(region, Coords::FromOrigin(Vec3(x, 0, 0)));
        World::Get().AddEntity(npc, at, false);
        npc->SetSpawnPoint(at);
        npc->InitialUpdate();
        return npc;
    }
    static std::vector<std::string> Speak(Conversation& conversation,
                                          std::vector<std::uint32_t>* speakers = nullptr) {
        std::vector<std::string> tags;
        std::uint32_t actor = 0;
        std::string tag;
        while (conversation.GetNextSpeakerAndSpeech(actor, tag)) {
            tags.push_back(tag);
            if (speakers)
                speakers->push_back(actor);
        }
        EXPECT_EQ(actor, 0u);
        EXPECT_TRUE(tag.empty());
        return tags;
    }

    TestMachine tm{TestMachine::SampleDataDir()};
    Region* region = nullptr;
};

TEST_F(Conversations, LinesKeepTheRecordsOrderAndEachSpeakerItsOwn) {
    NpcConversationManager& manager = NpcConversationManager::Get();
    manager._EnableConversationPak(kPak);
    ASSERT_EQ(manager.GetAvailableConversations().size(), 1u);  // the missing record left out
    Conversation& talk = *manager.GetAvailableConversations().front();
    EXPECT_EQ(talk.GetNumberOfConversationalists(), 2);
    talk.SetConversationActors({7, 8});
    CrtGenerator random;
    talk.OnBeginConverse(random);
    std::vector<std::uint32_t> speakers;
    EXPECT_EQ(Speak(talk, &speakers), (std::vector<std::string>{"a1", "b1", "a2"}));
    EXPECT_EQ(speakers, (std::vector<std::uint32_t>{7, 8, 7}));
    // Begun again, it starts over.
    talk.OnBeginConverse(random);
    EXPECT_EQ(Speak(talk).size(), 3u);
}

TEST_F(Conversations, TheManagersListsFollowStartsEndsAndDisables) {
    NpcConversationManager& manager = NpcConversationManager::Get();
    manager._EnableConversationPak(kPak);
    manager._EnableConversationPak(kPak);
    EXPECT_EQ(manager.GetPakCount(), 1u);
    ASSERT_EQ(manager.GetAvailableConversations().size(), 1u);
    Conversation* talk = manager.GetAvailableConversations().front();
    manager._MakeEnabled(1u);
    manager._MakeEnabled(2u);
    manager._MakeEnabled(2u);

    manager.OnStartConversation(talk, {1, 2}, WorldVec3(region, Vec3()));
    EXPECT_EQ(manager.GetBusyConversations(), std::vector<Conversation*>{talk});
    EXPECT_TRUE(manager.GetAvailableConversations().empty());
    EXPECT_EQ(manager.GetUnavailableNpcs(), (std::vector<std::uint32_t>{1, 2}));
    // A pack enabled again while its conversation runs: still busy, listed once.
    manager._EnableConversationPak(kPak);
    EXPECT_TRUE(manager.GetAvailableConversations().empty());

    // Disabled while busy: it finishes, then it is disabled instead of available.
    manager._DisableConversationPak(kPak);
    EXPECT_TRUE(talk->IsPendingDisable());
    talk->OnEndConverse();
    std::vector<std::uint32_t> available;
    manager.GetAvailableNpcsList(available);
    EXPECT_EQ(available, (std::vector<std::uint32_t>{1, 2}));
    EXPECT_TRUE(manager.GetBusyConversations().empty());
    EXPECT_TRUE(manager.GetAvailableConversations().empty());
    EXPECT_EQ(manager.GetDisabledConversations(), std::vector<Conversation*>{talk});

    manager._EnableConversationPak(kPak);
    EXPECT_EQ(manager.GetAvailableConversations(), std::vector<Conversation*>{talk});
    EXPECT_TRUE(manager.GetDisabledConversations().empty());
    manager._MakeDisabled(2u);
    manager.GetAvailableNpcsList(available);
    EXPECT_EQ(available, std::vector<std::uint32_t>{1});
}

struct Ear {
    Ear() : line("GameEvent_SidelineConversationLine") { line.SetOwner(this, &Ear::On); }
    void On(const GameEvent_SidelineConversationLine& event) {
        heard.push_back(std::to_string(event.speakerId) + ":" + event.tag);
    }
    GameEventListener<Ear, GameEvent_SidelineConversationLine> line;
    std::vector<std::string> heard;
};

TEST_F(Conversations, NeighboursWhoseRecordsNameAPackTalkWhenItIsTime) {
    Ear ear;
    const Npc* first = Place(0.0f);
    const Npc* second = Place(3.0f);
    Place(40.0f);  // too far off to join
    NpcConversationManager& manager = NpcConversationManager::Get();
    for (int ms = 0; ms < NpcConversationManager::kFirstStartMs; ms += 100)
        gGameEngine->Update(100);
    ASSERT_EQ(manager.GetBusyConversations().size(), 1u);
    for (int ms = 0; ms < 4 * NpcConversationManager::kLineMs; ms += 100)
        gGameEngine->Update(100);
    const std::string a = std::to_string(first->GetObjectId());
    const std::string b = std::to_string(second->GetObjectId());
    EXPECT_EQ(ear.heard, (std::vector<std::string>{a + ":a1", b + ":b1", a + ":a2"}));
    EXPECT_TRUE(manager.GetBusyConversations().empty());
    // Not again before the rest between two conversations is over.
    gGameEngine->Update(NpcConversationManager::kRestMs / 2);
    EXPECT_TRUE(manager.GetBusyConversations().empty());
}

TEST_F(Conversations, TheDialogQueueHandsOutTheOldestAndNothingWhenEmpty) {
    DialogManager dialogs;
    EXPECT_EQ(dialogs.PeekTopDialog(), nullptr);
    dialogs.RemoveTopDialog();
    LocalizationManager::Instance().SetText("tagAsk", L"Trade with %s?");
    dialogs.AddDialog(1, true, 3, std::string("tagAsk"), false, 0, true);
    dialogs.AddDialog(0, false, 12, std::wstring(L"Hello"), true, false);
    ASSERT_EQ(dialogs.GetNumDialog(), 2);
    const DialogManager::Dialog* top = dialogs.PeekTopDialog();
    EXPECT_EQ(top->party, 3u);
    EXPECT_EQ(top->type, 1u);
    EXPECT_EQ((std::vector<bool>{top->flag1, top->flag2, top->flag3}),
              (std::vector<bool>{false, true, true}));
    dialogs.RemoveTopDialog();
    EXPECT_EQ(dialogs.PeekTopDialog()->text, L"Hello");

    dialogs.AddResponse({6, true});
    dialogs.AddResponse({3, false});
    dialogs.AddResponse({6, false});
    EXPECT_EQ(dialogs.GetNumResponsesFor(6), 2);
    EXPECT_TRUE(dialogs.GetResponseFor(6).answer);
    EXPECT_EQ(dialogs.GetNumResponsesFor(6), 1);
    EXPECT_EQ(dialogs.GetNumResponsesFor(3), 1);
    const DialogManager::YesNoResponse none = dialogs.GetResponseFor(7);
    EXPECT_EQ(none.party, 0u);
    EXPECT_FALSE(none.answer);
}

}  // namespace
}  // namespace GAME::test
