#include <gtest/gtest.h>

#include <set>

#include "Engine/net/ChatPacket.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/SmartObjectId.h"
#include "Engine/net/fields/NetPacketDescriber.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/Region.h"
#include "ProbePacket.h"
#include "TestCommand.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

NetPacket* MakeProbe() {
    return new ProbePacket();
}

// A probe packet that pretends to be of another kind.
template <PACKET_TYPE Type>
class TypedPacket : public ProbePacket {
public:
    TypedPacket() { GetHeader().type = Type; }
};

class NetPacketRegistryTest : public ::testing::Test {
protected:
    TestMachine tm;
    NetPacketRegistry registry;
};

TEST(PacketTables, HoldEveryKindOnceAndAgreeWithEachOther) {
    std::set<PACKET_TYPE> ids;
#define COLLECT(id, kind, base) ids.insert(id);
    GAME_PACKET_KINDS(COLLECT)
#undef COLLECT
    EXPECT_EQ(ids.size(), 103u);
    EXPECT_EQ(*ids.begin(), 17);
    EXPECT_EQ(*ids.rbegin(), 126);
    for (PACKET_TYPE free : {18, 19, 31, 62, 109, 110, 111})
        EXPECT_EQ(ids.count(free), 0u) << free;

    std::set<PACKET_TYPE> commandIds;
#define CHECK_COMMAND(command, packet, id)                  \
    commandIds.insert(id);                                  \
    EXPECT_EQ(FindGamePacketType(#packet), id) << #command; \
    EXPECT_STREQ(GetGamePacketBaseName(id), "ObjectInteractionPacket") << #command;
    GAME_CONFIG_COMMANDS(CHECK_COMMAND)
#undef CHECK_COMMAND
    EXPECT_EQ(commandIds.size(), 39u);
    EXPECT_EQ(GetConfigCommandPacketType("CharPickUpConfigCmd"), 86);
    EXPECT_STREQ(GetConfigCommandPacketName("CharPickUpConfigCmd"), "PickupItemConfigCmdPacket");
    EXPECT_EQ(GetConfigCommandPacketType("NoSuchConfigCmd"), 0);
    EXPECT_STREQ(GetGamePacketKindName(30), "SpawnPlayerPacket");
    EXPECT_STREQ(GetGamePacketBaseName(30), "ObjectContainerPacket");
    EXPECT_EQ(GetGamePacketKindName(31), nullptr);
}

TEST_F(NetPacketRegistryTest, RejectsADuplicateTypeId) {
    EXPECT_TRUE(registry.Register(240, "FirstProbe", &MakeProbe));
    EXPECT_FALSE(registry.Register(240, "SecondProbe", &MakeProbe));
    EXPECT_EQ(registry.Find(240)->name, "FirstProbe");
    EXPECT_EQ(tm.CountLog("already taken by FirstProbe"), 1);
}

TEST_F(NetPacketRegistryTest, RejectsKindsThatDisagreeWithTheTable) {
    EXPECT_FALSE(registry.Register(40, "GiveGoldPacket", &MakeProbe));  // its id is 112
    EXPECT_FALSE(registry.Register(112, "SomethingElse", &MakeProbe));
    EXPECT_FALSE(registry.Register(0, "Nothing", &MakeProbe));
    EXPECT_TRUE(registry.Register(112, "GiveGoldPacket", &MakeProbe));
    // A command must travel as its own packet kind.
    auto make = [](NetPacket&) -> ActorConfigCommand* { return nullptr; };
    EXPECT_FALSE(registry.RegisterCommand(82, "DropItemConfigCmdPacket", &MakeProbe,
                                          "UseItemConfigCmd", make));
    EXPECT_FALSE(registry.RegisterCommand(84, "DropItemConfigCmdPacket", &MakeProbe,
                                          "UseItemConfigCmd", make));
    EXPECT_TRUE(registry.RegisterCommand(84, "UseItemConfigCmdPacket", &MakeProbe,
                                         "UseItemConfigCmd", make));
    EXPECT_EQ(registry.Size(), 2u);
}

TEST_F(NetPacketRegistryTest, ReceivedBodiesAreReadCheckedAndThenHandled) {
    std::vector<std::uint32_t> handled;
    registry.Register(
        241, "Probe",
        [] {
            auto* p = new TypedPacket<241>();
            p->read = [](NetPacketInBuffer& in) {
                std::uint32_t v;
                in.Read32(v);
            };
            return static_cast<NetPacket*>(p);
        },
        [&](NetPacket& packet) { handled.push_back(packet.GetHeader().bodySize); });
    const std::uint8_t body[4] = {1, 2, 3, 4};
    EXPECT_EQ(registry.Receive(241, body, 4, 3), NetReceiveResult::Executed);
    EXPECT_EQ(handled, (std::vector<std::uint32_t>{4}));

    // Short and long bodies are logged with their type id and size and run nothing.
    EXPECT_EQ(registry.Receive(241, body, 3, 3), NetReceiveResult::BadBody);
    const std::uint8_t longer[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(registry.Receive(241, longer, 5, 3), NetReceiveResult::BadBody);
    EXPECT_EQ(handled.size(), 1u);
    EXPECT_EQ(tm.CountLog("dropped bad Probe (type 241, 3 bytes) from host 3"), 1);
    EXPECT_EQ(tm.CountLog("dropped bad Probe (type 241, 5 bytes) from host 3"), 1);

    EXPECT_EQ(registry.Receive(77, body, 4, 2), NetReceiveResult::UnknownType);
    EXPECT_EQ(tm.CountLog("unknown type 77 (4 bytes) from host 2"), 1);
}

// A kind without fields whose reader skips the in-buffer altogether.
class FieldlessPacket : public NetPacket {
public:
    FieldlessPacket() : NetPacket(243) {}
    unsigned int PrepareOutBuffer() override { return 0; }
    void CopyInbound(const unsigned char*, int) override {}
};

TEST_F(NetPacketRegistryTest, ABodyNobodyReadIsBadUnlessItIsEmpty) {
    int runs = 0;
    registry.Register(
        243, "FieldlessProbe", [] { return static_cast<NetPacket*>(new FieldlessPacket()); },
        [&](NetPacket&) { ++runs; });
    const std::uint8_t body[3] = {7, 7, 7};
    EXPECT_EQ(registry.Receive(243, body, 3, 1), NetReceiveResult::BadBody);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(tm.CountLog("dropped bad FieldlessProbe (type 243, 3 bytes) from host 1"), 1);
    EXPECT_EQ(registry.Receive(243, nullptr, 0, 1), NetReceiveResult::Executed);
    EXPECT_EQ(runs, 1);
}

TEST_F(NetPacketRegistryTest, APacketWhoseActorIsMissingDoesNotRun) {
    int runs = 0;
    registry.Register(
        242, "ActorProbe",
        [] {
            auto* p = new TypedPacket<242>();
            auto id = std::make_shared<SmartObjectId>(p);
            p->read = [id](NetPacketInBuffer& in) { in.Remove(id.get()); };
            return static_cast<NetPacket*>(p);
        },
        [&](NetPacket&) { ++runs; });
    const std::uint8_t body[4] = {0x10, 0, 0, 0};
    EXPECT_EQ(registry.Receive(242, body, 4, 1), NetReceiveResult::ObjectsMissing);
    Singleton<ObjectManager>::Get().CreateObject<Actor>(0x10);
    EXPECT_EQ(registry.Receive(242, body, 4, 1), NetReceiveResult::Executed);
    EXPECT_EQ(runs, 1);
}

TEST_F(NetPacketRegistryTest, KindsWithoutAHandlerAreLoggedNotRun) {
    registry.Register<ChatPacket>("ChatPacket");
    ChatPacket chat;
    chat.from = L"Ann";
    const unsigned int size = chat.PrepareOutBuffer();
    EXPECT_EQ(
        registry.Receive(PacketType::ChatPacket,
                         reinterpret_cast<const unsigned char*>(chat.GetOutBuffer()), size, 1),
        NetReceiveResult::NoHandler);
    EXPECT_EQ(tm.CountLog("no handler for ChatPacket"), 1);
}

TEST_F(NetPacketRegistryTest, TheProcessRegistryKnowsTheEngineKinds) {
    const NetPacketKind* chat = NetPacketRegistry::Global().Find(PacketType::ChatPacket);
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(chat->name, "ChatPacket");
    const NetPacketKind* tally = NetPacketRegistry::Global().Find(kTallyPacketType);
    ASSERT_NE(tally, nullptr);
    EXPECT_EQ(tally->commandName, "TallyConfigCmd");
    EXPECT_NE(tally->command, nullptr);
}

// An action kind: the base hands its buffer to Serialize and Deserialize.
class StepPacket : public CharacterActionPacket {
public:
    StepPacket() : CharacterActionPacket(PacketType::WalkPacket), character(this) {}
    void Serialize(NetPacketOutBuffer& out) override {
        out.Add(&character);
        out.Write32(distance);
    }
    void Deserialize(NetPacketInBuffer& in) override {
        in.Remove(&character);
        in.Read32(distance);
    }
    SmartObjectId character;
    float distance = 0;
};

class SpawnProbe : public ObjectContainerPacket {
public:
    SpawnProbe() : ObjectContainerPacket(PacketType::SpawnPlayerPacket), player(this) {}
    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        out.Add(&player);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        in.Remove(&player);
    }
    SmartObjectId player;
};

TEST(PacketBases, ActionPacketsWriteAndReadThroughTheirKind) {
    TestMachine tm;
    StepPacket sent;
    sent.character = 0x10000001;
    sent.distance = 2.5f;
    ASSERT_EQ(sent.PrepareOutBuffer(), 8u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(sent.GetOutBuffer());
    StepPacket read;
    read.CopyInbound(bytes, 8);
    EXPECT_TRUE(read.IsInboundValid());
    EXPECT_EQ(read.character.GetId(), 0x10000001u);
    EXPECT_EQ(read.distance, 2.5f);
    EXPECT_FALSE(read.CheckObjects(0));  // the character is not on this machine
    StepPacket shorter;
    shorter.CopyInbound(bytes, 7);
    EXPECT_FALSE(shorter.IsInboundValid());
    EXPECT_EQ(shorter.distance, 0.0f);
}

TEST(PacketBases, ASpawnPacketMayNameAnObjectThatIsNotThereYet) {
    TestMachine tm;
    SpawnProbe sent;
    sent.player = 0x20000001;
    sent.PrepareOutBuffer();
    SpawnProbe read;
    read.CopyInbound(reinterpret_cast<const unsigned char*>(sent.GetOutBuffer()), 4);
    EXPECT_TRUE(read.IsInboundValid());
    EXPECT_TRUE(read.CheckObjects(0));
    EXPECT_EQ(read.player.GetId(), 0x20000001u);
}

TEST(NetPacketDescriber, WritesLabelThenValueWithFourBlanksPerIndent) {
    TestMachine tm;
    Region cave("Cave");
    ProbePacket packet;
    NetPacketDescriber describer(&packet, false);
    describer.Describe("Parent ID: ", 5u, 0);
    describer.Heading("Target IDs:", 0);
    describer.Describe("Target 0: ", 7u, 1);
    describer.Describe("Accepted:  ", true, 0);
    describer.Describe("Level: ", -3, 2);
    describer.Describe("x: ", 1.5f, 0);
    describer.Describe("text: ", std::wstring(L"h\u00e9"), 0);
    describer.Describe("Warp Point: ", WorldVec3(&cave, {1, 2, 3}), 0);
    EXPECT_EQ(describer.GetDescription(),
              "Parent ID: 5\n"
              "Target IDs:\n"
              "    Target 0: 7\n"
              "Accepted:  true\n"
              "        Level: -3\n"
              "x: 1.5\n"
              "text: h\xC3\xA9\n"
              "Warp Point: (1, 2, 3) in Cave\n");
}

TEST(NetPacketDescriber, TheFlagAddsTheKindAndTypeId) {
    TestMachine tm;
    TallyConfigCmdPacket packet;
    packet.parent = 12;
    packet.amount = 3;
    packet.note = "n";
    packet.witnesses = std::vector<std::uint32_t>{4};
    EXPECT_EQ(packet.GetPacketDescription(false),
              "Parent ID: 12\nAmount: 3\nNote: n\nWitness IDs:\n    Target 0: 4\n");
    EXPECT_EQ(packet.GetPacketDescription(true).rfind(
                  "TallyConfigCmdPacket (type 200)\nParent ID: 12\n", 0),
              0u);
}

}  // namespace
}  // namespace GAME::test
