// A player as another machine sees it: the snapshot the server writes into the spawn packet, read
// and applied by a player on a client; malformed snapshots are refused whole.
#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Engine.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Game/characters/Player.h"
#include "Game/characters/player/PlayerReplicationData.h"
#include "Game/core/GameEngine.h"
#include "Game/core/net/packets/WorldPackets.h"
#include "Game/items/Item.h"
#include "Game/items/inventory/Inventory.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "PlayerTestSupport.h"
#include "support/CharacterSetUp.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;
constexpr std::uint32_t kHeroId = 0x520;

std::vector<std::uint8_t> BodyOf(NetPacket& packet) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(packet.GetOutBuffer());
    return {data, data + packet.GetOutBufferSize()};
}

// Reads a body into the player; whether it was taken.
bool ReadInto(Player& player, const std::vector<std::uint8_t>& body) {
    NetPacketHeader header;
    header.BeginInbound(static_cast<std::uint32_t>(body.size()));
    NetPacketInBuffer in(header, body.data(), static_cast<int>(body.size()));
    return player.ReadReplicationData(in);
}

// What another machine should see of a player.
struct PlayerSeen {
    std::wstring name;
    std::uint32_t life, mana, strength;
    Team team;
    std::uint32_t level, experience, money;
    std::string texture;
    std::vector<std::pair<std::string, std::uint32_t>> skills;
    std::vector<std::vector<int>> ticks;
    bool operator==(const PlayerSeen&) const = default;
};

PlayerSeen SeenOf(Player& p) {
    CharacterBioReplicaInfo bio;
    p.GetCharacterBio().GetCurrentBioStats(bio);
    PlayerSeen seen{p.GetPlayerName(),
                    static_cast<std::uint32_t>(p.GetCurrentLife()),
                    static_cast<std::uint32_t>(p.GetCurrentMana()),
                    bio.baseStrength,
                    p.GetOwnTeam(),
                    p.GetExperienceLevelControl().GetLevel(),
                    p.GetExperienceLevelControl().GetExperiencePoints(),
                    p.GetMoney(),
                    p.GetPlayerTexture(),
                    {},
                    {}};
    for (std::uint32_t id : p.GetSkillManager().GetSkillList())
        if (auto* skill = Singleton<ObjectManager>::Get().GetObject<Skill>(id))
            seen.skills.emplace_back(skill->GetObjectName(), skill->GetSkillLevel());
    for (const auto& entry : p.GetDurationDamageManager().GetEntries()) {
        std::vector<int> ticks;
        for (float tick : entry.GetActiveTicks())
            ticks.push_back(static_cast<int>(tick * 100.0f));
        seen.ticks.push_back(ticks);
    }
    return seen;
}

class PlayerReplication : public ::testing::Test {
protected:
    PlayerReplication() : game(1) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            InitializeObjects();
            game.TakeRole(*tm);
        }
    }
    ~PlayerReplication() override { game.OnEach(ShutdownObjects); }

    NetTestGame game;
};

TEST_F(PlayerReplication, AServerPlayerShowsTheSameOnAClient) {
    PlayerSeen onServer;
    std::vector<std::uint8_t> body;
    ON_MACHINE(game.Server()) {
        Player* hero = MakePlayer(kHeroId);
        ASSERT_NE(hero, nullptr);
        hero->SetPlayerName(L"S\u00e9verine");
        hero->SetTeam(TeamManager::BuildTeam(Team::Human, 0x44));
        hero->GetCharacterBio().IncrementBaseAttribute(CharAttributeType::Strength, 7.0f);
        test::SetLife(*hero, 165.0f, 200.0f);
        test::SetMana(*hero, 88.0f, 100.0f);
        hero->GetExperienceLevelControl().SetLevel(6);
        hero->GetExperienceLevelControl().SetExperiencePoints(4321);
        hero->AddMoney(1000);
        hero->SetPlayerTexture("Records/Textures/HeroB.tex");
        PlayerSkill(*hero, kCleave)->ReceiveStateUpdate(SkillState(5, true), true);
        DurationDamageManager& damage = hero->GetDurationDamageManager();
        damage.SetAttacker(9);
        damage.AddDamage(T::Fire, 20.0f, 0.4f);
        damage.EndAttack();
        onServer = SeenOf(*hero);

        std::unique_ptr<NetPacket> packet = hero->CreateSpawnNetPacket();
        ASSERT_NE(dynamic_cast<SpawnPlayerPacket*>(packet.get()), nullptr);
        EXPECT_EQ(static_cast<SpawnPlayerPacket&>(*packet).player.GetId(), kHeroId);
        NetPacketOutBuffer out(packet.get());
        hero->WriteReplicationData(out);
        body = BodyOf(*packet);
    }
    ASSERT_FALSE(onServer.ticks.empty());
    EXPECT_EQ(onServer.life, 165u);
    EXPECT_EQ(body.back(), 0);  // standing still: the moving flag closes the body

    ON_MACHINE(game.Client(0)) {
        Player* seen = MakePlayer(kHeroId);
        ASSERT_NE(seen, nullptr);
        EXPECT_NE(SeenOf(*seen), onServer);
        EXPECT_EQ(seen->GetLifeState(), Character_LifeState::Alive);  // nobody here controls it
        ASSERT_TRUE(ReadInto(*seen, body));
        seen->ApplyReplicationData();
        EXPECT_EQ(SeenOf(*seen), onServer);
        // Five levels above the first give 15 attribute points; the 7 strength took two of them.
        EXPECT_EQ(seen->GetModifierPoints(), 13u);

        // Applied: nothing is pending any more.
        game.Client(0).ClearLog();
        seen->ApplyReplicationData();
        EXPECT_EQ(game.Client(0).CountLog(
                      "Player::ApplyReplicationData: Attempt to apply NULL replication data."),
                  1);
    }
}

