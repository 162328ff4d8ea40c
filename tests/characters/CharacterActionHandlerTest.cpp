// The handler runs one action at a time: a new one replaces the current one at once, actions
// handed in while one executes run afterwards in the order they came, and no action is deleted
// while its own code runs.
#include "Game/characters/actions/CharacterActionHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Engine/text/Name.h"
#include "Game/characters/actions/CharacterActionBase.h"
#include "Game/core/net/packets/CharacterActionPackets.h"

namespace GAME {
namespace {

// Writes what happens to it into a shared log; its Execute and callback may run a hook.
class ProbeAction : public CharacterActionBase {
public:
    ProbeAction(std::string name, std::vector<std::string>& log,
                CharacterActionType type = CharacterActionType_Idle)
        : CharacterActionBase(0, type), mName(std::move(name)), mLog(log) {}
    ~ProbeAction() override { mLog.push_back("delete " + mName); }

    void Execute() override {
        mLog.push_back("execute " + mName);
        if (onExecute)
            onExecute();
        mLog.push_back("executed " + mName);
    }
    void AnimationCallback(const Name&) override {
        mLog.push_back("event " + mName);
        if (onEvent)
            onEvent();
        // Still alive: reading a member after the hook is what ASan watches.
        mLog.push_back("after event " + mName);
    }
    std::string ToString() const override { return "Probe " + mName; }

    std::function<void()> onExecute;
    std::function<void()> onEvent;

protected:
    void OnFinish() override { mLog.push_back("finish " + mName); }

private:
    std::string mName;
    std::vector<std::string>& mLog;
};

std::unique_ptr<ProbeAction> Probe(const std::string& name, std::vector<std::string>& log) {
    return std::make_unique<ProbeAction>(name, log);
}

TEST(CharacterActionHandler, WithoutAnActionItAnswersNothing) {
    CharacterActionHandler handler;
    EXPECT_EQ(handler.GetActionType(), CharacterActionType_Base);
    EXPECT_FALSE(handler.IsActive());
    EXPECT_EQ(handler.GetBlendTime(), 0.0f);
    EXPECT_EQ(handler.GetActionAsString(), "Current Action: (no text)");
    handler.Execute(nullptr);
    handler.Stop();
    handler.AnimationCallback(Name::Create("End"));
    EXPECT_EQ(handler.GetCurrentAction(), nullptr);
}

TEST(CharacterActionHandler, ANewActionFinishesAndDeletesTheOldOneBeforeItRuns) {
    std::vector<std::string> log;
    CharacterActionHandler handler;
    handler.Execute(Probe("a", log));
    EXPECT_EQ(handler.GetActionAsString(), "Current Action: Probe a");
    EXPECT_EQ(handler.GetBlendTime(), CharacterActionBase::kDefaultBlendTime);
    EXPECT_TRUE(handler.IsActive());
    handler.Execute(std::make_unique<ProbeAction>("b", log, CharacterActionType_Attack));
    EXPECT_EQ(handler.GetActionType(), CharacterActionType_Attack);
    EXPECT_EQ(log, (std::vector<std::string>{"execute a", "executed a", "finish a", "delete a",
                                             "execute b", "executed b"}));
    handler.Stop();
    EXPECT_EQ(log.back(), "delete b");
    EXPECT_EQ(handler.GetCurrentAction(), nullptr);
}

TEST(CharacterActionHandler, AnActionThatEndedItselfIsFinishedOnlyOnce) {
    std::vector<std::string> log;
    CharacterActionHandler handler;
    auto first = Probe("a", log);
    ProbeAction* a = first.get();
    first->onExecute = [a] { a->Finish(); };
    handler.Execute(std::move(first));
    EXPECT_FALSE(handler.IsActive());
    handler.Execute(Probe("b", log));
    EXPECT_EQ(std::count(log.begin(), log.end(), "finish a"), 1);
}

TEST(CharacterActionHandler, ActionsHandedInWhileOneExecutesRunAfterItInOrder) {
    std::vector<std::string> log;
    CharacterActionHandler handler;
    auto outer = Probe("outer", log);
    outer->onExecute = [&] {
        auto second = Probe("second", log);
        // A queued action that queues another: it runs after everything queued before it.
        second->onExecute = [&] { handler.Execute(Probe("fourth", log)); };
        handler.Execute(std::move(second));
        handler.Execute(Probe("third", log));
        EXPECT_EQ(handler.GetQueuedCount(), 2u);
    };
    handler.Execute(std::move(outer));
    EXPECT_EQ(handler.GetQueuedCount(), 0u);
    EXPECT_EQ(log, (std::vector<std::string>{"execute outer", "executed outer", "finish outer",
                                             "delete outer", "execute second", "executed second",
                                             "finish second", "delete second", "execute third",
                                             "executed third", "finish third", "delete third",
                                             "execute fourth", "executed fourth"}));
    EXPECT_EQ(handler.GetActionAsString(), "Current Action: Probe fourth");
}

TEST(CharacterActionHandler, AnActionStoppedOrReplacedFromItsOwnCodeLivesUntilThatCodeReturns) {
    std::vector<std::string> log;
    CharacterActionHandler handler;
    auto stopping = Probe("stopping", log);
    stopping->onExecute = [&] { handler.Stop(); };
    handler.Execute(std::move(stopping));
    EXPECT_EQ(log, (std::vector<std::string>{"execute stopping", "finish stopping",
                                             "executed stopping", "delete stopping"}));
    EXPECT_EQ(handler.GetCurrentAction(), nullptr);

    log.clear();
    auto hit = Probe("hit", log);
    hit->onEvent = [&] { handler.Execute(Probe("next", log)); };
    handler.Execute(std::move(hit));
    handler.AnimationCallback(Name::Create("Hit"));
    EXPECT_EQ(log, (std::vector<std::string>{"execute hit", "executed hit", "event hit",
                                             "finish hit", "execute next", "executed next",
                                             "after event hit", "delete hit"}));
    EXPECT_EQ(handler.GetActionAsString(), "Current Action: Probe next");
}

class CountingFilter : public FilterFunction<CharacterAction> {
public:
    explicit CountingFilter(int& alive) : mAlive(alive) { ++mAlive; }
    ~CountingFilter() override { --mAlive; }
    bool operator()(const CharacterAction&) const override { return true; }

private:
    int& mAlive;
};

TEST(CharacterActionHandler, ANewFilterDeletesThePreviousOne) {
    int alive = 0;
    {
        CharacterActionHandler handler;
        handler.SetActionFilter(std::make_unique<CountingFilter>(alive));
        handler.SetActionFilter(std::make_unique<CountingFilter>(alive));
        EXPECT_EQ(alive, 1);
        EXPECT_NE(handler.GetActionFilter(), nullptr);
    }
    EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace GAME
