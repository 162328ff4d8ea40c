// A client's configuration command runs on the server, and goes on to the other clients, only
// when it is about the client's own player (or one of the kinds a player sends about the world).
#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/net/ActorConfigCommand.h"
#include "Engine/net/NetPacket.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/net/fields/NetPacketDescriber.h"
#include "Game/core/net/GameEngineInboundInterface.h"
#include "Game/core/net/packets/FixedItemPackets.h"
#include "Game/world/fixeditems/FixedItemState.h"
#include "players/PlayersTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"
#include "trust/TrustTestSupport.h"

namespace GAME::test {
namespace {

// A command of this test only (a type id past the game's): hides or shows an actor.
class HideConfigCmdPacket : public ObjectInteractionPacket {
public:
    HideConfigCmdPacket() : ObjectInteractionPacket(211), parent(this) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Add(&parent);
        out.Add(&visible);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        in.Remove(&parent);
        in.Remove(&visible);
    }
    std::string GetPacketDescription(bool flag) override {
        NetPacketDescriber d(this, flag);
        d.Describe("Parent ID: ", parent, 0);
        return d.GetDescription();
    }

    SmartObjectId parent;
    bool visible = true;
};

class HideConfigCmd : public ActorConfigCommand {
public:
    explicit HideConfigCmd(const HideConfigCmdPacket& packet)
        : ActorConfigCommand(packet.parent.GetId()), visible(packet.visible) {}
    void Execute() override {
        if (auto* object = Singleton<ObjectManager>::Get().GetObject<Entity>(GetObjectId()))
            object->SetVisibility(visible);
    }
    std::unique_ptr<NetPacket> GetNetPacket() override {
        auto packet = std::make_unique<HideConfigCmdPacket>();
        packet->parent = GetObjectId();
        packet->visible = visible;
        return packet;
    }

private:
    bool visible;
};

REGISTER_CONFIG_COMMAND(HideConfigCmd, HideConfigCmdPacket);

}  // namespace

// A placed object that takes the fixed-item and strategic-movement commands.
class GateFixedItem : public Actor,
                      public FixedItemCommandTarget,
                      public StrategicMovementCommandTarget {
    RTTI_DECLARE(GateFixedItem)
public:
    void SetFixedItemState(FixedItem_State, unsigned int, bool, bool) override {}
    void UseOnTarget(unsigned int, const std::vector<unsigned int>&) override {}
    void UseSkillOnTargets(unsigned int, const std::vector<unsigned int>&) override {}
    void HandleTargets(const std::vector<unsigned int>&) override {}
};

RTTI_IMPLEMENT(GateFixedItem, Actor)

namespace {

class ConfigCommandGate : public ::testing::Test {
protected:
    ConfigCommandGate() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            // Every machine holds both players, as replication gives them.
            MakePlayer(kHostile, L"Hostile", 3);
            MakePlayer(kHonest, L"Honest", 3);
        }
    }
    ~ConfigCommandGate() override { game.OnEach(ShutdownObjects); }
    void HideFromClient(int client, std::uint32_t target) {
        ON_MACHINE(game.Client(client)) {
            HideConfigCmdPacket packet;
            packet.parent = target;
            packet.visible = false;
            gEngine->GetNetworkConnectionManager()->SendToServer(&packet);
        }
        game.Pump();
    }
    bool VisibleOn(TestMachine& tm, std::uint32_t id) {
        bool visible = false;
        ON_MACHINE(tm) {
            visible = Singleton<ObjectManager>::Get().GetObject<Entity>(id)->IsVisible();
        }
        return visible;
    }

    NetTestGame game;
};

TEST_F(ConfigCommandGate, ACommandAboutAnotherPlayerIsNeitherRunNorRelayed) {
    HideFromClient(0, kHonest);
    EXPECT_TRUE(VisibleOn(game.Server(), kHonest));
    EXPECT_TRUE(VisibleOn(game.Client(1), kHonest));
    EXPECT_EQ(game.Server().CountLog("refused HideConfigCmdPacket from host 1: object"), 1);

    // About its own player the command runs on the server and reaches the other client.
    HideFromClient(0, kHostile);
    EXPECT_FALSE(VisibleOn(game.Server(), kHostile));
    EXPECT_FALSE(VisibleOn(game.Client(1), kHostile));
}

TEST_F(ConfigCommandGate, ThePlayerKindsAboutTheWorldPassAndPetsFollowTheirMaster) {
    ON_MACHINE(game.Server()) {
        using In = GameEngineInboundInterface;
        // About a placed object of the kind, whoever sends it; never about a player. What a
        // fixed item's use or skill acts on, and whom a respawn shrine heals, is found by the
        // server alone.
        Singleton<ObjectManager>::Get().CreateObject<GateFixedItem>(0x77);
        EXPECT_TRUE(In::ClientMayCommand(1, PacketType::FixedItemStateChangeConfigCmdPacket, 0x77));
        EXPECT_FALSE(In::ClientMayCommand(1, PacketType::FixedItemTargetConfigCmdPacket, 0x77));
        EXPECT_FALSE(
            In::ClientMayCommand(1, PacketType::FixedItemSkillTargetConfigCmdPacket, 0x77));
        EXPECT_FALSE(
            In::ClientMayCommand(2, PacketType::StrategicMovementTargetConfigCmdPacket, 0x77));
        EXPECT_FALSE(
            In::ClientMayCommand(1, PacketType::FixedItemStateChangeConfigCmdPacket, 0x78));
        EXPECT_FALSE(
            In::ClientMayCommand(1, PacketType::FixedItemStateChangeConfigCmdPacket, kHonest));
        EXPECT_FALSE(
            In::ClientMayCommand(1, PacketType::FixedItemStateChangeConfigCmdPacket, kHostile));
        EXPECT_FALSE(In::ClientMayCommand(1, PacketType::SetInvincibleConfigCmdPacket, kHostile));
        EXPECT_FALSE(In::ClientMayCommand(1, 211, 0x77));
        EXPECT_FALSE(In::ClientMayCommand(1, 211, 0));
        EXPECT_FALSE(In::ClientMayCommand(2, 211, kHostile));
        EXPECT_TRUE(In::ClientMayCommand(1, 211, kHostile));
        auto* pet = Singleton<ObjectManager>::Get().CreateObject<Character>(0x500);
        ASSERT_NE(pet, nullptr);
        test::SetMasterId(*pet, kHostile);
        EXPECT_TRUE(In::ClientMayCommand(1, 211, 0x500));
        EXPECT_FALSE(In::ClientMayCommand(2, 211, 0x500));
    }
}

}  // namespace
}  // namespace GAME::test
