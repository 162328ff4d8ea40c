// What the root prepares for the host's UI: a bounded notification queue drained oldest first,
// the map's name from the mod and level, and the camera's field of view in degrees.
#include <gtest/gtest.h>

#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class UIServices : public ::testing::Test {
protected:
    UIServices() : machine(TestMachine::SampleDataDir()) {
        InitializeObjects();
        LocalizationManager::Instance().LoadFile(TestMachine::SampleDataDir() +
                                                 "/Text/English.txt");
    }
    ~UIServices() override { ShutdownObjects(); }
    TestMachine machine;
};

TEST_F(UIServices, NotificationsAreTakenOldestFirstAndANeverDrainedQueueStaysBounded) {
    GameEngine& root = *gGameEngine;
    EXPECT_EQ(root.TakeTopNotification().type, 0);  // empty: a harmless default
    root.AddUINotificationTag(3, std::vector<std::string>{"tagA", "tagB"}, false);
    root.AddUINotification(4, std::vector<std::wstring>{L"x"}, false);
    root.AddUINotification(4, L"x", false);  // the same as the newest: dropped
    ASSERT_EQ(root.GetNumNotifications(), 2);
    const GameEngine::UINotification first = root.TakeTopNotification();
    EXPECT_EQ(first.type, 3);
    EXPECT_EQ(first.tags, (std::vector<std::string>{"tagA", "tagB"}));
    EXPECT_EQ(root.TakeTopNotification().texts, std::vector<std::wstring>{L"x"});
    EXPECT_EQ(root.GetNumNotifications(), 0);

    // A UI that never drains: the queue keeps the newest, and the newest is last.
    for (int i = 0; i < 1000; ++i)
        root.AddUINotification(1, std::to_wstring(i), false);
    EXPECT_EQ(root.GetNumNotifications(), static_cast<int>(GameEngine::kMaxNotifications));
    EXPECT_EQ(root.TakeTopNotification().texts.front(),
              std::to_wstring(1000 - GameEngine::kMaxNotifications));
    EXPECT_EQ(root.GetUINotifications().back().texts.front(), L"999");
}

TEST_F(UIServices, TheMapIsNamedByTheModAndTheLevelFilesLastPart) {
    GameInfo& info = Singleton<GameInfo>::Get();
    const struct {
        const char* mod;
        const char* level;
        const wchar_t* name;
    } cases[] = {
        {"", "Levels/Sample/Sample.level", L"The Sample Vale"},
        {"Greenwood", "Levels/Sample/Sample.level", L"Greenwood ~ Sample.level"},
        {"Greenwood", "Plain.level", L"Greenwood ~ Plain.level"},
    };
    for (const auto& c : cases) {
        info.SetModName(c.mod);
        info.SetLevelName(c.level);
        EXPECT_EQ(gGameEngine->GetMapName(), c.name) << c.mod << " " << c.level;
    }
}

TEST_F(UIServices, CameraFieldOfViewIsGivenInDegrees) {
    gGameEngine->SetCameraFOV(45.0f);
    EXPECT_FLOAT_EQ(gGameEngine->GetCamera()->GetCameraFOV(), 45.0f * 0.017453292f);
}

}  // namespace
}  // namespace GAME::test
