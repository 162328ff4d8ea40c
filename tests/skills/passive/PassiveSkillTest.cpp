// Passive and on-hit skills on a character of their own, in a single-player game: attributes
// while enabled, the dual-wield gate, the passive shield between hits and life, the self buffs
// that an attack or low life switches on, the on-hit shock wave and the spawning skills.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/RandomUniform.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Bonus.h"
#include "Game/core/players/Team.h"
#include "Game/rules/CharAttributeAccumulator.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/skills/passive/Skill_Passive.h"
#include "Game/skills/passive/Skill_PassiveBuffSelf.h"
#include "Game/skills/triggered/Skill_OnHit.h"
#include "Game/skills/triggered/Skill_Spawners.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace passive_skills {

constexpr std::uint32_t kOwner = 0x0F000010;
constexpr std::uint32_t kFoe = 0x0F000020;

// The owner's skills, one record each; the owner's record lists them in this order.
constexpr const char* kStone = "Records/Passive/StoneSkin.dbr";
constexpr const char* kTwin = "Records/Passive/TwinBlades.dbr";
constexpr const char* kWard = "Records/Passive/Ward.dbr";
constexpr const char* kFury = "Records/Passive/Fury.dbr";
constexpr const char* kLast = "Records/Passive/LastStand.dbr";
constexpr const char* kQuake = "Records/Passive/Quake.dbr";
constexpr const char* kBlink = "Records/Passive/Blink.dbr";

const std::pair<const char*, const char*> kRecords[] = {
    {kStone, R"({"Class": "Skill_Passive", "skillMaxLevel": 3, "characterStrength": [5, 10],
        "characterDexterity": [2, 4]})"},
    {kTwin, R"({"Class": "Skill_PassiveDualWieldWeapon", "skillMaxLevel": 3})"},
    {kWard, R"({"Class": "Skill_PassiveShield", "skillMaxLevel": 3,
        "damageAbsorption": [10], "damageAbsorptionPercent": [50],
        "physicalDamageQualifier": true})"},
    {kFury, R"({"Class": "Skill_PassiveOnHitBuffSelf", "skillMaxLevel": 3,
        "onHitActivationChance": [100], "skillActiveDuration": [2.0],
        "skillCooldownTime": [1.0], "skillLifeBonus": [25], "characterStrength": [7], "damageAbsorption": [5]})"},
    {kLast, R"({"Class": "Skill_PassiveOnLifeBuffSelf", "skillMaxLevel": 3,
        "lifeMonitorPercent": [50], "skillActiveDuration": [1.0], "characterStrength": [9]})"},
    {kQuake, R"({"Class": "Skill_OnHitAttackRadius", "skillMaxLevel": 3,
        "onHitActivationChance": [100], "expansionTime": [0.5], "skillTargetRadius": [10],
        "skillCooldownTime": [3.0], "offensivePhysicalMin": [5], "offensivePhysicalMax": [5]})"},
    {kBlink, R"({"Class": "Skill_OnHitBuffSelf", "skillMaxLevel": 3,
        "onHitActivationChance": [100], "skillActiveDuration": [1.0],
        "skillCooldownTime": [2.0], "characterStrength": [11]})"},
    {"Records/Passive/Owner.dbr", R"({"Class": "Character", "characterLife": 300,
        "characterStrength": 50, "characterDexterity": 40,
        "combatManagerRecord": "Records/Combat/Standard.dbr",
        "skillName1": "Records/Passive/StoneSkin.dbr", "skillLevel1": 1,
        "skillName2": "Records/Passive/TwinBlades.dbr", "skillLevel2": 1,
        "skillName3": "Records/Passive/Ward.dbr", "skillLevel3": 1,
        "skillName4": "Records/Passive/Fury.dbr", "skillLevel4": 1,
        "skillName5": "Records/Passive/LastStand.dbr", "skillLevel5": 1,
        "skillName6": "Records/Passive/Quake.dbr", "skillLevel6": 1,
        "skillName7": "Records/Passive/Blink.dbr", "skillLevel7": 1})"},
};

