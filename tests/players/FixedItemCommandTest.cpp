#include <gtest/gtest.h>

#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/world/fixeditems/FixedItemState.h"
#include "support/NetTestGame.h"

namespace GAME::test {

// A placed object that answers the fixed-item and strategic-movement commands.
class ProbeFixedItem : public Actor,
                       public FixedItemCommandTarget,
                       public StrategicMovementCommandTarget {
    RTTI_DECLARE(ProbeFixedItem)
public:
    void SetFixedItemState(FixedItem_State state_, unsigned int instigator_, bool force_,
                           bool doSound_) override {
        calls.push_back("state");
        state = state_;
        instigator = instigator_;
        force = force_;
        doSound = doSound_;
    }
    void UseOnTarget(unsigned int primary_, const std::vector<unsigned int>& targets_) override {
        calls.push_back("use");
        primary = primary_;
        targets = targets_;
    }
    void UseSkillOnTargets(unsigned int primary_,
                           const std::vector<unsigned int>& targets_) override {
        calls.push_back("skill");
        primary = primary_;
        targets = targets_;
    }
    void HandleTargets(const std::vector<unsigned int>& targets_) override {
        calls.push_back("move");
        targets = targets_;
    }

    std::vector<std::string> calls;
    unsigned int state = 0, instigator = 0, primary = 0;
    bool force = true, doSound = false;
    std::vector<unsigned int> targets;
};

RTTI_IMPLEMENT(ProbeFixedItem, Actor)

namespace {

constexpr std::uint32_t kItem = 0x500;
constexpr std::uint32_t kTargetA = 0x501;
constexpr std::uint32_t kTargetB = 0x502;

ProbeFixedItem* Probe() {
    return Singleton<ObjectManager>::Get().GetObject<ProbeFixedItem>(kItem);
}

class FixedItemCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& objects = Singleton<ObjectManager>::Get();
            objects.CreateObject<ProbeFixedItem>(kItem);
            objects.CreateObject<Actor>(kTargetA);
            objects.CreateObject<Actor>(kTargetB);
        }
    }
    void Enqueue(std::unique_ptr<ActorConfigCommand> command) {
        ON_MACHINE(game.Server()) {
            Probe()->Enqueue(std::move(command));
        }
        game.Pump();
    }

    NetTestGame game{2};
};

TEST_F(FixedItemCommandTest, StateChangeRunsOnceOnEveryMachine) {
    Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(kItem, 4, 0, true));
    for (auto* item : game.OnEach([] { return Probe(); })) {
        ASSERT_EQ(item->calls, std::vector<std::string>{"state"});
        EXPECT_EQ(item->state, 4u);
        EXPECT_EQ(item->instigator, 0u);
        EXPECT_FALSE(item->force);
        EXPECT_TRUE(item->doSound);
    }
}

TEST_F(FixedItemCommandTest, TargetCommandsReachTheirOperations) {
    Enqueue(std::make_unique<FixedItemTargetConfigCmd>(kItem, kTargetA,
                                                       std::vector<unsigned int>{kTargetB}));
    Enqueue(std::make_unique<FixedItemSkillTargetConfigCmd>(
        kItem, kTargetB, std::vector<unsigned int>{kTargetA, kTargetB}));
    Enqueue(std::make_unique<StrategicMovementTargetConfigCmd>(
        kItem, std::vector<unsigned int>{kTargetA}));
    for (auto* item : game.OnEach([] { return Probe(); })) {
        EXPECT_EQ(item->calls, (std::vector<std::string>{"use", "skill", "move"}));
        EXPECT_EQ(item->primary, kTargetB);
        EXPECT_EQ(item->targets, std::vector<unsigned int>{kTargetA});
    }
}

TEST_F(FixedItemCommandTest, CommandOnAnObjectThatIsNoFixedItemDoesNothing) {
    ON_MACHINE(game.Server()) {
        auto* actor = Singleton<ObjectManager>::Get().GetObject<Actor>(kTargetA);
        actor->Enqueue(std::make_unique<FixedItemStateChangeConfigCmd>(kTargetA, 1, 0, false));
        // An object that is gone.
        actor->Enqueue(std::make_unique<FixedItemTargetConfigCmd>(0x999, kTargetA,
                                                                  std::vector<unsigned int>{}));
    }
    game.Pump();
    for (auto* item : game.OnEach([] { return Probe(); }))
        EXPECT_TRUE(item->calls.empty());
}

}  // namespace
}  // namespace GAME::test
