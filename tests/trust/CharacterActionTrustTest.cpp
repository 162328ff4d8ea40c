// A client's character action runs on the server, and goes on to the other clients, only for
// a character of its own and with values the server can vouch for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "Engine/Engine.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Game/characters/actions/CharacterActionHandler.h"
#include "Game/characters/actions/CharacterActionNetwork.h"
#include "Game/characters/actions/CharacterActions.h"
#include "Game/core/net/packets/CharacterActionPackets.h"
#include "characters/CharacterActionTestSupport.h"
#include "players/PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"
#include "trust/TrustTestSupport.h"

namespace GAME::test {
namespace {

class CharacterActionTrust : public ::testing::Test {
protected:
    CharacterActionTrust() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            MakeLivingCharacter(kHostile, 10, 10);
            MakeLivingCharacter(kHonest, 20, 10);
        }
    }
    ~CharacterActionTrust() override { game.OnEach(ShutdownObjects); }

    // Sends the action from a client, as its controller would, and delivers everything.
    void SendFrom(int client, const CharacterAction& action) {
        ON_MACHINE(game.Client(client)) {
            ASSERT_TRUE(SendCharacterAction(action));
        }
        game.Pump();
    }
    // The packet sent from a client as it is, whatever an honest controller would build.
    void SendPacketFrom(int client, CharacterActionPacketBase& packet) {
        ON_MACHINE(game.Client(client)) {
            gEngine->GetNetworkConnectionManager()->SendToServer(&packet);
        }
        game.Pump();
    }
    static Character& On(std::uint32_t id) {
        return *Singleton<ObjectManager>::Get().GetObject<Character>(id);
    }
    // What the honest client has received.
    std::uint64_t Received() {
        std::uint64_t count = 0;
        ON_MACHINE(game.Client(1)) {
            count = gEngine->GetNetworkConnectionManager()->GetPacketsReceived();
        }
        return count;
    }
    CharacterActionType CurrentOn(TestMachine& tm, std::uint32_t id) {
        CharacterActionType type = CharacterActionType_Base;
        ON_MACHINE(tm) {
            type = On(id).GetActionHandler().GetActionType();
        }
        return type;
    }

    NetTestGame game;
};

TEST_F(CharacterActionTrust, AnActionForAnotherPlayersCharacterIsNeitherRunNorRelayed) {
    SendFrom(0, WalkAction(kHonest, FieldPoint(20, 10), FieldPoint(60, 60), 0));
    EXPECT_EQ(CurrentOn(game.Server(), kHonest), CharacterActionType_Base);
    EXPECT_EQ(CurrentOn(game.Client(1), kHonest), CharacterActionType_Base);
    EXPECT_EQ(game.Server().CountLog("not the sender's character"), 1);

    // Its own character's walk runs on the server and reaches the other client.
    SendFrom(0, WalkAction(kHostile, FieldPoint(10, 10), FieldPoint(60, 60), 0));
    EXPECT_EQ(CurrentOn(game.Server(), kHostile), CharacterActionType_Walk);
    EXPECT_EQ(CurrentOn(game.Client(1), kHostile), CharacterActionType_Walk);
}

TEST_F(CharacterActionTrust, StunsSpawnsAndDeathsAreTheServersToDecide) {
    // A death too, even with the life run out: the server kills a client's player itself.
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            On(kHostile).SubtractLife(On(kHostile).GetCurrentLife(), PlayStatsDamageType{});
        }
    SendFrom(0, TakeStunAction(kHostile));
    SendFrom(0, SpawnAction(kHostile));
    SendFrom(0, DieAction(kHostile, {}));
    EXPECT_EQ(CurrentOn(game.Server(), kHostile), CharacterActionType_Base);
    EXPECT_EQ(CurrentOn(game.Client(1), kHostile), CharacterActionType_Base);
    EXPECT_EQ(game.Server().CountLog("the server decides this action"), 3);
}