class PassiveSkills : public ::testing::Test {
protected:
    PassiveSkills() {
        for (const auto& [name, text] : kRecords)
            EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, text)) << name;
        InitializeObjects();
        owner = MakeFighter(kOwner, 10.0f, "Records/Passive/Owner.dbr");
        foe = MakeFighter(kFoe, 14.0f);
        EXPECT_TRUE(owner && foe);
        if (!owner || !foe)
            return;
        owner->GetSkillManager().LoadSkills("Records/Passive/Owner.dbr", 7);
        owner->GetSkillManager().SetAsControllingManager();
        owner->SetTeam(TeamManager::DefaultPlayerTeam());
        foe->SetTeam(TeamManager::DefaultMonsterTeam());
        for (Character* c : {owner, foe})
            World::Get().AddEntity(c, c->GetCoords(), true);
        // The first frame enables what is available.
        Frames(1);
    }
    // Takes the skills of those records out of the way of the one under test.
    void Silence(std::initializer_list<const char*> records) {
        for (const char* record : records)
            Get<Skill>(record)->SetSkillLevel(0);
    }
    ~PassiveSkills() override { ShutdownObjects(); }

    template <class T>
    T* Get(const char* record) {
        return Singleton<ObjectManager>::Get().GetObject<T>(
            owner->GetSkillManager().FindSkillId(record));
    }
    // A plain blow of physical damage from the foe.
    void Hit(float damage) {
        RandomUniform random;
        ParametersCombat attack(random);
        attack.attackerId = kFoe;
        attack.combatStyle = ParametersCombatStyle::Direct;
        attack.accumulator.AddDamage(
            std::make_unique<CombatAttributeAbsDamage>(CombatAttributeType::Physical, damage));
        attack.accumulator.ProcessDamage(*foe, 0.0f, 0.0f, 0.0f, 0.0f);
        owner->TakeAttack(attack);
    }
    void Frames(int count, int ms = 100) {
        for (int i = 0; i < count; ++i)
            owner->GetSkillManager().Update(ms);
    }
    float Strength() {
        CharAttributeAccumulator accumulator;
        owner->GetSkillManager().GetCharAttributes(accumulator);
        return accumulator.GetValue(CharAttributeType::Strength);
    }

    TestMachine tm;
    Character* owner = nullptr;
    Character* foe = nullptr;
};

TEST_F(PassiveSkills, APassiveAddsItsAttributesOnlyWhileEnabled) {
    struct Case {
        std::uint32_t level;
        bool enabled;
        float strength;
    };
    Silence({kFury, kLast, kBlink});
    auto* stone = Get<Skill_Passive>(kStone);
    ASSERT_NE(stone, nullptr);
    EXPECT_EQ(stone->GetTypeText(), "^bPassive Skill");
    for (const Case& c : {Case{1, true, 5.0f}, Case{2, true, 10.0f}, Case{1, false, 0.0f}}) {
        stone->ReceiveStateUpdate(SkillState(c.level, c.enabled), true);
        EXPECT_FLOAT_EQ(Strength(), c.strength) << c.level << " " << c.enabled;
    }
}

TEST_F(PassiveSkills, DualWieldIsAvailableOnlyWithAMeleeWeaponInEachHand) {
    struct Case {
        int handState;
        std::uint32_t level;
        bool available;
    };
    RecordingSkillManager hands;
    auto* twin = MakeAttackSkill<Skill_PassiveDualWieldWeapon>(kTwin, hands);
    ASSERT_NE(twin, nullptr);
    for (const Case& c :
         {Case{2, 1, true}, Case{0, 1, false}, Case{1, 1, false}, Case{2, 0, false}}) {
        hands.handState = c.handState;
        twin->ReceiveStateUpdate(SkillState(c.level, true), true);
        EXPECT_EQ(twin->SetAvailability(false, false), c.available)
            << c.handState << " " << c.level;
        if (!c.available) {
            EXPECT_EQ(twin->GetReason(), SkillReason::NotQualifying);
        }
    }
}

TEST_F(PassiveSkills, APassiveShieldTakesItsShareOfEachQualifyingHit) {
    Silence({kFury, kLast, kBlink});
    struct Case {
        float damage;
        float lost;
    };
    // 50 % off, then up to 10 absorbed per hit (never used up).
    for (const Case& c : {Case{100.0f, 40.0f}, Case{8.0f, 0.0f}, Case{100.0f, 40.0f}}) {
        const float before = owner->GetCurrentLife();
        Hit(c.damage);
        EXPECT_FLOAT_EQ(before - owner->GetCurrentLife(), c.lost) << c.damage;
    }
    // Without its level the shield lets everything through.
    Silence({kWard});
    const float before = owner->GetCurrentLife();
    Hit(30.0f);
    EXPECT_FLOAT_EQ(before - owner->GetCurrentLife(), 30.0f);
}

TEST_F(PassiveSkills, AnAttackSwitchesTheOnHitBuffOnForItsDurationAndNotAgainWhileItRuns) {
    Silence({kStone, kWard, kLast, kBlink});
    auto* fury = Get<Skill_PassiveOnHitBuffSelf>(kFury);
    ASSERT_NE(fury, nullptr);
    EXPECT_FALSE(fury->GetActiveState().active);
    Hit(50.0f);
    ASSERT_TRUE(fury->GetActiveState().active);
    EXPECT_FLOAT_EQ(Strength(), 7.0f);
    EXPECT_FLOAT_EQ(fury->GetDamageAbsorption(), 5.0f);
    Frames(5);
    // A second hit neither rolls again nor lengthens the buff.
    Hit(50.0f);
    EXPECT_EQ(fury->TrackableRemainingTime(0), 1500);
    EXPECT_EQ(fury->TrackableTotalTime(0), 2000);
    Frames(15);
    EXPECT_FALSE(fury->GetActiveState().active);
    EXPECT_FLOAT_EQ(Strength(), 0.0f);
    EXPECT_TRUE(fury->IsCoolingDown());
    // Cooling down it is not enabled; afterwards it rolls again on the next hit.
    Frames(1);
    Hit(50.0f);
    EXPECT_FALSE(fury->GetActiveState().active);
    Frames(10);
    Hit(50.0f);
    EXPECT_TRUE(fury->GetActiveState().active);
}

