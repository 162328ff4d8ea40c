// The duration-damage manager against a recording owner: ticks on the game clock, merging of
// attacks, credit to attackers, leeches, effects and the replica.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/net/NetPacket.h"
#include "Engine/net/fields/NetPacketBuffer.h"
#include "Game/core/players/Bonus.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/rules/duration/DurationDamageOwner.h"

namespace GAME::test {
namespace {

using T = CombatAttributeType;

struct Hit {
    std::uint32_t attacker;
    float damage;
    T type;
};

class RecordingDurationOwner : public DurationDamageOwner {
public:
    bool IsInvincible() const override { return invincible; }
    float GetCurrentLife() const override { return life; }
    float GetCurrentMana() const override { return mana; }
    void SubtractMana(float amount) override { mana -= amount; }
    void StartDamageEffect(T type) override { log.push_back("start " + Name(type)); }
    void StopDamageEffect(T type) override { log.push_back("stop " + Name(type)); }
    void StartInvoluntaryEffect(T type) override { log.push_back("begin " + Name(type)); }
    void StopInvoluntaryEffect(T type) override { log.push_back("end " + Name(type)); }
    void SetRagdollData(const CharacterRagDoll::EffectData& data, bool) override { ragdoll = data; }
    bool IsSkillSpeedUpdateNeeded() const override { return skillSpeedUpdate; }
    void ForceSpeedUpdate() override { ++speedUpdates; }
    void SetCombatAttacker(std::uint32_t id) override { attacker = id; }
    bool ApplyCombatDamage(float damage, const PlayStatsDamageType& kind, T type) override {
        EXPECT_EQ(kind.source, PlayStatsDamageType::Attack);
        EXPECT_EQ(kind.type, type);
        hits.push_back({attacker, damage, type});
        life -= damage;
        return !filtered;
    }
    void GiveCombatBonus(const Bonus& bonus, std::uint32_t to) override {
        bonuses.push_back(bonus);
        bonusTargets.push_back(to);
    }

    static std::string Name(T type) { return std::to_string(static_cast<int>(type)); }

    float Credited(std::uint32_t id) const {
        float sum = 0.0f;
        for (const Hit& hit : hits)
            sum += hit.attacker == id ? hit.damage : 0.0f;
        return sum;
    }

    bool invincible = false;
    bool filtered = false;
    bool skillSpeedUpdate = false;
    float life = 1000.0f;
    float mana = 100.0f;
    std::uint32_t attacker = 0;
    int speedUpdates = 0;
    CharacterRagDoll::EffectData ragdoll;
    std::vector<std::string> log;
    std::vector<Hit> hits;
    std::vector<Bonus> bonuses;
    std::vector<std::uint32_t> bonusTargets;
};

class DurationDamage : public ::testing::Test {
protected:
    void SetUp() override { manager.SetOwner(&owner); }

    void Attack(std::uint32_t attacker, T type, float damage, float duration) {
        manager.SetAttacker(attacker);
        manager.AddDamage(type, damage, duration);
        manager.EndAttack();
    }

