#include <gtest/gtest.h>

#include <unistd.h>
#include <string>

#include "Engine/Engine.h"
#include "Engine/streams/PropertyText.h"
#include "Engine/triggers/Trigger.h"
#include "Game/core/GameEngine.h"
#include "Game/quests/Quest.h"
#include "Game/quests/QuestRepository.h"
#include "Game/quests/QuestStep.h"
#include "quests/QuestTestKinds.h"
#include "support/TestMachine.h"

namespace GAME {
namespace test {
GAME_TRIGGER_CONDITION_KIND(Condition_TestSwitch)
GAME_TRIGGER_ACTION_KIND(Action_TestCounter)
}  // namespace test

namespace {

using test::Action_TestCounter;
using test::TestMachine;

// A trigger of the text form: conditions by kind name, actions as (label, canDelay, canReFire).
std::string TriggerText(const std::vector<std::string>& conditions,
                        const std::vector<std::string>& actions, bool exclusive = false) {
    std::string text = R"([{"trigger": [{"displayTag": "t"}, {"conditions": [{"max": )" +
                       std::to_string(conditions.size()) + "}";
    for (const auto& kind : conditions)
        text += R"(, {"condition": [{"name": ")" + kind +
                R"("}, {"negated": false}, {"exclusive": )" + (exclusive ? "true" : "false") +
                "}]}";
    text += R"(]}, {"actions": [{"max": )" + std::to_string(actions.size()) + "}";
    for (const auto& action : actions)
        text += R"(, {"action": [{"name": "Action_TestCounter"}, )" + action + "]}";
    return text + "]}]}]";
}

std::string StepText(const std::string& name, const std::string& enabling,
                     const std::vector<std::string>& triggers, const std::string& completion) {
    std::string text = R"({"step": [{"properties": [{"name": ")" + name +
                       R"("}, {"enablingTokenFunction": ")" + enabling +
                       R"("}, {"nextTaskDescription": "after )" + name +
                       R"("}]}, {"triggers": [{"max": )" + std::to_string(triggers.size()) + "}";
    for (const auto& trigger : triggers)
        text += ", " + trigger.substr(1, trigger.size() - 2);
    return text + R"(]}, {"completion": [)" + completion.substr(1, completion.size() - 2) + "]}]}";
}

std::string QuestText(const std::vector<std::string>& steps) {
    std::string text =
        R"([{"quest": [{"title": "Boar Trouble"}, {"rewardGold": 40}]}, {"steps": [{"max": )" +
        std::to_string(steps.size()) + "}";
    for (const auto& step : steps)
        text += ", " + step;
    return text + "]}]";
}

const std::string kNoTrigger = TriggerText({}, {});

class QuestRepositoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        Action_TestCounter::Log().clear();
    }
    void TearDown() override { ShutdownObjects(); }

    Quest* Load(const std::string& path, const std::string& text) {
        return QuestRepository::Get()->LoadQuest(path, text);
    }
    static std::vector<std::string> Labels() {
        std::vector<std::string> labels;
        for (const auto& fired : Action_TestCounter::Log())
            labels.push_back(fired.label + (fired.reFire ? "*" : ""));
        return labels;
    }

    TestMachine tm;
};

struct EventRecorder : EventHandlerInterface {
    std::vector<std::string> names;
    std::vector<std::string> heard;
    explicit EventRecorder(std::vector<std::string> eventNames) : names(std::move(eventNames)) {
        for (const auto& name : names)
            Singleton<EventManager>::Get().Register(name, this);
    }
    ~EventRecorder() override {
        for (const auto& name : names)
            Singleton<EventManager>::Get().UnRegister(name, this);
    }
    std::string current;
    void HandleEvent(const GameEvent* event) override {
        if (dynamic_cast<const GameEvent_QuestComplete*>(event))
            heard.push_back("complete");
        else if (dynamic_cast<const GameEvent_QuestHandle*>(event))
            heard.push_back("handle");
        else if (dynamic_cast<const GameEvent_Reward*>(event))
            heard.push_back("reward");
    }
};

