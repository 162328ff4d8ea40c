// The skill, item and character-state commands: each kind's bytes survive the trip and rebuild
// the same command, the target result's compact layout, refused bodies, and commands enqueued on
// one machine changing the character alike on every machine.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <typeinfo>

#include "Engine/Engine.h"
#include "Engine/net/NetPacketRegistry.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/net/commands/ItemCommands.h"
#include "Game/items/Item.h"
#include "Game/items/ItemCharacterServices.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "support/NetTestGame.h"
#include "support/PacketBytes.h"
#include "support/TestMachine.h"
#include "support/TypeOf.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kCommandedHero = 0x4100;

// A command's body, beside the packet's own.
using test::BodyOf;
Bytes BodyOf(ActorConfigCommand& command) {
    std::unique_ptr<NetPacket> packet(command.GetNetPacket());
    return packet ? BodyOf(*packet) : Bytes{};
}

// A received copy of the body, read by a fresh packet of the kind.
std::unique_ptr<NetPacket> Receive(PACKET_TYPE type, const Bytes& body) {
    auto packet = NetPacketRegistry::Global().Create(type);
    packet->CopyInbound(body.data(), static_cast<int>(body.size()));
    return packet;
}

WorldCoords Placed(float x, float z) {
    WorldCoords coords;
    coords.coords.origin = Vec3(x, 1.5f, z);
    coords.coords.xAxis = Vec3(0.0f, 0.0f, -1.0f);
    return coords;
}

Team RedMonsters() {
    Team team;
    team.Set(Team::Monster, Team::Red);
    return team;
}

// One sample command of every kind built here, with values unlike the defaults.
std::vector<std::unique_ptr<ActorConfigCommand>> SampleCommands(
    std::uint32_t actor = kCommandedHero) {
    std::vector<std::unique_ptr<ActorConfigCommand>> all;
    auto add = [&](ActorConfigCommand* command) { all.emplace_back(command); };
    const WorldVec3 point(nullptr, Vec3(3.0f, -2.0f, 9.5f));
    add(new SkillTargetResultConfigCmd(actor, 7, {0x51, 0x52, 0x53}, Placed(1, 2), 0xBEEF, 0x60,
                                       true, 3));
    add(new CreateProjectileConfigCmd(actor, 2, 0x61, Placed(4, 5), 0x52, point, 0x9000, 0x1234,
                                      -2));
    add(new SpawnObjectConfigCmd(actor, 4, Placed(6, 7), 0x53, {Placed(8, 9), Placed(10, 11)},
                                 {0x70, 0x71, 0x72}, 0xABCD));
    add(new SkillStateUpdateConfigCmd(actor, 5, SkillState{12, true}));
    add(new SkillActiveStateUpdateConfigCmd(actor, 6, SkillActiveState{-4, true, true}));
    add(new CreateRemoveSkillBuffConfigCmd(actor, 0x80, "Records/Buff.dbr", 3, "Records/Mod1.dbr",
                                           4, "", 5, 12000, 0x52));
    add(new ActivateSkillConfigCmd(actor, 9, actor, point));
    add(new DropItemConfigCmd(actor, 0x90, 1.25f, -0.5f));
    add(new DropItemFromEquipLocationConfigCmd(actor, 0x91, 6, true));
    add(new UseItemConfigCmd(actor, 0x92, true));
    add(new UseRelicConfigCmd(actor, 0x93, 0x94));
    add(new AttachItemConfigCmd(actor, 0x95, 2));
    add(new DetachItemConfigCmd(actor, 0x96));
    add(new RemoveInventoryItemConfigCmd(actor, 0x97));
    add(new CharPickUpConfigCmd(actor, 0x98));
    add(new ReleasePetConfigCmd(actor, 0x99));
    add(new IncrementBaseStrengthConfigCmd(actor));
    add(new IncrementBaseDexterityConfigCmd(actor));
    add(new IncrementBaseIntelligenceConfigCmd(actor));
    add(new IncrementBaseLifeConfigCmd(actor, 40));
    add(new IncrementBaseManaConfigCmd(actor, -3));
    add(new ReleaseTrapConfigCmd(actor));
    add(new ReleaseStunConfigCmd(actor));
    add(new ReleaseImmobilizeConfigCmd(actor));
    add(new PlaySoundConfigCmd(actor, 2));
    add(new ShowCharacterConfigCmd(actor, true));
    add(new StartStopDamageEffectConfigCmd(actor, true, static_cast<CombatAttributeType>(5)));
    add(new SetCausesAngerConfigCmd(actor, true));
    add(new SetInvincibleConfigCmd(actor, true));
    add(new SetTeamConfigCmd(actor, RedMonsters()));
    add(new RequestAllyAttackConfigCmd(actor, 0x52, 0x53));
    add(new RequestAllyMoveConfigCmd(actor, 0x52, point));
    add(new QuestMoveCompletedConfigCmd(actor));
    add(new QuestAnimationCompletedConfigCmd(actor));
    add(new DisableTyphonSkillEffectsConfigCmd(actor));
    return all;
}