    RecordingDurationOwner owner;
    DurationDamageManager manager;
};

TEST_F(DurationDamage, PoisonTicksEveryHundredMillisecondsOnceMoreThanATickHasGathered) {
    Attack(7, T::Poison, 50.0f, 2.0f);
    ASSERT_EQ(manager.GetEntries().size(), 1u);
    EXPECT_EQ(manager.GetEntries()[0].GetActiveTicks(), std::vector<float>(20, 5.0f));
    EXPECT_TRUE(manager.IsPoisoned());
    EXPECT_EQ(owner.log, std::vector<std::string>{"start 7"});

    // 100 ms is not more than a tick: nothing; the next 100 ms bring two ticks due.
    manager.Update(100);
    EXPECT_TRUE(owner.hits.empty());
    manager.Update(100);
    ASSERT_EQ(owner.hits.size(), 1u);
    EXPECT_FLOAT_EQ(owner.hits[0].damage, 10.0f);
    for (int frame = 0; frame < 30; ++frame)
        manager.Update(100);
    EXPECT_FLOAT_EQ(owner.Credited(7), 100.0f);
    EXPECT_EQ(owner.hits.size(), 10u);  // two ticks every other frame
    for (const Hit& hit : owner.hits)
        EXPECT_EQ(hit.type, T::Poison);
    // Ran out: the entry is gone and its effect stopped.
    EXPECT_TRUE(manager.GetEntries().empty());
    EXPECT_FALSE(manager.IsPoisoned());
    EXPECT_EQ(owner.log.back(), "stop 7");
    EXPECT_EQ(owner.ragdoll.effect, CharacterRagDoll::Crumple);
}

TEST_F(DurationDamage, AddsOfOneAttackSumAttacksOfOneAttackerKeepTheGreaterAndAttackersStack) {
    manager.SetAttacker(1);
    manager.AddDamage(T::Fire, 10.0f, 0.3f);
    manager.AddDamage(T::Fire, 20.0f, 0.2f);
    manager.EndAttack();
    EXPECT_EQ(manager.GetEntries()[0].GetActiveTicks(), (std::vector<float>{3.0f, 3.0f, 1.0f}));
    // A second attack of the same attacker: per tick the greater, as long as the longer.
    Attack(1, T::Fire, 20.0f, 0.5f);
    ASSERT_EQ(manager.GetEntries().size(), 1u);
    EXPECT_EQ(manager.GetEntries()[0].GetActiveTicks(),
              (std::vector<float>{3.0f, 3.0f, 2.0f, 2.0f, 2.0f}));
    // Another attacker holds its own entry.
    Attack(2, T::Fire, 10.0f, 0.2f);
    ASSERT_EQ(manager.GetEntries().size(), 2u);
    for (int frame = 0; frame < 10; ++frame)
        manager.Update(60);
    EXPECT_FLOAT_EQ(owner.Credited(1), 12.0f);
    EXPECT_FLOAT_EQ(owner.Credited(2), 2.0f);
    EXPECT_TRUE(manager.GetEntries().empty());
}

TEST_F(DurationDamage, IgnoredAddsAndATooShortDuration) {
    Attack(1, T::Fire, 0.0f, 2.0f);
    Attack(1, T::Fire, 5.0f, -1.0f);
    owner.invincible = true;
    Attack(1, T::Fire, 5.0f, 1.0f);
    manager.AddFixedDamage(T::Stun, 1.0f, 1.0f);
    EXPECT_TRUE(manager.GetEntries().empty());
    EXPECT_TRUE(manager.GetFixedEntries().empty());
    EXPECT_TRUE(owner.log.empty());
    owner.invincible = false;
    // Under one tick: an empty entry that the next update removes.
    Attack(1, T::Fire, 5.0f, 0.05f);
    ASSERT_EQ(manager.GetEntries().size(), 1u);
    manager.Update(10);
    EXPECT_TRUE(manager.GetEntries().empty());
    EXPECT_TRUE(owner.hits.empty());
}

TEST_F(DurationDamage, LeechesGiveTheAttackerWhatTheOwnerHad) {
    owner.life = 3.0f;
    Attack(5, T::LifeLeech, 100.0f, 0.1f);
    manager.Update(101);
    ASSERT_EQ(owner.bonuses.size(), 1u);
    EXPECT_FLOAT_EQ(owner.bonuses[0].lifePoints, 3.0f);
    EXPECT_EQ(owner.bonusTargets[0], 5u);
    EXPECT_EQ(owner.hits[0].attacker, 5u);
    // Damage wholly filtered: no bonus.
    owner.filtered = true;
    Attack(5, T::LifeLeech, 100.0f, 0.1f);
    manager.Update(101);
    EXPECT_EQ(owner.bonuses.size(), 1u);

    owner.mana = 4.0f;
    Attack(6, T::ManaLeech, 100.0f, 0.1f);
    const std::size_t hitsBefore = owner.hits.size();
    manager.Update(101);
    EXPECT_EQ(owner.hits.size(), hitsBefore);  // mana leech applies no damage
    EXPECT_FLOAT_EQ(owner.mana, -6.0f);
    ASSERT_EQ(owner.bonuses.size(), 2u);
    EXPECT_FLOAT_EQ(owner.bonuses[1].manaPoints, 4.0f);
    EXPECT_EQ(owner.bonusTargets[1], 6u);
}

TEST_F(DurationDamage, InvoluntaryEffectsAndSlowsFollowTheFixedEntries) {
    manager.AddFixedDamage(T::Stun, 1.0f, 0.5f);
    manager.AddFixedDamage(T::Freeze, 1.0f, 0.2f);
    manager.AddFixedDamage(T::RunSpeed, 30.0f, 0.4f);
    manager.EndAttack();
    EXPECT_FLOAT_EQ(manager.GetFixedDamage(T::RunSpeed), 30.0f);
    EXPECT_TRUE(owner.log.empty());  // fixed adds start nothing at once

    manager.Update(50);
    EXPECT_EQ(manager.GetInvoluntaryEffect(), T::Freeze);
    EXPECT_EQ(owner.log,
              (std::vector<std::string>{"end 0", "begin 36", "start 34", "start 36", "start 17"}));
    EXPECT_TRUE(manager.GetSpeedUpdate());
    EXPECT_EQ(owner.speedUpdates, 1);
    manager.Update(50);
    EXPECT_FALSE(manager.GetSpeedUpdate());  // one frame only
    EXPECT_EQ(owner.speedUpdates, 1);

    owner.log.clear();
    manager.Update(250);  // freeze over, the stun shows
    manager.Update(1);
    EXPECT_EQ(manager.GetInvoluntaryEffect(), T::Stun);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"end 36", "begin 34", "stop 36"}));
    manager.Update(1000);
    manager.Update(1);
    EXPECT_EQ(manager.GetInvoluntaryEffect(), T::BasePhysical);
    EXPECT_FLOAT_EQ(manager.GetFixedDamage(T::RunSpeed), 0.0f);
}

