#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/QuestObjects.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/triggers/TriggerText.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class QuestEventsTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

struct DeathSpy : CreatureDeathListener {
    std::vector<std::uint32_t> deaths;
    void OnCreatureDeath(const GameEvent_CreatureDeath& event) override {
        deaths.push_back(event.objectId);
    }
};

TEST_F(QuestEventsTest, DeathsReachListenersByRecordNameOrByTheMonstersProxy) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/Quest/Boar.dbr",
                                                               R"({"Class": "Monster"})"));
    auto* boar =
        Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>("Records/Quest/Boar.dbr");
    ASSERT_NE(boar, nullptr);
    boar->SetProxyParent("Levels/Cave/BoarPen.dbr");
    QuestRepository& repo = *QuestRepository::Get();
    DeathSpy byName, byProxy, other;
    repo.AddCreatureDeath("records\\QUEST\\boar.DBR", &byName);
    repo.AddCreatureDeath("records\\QUEST\\boar.DBR", &byName);  // once only
    repo.AddCreatureDeath("Levels/Cave/BoarPen.dbr", &byProxy);
    repo.AddCreatureDeath("Records/Quest/Wolf.dbr", &other);

    GameEvent_CreatureDeath death;
    death.objectId = boar->GetObjectId();
    death.objectName = "Records/Quest/Boar.dbr";
    SendGameEvent(death, "CreatureDeath");
    EXPECT_EQ(byName.deaths, std::vector<std::uint32_t>{boar->GetObjectId()});
    EXPECT_TRUE(byProxy.deaths.empty());  // the creature's own name answered

    death.objectName = "Records/Quest/Unwatched.dbr";
    SendGameEvent(death, "CreatureDeath");
    EXPECT_EQ(byProxy.deaths, std::vector<std::uint32_t>{boar->GetObjectId()});
    EXPECT_TRUE(other.deaths.empty());
}

TEST(TriggerText, RecordNamesCompareAndShowAsTheirFiles) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {{"Records/A.dbr", "records\\a.DBR", true},
                 {"Records/A.dbr", "Records/A.dbr ", false},
                 {"", "", true},
                 {"Records/A.dbr", "Records/B.dbr", false}};
    for (const Case& c : cases)
        EXPECT_EQ(RecordNamesEqual(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(ShowRecordName("Records\\Creatures/Boar.v2.dbr"), "Boar.v2");
    EXPECT_EQ(ShowRecordName(""), "[empty]");
    EXPECT_EQ(std::string(NegatedPrefix(true)) + Highlight("Boar"), "{BNot }{BBoar}");
}

struct EntitySpy : EventHandlerInterface {
    std::vector<std::string> heard;
    const char* names[3] = {"GameEvent_GenericEntitySpawn", "GameEvent_GenericEntityInitialUpdate",
                            "GameEvent_GenericEntityDestroy"};
    EntitySpy() {
        for (const char* name : names)
            Singleton<EventManager>::Get().Register(name, this);
    }
    ~EntitySpy() override {
        for (const char* name : names)
            Singleton<EventManager>::Get().UnRegister(name, this);
    }
    void HandleEvent(const GameEvent* event) override {
        heard.push_back(static_cast<const GameEvent_GenericEntity*>(event)->objectName);
    }
};

TEST_F(QuestEventsTest, AQuestLocationAnnouncesItsLifeOnceEachAndStaysUnseen) {
    ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText("Records/Quest/Altar.dbr",
                                                               R"({"Class": "QuestLocation"})"));
    EntitySpy spy;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    auto* altar = objects.CreateObjectFromFile<QuestLocation>("Records/Quest/Altar.dbr");
    ASSERT_NE(altar, nullptr);
    altar->InitialUpdate();
    EXPECT_FALSE(altar->IsVisible());
    objects.DestroyObjectEx(altar, __FILE__, __LINE__);
    EXPECT_EQ(spy.heard, std::vector<std::string>(3, "Records/Quest/Altar.dbr"));
}

}  // namespace
}  // namespace GAME