TEST(CharacterCommandPackets, EveryKindRebuildsTheSameCommandFromItsBytes) {
    TestMachine tm;
    const auto commands = SampleCommands();
    ASSERT_EQ(commands.size(), 35u);
    std::set<PACKET_TYPE> kinds;
    for (const auto& command : commands) {
        EXPECT_EQ(command->GetFlag(), 1);
        std::unique_ptr<NetPacket> sent(command->GetNetPacket());
        ASSERT_NE(sent, nullptr);
        const PACKET_TYPE type = sent->GetType();
        SCOPED_TRACE(NetPacketRegistry::Global().Find(type)->name);
        kinds.insert(type);
        const Bytes body = BodyOf(*sent);
        auto received = Receive(type, body);
        ASSERT_TRUE(received->IsInboundValid());
        // The command the receiver rebuilds sends the very same bytes on.
        std::unique_ptr<ActorConfigCommand> rebuilt(
            NetPacketRegistry::Global().Find(type)->command(*received));
        ASSERT_NE(rebuilt, nullptr);
        EXPECT_EQ(rebuilt->GetObjectId(), kCommandedHero);
        EXPECT_EQ(BodyOf(*rebuilt), body);
        EXPECT_EQ(test::TypeOf(rebuilt), test::TypeOf(command));
        EXPECT_EQ(received->GetPacketDescription(false).rfind("Parent ID: ", 0), 0u);
        // Every body but the target result's starts with the character's id.
        std::uint32_t first = 0;
        std::memcpy(&first, body.data(), 4);
        if (type != PacketType::SkillTargetResultConfigCmdPacket) {
            EXPECT_EQ(first, kCommandedHero);
        }
        // A byte short is refused.
        auto cut = Receive(type, Bytes(body.begin(), body.end() - 1));
        EXPECT_FALSE(cut->IsInboundValid());
    }
    EXPECT_EQ(kinds.size(), 35u);

    // With the fixed-item commands, every command kind of the table exists.
    int commandKinds = 0;
    for (const auto& [type, kind] : NetPacketRegistry::Global().Kinds())
        commandKinds += kind.command != nullptr && GetGamePacketKindName(type) != nullptr;
    EXPECT_EQ(commandKinds, 39);
}

