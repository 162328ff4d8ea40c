// A monster as another machine sees it: the snapshot the server writes, read and applied by a
// monster on a client; its compact fields; and hostile snapshots refused whole.
#include <gtest/gtest.h>

#include "../CharacterTestSupport.h"
#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Engine/object/ObjectManager.h"
#include "Game/characters/monster/Monster.h"
#include "Game/characters/monster/MonsterReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/commands/CharacterCommands.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/skills/Skill.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

constexpr const char* kBite = "Records/Monsters/Bite.dbr";
constexpr std::uint32_t kWolfId = 0x731;
constexpr std::uint32_t kChiefId = 0x732;

using Body = std::vector<std::uint8_t>;

// Any packet serves as the carrier of a body.
template <class Write>
Body Encode(Write write) {
    SpawnPlayerPacket packet;
    NetPacketOutBuffer out(&packet);
    write(out);
    const auto* data = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return {data, data + packet.GetOutBufferSize()};
}

bool ReadInto(Monster& monster, const Body& body) {
    NetPacketHeader header;
    header.BeginInbound(static_cast<std::uint32_t>(body.size()));
    NetPacketInBuffer in(header, body.data(), static_cast<int>(body.size()));
    return monster.ReadReplicationData(in);
}

bool ReadData(MonsterReplicationData& data, const Body& body) {
    NetPacketHeader header;
    header.BeginInbound(static_cast<std::uint32_t>(body.size()));
    NetPacketInBuffer in(header, body.data(), static_cast<int>(body.size()));
    return data.Read(in);
}

// What another machine should see of a monster.
struct MonsterSeen {
    std::uint32_t life, mana;
    Team team;
    std::uint32_t leader;
    bool visible;
    Character_LifeState lifeState;
    std::string proxyParent;
    unsigned siblings;
    LootStruct loot;
    std::uint32_t biteLevel;
    std::size_t damageEntries;
    bool operator==(const MonsterSeen&) const = default;
};

MonsterSeen SeenOf(Monster& m) {
    std::uint32_t biteLevel = 0;
    if (auto* bite = Singleton<ObjectManager>::Get().GetObject<Skill>(
            m.GetSkillManager().FindSkillId(kBite)))
        biteLevel = bite->GetSkillLevel();
    return {static_cast<std::uint32_t>(m.GetCurrentLife()),
            static_cast<std::uint32_t>(m.GetCurrentMana()),
            m.Character::GetTeam(),
            m.GetLeaderId(),
            m.IsVisible(),
            m.GetLifeState(),
            m.GetProxyParent(),
            m.GetProxyNumSiblings(),
            m.GetLootStruct(),
            biteLevel,
            m.GetDurationDamageManager().GetEntries().size()};
}

class MonsterReplication : public ::testing::Test {
protected:
    MonsterReplication() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
        }
    }
    ~MonsterReplication() override { game.OnEach(ShutdownObjects); }

    static Monster* MakeWolf(std::uint32_t id) {
        auto* wolf = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(kWolfRecord, id);
        if (wolf)
            wolf->InitialUpdate();
        return wolf;
    }

    NetTestGame game;
};