// What a player carries and wears travels with it: the client rebuilds the same items under the
// same ids, worn where they were, and its own snapshot is the server's, byte for byte.
TEST_F(PlayerReplication, CarriedAndWornItemsArriveAsTheyWere) {
    constexpr std::uint32_t kSword = 0x7001, kShield = 0x7002, kSpare = 0x7003;
    std::vector<std::uint8_t> body;
    ON_MACHINE(game.Server()) {
        Player* hero = MakePlayer(kHeroId);
        ASSERT_NE(hero, nullptr);
        const std::pair<std::uint32_t, const char*> items[] = {
            {kSword, "Records/Items/EpicSword.dbr"},
            {kShield, "Records/Items/Shield.dbr"},
            {kSpare, "Records/Items/HalfSword.dbr"}};
        for (const auto& [id, record] : items) {
            ItemReplicaInfo replica;
            replica.objectId = id;
            replica.baseName = record;
            replica.seed = id & 0xFF;
            ASSERT_NE(Item::CreateItem(replica), nullptr) << record;
            hero->GetInventory().AddItemToInventory(id, false);
        }
        hero->AttachItemAction(kSword, EquipLocation_RightHand);
        hero->AttachItemAction(kShield, EquipLocation_LeftHand);
        std::unique_ptr<NetPacket> packet = hero->CreateSpawnNetPacket();
        NetPacketOutBuffer out(packet.get());
        hero->WriteReplicationData(out);
        body = BodyOf(*packet);
    }
    ON_MACHINE(game.Client(0)) {
        Player* seen = MakePlayer(kHeroId);
        ASSERT_TRUE(ReadInto(*seen, body));
        seen->ApplyReplicationData();
        const EquipManager& worn = seen->GetEquipManager();
        EXPECT_EQ(worn.GetWeaponIdRight(), kSword);
        EXPECT_EQ(worn.GetLeftHandShield(), kShield);
        EXPECT_EQ(seen->GetInventory().GetInventoryItems(), std::vector<std::uint32_t>{kSpare});
        const auto* sword = Singleton<ObjectManager>::Get().GetObject<Item>(kSword);
        ASSERT_NE(sword, nullptr);
        EXPECT_EQ(sword->GetReplicaInfo().seed, kSword & 0xFF);
        EXPECT_EQ(seen->GetHandState(), HandState_OneHanded);

        std::unique_ptr<NetPacket> packet = seen->CreateSpawnNetPacket();
        NetPacketOutBuffer out(packet.get());
        seen->WriteReplicationData(out);
        EXPECT_EQ(BodyOf(*packet), body);
    }
}

// A record written by hand, as PlayerReplicationData writes it.
std::vector<std::uint8_t> BodyOf(const PlayerReplicationData& data) {
    SpawnPlayerPacket packet;
    NetPacketOutBuffer out(&packet);
    data.Write(out);
    return BodyOf(packet);
}

PlayerReplicationData SamplePlayerData() {
    PlayerReplicationData data;
    data.playerName = L"Io";
    data.currentLife = 80.0f;
    data.team = TeamManager::BuildTeam(Team::Human, 3);
    data.characterLevel = 4;
    data.skills.push_back({"Records/SkillManager/Cleave.dbr", SkillState(3, true), {}});
    data.skillBuffs.push_back({});
    data.inventory.push_back({5, {}});
    data.inventory.back().item.baseName = "Records/Items/Sword.dbr";
    data.inventory.back().item.objectId = 77;
    data.durationDamage.push_back({T::Fire, 9, {{2.0f, 1.0f}}});
    data.actionState = Character_ActionState::Attack;
    return data;
}