TEST(CharacterCommandPackets, FixedLayoutsCarryTheirValuesWhereExpected) {
    TestMachine tm;
    // Object id alone.
    IncrementBaseStrengthConfigCmd strength(kCommandedHero);
    EXPECT_EQ(BodyOf(strength).size(), 4u);
    // Life without an amount sends 0, which every machine takes as the standard step.
    IncrementBaseLifeConfigCmd life(kCommandedHero);
    EXPECT_EQ(BodyOf(life), (Bytes{0x00, 0x41, 0, 0, 0, 0, 0, 0}));
    // The team: major, minor, the set flag and three zero bytes.
    SetTeamConfigCmd team(kCommandedHero, RedMonsters());
    EXPECT_EQ(BodyOf(team), (Bytes{0x00, 0x41, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}));
    // The skill state images: level, enabled, zero padding; sub-level, active, transition.
    SkillStateUpdateConfigCmd state(kCommandedHero, 0x0102, SkillState{0x0A0B0C0D, true});
    EXPECT_EQ(BodyOf(state),
              (Bytes{0x00, 0x41, 0, 0, 0x02, 0x01, 0x0D, 0x0C, 0x0B, 0x0A, 1, 0, 0, 0}));
    SkillActiveStateUpdateConfigCmd active(kCommandedHero, 1, SkillActiveState{-1, false, true});
    EXPECT_EQ(BodyOf(active), (Bytes{0x00, 0x41, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0}));
    // Spawns with empty lists: two zero counts, then the value.
    SpawnObjectConfigCmd spawn(kCommandedHero, 1, WorldCoords(), 0, {}, {}, 0x0102);
    const Bytes spawnBody = BodyOf(spawn);
    ASSERT_EQ(spawnBody.size(), 4u + 2 + 50 + 4 + 4 + 4 + 2);
    EXPECT_EQ(Bytes(spawnBody.end() - 10, spawnBody.end()),
              (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x01}));
    // The buff keeps its four numbers ahead of its three names.
    CreateRemoveSkillBuffConfigCmd buff(kCommandedHero, 1, "B", 2, "M", 3, "N", 4, 5, 6);
    EXPECT_EQ(BodyOf(buff),
              (Bytes{0x00, 0x41, 0,   0, 1, 0, 0, 0,   2, 0, 0, 0, 3,   0, 0, 0, 4, 0, 0, 0, 1, 0,
                     0,    0,    'B', 1, 0, 0, 0, 'M', 1, 0, 0, 0, 'N', 5, 0, 0, 0, 6, 0, 0, 0}));
}

// The target result: flags, actor, reference, seed, weapon, origin, then what the flags say.
struct TargetResultCase {
    std::vector<std::uint32_t> targets;
    bool useWeapon;
    int hitIteration;
    std::uint8_t flags;
    Bytes tail;  // after the origin
    int arrivingIteration;
};

TEST(CharacterCommandPackets, TargetResultSendsOnlyWhatItsFlagsAnnounce) {
    TestMachine tm;
    const TargetResultCase cases[] = {
        {{}, false, 0, 0x00, {}, 0},
        {{}, true, 1, 0x03, {1}, 1},
        {{0x51}, false, 0, 0x04, {0x51, 0, 0, 0}, 0},
        {{0x51, 0x52}, false, 2, 0x0A, {2, 2, 0, 0, 0, 0x51, 0, 0, 0, 0x52, 0, 0, 0}, 2},
        {{}, false, -3, 0x02, {0xFD}, -3},
        // Counts past a byte stay past 1 instead of wrapping to 1 or below 0.
        {{}, false, 257, 0x02, {0x7F}, 127},
        {{}, false, 200, 0x02, {0x7F}, 127},
    };
    for (const TargetResultCase& c : cases) {
        SCOPED_TRACE(c.hitIteration);
        // A seed given to the command is cut to 16 bits by the command itself.
        std::uint32_t seed = 0x12345u;
        SkillTargetResultConfigCmd command(kCommandedHero, 0x10203, c.targets, WorldCoords(), seed,
                                           0x0708, c.useWeapon, c.hitIteration);
        EXPECT_EQ(command.seed, 0x2345);
        const Bytes body = BodyOf(command);
        const Bytes head{c.flags, 0x00, 0x41, 0, 0, 0x03, 0x02, 0x45, 0x23, 0x08, 0x07, 0, 0};
        constexpr std::size_t kOrigin = 2 + 48;  // empty region name, twelve floats
        ASSERT_EQ(body.size(), head.size() + kOrigin + c.tail.size());
        EXPECT_EQ(Bytes(body.begin(), body.begin() + 13), head);
        EXPECT_EQ(Bytes(body.end() - static_cast<std::ptrdiff_t>(c.tail.size()), body.end()),
                  c.tail);

        auto received = Receive(PacketType::SkillTargetResultConfigCmdPacket, body);
        ASSERT_TRUE(received->IsInboundValid());
        SkillTargetResultConfigCmd rebuilt(
            static_cast<SkillTargetResultConfigCmdPacket&>(*received));
        EXPECT_EQ(rebuilt.targets, c.targets);
        EXPECT_EQ(rebuilt.useWeapon, c.useWeapon);
        EXPECT_EQ(rebuilt.hitIteration, c.arrivingIteration);
        EXPECT_EQ(rebuilt.seed, 0x2345);
        EXPECT_EQ(rebuilt.reference, 0x0203u);
    }
}