TEST_F(MonsterReplication, AServerMonsterShowsTheSameOnAClient) {
    MonsterSeen onServer{};
    Body body;
    ON_MACHINE(game.Server()) {
        Monster* chief = MakeWolf(kChiefId);
        Monster* wolf = MakeWolf(kWolfId);
        ASSERT_TRUE(chief && wolf);
        chief->SetTeam(TeamManager::BuildTeam(Team::Monster, Team::Violet));
        wolf->JoinMe(kChiefId, -1, false);
        test::SetLife(*wolf, 95.0f, 120.0f);
        wolf->SetProxyParent("Records/Proxies/Pack.dbr");
        wolf->SetProxyNumSiblings(300);
        LootStruct loot;
        loot.lootSeed = 0xBEEF;
        loot.lootLevel = 12;
        for (std::uint32_t k = 0; k < LootStruct::kAttachedItems; ++k)
            loot.attachedItemIds[k] = 100 + k;
        test::CharacterTestAccess::SetLootStruct(*wolf, loot);
        auto* bite = Singleton<ObjectManager>::Get().GetObject<Skill>(
            wolf->GetSkillManager().FindSkillId(kBite));
        ASSERT_NE(bite, nullptr);
        bite->SetSkillLevel(4);
        DurationDamageManager& damage = wolf->GetDurationDamageManager();
        damage.SetAttacker(9);
        damage.AddDamage(CombatAttributeType::Fire, 20.0f, 0.4f);
        damage.EndAttack();
        onServer = SeenOf(*wolf);
        body = Encode([&](NetPacketOutBuffer& out) { wolf->WriteReplicationData(out); });
    }
    ASSERT_EQ(onServer.biteLevel, 4u);  // the record gives 3
    ASSERT_EQ(onServer.damageEntries, 1u);
    // The sibling count travels as its low byte: 300 arrives as 44.
    onServer.siblings = 44;

    ON_MACHINE(game.Client(0)) {
        Monster* wolf = MakeWolf(kWolfId);
        ASSERT_NE(wolf, nullptr);
        EXPECT_NE(SeenOf(*wolf), onServer);
        ASSERT_TRUE(ReadInto(*wolf, body));
        wolf->ApplyReplicationData();
        EXPECT_EQ(SeenOf(*wolf), onServer);
        EXPECT_FALSE(wolf->HasPendingReplicationData());

        game.Client(0).ClearLog();
        wolf->ApplyReplicationData();
        EXPECT_EQ(game.Client(0).CountLog("Monster::ApplyReplicationData: Attempt to Apply NULL "
                                          "replication data."),
                  1);
    }
}

MonsterReplicationData SampleMonsterData() {
    MonsterReplicationData data;
    data.lifeState = Character_LifeState::Alive;
    data.alive = true;
    data.visible = true;
    data.actionState = Character_ActionState::Attack;
    data.currentLife = 50.0f;
    data.team = TeamManager::BuildTeam(Team::Monster, Team::Red);
    data.skills.push_back({kBite, SkillState(4, true), SkillActiveState(2, true, false)});
    data.skillBuffs.push_back({});
    data.skillBuffs.back().casterId = 0x55;
    for (std::uint32_t k = 0; k < LootStruct::kAttachedItems; ++k)
        data.loot.attachedItemIds[k] = 100 + k;
    return data;
}

TEST_F(MonsterReplication, CompactFieldsTravelOnlyWhenNeeded) {
    ON_MACHINE(game.Server()) {
        const MonsterReplicationData consecutive = SampleMonsterData();
        MonsterReplicationData scattered = SampleMonsterData();
        scattered.loot.attachedItemIds[4] = 7;
        MonsterReplicationData dead = SampleMonsterData();
        dead.alive = false;
        MonsterReplicationData moving = SampleMonsterData();
        moving.moving = true;
        moving.attackTarget = 0x99;
        moving.attackSkill = 0x42;

        auto encode = [](const MonsterReplicationData& d) {
            return Encode([&](NetPacketOutBuffer& out) { d.Write(out, 1); });
        };
        const Body base = encode(consecutive);
        EXPECT_EQ(base[0] & 0x80, 0x80);  // consecutive ids flagged
        EXPECT_EQ(base[0] & 0x07, static_cast<int>(Character_LifeState::Alive));
        EXPECT_EQ(encode(scattered).size(), base.size() + 8 * 4);
        EXPECT_EQ(encode(dead).size(), base.size() - (2 + 2 + 4));
        EXPECT_GT(encode(moving).size(), base.size() + 8);

        MonsterReplicationData back;
        ASSERT_TRUE(ReadData(back, base));
        EXPECT_EQ(back.loot, consecutive.loot);
        ASSERT_EQ(back.skills.size(), 1u);
        EXPECT_EQ(back.skills[0].skillName, kBite);
        EXPECT_EQ(back.skills[0].state, SkillState(4, true));
        EXPECT_EQ(back.skills[0].activeState, SkillActiveState(2, true, false));
        ASSERT_EQ(back.skillBuffs.size(), 1u);
        EXPECT_EQ(back.skillBuffs[0].casterId, 0x55u);
        EXPECT_EQ(back.team, consecutive.team);

        MonsterReplicationData scatteredBack;
        ASSERT_TRUE(ReadData(scatteredBack, encode(scattered)));
        EXPECT_EQ(scatteredBack.loot, scattered.loot);
        MonsterReplicationData movingBack;
        ASSERT_TRUE(ReadData(movingBack, encode(moving)));
        EXPECT_EQ(movingBack.attackTarget, 0x99u);
        EXPECT_EQ(movingBack.attackSkill, 0x42u);

        // A list longer than a count byte loses its tail with a log line; the rest still reads.
        MonsterReplicationData crowded = SampleMonsterData();
        crowded.skills.resize(300);
        MonsterReplicationData crowdedBack;
        ASSERT_TRUE(ReadData(crowdedBack, encode(crowded)));
        EXPECT_EQ(crowdedBack.skills.size(), 255u);
        EXPECT_EQ(game.Server().CountLog("has 300 skills; only the first 255 travel"), 1);
    }
}

