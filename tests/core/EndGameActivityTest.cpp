// The end-game activity: the ending theme at once, the story dialog and the portals after the
// record's delay, and the end of the activity with or without a host UI.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/ActivityManager.h"
#include "Game/core/GameEngine.h"
#include "Game/core/activities/EndGameActivity.h"
#include "Game/quests/dialog/Dialog.h"
#include "Game/quests/dialog/NpcDialogPak.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "characters/PlayerTestSupport.h"
#include "support/RecordingUI.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class EndGame : public ::testing::Test {
protected:
    EndGame() { InitializeObjects(); }
    ~EndGame() override { ShutdownObjects(); }
    TestMachine machine;
};

TEST_F(EndGame, MusicFirstThenDialogAfterTheRecordDelayThenFinishes) {
    auto* activity = new EndGameActivity();
    EXPECT_EQ(activity->GetDelay(), 1500);
    ActivityManager* manager = ActivityManager::Get();
    manager->InstallActivity(activity);
    const std::uint32_t id = activity->GetId();
    Jukebox* jukebox = gGameEngine->GetJukebox();

    manager->Update(100);
    EXPECT_TRUE(activity->HasMusicStarted());
    EXPECT_EQ(jukebox->GetEventMusic(), EndGameActivity::kMusicRecord);
    EXPECT_TRUE(jukebox->IsEventMusicOnce());
    EXPECT_FALSE(activity->HasDialogStarted());

    // Up to and including the delay nothing more happens; the music starts only once.
    for (int ms = 100; ms < 1500; ms += 100)
        manager->Update(100);
    ASSERT_TRUE(manager->IsActivityActive(id));
    EXPECT_FALSE(activity->HasDialogStarted());
    EXPECT_EQ(jukebox->GetEventMusicCount(), 1);
    EXPECT_EQ(activity->GetStoryDialog(), nullptr);

    // Past the delay: the story's pack is made and the end-game portals of the world unlock
    // (other locked objects stay locked). With no host UI to close the dialog the activity
    // never finishes; with one, it ends once the dialog is closed.
    auto& records = Singleton<RecordDatabase>::Get();
    ASSERT_TRUE(records.AddRecordText("Records/Test/EndPortal.dbr",
                                      R"({"Class": "FixedItemTyphonPortal", "locked": true})"));
    ASSERT_TRUE(records.AddRecordText("Records/Test/EndChest.dbr",
                                      R"({"Class": "FixedItemQuestObject", "locked": true})"));
    Region* region = World::Get().AddRegion(std::make_unique<Region>("Olympus"));
    std::vector<FixedItem*> placed;
    for (const char* record : {"Records/Test/EndPortal.dbr", "Records/Test/EndChest.dbr",
                               "Records/Test/EndPortal.dbr"}) {
        auto* item = Singleton<ObjectManager>::Get().CreateObjectFromFile<FixedItem>(record);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(World::Get().AddEntity(item, WorldCoords(region, Coords::Identity()), true));
        ASSERT_TRUE(item->IsLocked());
        placed.push_back(item);
    }
    manager->Update(1);
    ASSERT_NE(activity->GetStoryDialog(), nullptr);
    ASSERT_NE(activity->GetStoryDialog()->GetPrimaryDialog(), nullptr);
    EXPECT_EQ(activity->GetStoryDialog()->GetPrimaryDialog()->GetTextTag(), "tagStoryEnd");
    EXPECT_EQ(machine.CountLog("ZeusQ15_A.dbr"), 0);
    EXPECT_FALSE(placed[0]->IsLocked());
    EXPECT_TRUE(placed[1]->IsLocked());
    EXPECT_FALSE(placed[2]->IsLocked());
    for (int i = 0; i < 100; ++i)
        manager->Update(1000);
    EXPECT_TRUE(manager->IsActivityActive(id));
    EXPECT_FALSE(activity->IsFinished());
    EXPECT_EQ(jukebox->GetEventMusicCount(), 1);
    FakeGameInterface ui;
    gGameEngine->SetUI(&ui);
    manager->Update(1);
    EXPECT_FALSE(manager->IsActivityActive(id));
    gGameEngine->SetUI(nullptr);
}

TEST_F(EndGame, WithAHostUIItEndsTheGameOnceTheDialogCloses) {
    RecordingUI ui;
    ui.dialogOpen = true;
    gGameEngine->SetUI(&ui);
    auto* activity = new EndGameActivity();
    ActivityManager* manager = ActivityManager::Get();
    manager->InstallActivity(activity);
    const std::uint32_t id = activity->GetId();
    manager->Update(1600);
    manager->Update(100);
    EXPECT_TRUE(manager->IsActivityActive(id));
    EXPECT_EQ(ui.calls, std::vector<std::string>{"story"});
    ui.dialogOpen = false;
    manager->Update(100);
    EXPECT_FALSE(manager->IsActivityActive(id));
    // Once when the dialog closed, once more as the finished activity is deleted.
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"story", "end game", "end game"}));
    gGameEngine->SetUI(nullptr);
}

TEST(EndGameDefaults, DelayWithoutItsRecordIsFourSeconds) {
    TestMachine machine("");
    InitializeObjects();
    {
        EndGameActivity activity;
        EXPECT_EQ(activity.GetDelay(), EndGameActivity::kDefaultDelayMs);
        activity.Update(EndGameActivity::kDefaultDelayMs);
        EXPECT_FALSE(activity.HasDialogStarted());
        EXPECT_FALSE(activity.IsFinished());
        activity.Update(1);
        EXPECT_TRUE(activity.HasDialogStarted());
        EXPECT_EQ(
            machine.CountLog("the story dialog Records/Dialog/Story/ZeusQ15_A.dbr is missing"), 1);
        EXPECT_FALSE(activity.IsFinished());
    }
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