TEST(CharacterCommandPackets, ListsAreDescribedUnderAHeadingOneNumberedLineEach) {
    TestMachine tm;
    SkillTargetResultConfigCmd result(kCommandedHero, 1, {0x51, 0x52}, WorldCoords(), 9, 3, true,
                                      1);
    std::unique_ptr<NetPacket> packet(result.GetNetPacket());
    const std::string text = packet->GetPacketDescription(false);
    std::size_t at = 0;
    for (const char* label :
         {"Parent ID: ", "Skill Number: ", "Seed: ", "Weapon ID: ", "Use weapon flag: ",
          "Origin Coords: ", "Hit Iteration: ", "Target IDs:", "Target 0: ", "Target 1: "}) {
        const std::size_t found = text.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << text;
        at = found;
    }
    SpawnObjectConfigCmd spawn(kCommandedHero, 1, WorldCoords(), 2, {WorldCoords()}, {7, 8}, 5);
    packet = spawn.GetNetPacket();
    const std::string spawnText = packet->GetPacketDescription(false);
    at = 0;
    for (const char* label : {"Parent ID: ", "Skill Number: ", "Origin: ", "Target Id: ",
                              "Spawn Coords:", "Coords 0: ", "Spawn IDs:", "Id 0: ", "Id 1: "}) {
        const std::size_t found = spawnText.find(label, at);
        ASSERT_NE(found, std::string::npos) << label << " in\n" << spawnText;
        at = found;
    }
    EXPECT_EQ(spawnText.find("Coords 1: "), std::string::npos);
}

TEST(CharacterCommandPackets, MalformedBodiesAreRefused) {
    TestMachine tm;
    SkillTargetResultConfigCmd one(kCommandedHero, 1, {0x51}, WorldCoords(), 1, 0, false, 0);
    const Bytes good = BodyOf(one);
    auto refused = [](PACKET_TYPE type, Bytes body) {
        return !Receive(type, body)->IsInboundValid();
    };
    const PACKET_TYPE result = PacketType::SkillTargetResultConfigCmdPacket;
    EXPECT_FALSE(refused(result, good));
    Bytes highBits = good;
    highBits[0] |= 0x10;
    EXPECT_TRUE(refused(result, highBits));
    Bytes bothForms = good;
    bothForms[0] |= 0x08;  // one target and a list at once
    EXPECT_TRUE(refused(result, bothForms));
    // A list announced as two or more that holds one.
    Bytes shortList = good;
    shortList[0] = 0x08;
    shortList.resize(shortList.size() - 4);
    shortList.insert(shortList.end(), {1, 0, 0, 0, 0x51, 0, 0, 0});
    EXPECT_TRUE(refused(result, shortList));
    Bytes longer = good;
    longer.push_back(0);
    EXPECT_TRUE(refused(result, longer));

    // A spawn count the body cannot hold is refused before anything is reserved for it.
    SpawnObjectConfigCmd spawn(kCommandedHero, 1, WorldCoords(), 0, {}, {}, 0);
    Bytes huge = BodyOf(spawn);
    const std::size_t countAt = 4 + 2 + 50 + 4;
    huge[countAt + 3] = 0x7F;
    EXPECT_TRUE(refused(PacketType::SpawnObjectConfigCmdPacket, huge));
}