TEST_F(PlayerReplication, OnlyAMovingPlayerSendsItsPathTargetAndAttack) {
    ON_MACHINE(game.Server()) {
        PlayerReplicationData still = SamplePlayerData();
        PlayerReplicationData moving = SamplePlayerData();
        moving.moving = true;
        moving.pathTarget = WorldVec3(nullptr, Vec3(1.0f, 2.0f, 3.0f));
        moving.attackTarget = 0x99;
        moving.attackSkill = 0x42;
        const std::vector<std::uint8_t> stillBody = BodyOf(still);
        const std::vector<std::uint8_t> movingBody = BodyOf(moving);
        // The region name (empty), three floats, two ids.
        ASSERT_EQ(movingBody.size(), stillBody.size() + 2 + 12 + 8);
        EXPECT_TRUE(std::equal(stillBody.begin(), stillBody.end() - 1, movingBody.begin()));

        PlayerReplicationData back;
        NetPacketHeader header;
        NetPacketInBuffer in(header, movingBody.data(), static_cast<int>(movingBody.size()));
        ASSERT_TRUE(back.Read(in));
        EXPECT_EQ(back.attackTarget, 0x99u);
        EXPECT_EQ(back.attackSkill, 0x42u);
        EXPECT_FLOAT_EQ(back.pathTarget.GetRegionPosition().y, 2.0f);
        EXPECT_EQ(back.skills.size(), 1u);
        EXPECT_EQ(back.skillBuffs.size(), 1u);
        ASSERT_EQ(back.inventory.size(), 1u);
        EXPECT_EQ(back.inventory[0].location, 5u);
        EXPECT_EQ(back.inventory[0].item.baseName, "Records/Items/Sword.dbr");
        EXPECT_EQ(back.team, still.team);
    }
}

// Where the skill count sits in a sample body: a body without skills, buffs and items ends with
// their three counts, the action state and the moving flag (17 bytes), the skill count first.
std::size_t SkillCountOffset() {
    PlayerReplicationData empty = SamplePlayerData();
    empty.skills.clear();
    empty.skillBuffs.clear();
    empty.inventory.clear();
    return BodyOf(empty).size() - 17;
}

TEST_F(PlayerReplication, MalformedBodiesAreRefusedAndNothingIsKept) {
    ON_MACHINE(game.Server()) {
        Player* player = MakePlayer();
        ASSERT_NE(player, nullptr);
        const std::vector<std::uint8_t> good = BodyOf(SamplePlayerData());
        const std::wstring name = player->GetPlayerName();

        for (std::size_t cut = 0; cut < good.size(); ++cut) {
            std::vector<std::uint8_t> part(good.begin(), good.begin() + cut);
            EXPECT_FALSE(ReadInto(*player, part)) << cut;
        }
        game.Server().ClearLog();
        player->ApplyReplicationData();
        EXPECT_EQ(game.Server().CountLog("Attempt to apply NULL replication data"), 1);
        EXPECT_EQ(player->GetPlayerName(), name);

        // Counts that the body cannot hold, and an action state that does not exist.
        const std::size_t skillCount = SkillCountOffset();
        std::uint32_t word = 0;
        std::memcpy(&word, &good[skillCount], 4);
        ASSERT_EQ(word, 1u);
        for (std::uint32_t count : {0x7FFFFFFFu, 1000000u, 20u}) {
            std::vector<std::uint8_t> bad = good;
            std::memcpy(&bad[skillCount], &count, 4);
            EXPECT_FALSE(ReadInto(*player, bad)) << count;
        }
        std::vector<std::uint8_t> badState = good;
        const std::uint32_t state = 99;
        std::memcpy(&badState[badState.size() - 5], &state, 4);
        EXPECT_FALSE(ReadInto(*player, badState));

        // A negative count carries no records, as zero does.
        PlayerReplicationData none = SamplePlayerData();
        none.skills.clear();
        std::vector<std::uint8_t> negative = BodyOf(none);
        const std::int32_t minusOne = -1;
        std::memcpy(&negative[skillCount], &minusOne, 4);
        EXPECT_TRUE(ReadInto(*player, negative));

        // Read twice without applying: the second record wins.
        PlayerReplicationData second = SamplePlayerData();
        second.playerName = L"Second";
        ASSERT_TRUE(ReadInto(*player, good));
        ASSERT_TRUE(ReadInto(*player, BodyOf(second)));
        player->ApplyReplicationData();
        EXPECT_EQ(player->GetPlayerName(), L"Second");
        EXPECT_EQ(player->GetExperienceLevelControl().GetLevel(), 4u);
        EXPECT_EQ(player->GetOwnTeam(), TeamManager::BuildTeam(Team::Human, 3));
        EXPECT_EQ(static_cast<std::uint32_t>(player->GetCurrentLife()), 80u);
        EXPECT_EQ(PlayerSkill(*player, kCleave)->GetSkillLevel(), 3u);
    }
}

}  // namespace
}  // namespace GAME::test
