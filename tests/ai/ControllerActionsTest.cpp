// How a controller turns requests into actions: allowed, queued or denied; an action with a
// pre-action waits as the pending action; the default rules for dying and dead characters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "ai/ProbeController.h"
#include "characters/CharacterActionTestSupport.h"

namespace GAME::test {
namespace {

using Journal = std::vector<std::string>;

// An action that journals what is done to it; it stays active until told to stop.
class ProbeAction : public CharacterAction {
public:
    ProbeAction(std::string name, CharacterActionType type, Journal* journal, bool withPre = false)
        : mName(std::move(name)), mType(type), mJournal(journal), mWithPre(withPre) {}
    ~ProbeAction() override { mJournal->push_back(mName + ":deleted"); }

    void Execute() override {
        mJournal->push_back(mName + ":execute");
        mActive = true;
        if (sRunning)
            *sRunning = this;
    }
    void AnimationCallback(const Name&) override {}
    void Finish() override { mActive = false; }
    void PendingActionAborted() override { mJournal->push_back(mName + ":aborted"); }
    bool IsActive() const override { return mActive; }
    std::unique_ptr<CharacterActionPacketBase> GetNetPacket() const override { return nullptr; }
    bool SupportsNetwork() const override { return false; }
    CharacterActionType GetType() const override { return mType; }
    std::unique_ptr<CharacterAction> GetPreAction() const override {
        if (!mWithPre)
            return nullptr;
        return std::make_unique<ProbeAction>(mName + ".pre", CharacterActionType_MoveTo, mJournal);
    }
    float GetBlendTime() const override { return 0.0f; }
    std::uint32_t GetParentId() const override { return 0x100; }
    std::string ToString() const override { return mName; }

    // Where the running action is noted, so a test can end it.
    static inline ProbeAction** sRunning = nullptr;

private:
    std::string mName;
    CharacterActionType mType;
    Journal* mJournal;
    bool mWithPre;
    bool mActive = false;
};

class ControllerActions : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeObjects();
        hero = MakeLivingCharacter(0x100, 10, 10);
        controller = Singleton<ObjectManager>::Get().CreateObject<ProbeController>();
        controller->AttachParent(hero->GetObjectId());
        hero->SetControllerId(controller->GetObjectId());
        ProbeAction::sRunning = &running;
    }
    void TearDown() override {
        ProbeAction::sRunning = nullptr;
        ShutdownObjects();
    }
    std::unique_ptr<ProbeAction> Make(const char* name, bool withPre = false,
                                      CharacterActionType type = CharacterActionType_Attack) {
        return std::make_unique<ProbeAction>(name, type, &journal, withPre);
    }
    // Ends the running action, then runs one frame of the controller.
    void FinishRunningAndUpdate() {
        if (running)
            running->Finish();
        controller->Update(16);
    }

    // Outlives the machine, whose objects' actions write to it as they go.
    Journal journal;
    TestMachine tm;
    Character* hero = nullptr;
    ProbeController* controller = nullptr;
    ProbeAction* running = nullptr;
};

TEST_F(ControllerActions, APreActionRunsFirstAndTheActionWaitsPendingUntilTheHandlerIsIdle) {
    controller->HandleAction(Make("attack", true));
    EXPECT_EQ(journal, (Journal{"attack.pre:execute"}));
    ASSERT_NE(controller->PeekPendingAction(), nullptr);
    EXPECT_EQ(controller->PeekPendingAction()->ToString(), "attack");

    // While the pre-action runs, frames leave the pending action alone.
    controller->Update(16);
    EXPECT_EQ(journal, (Journal{"attack.pre:execute"}));

    FinishRunningAndUpdate();
    EXPECT_EQ(journal, (Journal{"attack.pre:execute", "attack.pre:deleted", "attack:execute"}));
    EXPECT_EQ(controller->PeekPendingAction(), nullptr);
}

TEST_F(ControllerActions, AnAllowedActionAbortsThePendingOneAndDropsTheQueuedOne) {
    controller->HandleAction(Make("attack", true));
    controller->forcedPermission = ControllerBaseCharacter::Queue;
    controller->HandleAction(Make("queued"));
    journal.clear();

    controller->forcedPermission = ControllerBaseCharacter::Allow;
    controller->HandleAction(Make("chat", false, CharacterActionType_Chat));
    EXPECT_EQ(journal, (Journal{"attack:aborted", "attack:deleted", "queued:deleted",
                                "attack.pre:deleted", "chat:execute"}));
    EXPECT_EQ(controller->PeekPendingAction(), nullptr);
    EXPECT_EQ(controller->PeekQueuedAction(), nullptr);
}

TEST_F(ControllerActions, QueuedActionsReplaceEachOtherAndRunWhenTheHandlerIsIdle) {
    controller->HandleAction(Make("swing"));
    controller->forcedPermission = ControllerBaseCharacter::Queue;
    controller->HandleAction(Make("first"));
    controller->HandleAction(Make("second", true));
    EXPECT_EQ(journal, (Journal{"swing:execute", "first:deleted"}));
    journal.clear();

    // The queued action has a pre-action: it runs first and the action becomes pending.
    FinishRunningAndUpdate();
    EXPECT_EQ(journal, (Journal{"swing:deleted", "second.pre:execute"}));
    ASSERT_NE(controller->PeekPendingAction(), nullptr);
    EXPECT_EQ(controller->PeekQueuedAction(), nullptr);
    journal.clear();
    FinishRunningAndUpdate();
    EXPECT_EQ(journal, (Journal{"second.pre:deleted", "second:execute"}));

    // A denied action is deleted at once and changes nothing.
    journal.clear();
    controller->forcedPermission = ControllerBaseCharacter::Deny;
    controller->HandleAction(Make("denied"));
    EXPECT_EQ(journal, (Journal{"denied:deleted"}));
    EXPECT_EQ(hero->GetActionHandler().GetCurrentAction()->ToString(), "second");
}

TEST_F(ControllerActions, DyingAndDeadCharactersAcceptOnlyWhatTheRulesLet) {
    using LS = Character_LifeState;
    using AS = Character_ActionState;
    auto check = [&](LS life, AS action, CharacterActionType type) {
        hero->SetLifeState(life);
        hero->SetActionState(action);
        return controller->CheckAction(type);
    };
    // A dying character may still finish its attack, even in its dying action.
    EXPECT_EQ(check(LS::Dying, AS::Dying, CharacterActionType_Attack), 0u);
    EXPECT_EQ(check(LS::Dying, AS::Idle, CharacterActionType_MoveTo), 0u);
    EXPECT_EQ(check(LS::Dying, AS::Dying, CharacterActionType_MoveTo), 2u);
    EXPECT_EQ(check(LS::Dead, AS::Idle, CharacterActionType_Attack), 2u);
    EXPECT_EQ(check(LS::Dead, AS::Dying, CharacterActionType_Respawn), 0u);
    EXPECT_EQ(check(LS::Alive, AS::Idle, CharacterActionType_Idle), 0u);

    // Without its character the controller denies everything and logs the drop.
    controller->AttachParent(0x999);
    EXPECT_EQ(controller->CheckAction(CharacterActionType_Idle), 2u);
    tm.ClearLog();
    controller->LocalHandleAction(Make("lost"));
    EXPECT_EQ(journal, (Journal{"lost:deleted"}));
    EXPECT_EQ(tm.CountLog("Can't execute action because parent does not exist."), 1);
}

}  // namespace
}  // namespace GAME::test