TEST_F(QuestRepositoryTest, ElementIdsFollowTheirPositionsAndForeignIdsFindNothing) {
    const std::string trigger = TriggerText({}, {R"({"label": "a"})", R"({"label": "b"})"});
    ASSERT_NE(Load("Quests/First.quest", QuestText({StepText("s", "", {kNoTrigger}, kNoTrigger)})),
              nullptr);
    Quest* quest = Load("Quests/Second.quest",
                        QuestText({StepText("s0", "", {kNoTrigger}, kNoTrigger),
                                   StepText("s1", "", {kNoTrigger, trigger}, kNoTrigger)}));
    ASSERT_NE(quest, nullptr);
    EXPECT_EQ(quest->GetId(), 0x01000000u);
    EXPECT_EQ(quest->GetName(), "Boar Trouble");
    EXPECT_EQ(quest->GetRewardGold(0), 40);
    QuestStep* step = quest->GetQuestStepAtIndx(1);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->GetId(), 0x01010000u);
    EXPECT_EQ(step->GetTriggerOfIdx(1)->GetId(), 0x01010100u);
    QuestRepository& repo = *QuestRepository::Get();
    EXPECT_EQ(repo.FindActionById(0x01010101u), step->GetTriggerOfIdx(1)->GetActionAtIdx(1));
    for (std::uint32_t foreign : {0x02000000u, 0x01050000u, 0x01010200u, 0x01010102u, 0xFFFFFFFFu})
        EXPECT_EQ(repo.FindActionById(foreign), nullptr) << std::hex << foreign;
    // The same path again is the same quest.
    EXPECT_EQ(Load("Quests/Second.quest", QuestText({})), nullptr);
    EXPECT_EQ(repo.GetQuests().size(), 2u);
}

TEST_F(QuestRepositoryTest, StepsCompleteWhenEveryTriggerFiredAndTheQuestIsInheritedFirst) {
    const std::string gated = TriggerText({"Condition_TestSwitch"}, {R"({"label": "hit"})"});
    Quest* quest =
        Load("Quests/Q.quest",
             QuestText({StepText("only", "", {gated, TriggerText({}, {R"({"label": "free"})"})},
                                 TriggerText({}, {R"({"label": "done"})"}))}));
    ASSERT_NE(quest, nullptr);
    EventRecorder events({"GameEvent_InheritQuest", "GameEvent_QuestComplete"});
    QuestRepository& repo = *QuestRepository::Get();
    repo.Update(33);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"free"}));
    EXPECT_FALSE(quest->IsActive());

    QuestStep* step = quest->GetQuestStepAtIndx(0);
    step->GetTriggerOfIdx(0)->GetConditionAtIdx(0)->SetSatisfied(true);
    repo.Update(33);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"free", "hit", "done"}));
    EXPECT_TRUE(step->IsComplete());
    EXPECT_FALSE(step->IsEnabled());
    EXPECT_TRUE(quest->IsComplete());
    EXPECT_EQ(quest->GetSummaryTag(), "after only");
    EXPECT_EQ(events.heard, (std::vector<std::string>{"handle", "complete"}));
    EXPECT_EQ(repo.GetFiredTriggers().size(), 2u);

    step->OnCompletion(true, true, true);  // a second completion does nothing
    EXPECT_EQ(Labels().size(), 3u);
    EXPECT_EQ(events.heard.size(), 2u);
}

TEST_F(QuestRepositoryTest, HeldActionsWaitForTheFlagToClearOthersFireAtOnce) {
    Quest* quest = Load(
        "Quests/Q.quest",
        QuestText({StepText(
            "s", "",
            {TriggerText({}, {R"({"label": "held"}, {"canDelay": true})", R"({"label": "now"})"})},
            kNoTrigger)}));
    ASSERT_NE(quest, nullptr);
    QuestRepository& repo = *QuestRepository::Get();
    repo.EnableDelayedActions(true);
    repo.Update(33);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"now"}));
    repo.Update(33);
    EXPECT_EQ(repo.GetDelayedActionCount(), 1u);
    repo.EnableDelayedActions(false);
    repo.Update(33);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"now", "held"}));
}

TEST_F(QuestRepositoryTest, AReplayedQuestRepeatsOnlyWhatMayRepeat) {
    const std::string text = QuestText({StepText(
        "s", "",
        {TriggerText({}, {R"({"label": "pay"})", R"({"label": "door"}, {"canReFire": true})"})},
        TriggerText({},
                    {R"({"label": "reward"})", R"({"label": "marker"}, {"canReFire": true})"}))});
    ASSERT_NE(Load("Quests/Q.quest", text), nullptr);
    QuestRepository* repo = QuestRepository::Get();
    repo->Update(33);
    ASSERT_EQ(Labels(), (std::vector<std::string>{"pay", "door", "reward", "marker"}));
    const auto records = repo->GetFiredTriggers();

    // A new session: the quest read again, the fired triggers replayed.
    QuestRepository::Destroy();
    repo = QuestRepository::Get();
    Action_TestCounter::Log().clear();
    Quest* quest = Load("Quests/Q.quest", text);
    for (const auto& record : records)
        repo->AddTrigger(record.questHandle, record.stepIdx, record.triggerIdx, record.target);
    EventRecorder events({"GameEvent_QuestComplete"});
    gGameEngine->SuperPreRun();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"door*", "marker*"}));
    EXPECT_TRUE(quest->IsComplete());
    EXPECT_EQ(events.heard, (std::vector<std::string>{"complete"}));
    repo->Update(33);
    EXPECT_EQ(Labels().size(), 2u);
}