TEST_F(PassiveSkills, LowLifeSwitchesTheOnLifeBuffOnUntilLifeHasBeenBackLongEnough) {
    Silence({kStone, kWard, kFury, kBlink});
    auto* last = Get<Skill_PassiveOnLifeBuffSelf>(kLast);
    ASSERT_NE(last, nullptr);
    const float full = owner->GetCurrentLife();
    // Exactly at the threshold triggers.
    Hit(full / 2.0f);
    Frames(1);
    ASSERT_TRUE(last->GetActiveState().active);
    EXPECT_FLOAT_EQ(Strength(), 9.0f);
    // It stays while life stays low, however long.
    Frames(30);
    EXPECT_TRUE(last->GetActiveState().active);
    Bonus heal;
    heal.lifePoints = full / 4.0f;
    owner->TakeBonus(heal, false, 0);
    Frames(9);
    EXPECT_TRUE(last->GetActiveState().active);
    EXPECT_EQ(last->TrackableRemainingTime(0), 100);
    Frames(1);
    EXPECT_FALSE(last->GetActiveState().active);
    EXPECT_FALSE(last->IsTriggered());
}

TEST_F(PassiveSkills, TheOnHitWaveStrikesEachFoeOnceWhenItReachesIt) {
    Silence({kWard, kFury, kLast, kBlink});
    auto* quake = Get<Skill_OnHitAttackRadius>(kQuake);
    ASSERT_NE(quake, nullptr);
    // Switched off, a hit does nothing.
    Hit(10.0f);
    EXPECT_FALSE(quake->IsWavePending());
    quake->ActivateNow(*owner, Name(), 0, owner->GetPosition());
    ASSERT_TRUE(quake->IsSkillOnHitActive());
    Hit(10.0f);
    ASSERT_TRUE(quake->IsWavePending());
    EXPECT_TRUE(quake->GetActiveState().transition);
    // 0.5 s per unit: the foe 4 units away is reached after 2 s.
    const float foeLife = foe->GetCurrentLife();
    Frames(19);
    EXPECT_FLOAT_EQ(foe->GetCurrentLife(), foeLife);
    Frames(1);
    EXPECT_FLOAT_EQ(foe->GetCurrentLife(), foeLife - 5.0f);
    EXPECT_FALSE(quake->IsWavePending());
    Frames(5);
    EXPECT_FLOAT_EQ(foe->GetCurrentLife(), foeLife - 5.0f);
    // Within the 3 s cooldown no hit starts a wave.
    Hit(10.0f);
    EXPECT_FALSE(quake->IsWavePending());
    Frames(6);
    Hit(10.0f);
    EXPECT_TRUE(quake->IsWavePending());
}

TEST_F(PassiveSkills, AWaveThatFindsNoFoeEndsAtOnceAndStillCoolsDown) {
    Silence({kWard, kFury, kLast, kBlink});
    auto* quake = Get<Skill_OnHitAttackRadius>(kQuake);
    foe->SetCoords(WorldCoords(MakeArena(), Coords::FromOrigin(Vec3(40, 0, 10))));
    quake->ActivateNow(*owner, Name(), 0, owner->GetPosition());
    Hit(10.0f);
    EXPECT_FALSE(quake->IsWavePending());
    EXPECT_TRUE(quake->GetActiveState().transition);
    EXPECT_EQ(quake->GetCooldownTimer(), 3000);
}

TEST_F(PassiveSkills, TheOnHitSelfBuffRunsItsDurationThenCoolsDownBeforeTheNextTrigger) {
    Silence({kStone, kWard, kFury, kLast});
    auto* blink = Get<Skill_OnHitBuffSelf>(kBlink);
    ASSERT_NE(blink, nullptr);
    blink->ActivateNow(*owner, Name(), 0, owner->GetPosition());
    // Switched on, only the penalties (none here) count.
    EXPECT_FLOAT_EQ(Strength(), 0.0f);
    Hit(10.0f);
    EXPECT_FLOAT_EQ(Strength(), 11.0f);
    Frames(10);
    EXPECT_FLOAT_EQ(Strength(), 0.0f);
    EXPECT_TRUE(blink->GetActiveState().active);
    EXPECT_EQ(blink->GetCooldownTimer(), 2000);
    Hit(10.0f);
    EXPECT_FLOAT_EQ(Strength(), 0.0f);
    Frames(20);
    Hit(10.0f);
    EXPECT_FLOAT_EQ(Strength(), 11.0f);
}

}  // namespace passive_skills
}  // namespace GAME::test