// Every machine holds the hero under one id, as replication gives it; the first client (host 1)
// owns it.
constexpr std::uint32_t kOwnHero = 0x10004100;
class CommandsAcrossMachines : public ::testing::Test {
protected:
    CommandsAcrossMachines() : game(2) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
            auto* hero = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
                "Records/SkillManager/Warrior.dbr", kOwnHero);
            hero->InitialUpdate();
            hero->GetSkillManager().LoadSkills("Records/SkillManager/Warrior.dbr", 31);
            hero->GetExperienceLevelControl().AddModifierPoints(2);
            hero->GetExperienceLevelControl().AddSkillPoints(3);
        }
    }
    ~CommandsAcrossMachines() override { game.OnEach(ShutdownObjects); }
    static Character& Hero() {
        return *Singleton<ObjectManager>::Get().GetObject<Character>(kOwnHero);
    }
    // The hero's attribute once its bio has taken in what changed.
    static float Total(CharAttributeType type) {
        Character& hero = Hero();
        hero.GetCharacterBio().Update(hero, 0);
        return hero.GetTotalCharAttribute(type);
    }
    void EnqueueOn(TestMachine& tm, std::unique_ptr<ActorConfigCommand> command) {
        ON_MACHINE(tm) {
            Hero().Enqueue(std::move(command));
        }
        game.Pump();
    }

    NetTestGame game;
};

TEST_F(CommandsAcrossMachines, EveryKindEnqueuedOnTheServerIsTakenByBothClients) {
    // The other objects the samples name, as every machine would hold them.
    game.OnEach([] {
        for (std::uint32_t id : {0x51u, 0x52u, 0x53u, 0x98u})
            Singleton<ObjectManager>::Get().CreateObject<Character>(id);
        return 0;
    });
    const auto counts = [this] {
        return game.OnEach([] {
            const NetworkConnectionManager& net = *gEngine->GetNetworkConnectionManager();
            return std::make_pair(net.GetPacketsReceived(), net.GetPacketsDropped());
        });
    };
    auto commands = SampleCommands(kOwnHero);
    for (auto& command : commands) {
        const auto before = counts();
        ON_MACHINE(game.Server()) {
            Singleton<ObjectManager>::Get().GetObject<Character>(kOwnHero)->Enqueue(
                std::move(command));
        }
        game.Pump();
        const auto after = counts();
        EXPECT_EQ(after[0], before[0]);  // nothing comes back to the server
        for (std::size_t client = 1; client < after.size(); ++client) {
            EXPECT_EQ(after[client].first, before[client].first + 1);
            EXPECT_EQ(after[client].second, 0u);
        }
    }
}

TEST_F(CommandsAcrossMachines, CharacterStateCommandsChangeTheHeroAlikeEverywhere) {
    const auto strength = [] { return Total(CharAttributeType::Strength); };
    const auto before = game.OnEach(strength);
    EnqueueOn(game.Server(), std::make_unique<IncrementBaseStrengthConfigCmd>(kOwnHero));
    EnqueueOn(game.Server(), std::make_unique<SetTeamConfigCmd>(kOwnHero, RedMonsters()));
    EnqueueOn(game.Server(), std::make_unique<SetInvincibleConfigCmd>(kOwnHero, true));
    EnqueueOn(game.Server(), std::make_unique<ShowCharacterConfigCmd>(kOwnHero, false));
    EnqueueOn(game.Server(), std::make_unique<SetCausesAngerConfigCmd>(kOwnHero, false));
    const auto after = game.OnEach(strength);
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_FLOAT_EQ(after[i] - before[i], 4.0f);  // the record's step, once

    const auto states = game.OnEach([] {
        const Character& hero = Hero();
        return std::make_tuple(hero.GetTeam() == RedMonsters(), hero.IsInvincible(),
                               hero.IsVisible(), hero.CausesAnger());
    });
    for (const auto& state : states)
        EXPECT_EQ(state, std::make_tuple(true, true, false, false));
}