TEST_F(QuestRepositoryTest, StepsAreEnabledByTheirTokenFormula) {
    struct Case {
        const char* formula;
        bool enabled;
        int failures;
    } cases[] = {{"", true, 0}, {"1", true, 0}, {"hasKey", false, 0}, {"(1&", false, 1}};
    int index = 0;
    for (const Case& c : cases) {
        tm.ClearLog();
        Quest* quest = Load("Quests/" + std::to_string(index++),
                            QuestText({StepText("s", c.formula, {kNoTrigger}, kNoTrigger)}));
        ASSERT_NE(quest, nullptr) << c.formula;
        EXPECT_EQ(quest->GetQuestStepAtIndx(0)->IsEnabled(), c.enabled) << c.formula;
        EXPECT_EQ(tm.CountLog("failed.  Quest will not function."), c.failures) << c.formula;
    }
}

TEST_F(QuestRepositoryTest, AnUnknownConditionKindKeepsItsTriggerFromFiring) {
    Quest* quest = Load(
        "Quests/Q.quest",
        QuestText({StepText("s", "", {TriggerText({"Condition_NotBuilt"}, {R"({"label": "x"})"})},
                            kNoTrigger)}));
    ASSERT_NE(quest, nullptr);
    EXPECT_EQ(tm.CountLog("no condition kind is called \"Condition_NotBuilt\""), 1);
    QuestRepository::Get()->Update(33);
    EXPECT_TRUE(Labels().empty());
    EXPECT_FALSE(quest->GetQuestStepAtIndx(0)->IsComplete());
}

// Ids hold a position in one byte: a 257th step would alias the first.
TEST_F(QuestRepositoryTest, PositionsPastAByteAreNotReadSoIdsStayUnique) {
    std::vector<std::string> steps(300, StepText("s", "", {}, kNoTrigger));
    Quest* quest = Load("Quests/Long.quest", QuestText(steps));
    ASSERT_NE(quest, nullptr);
    EXPECT_EQ(quest->GetStepCount(), 256u);
    EXPECT_EQ(tm.CountLog("300 steps, of which only the first 256 are read"), 1);
    EXPECT_EQ(quest->GetQuestStepAtIndx(255)->GetId(), 0x00FF0000u);
}

TEST_F(QuestRepositoryTest, BadQuestFilesAreRefusedWithTheirName) {
    struct Case {
        const char* text;
        const char* logged;
    } cases[] = {
        {"[", "Quests/Bad.quest: not a JSON text"},
        {R"({"quest": 1})", "not an array of properties"},
        {R"([{"quest": [{"title": null}]}])", "\"title\" has a value of no property kind"},
        {R"([{"quest": [{"rewardGold": {"u64": 1}}]}])", "is not {\"u32\": n}"},
        {R"([{"a": 1, "b": 2}])", "exactly one key"},
        {"\x01\x02garbage", "holds no readable quest"},
    };
    for (const Case& c : cases) {
        tm.ClearLog();
        EXPECT_EQ(Load("Quests/Bad.quest", c.text), nullptr) << c.text;
        EXPECT_EQ(tm.CountLog(c.logged), 1) << c.text;
    }
    EXPECT_TRUE(QuestRepository::Get()->GetQuests().empty());
}

TEST_F(QuestRepositoryTest, OnlyExclusiveConditionsOfThisWorldMakeAQuestUnsolvable) {
    Quest* quest = Load(
        "Quests/Q.quest",
        QuestText(
            {StepText("s", "", {TriggerText({"Condition_TestSwitch"}, {R"({"label": "x"})"}, true)},
                      kNoTrigger)}));
    ASSERT_NE(quest, nullptr);
    EventRecorder events({"GameEvent_QuestUnsolvable"});
    QuestRepository& repo = *QuestRepository::Get();
    repo.CompleteCondition("not hex");
    repo.RecvConditionSet({0x05000000u, 0x00000001u});  // no such quest; no such condition
    EXPECT_FALSE(quest->IsUnsolvable());
    repo.CompleteCondition("0x00000000");
    EXPECT_TRUE(quest->IsUnsolvable());
    EXPECT_TRUE(quest->IsComplete());
    EXPECT_EQ(events.heard, (std::vector<std::string>{"handle"}));
    EXPECT_TRUE(Labels().empty());  // an unsolvable quest pays nothing
    EXPECT_EQ(tm.CountLog("\"not hex\" is not a hexadecimal condition id"), 1);
}