TEST_F(CharacterActionTrust, AMoveCannotPlaceTheCharacterSomewhereElse) {
    // A start 50 units away would put the character there before it runs.
    SendFrom(0, MoveToAction(kHostile, FieldPoint(60, 10), FieldPoint(70, 10), 0, 0, 1.0f));
    for (TestMachine* tm : {&game.Server(), &game.Client(1)}) {
        ON_MACHINE(*tm) {
            EXPECT_EQ(On(kHostile).GetCoords().coords.origin, Vec3(10, 0, 10));
        }
    }
    ON_MACHINE(game.Client(1)) {
        const auto* move =
            dynamic_cast<const MoveToAction*>(On(kHostile).GetActionHandler().GetCurrentAction());
        ASSERT_NE(move, nullptr);
        EXPECT_EQ(move->GetStart().local, Vec3(10, 0, 10));
    }
    EXPECT_EQ(game.Server().CountLog("replaced by its position on the server"), 1);
}

// A move starts from the path position, which the shown place may have left behind: an honest
// client's start is that, on the server too, and is not replaced by the shown place (the
// machines would part: the client jumps to its start, the others not).
TEST_F(CharacterActionTrust, AnHonestMoveFromAPathPositionLeftBehindStartsThereEverywhere) {
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            On(kHostile).SetPathPositionNotCoords(FieldPoint(10, 30));
        }
    SendFrom(0, MoveToAction(kHostile, FieldPoint(10, 30), FieldPoint(30, 30), 0, 0, 1.0f));
    const auto starts = game.OnEach([] {
        const auto* move =
            dynamic_cast<const MoveToAction*>(On(kHostile).GetActionHandler().GetCurrentAction());
        return move ? move->GetStart().local : Vec3(-1, -1, -1);
    });
    // The sender runs its own move as it sends it; the server and the other client run this.
    EXPECT_EQ(starts[0], Vec3(10, 0, 30));
    EXPECT_EQ(starts[2], starts[0]);
    EXPECT_EQ(game.Server().CountLog("replaced by its position on the server"), 0);
}

TEST_F(CharacterActionTrust, AWalkCannotPlaceTheCharacterSomewhereElse) {
    // 50 units from where the server has it: the walk starts where the server has it instead.
    SendFrom(0, WalkAction(kHostile, FieldPoint(60, 10), FieldPoint(70, 10), 0));
    for (TestMachine* tm : {&game.Server(), &game.Client(1)}) {
        ON_MACHINE(*tm) {
            const auto* walk =
                dynamic_cast<const WalkAction*>(On(kHostile).GetActionHandler().GetCurrentAction());
            ASSERT_NE(walk, nullptr);
            EXPECT_EQ(walk->GetStart().local, Vec3(10, 0, 10));
            EXPECT_EQ(On(kHostile).GetPathPosition().local, Vec3(10, 0, 10));
        }
    }
    EXPECT_EQ(game.Server().CountLog("WalkPacket from host 1: start of character"), 1);
}

// A client that walks its player 13 m in 10 frames, each walk claiming to start where the last
// one ended: whatever the server makes of each start, it and an honest client agree frame by
// frame on where the player stands and where it walks.
TEST_F(CharacterActionTrust, AClientThatTeleportsByWalksKeepsTheHonestMachinesInStep) {
    for (int frame = 1; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        const float claimed = 10.0f + 1.3f * static_cast<float>(frame);
        SendFrom(0,
                 WalkAction(kHostile, FieldPoint(claimed, 10), FieldPoint(claimed + 1.3f, 10), 0));
        game.RunFrames(1, 33);
        const auto seen = game.OnEach([] {
            const auto* walk =
                dynamic_cast<const WalkAction*>(On(kHostile).GetActionHandler().GetCurrentAction());
            return std::make_pair(On(kHostile).GetPathPosition().local,
                                  walk ? walk->GetStart().local : Vec3(-1, -1, -1));
        });
        EXPECT_EQ(seen[0].first, seen[0].second);
        EXPECT_EQ(seen[2], seen[0]);
    }
}

TEST_F(CharacterActionTrust, AnAnimationNameNoRecordKnowsIsRefusedAndNotKept) {
    const auto play = [&](const char* text) {
        PlayAnimationActionPacket packet;
        packet.character = kHostile;
        packet.speedModifier = 1.0f;
        std::strncpy(packet.unknownName.bytes.data(), text, packet.unknownName.bytes.size());
        SendPacketFrom(0, packet);
    };
    const std::uint64_t before = Received();
    for (const char* text : {"zqHostile0001", "zqHostile0002", "zqHostileNameOf16"}) {
        play(text);
        EXPECT_TRUE(Name::Find(text).IsEmpty()) << text;
        EXPECT_TRUE(Name::Find(std::string_view(text).substr(0, 16)).IsEmpty()) << text;
    }
    EXPECT_EQ(Received(), before);
    EXPECT_EQ(game.Server().CountLog("an animation name no record knows"), 3);

    // A name a record gave runs and goes on.
    static_cast<void>(Name::Create("zqKnownDance"));
    play("zqKnownDance");
    EXPECT_EQ(Received(), before + 1);
}