TEST_F(CommandsAcrossMachines, LifeWithoutAnAmountTakesTheStandardStepEverywhere) {
    const auto limit = [] { return Total(CharAttributeType::Life); };
    const auto before = game.OnEach(limit);
    EnqueueOn(game.Client(0), std::make_unique<IncrementBaseLifeConfigCmd>(kOwnHero));
    const auto standard = game.OnEach(limit);
    EnqueueOn(game.Server(), std::make_unique<IncrementBaseLifeConfigCmd>(kOwnHero, 7));
    const auto after = game.OnEach(limit);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_FLOAT_EQ(standard[i] - before[i], 20.0f);  // the record's step, not 0
        EXPECT_FLOAT_EQ(after[i] - standard[i], 7.0f);
    }
}

TEST_F(CommandsAcrossMachines, SkillStateCommandsReachTheSameSkillByReference) {
    const std::uint32_t reference = game.OnEach([] {
        SkillManager& skills = Hero().GetSkillManager();
        return skills.GetSkillReferenceNumber(skills.FindSkillId("Records/SkillManager/Bolt.dbr"));
    })[0];
    EnqueueOn(game.Client(0), std::make_unique<SkillStateUpdateConfigCmd>(kOwnHero, reference,
                                                                          SkillState{3, true}));
    const auto levels = game.OnEach([] {
        SkillManager& skills = Hero().GetSkillManager();
        const auto* bolt = Singleton<ObjectManager>::Get().GetObject<Skill>(
            skills.FindSkillId("Records/SkillManager/Bolt.dbr"));
        return bolt ? bolt->GetSkillLevel() : 0u;
    });
    EXPECT_EQ(levels, (std::vector<std::uint32_t>{3, 3, 3}));
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

// Counts what items hand to characters.
class GivingServices : public ItemCharacterServices {
public:
    bool GiveItemToCharacter(Character& character, Item& item) override {
        given.emplace_back(character.GetObjectId(), item.GetObjectId());
        return true;
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> given;
};

TEST(CharacterCommandPackets, APickUpTakesTheItemFromTheWorldOnlyForAPlayer) {
    TestMachine tm;
    auto owned = std::make_unique<GivingServices>();
    GivingServices& services = *owned;
    ItemCharacterServices::Install(std::move(owned));
    World& world = World::Get();
    Region* region = world.AddRegion(std::make_unique<Region>("P", Vec3(), Vec3(100, 50, 100)));
    auto& objects = Singleton<ObjectManager>::Get();
    auto* item = objects.CreateObjectFromFile<Item>("Records/Items/Pebble.dbr");
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(world.AddEntity(item, WorldCoords(region, Coords()), true));
    const std::size_t placed = world.GetEntityCount();
    auto* monster = objects.CreateObject<Character>();
    auto* player = objects.CreateObject<Player>();

    // A character that is not a player picks nothing up, and the item may be offered again.
    CharPickUpConfigCmd(monster->GetObjectId(), item->GetObjectId()).RunExecute();
    EXPECT_EQ(world.GetEntityCount(), placed);
    EXPECT_TRUE(item->IsPickupOk());
    EXPECT_TRUE(services.given.empty());

    item->SetPickupOk(false);
    CharPickUpConfigCmd(player->GetObjectId(), item->GetObjectId()).RunExecute();
    EXPECT_EQ(world.GetEntityCount(), placed - 1);
    EXPECT_TRUE(item->IsPickupOk());
    EXPECT_EQ(services.given, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                  {player->GetObjectId(), item->GetObjectId()}}));

    // No such item: nothing happens.
    CharPickUpConfigCmd(player->GetObjectId(), 0x7777).RunExecute();
    EXPECT_EQ(services.given.size(), 1u);
    ItemCharacterServices::Install(nullptr);
}

}  // namespace
}  // namespace GAME::test
