// An action decided on one machine reaches the others through its packet and runs there with
// the same fields, pre-move included.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "characters/CharacterActionTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kMonster = 0x300;
constexpr std::uint32_t kPartner = 0x301;

// The bytes of the action's packet: every field that travels, pre-move included.
std::vector<std::uint8_t> PacketBytes(const CharacterAction& action) {
    std::unique_ptr<CharacterActionPacketBase> packet = action.GetNetPacket();
    EXPECT_NE(packet, nullptr) << action.ToString();
    if (!packet)
        return {};
    return NetworkConnectionManager::Serialize(*packet);
}

class CharacterActionNetwork : public ::testing::Test {
protected:
    CharacterActionNetwork() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            MakeLivingCharacter(kMonster, 10, 10);
            MakeLivingCharacter(kPartner, 12, 10);
        }
    }
    ~CharacterActionNetwork() override { game.OnEach(ShutdownObjects); }

    // The current action of the monster on a machine, as packet bytes.
    std::vector<std::uint8_t> CurrentOn(TestMachine& tm) {
        std::vector<std::uint8_t> bytes;
        ON_MACHINE(tm) {
            auto* monster = Singleton<ObjectManager>::Get().GetObject<Character>(kMonster);
            const CharacterAction* current = monster->GetActionHandler().GetCurrentAction();
            if (current)
                bytes = PacketBytes(*current);
        }
        return bytes;
    }

    NetTestGame game;
};

TEST_F(CharacterActionNetwork, EveryKindSentByTheServerRunsOnEachClientWithTheSameFields) {
    std::vector<std::function<std::unique_ptr<CharacterActionBase>()>> makers = {
        [] { return std::make_unique<IdleAction>(kMonster); },
        [] { return std::make_unique<LongIdleAction>(kMonster); },
        [] {
            auto move = std::make_unique<MoveToAction>(kMonster, FieldPoint(10, 10),
                                                       FieldPoint(40, 30), kPartner, 65535, 1.0f);
            move->SetPreMoveData(FieldPoint(11, 12), kPartner, 3, 0.5f);
            return move;
        },
        [] {
            return std::make_unique<WalkAction>(kMonster, FieldPoint(10, 10), FieldPoint(5, 6),
                                                kPartner);
        },
        [] { return std::make_unique<PickUpAction>(kMonster, kPartner); },
        [] { return std::make_unique<UseAction>(kMonster, 0x777); },
        [] {
            auto attack = std::make_unique<AttackAction>(kMonster, kPartner, FieldPoint(12, 10), 42,
                                                         std::uint16_t{65535});
            attack->SetPreMoveData(FieldPoint(11, 10), kPartner, 42, 1.0f);
            return attack;
        },
        [] { return std::make_unique<TakeStunAction>(kMonster); },
        [] { return std::make_unique<ImmobilizeAction>(kMonster); },
        [] { return std::make_unique<TakeTrapAction>(kMonster); },
        [] { return std::make_unique<ChatAction>(kMonster, kPartner); },
        [] {
            return std::make_unique<PlayAnimationAction>(kMonster, AnimationSet_Type::Special,
                                                         Name::Create("Wave"), 1.5f, true, 3u);
        },
        [] { return std::make_unique<EngageNpcAction>(kMonster, kPartner, true, true); },
        [] { return std::make_unique<SpawnAction>(kMonster); },
        [] {
            return std::make_unique<RespawnAction>(
                kMonster, WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(1, 2, 3))));
        },
        [] {
            return std::make_unique<DieAction>(kMonster, std::vector<std::uint32_t>{9, 10});
        },
    };
    for (auto& make : makers) {
        std::vector<std::uint8_t> sent;
        CharacterActionType type = CharacterActionType_Base;
        ON_MACHINE(game.Server()) {
            auto action = make();
            type = action->GetType();
            sent = PacketBytes(*action);
            ASSERT_TRUE(SendCharacterAction(*action));
            Singleton<ObjectManager>::Get()
                .GetObject<Character>(kMonster)
                ->GetActionHandler()
                .Execute(std::move(action));
        }
        game.Pump();
        for (int client = 0; client < game.ClientCount(); ++client)
            EXPECT_EQ(CurrentOn(game.Client(client)), sent)
                << GetCharacterActionText(type) << " on client " << client;
    }
    // The last one, the death, ran everywhere.
    for (auto state : game.OnEach([] {
             return Singleton<ObjectManager>::Get().GetObject<Character>(kMonster)->GetLifeState();
         }))
        EXPECT_EQ(state, Character_LifeState::Dying);
}

TEST_F(CharacterActionNetwork, NothingIsSentInSinglePlayerOrForAnActionThatDoesNotTravel) {
    ON_MACHINE(game.Server()) {
        EXPECT_FALSE(SendCharacterAction(CharacterActionBase(kMonster)));
        gEngine->GetNetworkConnectionManager()->Shutdown();
        EXPECT_FALSE(SendCharacterAction(IdleAction(kMonster)));
    }
    EXPECT_EQ(game.Pump(), 0);
}

TEST_F(CharacterActionNetwork, AnActionForAnObjectThatIsNoCharacterIsDroppedAndLogged) {
    ON_MACHINE(game.Client(0)) {
        auto* item = Singleton<ObjectManager>::Get().CreateObject<Entity>(0x900);
        ASSERT_NE(item, nullptr);
    }
    ON_MACHINE(game.Server()) {
        Singleton<ObjectManager>::Get().CreateObject<Entity>(0x900);
        ASSERT_TRUE(SendCharacterAction(IdleAction(0x900)));
    }
    game.Pump();
    EXPECT_EQ(game.Client(0).CountLog("names 2304, not a character"), 1);
}

}  // namespace
}  // namespace GAME::test