TEST_F(MonsterReplication, HostileBodiesAreRefusedWhole) {
    ON_MACHINE(game.Client(0)) {
        Monster* wolf = MakeWolf(kWolfId);
        ASSERT_NE(wolf, nullptr);
        const Body good =
            Encode([](NetPacketOutBuffer& out) { SampleMonsterData().Write(out, 1); });
        ASSERT_TRUE(ReadInto(*wolf, good));

        // Every cut of a good body is refused, and a refused read drops what was pending.
        for (std::size_t size = 0; size < good.size(); ++size) {
            const Body cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_FALSE(ReadInto(*wolf, cut)) << size;
            EXPECT_FALSE(wolf->HasPendingReplicationData()) << size;
        }

        // A skill count far beyond what the body holds.
        MonsterReplicationData empty;
        Body bigCount = Encode([&](NetPacketOutBuffer& out) { empty.Write(out, 1); });
        // flags, four words, siblings, empty parent, team (flags, minor), then the counts.
        const std::size_t skillCount = 1 + 16 + 1 + 4 + 2 + 2;
        ASSERT_LT(skillCount, bigCount.size());
        bigCount[skillCount] = 200;
        game.Client(0).ClearLog();
        EXPECT_FALSE(ReadInto(*wolf, bigCount));
        EXPECT_EQ(game.Client(0).CountLog("cut short or malformed; refused."), 1);

        // Life states beyond the known ones.
        Body badLife = good;
        badLife[0] = static_cast<std::uint8_t>((badLife[0] & ~0x07) | 0x07);
        EXPECT_FALSE(ReadInto(*wolf, badLife));
        const MonsterSeen before = SeenOf(*wolf);
        wolf->ApplyReplicationData();
        EXPECT_EQ(SeenOf(*wolf), before);
    }
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

TEST_F(MonsterReplication, ANetSoundReachesEveryMachineByItsIndexAndOnlyFromTheServer) {
    auto alertPlays = [&](TestMachine& tm) {
        MachineScope scope(tm.machine());
        auto* wolf = Singleton<ObjectManager>::Get().GetObject<Monster>(kWolfId);
        return wolf ? wolf->GetAlertSound()->GetPlayCount() : 99u;
    };
    for (TestMachine* tm : game.Machines()) {
        MachineScope scope(tm->machine());
        ASSERT_NE(MakeWolf(kWolfId), nullptr);
    }
    ON_MACHINE(game.Server()) {
        auto* wolf = Singleton<ObjectManager>::Get().GetObject<Monster>(kWolfId);
        ASSERT_EQ(wolf->GetNetSoundCount(), 1u);  // the alert sound only
        wolf->PlayNetSound(wolf->GetAlertSound());
    }
    game.Pump();
    EXPECT_EQ(alertPlays(game.Server()), 1u);
    EXPECT_EQ(alertPlays(game.Client(0)), 1u);

    // A client may not make the server's monster sound for everyone.
    ON_MACHINE(game.Client(0)) {
        auto* wolf = Singleton<ObjectManager>::Get().GetObject<Monster>(kWolfId);
        wolf->Enqueue(std::make_unique<PlaySoundConfigCmd>(kWolfId, 0u));
    }
    game.Pump();
    EXPECT_EQ(alertPlays(game.Server()), 1u);
}

}  // namespace
}  // namespace GAME::test
