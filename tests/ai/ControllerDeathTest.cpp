// A fighting controller kills its character when its life runs out: the die action runs on
// every machine and the start of the death is announced once. Its animations' "show" and "hide"
// events show or hide the character everywhere.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/events/EventManager.h"
#include "Engine/text/Name.h"
#include "Game/ai/controllers/ControllerCombat.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/core/GameEvents.h"
#include "characters/CharacterActionTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kMonster = 0x300;

class StartDeathListener : public EventHandlerInterface {
public:
    StartDeathListener() {
        Singleton<EventManager>::Get().Register("GameEvent_CreatureStartDeath", this);
    }
    ~StartDeathListener() override {
        Singleton<EventManager>::Get().UnRegister("GameEvent_CreatureStartDeath", this);
    }
    void HandleEvent(const GameEvent* payload) override {
        ids.push_back(static_cast<const GameEvent_CreatureStartDeath*>(payload)->objectId);
    }
    std::vector<std::uint32_t> ids;
};

Character* Dying() {
    return Singleton<ObjectManager>::Get().GetObject<Character>(kMonster);
}

class ControllerDeath : public ::testing::Test {
protected:
    ControllerDeath() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            MakeLivingCharacter(kMonster, 10, 10);
        }
        ON_MACHINE(game.Server()) {
            controller = Singleton<ObjectManager>::Get().CreateObject<ControllerCombat>();
            controller->AttachParent(kMonster);
            Dying()->SetControllerId(controller->GetObjectId());
        }
    }
    ~ControllerDeath() override { game.OnEach(ShutdownObjects); }

    NetTestGame game;
    ControllerCombat* controller = nullptr;
};

TEST_F(ControllerDeath, LifeAtZeroKillsOnTheNextFrameOnEveryMachineAndIsAnnouncedOnce) {
    ON_MACHINE(game.Server()) {
        StartDeathListener listener;
        test::SetLife(*Dying(), 0.0f, 100.0f);
        // The death comes from the controller's frame, not from the life change itself.
        EXPECT_EQ(Dying()->GetLifeState(), Character_LifeState::Alive);
        Dying()->PreAnimationUpdate(16);
        EXPECT_EQ(Dying()->GetLifeState(), Character_LifeState::Dying);
        EXPECT_EQ(listener.ids, std::vector<std::uint32_t>{kMonster});
        // A dying character is not killed again.
        Dying()->PreAnimationUpdate(16);
        controller->KillMe();
        EXPECT_EQ(listener.ids.size(), 1u);
    }
    game.Pump();
    for (auto [life, action, deaths, current] : game.OnEach([] {
             const CharacterAction* running = Dying()->GetActionHandler().GetCurrentAction();
             return std::tuple(Dying()->GetLifeState(), Dying()->GetActionState(),
                               Dying()->GetPlayStats().GetDeaths(),
                               running ? running->GetType() : CharacterActionType_Base);
         })) {
        EXPECT_EQ(life, Character_LifeState::Dying);
        EXPECT_EQ(action, Character_ActionState::Dying);
        EXPECT_EQ(deaths, 1u);
        EXPECT_EQ(current, CharacterActionType_Die);
    }
}

TEST_F(ControllerDeath, AnInvincibleCharacterOrOneWithLifeLeftLives) {
    ON_MACHINE(game.Server()) {
        StartDeathListener listener;
        test::SetLife(*Dying(), 0.5f, 100.0f);
        Dying()->PreAnimationUpdate(16);
        test::SetLife(*Dying(), 0.0f, 100.0f);
        Dying()->SetInvincible(true);
        Dying()->PreAnimationUpdate(16);
        EXPECT_EQ(Dying()->GetLifeState(), Character_LifeState::Alive);
        EXPECT_TRUE(listener.ids.empty());
    }
    EXPECT_EQ(game.Pump(), 0);
}

TEST_F(ControllerDeath, AnAnimationsShowAndHideEventsShowOrHideTheCharacterOnEveryMachine) {
    struct Step {
        const char* event;
        bool visible;
    };
    // Other events leave the character as it is.
    for (const Step& step :
         {Step{"hide", false}, Step{"Hit", false}, Step{"show", true}, Step{"End", true}}) {
        ON_MACHINE(game.Server()) {
            controller->HandleEvent(Name::Create(step.event));
        }
        game.Pump();
        const auto visible = game.OnEach([] { return Dying()->IsVisible(); });
        EXPECT_EQ(visible, std::vector<bool>(3, step.visible)) << step.event;
    }
}

}  // namespace
}  // namespace GAME::test