TEST_F(DurationDamage, DelayedClearDropsEverythingAfterAQuarterSecond) {
    Attack(1, T::Poison, 10.0f, 10.0f);
    manager.AddFixedDamage(T::AttackSpeed, 20.0f, 10.0f);
    manager.EndAttack();
    manager.Update(1);
    manager.DelayedClearHack();
    manager.Update(200);
    EXPECT_FALSE(manager.GetEntries().empty());
    manager.Update(50);
    EXPECT_TRUE(manager.GetEntries().empty());
    EXPECT_TRUE(manager.GetFixedEntries().empty());
    owner.log.clear();
    const int updates = owner.speedUpdates;
    manager.Update(1);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"stop 7", "stop 15"}));
    EXPECT_EQ(owner.speedUpdates, updates + 1);
}

TEST_F(DurationDamage, FramesWithNothingHeldStillResetTheHitReactionAndPassOnSpeedUpdates) {
    // While a slow runs, after it ran out, and with a clear pending on nothing.
    manager.AddFixedDamage(T::RunSpeed, 30.0f, 0.1f);
    manager.EndAttack();
    struct Frame {
        int ms;
        bool skillSpeed;
        int speedUpdates;  // counted from the frame before
        bool holds;
    };
    const Frame frames[] = {
        {50, false, 1, true},    // the slow starts
        {100, false, 0, false},  // and ends, dropped at once
        {16, false, 1, false},   // its effect stops, the slow is gone
        {16, false, 0, false},  {16, true, 1, false}, {16, false, 0, false},
    };
    for (const Frame& frame : frames) {
        owner.ragdoll = {};
        owner.ragdoll.effect = CharacterRagDoll::TakeHit;
        owner.ragdoll.amplification = 3.0f;
        owner.skillSpeedUpdate = frame.skillSpeed;
        const int before = owner.speedUpdates;
        manager.Update(frame.ms);
        EXPECT_EQ(owner.ragdoll.effect, CharacterRagDoll::Crumple) << frame.ms;
        EXPECT_FLOAT_EQ(owner.ragdoll.amplification, 0.0f);
        EXPECT_EQ(owner.speedUpdates - before, frame.speedUpdates) << frame.ms << frame.skillSpeed;
        EXPECT_EQ(!manager.GetFixedEntries().empty(), frame.holds) << frame.ms;
    }
    EXPECT_EQ(owner.log, (std::vector<std::string>{"start 17", "stop 17"}));

    manager.DelayedClearHack();
    manager.Update(300);
    EXPECT_TRUE(manager.GetEntries().empty());
    DurationDamageManager ownerless;
    ownerless.AddFixedDamage(T::RunSpeed, 30.0f, 1.0f);  // without an owner nothing is held
    ownerless.Update(16);
    EXPECT_TRUE(ownerless.GetFixedEntries().empty());
}

// A packet whose out-buffer the replica records write into.
class ReplicaPacket : public NetPacket {
public:
    ReplicaPacket() : NetPacket(201) {}
    std::vector<DurationDamageReplication> damage;
    std::vector<FixedDurationDamageReplication> fixed;

