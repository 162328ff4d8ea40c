#include "Game/core/ActivityManager.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

// Finishes after a given number of updates and records its calls.
struct CountingActivity : GameActivity {
    explicit CountingActivity(int lifetime, std::vector<std::string>* log = nullptr,
                              std::string name = {})
        : lifetime(lifetime), log(log), name(std::move(name)) {}
    ~CountingActivity() override {
        if (log)
            log->push_back("~" + name);
    }
    void Update(int elapsedMs) override {
        ++updates;
        elapsed += elapsedMs;
        if (log)
            log->push_back(name);
        if (onUpdate)
            onUpdate();
    }
    void Render(GraphicsCanvas&) const override {}
    bool IsFinished() const override { return updates >= lifetime; }
    void AddStatisticText() override {}

    int lifetime;
    std::vector<std::string>* log;
    std::string name;
    int updates = 0;
    int elapsed = 0;
    std::function<void()> onUpdate;
};

TEST(ActivityManager, InstalledActivitiesWaitForTheNextUpdate) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    auto* activity = new CountingActivity(3);
    manager->InstallActivity(activity);
    const std::uint32_t id = activity->GetId();
    EXPECT_EQ(id, 1u);
    EXPECT_FALSE(manager->IsActivityActive(id));
    EXPECT_EQ(manager->GetActivity(id), nullptr);
    manager->Update(16);
    EXPECT_TRUE(manager->IsActivityActive(id));
    EXPECT_EQ(manager->GetActivity(id), activity);
    EXPECT_EQ(activity->elapsed, 16);
}

TEST(ActivityManager, AnActivityFinishingInItsFirstUpdateIsUpdatedOnceAndDeleted) {
    TestMachine tm;
    std::vector<std::string> log;
    ActivityManager* manager = ActivityManager::Get();
    manager->InstallActivity(new CountingActivity(1, &log, "a"));
    manager->InstallActivity(new CountingActivity(2, &log, "b"));
    manager->Update(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "~a", "b"}));
    EXPECT_FALSE(manager->IsActivityActive(1));
    EXPECT_TRUE(manager->IsActivityActive(2));
    manager->Update(10);
    EXPECT_EQ(manager->GetActiveCount(), 0u);
}

TEST(ActivityManager, AnActivityInstalledDuringAnUpdateStartsNextFrame) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    auto* parent = new CountingActivity(5);
    CountingActivity* child = nullptr;
    parent->onUpdate = [&] {
        if (!child) {
            child = new CountingActivity(5);
            manager->InstallActivity(child);
        }
    };
    manager->InstallActivity(parent);
    manager->Update(10);
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(manager->IsActivityActive(child->GetId()));
    EXPECT_EQ(child->updates, 0);
    manager->Update(10);
    EXPECT_TRUE(manager->IsActivityActive(child->GetId()));
    EXPECT_EQ(child->updates, 1);
}

TEST(ActivityManager, FastInstalledActivitiesRunInThisFrame) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    auto* activity = new CountingActivity(2);
    manager->FastInstallActivity(activity);
    EXPECT_TRUE(manager->IsActivityActive(activity->GetId()));
    manager->Update(5);
    EXPECT_EQ(activity->updates, 1);
}

TEST(ActivityManager, NullIsIgnoredAndIdsAreNeverReused) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    manager->InstallActivity(nullptr);
    manager->FastInstallActivity(nullptr);
    auto* first = new CountingActivity(1);
    manager->InstallActivity(first);
    EXPECT_EQ(first->GetId(), 1u);
    manager->Update(1);
    auto* second = new CountingActivity(1);
    manager->InstallActivity(second);
    EXPECT_EQ(second->GetId(), 2u);
}

TEST(ActivityManager, ClearLeavesPendingActivitiesAndDestroyStartsAgain) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    manager->FastInstallActivity(new CountingActivity(9));
    manager->InstallActivity(new CountingActivity(9));
    manager->Clear();
    EXPECT_EQ(manager->GetActiveCount(), 0u);
    EXPECT_EQ(manager->GetPendingCount(), 1u);
    ActivityManager::Destroy();
    auto* fresh = new CountingActivity(1);
    ActivityManager::Get()->InstallActivity(fresh);
    EXPECT_EQ(fresh->GetId(), 1u);
}

TEST(ActivityManager, EachMachineHasItsOwnManager) {
    TestMachine a;
    TestMachine b;
    ON_MACHINE(a) {
        ActivityManager::Get()->FastInstallActivity(new CountingActivity(9));
    }
    ON_MACHINE(b) {
        EXPECT_EQ(ActivityManager::Get()->GetActiveCount(), 0u);
    }
    ON_MACHINE(a) {
        EXPECT_EQ(ActivityManager::Get()->GetActiveCount(), 1u);
    }
}

// Leaving play (the host's end of the game) may clear the activities from inside one of them.
TEST(ActivityManager, ClearingFromInsideAnUpdateEndsTheFrameSafely) {
    TestMachine tm;
    ActivityManager* manager = ActivityManager::Get();
    std::vector<std::string> log;
    auto* first = new CountingActivity(9, &log, "first");
    auto* clearing = new CountingActivity(9, &log, "clearing");
    auto* last = new CountingActivity(9, &log, "last");
    manager->FastInstallActivity(first);
    manager->FastInstallActivity(clearing);
    manager->FastInstallActivity(last);
    const std::uint32_t clearingId = clearing->GetId();
    std::uint32_t lateId = 0;
    clearing->onUpdate = [&] {
        manager->Clear();
        EXPECT_FALSE(manager->IsActivityActive(clearingId));
        auto* late = new CountingActivity(1, &log, "late");
        manager->FastInstallActivity(late);
        lateId = late->GetId();
        log.push_back("still running");
    };
    manager->Update(10);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "clearing", "still running", "late", "~late",
                                             "~first", "~clearing", "~last"}));
    EXPECT_FALSE(manager->IsActivityActive(lateId));
    EXPECT_EQ(manager->GetActiveCount(), 0u);
}

}  // namespace
}  // namespace GAME