TEST_F(QuestRepositoryTest, RewardsAreKeptOnceAndAnnouncedAgainOnRequest) {
    QuestRepository& repo = *QuestRepository::Get();
    EventRecorder events({"GameEvent_Reward"});
    GameEvent_Reward reward;
    reward.region = 2;
    reward.text = L"40 gold";
    SendGameEvent(reward, "Reward");
    repo.SimulateRewards();
    repo.SimulateRewards();
    ASSERT_EQ(repo.GetRewards().size(), 1u);
    EXPECT_EQ(repo.GetRewards()[0].text, L"40 gold");
    EXPECT_EQ(events.heard.size(), 3u);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// Saved with the quest part-way, a reload takes up the fired triggers (also when written in the
// background); a state written for another version of the quest file is ignored.
TEST_F(QuestRepositoryTest, QuestStateSurvivesASaveAndIgnoresAnotherFilesState) {
    const std::string text =
        QuestText({StepText("a", "", {TriggerText({}, {R"({"label": "a"})"})}, kNoTrigger),
                   StepText("b", "", {TriggerText({"Condition_TestSwitch"}, {})}, kNoTrigger)});
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quest-state-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    for (bool background : {false, true}) {
        ASSERT_NE(Load("Quests/Q.quest", text), nullptr);
        QuestRepository::Get()->Update(33);
        ASSERT_TRUE(QuestRepository::Get()->SaveQuestState(dir, "Quests.rep", background));
        QuestRepository::Get()->WaitDone();

        QuestRepository::Destroy();
        Quest* quest = Load("Quests/Q.quest", text);
        ASSERT_TRUE(QuestRepository::Get()->LoadQuestState(dir, "Quests.rep"));
        gGameEngine->SuperPreRun();
        EXPECT_TRUE(quest->GetQuestStepAtIndx(0)->IsComplete()) << background;
        EXPECT_FALSE(quest->GetQuestStepAtIndx(1)->IsComplete()) << background;
        EXPECT_TRUE(QuestRepository::Get()->GetBadQuests().empty());
        QuestRepository::Destroy();
    }
    Quest* changed = Load("Quests/Q.quest", text + " ");
    QuestRepository::Get()->LoadQuestState(dir, "Quests.rep");
    gGameEngine->SuperPreRun();
    EXPECT_FALSE(changed->GetQuestStepAtIndx(0)->IsComplete());
    EXPECT_EQ(QuestRepository::Get()->GetBadQuests().size(), 1u);
    EXPECT_TRUE(QuestRepository::Get()->GetFiredTriggers().empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// The save thread writes while the game goes on: each request is the quests as they were when
// it was made, and the game thread keeps stepping them meanwhile. ThreadSanitizer runs this.
TEST_F(QuestRepositoryTest, SavesInTheBackgroundWhileTheQuestsStep) {
    const std::string switched = TriggerText({"Condition_TestSwitch"}, {R"({"label": "b"})"});
    const std::string text =
        QuestText({StepText("a", "", {TriggerText({}, {R"({"label": "a"})"})}, kNoTrigger),
                   StepText("b", "", {switched}, kNoTrigger)});
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quest-play-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    Quest* quest = Load("Quests/Q.quest", text);
    ASSERT_NE(quest, nullptr);
    QuestRepository& repo = *QuestRepository::Get();
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == 25)
            quest->GetQuestStepAtIndx(1)->GetTriggerOfIdx(0)->GetConditionAtIdx(0)->SetSatisfied(
                true);
        repo.Update(33);
        ASSERT_TRUE(repo.SaveQuestState(dir, "Quests.rep", true));
    }
    repo.WaitDone();
    QuestRepository::Destroy();
    Quest* reloaded = Load("Quests/Q.quest", text);
    ASSERT_TRUE(QuestRepository::Get()->LoadQuestState(dir, "Quests.rep"));
    gGameEngine->SuperPreRun();
    EXPECT_TRUE(reloaded->GetQuestStepAtIndx(1)->IsComplete());  // the last request won
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace GAME