    unsigned int PrepareOutBuffer() override {
        NetPacketOutBuffer out(this);
        for (const auto& record : damage)
            record.Write(out);
        for (const auto& record : fixed)
            record.Write(out);
        return out.Done();
    }
    void CopyInbound(const unsigned char* data, int size) override {
        NetPacketInBuffer in(GetHeader(), data, size);
        for (auto& record : damage) {
            record = {};
            ok = record.Read(in) && ok;
        }
        for (auto& record : fixed) {
            record = {};
            ok = record.Read(in) && ok;
        }
    }
    bool ok = true;
};

TEST_F(DurationDamage, ReplicaRunsRebuildTheActiveTicksOnceAndKeepGaps) {
    manager.SetAttacker(9);
    manager.AddDamage(T::Fire, 20.0f, 0.4f);
    manager.AddDamage(T::Fire, 20.0f, 0.3f);
    manager.AddDamage(T::Fire, 20.0f, 0.3f);
    manager.AddFixedDamage(T::Stun, 1.0f, 0.2f);
    manager.EndAttack();
    Attack(4, T::Cold, 0.0f, 1.0f);
    std::vector<DurationDamageReplication> damage;
    std::vector<FixedDurationDamageReplication> fixed;
    manager.GetDamageReplica(damage);
    manager.GetFixedDamageReplica(fixed);
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_EQ(damage[0].attacker, 9u);
    EXPECT_EQ(damage[0].runs, (std::vector<DurationDamageInfo>{{6.0f, 3.0f}, {2.0f, 1.0f}}));
    ASSERT_EQ(fixed.size(), 1u);

    // Through the wire form, little-endian.
    ReplicaPacket packet;
    packet.damage = damage;
    packet.fixed = fixed;
    const unsigned int size = packet.PrepareOutBuffer();
    ASSERT_EQ(size, 4u * (3 + 4) + 4u * (2 + 2));
    const auto* bytes = reinterpret_cast<const unsigned char*>(packet.GetOutBuffer());
    EXPECT_EQ(bytes[0], 6);  // fire
    EXPECT_EQ(bytes[4], 9);  // attacker
    EXPECT_EQ(bytes[8], 2);  // two runs
    float first = 0.0f;
    std::memcpy(&first, bytes + 12, 4);
    EXPECT_FLOAT_EQ(first, 6.0f);
    packet.CopyInbound(bytes, static_cast<int>(size));
    EXPECT_TRUE(packet.ok);
    EXPECT_EQ(packet.damage[0].runs, damage[0].runs);

    RecordingDurationOwner clientOwner;
    DurationDamageManager client;
    client.SetOwner(&clientOwner);
    client.SetDamageReplica(packet.damage);
    client.SetFixedDamageReplica(packet.fixed);
    client.SetDamageReplica(packet.damage);  // a second copy does not double it
    ASSERT_EQ(client.GetEntries().size(), 1u);
    EXPECT_EQ(client.GetEntries()[0].GetActiveTicks(), manager.GetEntries()[0].GetActiveTicks());
    EXPECT_FLOAT_EQ(client.GetFixedDamage(T::Stun), 1.0f);
    EXPECT_TRUE(clientOwner.log.empty());

    // A gap inside the ticks travels as a zero run, so later ticks stay in their place.
    client.SetDamageReplica({{T::Fire, 9, {{3.0f, 1.0f}, {0.0f, 2.0f}, {1.0f, 1.0f}}}});
    std::vector<DurationDamageReplication> again;
    client.GetDamageReplica(again);
    EXPECT_EQ(client.GetEntries()[0].GetActiveTicks(),
              (std::vector<float>{3.0f, 0.0f, 0.0f, 1.0f}));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].runs.size(), 3u);
}

TEST_F(DurationDamage, AReplicaWithAnImpossibleRunCountFailsCleanly) {
    ReplicaPacket packet;
    packet.damage = {{T::Fire, 3, {{1.0f, 2.0f}}}};
    const unsigned int size = packet.PrepareOutBuffer();
    const auto* out = reinterpret_cast<const unsigned char*>(packet.GetOutBuffer());
    std::vector<unsigned char> bytes(out, out + size);
    bytes[8] = 0xff;  // run count 255: more than the bytes left
    packet.CopyInbound(bytes.data(), static_cast<int>(size));
    EXPECT_FALSE(packet.ok);
    EXPECT_TRUE(packet.damage[0].runs.empty());
    bytes[8] = 0xff;
    bytes[11] = 0xff;  // negative
    packet.ok = true;
    packet.CopyInbound(bytes.data(), static_cast<int>(size));
    EXPECT_FALSE(packet.ok);
}

}  // namespace
}  // namespace GAME::test