TEST_F(CharacterActionTrust, NothingReachesTheGameOnceTheServerShutItDown) {
    ON_MACHINE(game.Server()) {
        ShutdownObjects();
    }
    const std::uint64_t before = Received();
    SendFrom(0, WalkAction(kHostile, FieldPoint(10, 10), FieldPoint(60, 60), 0));
    SendFrom(0, IdleAction(kHostile));
    EXPECT_EQ(CurrentOn(game.Server(), kHostile), CharacterActionType_Base);
    EXPECT_EQ(Received(), before);
    EXPECT_EQ(game.Server().CountLog("the game is shut down"), 2);
}

TEST_F(CharacterActionTrust, ValuesThatAreNotFiniteOrOutOfRangeAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    WalkPacket walk;
    walk.character = kHostile;
    walk.startLocation = FieldPoint(10, 10);
    walk.worldLocation = FieldPoint(nan, 10);
    SendPacketFrom(0, walk);
    AttackPacket attack;
    attack.character = kHostile;
    attack.location = FieldPoint(10, std::numeric_limits<float>::infinity());
    SendPacketFrom(0, attack);
    PlayAnimationActionPacket play;
    play.character = kHostile;
    play.animationType = 99;
    play.speedModifier = 1.0f;
    SendPacketFrom(0, play);
    IdleActionPacket idle;
    idle.character = kHostile;
    idle.hasPreMove = true;
    idle.preMovePosition = FieldPoint(nan, 0);
    SendPacketFrom(0, idle);
    EXPECT_EQ(CurrentOn(game.Server(), kHostile), CharacterActionType_Base);
    EXPECT_EQ(CurrentOn(game.Client(1), kHostile), CharacterActionType_Base);
    EXPECT_EQ(game.Server().CountLog("refused"), 4);
}

TEST_F(CharacterActionTrust, OnlyTheDeadRespawnAndOnlyWhereTheServerSpawnsThem) {
    const WorldCoords far(MakeActionRegion(), Coords::FromOrigin(Vec3(150, 0, 150)));
    SendFrom(0, RespawnAction(kHostile, far));
    EXPECT_EQ(CurrentOn(game.Server(), kHostile), CharacterActionType_Base);
    EXPECT_EQ(game.Server().CountLog("the character is alive"), 1);

    for (TestMachine* tm : game.Machines()) {
        ON_MACHINE(*tm) {
            On(kHostile).SetLifeState(Character_LifeState::Dead);
            On(kHostile).SetSpawnPoint(
                WorldCoords(MakeActionRegion(), Coords::FromOrigin(Vec3(2, 0, 2))));
        }
    }
    SendFrom(0, RespawnAction(kHostile, far));
    for (TestMachine* tm : {&game.Server(), &game.Client(1)}) {
        ON_MACHINE(*tm) {
            EXPECT_EQ(On(kHostile).GetCoords().coords.origin, Vec3(2, 0, 2));
            EXPECT_TRUE(On(kHostile).IsAlive());
        }
    }
}

TEST_F(CharacterActionTrust, ThePetOfAPlayerActsForItsMaster) {
    for (TestMachine* tm : game.Machines()) {
        ON_MACHINE(*tm) {
            test::SetMasterId(*MakeLivingCharacter(0x500, 30, 30), kHonest);
        }
    }
    SendFrom(0, IdleAction(0x500));
    EXPECT_EQ(CurrentOn(game.Server(), 0x500), CharacterActionType_Base);
    SendFrom(1, IdleAction(0x500));
    EXPECT_EQ(CurrentOn(game.Server(), 0x500), CharacterActionType_Idle);
    EXPECT_EQ(CurrentOn(game.Client(0), 0x500), CharacterActionType_Idle);
    // The sender ran it itself; the server does not send it back.
    EXPECT_EQ(CurrentOn(game.Client(1), 0x500), CharacterActionType_Base);
}

}  // namespace
}  // namespace GAME::test
