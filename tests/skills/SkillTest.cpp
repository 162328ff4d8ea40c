// The base skill: levels and augments, cooldown, mana, availability reasons, the controlling
// machine's update and replication, how an attack's parameters are filled, and what a skill
// keeps between frames (the mana cost, its level's source, the weapon rules and reach).
#include <functional>

#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatManager.h"
#include "Game/rules/combat/ParametersCombat.h"
#include "Game/rules/duration/DurationDamageManager.h"
#include "Game/skills/pool/Skill_WPAttack.h"
#include "Game/skills/profile/SkillProfile.h"
#include "Game/skills/utility/Skill_Utility.h"
#include "Game/skills/weapon/Skill_AttackWeapon.h"
#include "WeaponSkillTestSupport.h"

namespace GAME::test {
namespace {

constexpr const char* kElemental = "Records/Skills/Elemental.dbr";
constexpr const char* kWard = "Records/Skills/Ward.dbr";
constexpr const char* kPooled = "Records/Skills/Default/DefaultWPBasicAttack.dbr";
// Rolls nothing, so its mana cost is kept between its owner's changes.
constexpr const char* kPlainBolt = "Records/KeptCost/PlainBolt.dbr";
// A pooled attack with a mana cost, which it never waits for.
constexpr const char* kCostlyPooled = "Records/KeptCost/CostlyPooled.dbr";

using SkillLevels = SkillFixture;

TEST_F(SkillLevels, AugmentsRaiseOnlyABoughtSkillAndStopAtTheUltimateLevel) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementAugmentedSkillLevel(3);
    EXPECT_EQ(skill.GetCurrentLevel(), 0u);
    EXPECT_TRUE(skill.IsAugmented());
    skill.IncrementSkillLevel(2);
    EXPECT_EQ(skill.GetCurrentLevel(), 5u);
    skill.IncrementSkillLevel(9);  // bought levels stop at the maximum level
    EXPECT_EQ(skill.GetSkillLevel(), 4u);
    EXPECT_EQ(skill.GetCurrentLevel(), 6u);
    // Augments from many sources never wrap around.
    skill.IncrementAugmentedSkillLevel(UINT32_MAX);
    EXPECT_EQ(skill.GetAugmentedLevel(), UINT32_MAX);
    EXPECT_EQ(skill.GetCurrentLevel(), 6u);
    skill.DecrementAugmentedSkillLevel(UINT32_MAX - 3);
    EXPECT_EQ(skill.GetAugmentedLevel(), 3u);
    skill.DecrementAugmentedSkillLevel(5);
    EXPECT_EQ(skill.GetAugmentedLevel(), 0u);
    EXPECT_FALSE(skill.IsAugmented());
}

TEST_F(SkillLevels, LevelChangesJoinTheActiveListAndAreSentOnce) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(2);
    skill.IncrementSkillLevel(0);  // no change: nothing is sent
    EXPECT_EQ(manager.calls, std::vector<std::string>{"active+ 2"});
    ASSERT_EQ(manager.services.states.size(), 1u);
    EXPECT_EQ(manager.services.states[0].first, skill.GetObjectId());
    EXPECT_EQ(manager.services.states[0].second, SkillState(2, false));

    manager.calls.clear();
    EXPECT_TRUE(skill.DecrementSkillLevel());
    EXPECT_TRUE(skill.DecrementSkillLevel());
    EXPECT_FALSE(skill.DecrementSkillLevel());
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"active+ 1", "active- 0"}));
    EXPECT_EQ(manager.services.states.size(), 3u);

    // A monster's skills are enabled by having a level; a temporary skill never joins the list.
    manager.calls.clear();
    manager.monster = true;
    skill.SetAsTempSkill(true);
    skill.SetSkillLevel(1);
    EXPECT_TRUE(skill.IsSkillEnabled());
    EXPECT_TRUE(manager.calls.empty());
}

TEST_F(SkillLevels, StateUpdatesApplyOnlyWhereTheSkillIsNotControlledOrWhenForced) {
    Skill& skill = Make(kFireBolt);
    skill.ReceiveStateUpdate(SkillState(3, true), false);
    EXPECT_EQ(skill.GetSkillLevel(), 0u);
    skill.ReceiveStateUpdate(SkillState(3, true), true);
    EXPECT_EQ(skill.GetSkillLevel(), 3u);
    manager.SetControlling(false);
    skill.ReceiveStateUpdate(SkillState(0, false), false);
    EXPECT_EQ(skill.GetSkillState(), SkillState(0, false));
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"active+ 3", "active- 0"}));
}

using SkillCooldown = SkillFixture;

TEST_F(SkillCooldown, ReducedByTheSkillAndItsOwnerAndNeverShortened) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(1);
    // Level 1: 2 s, reduced by the skill's 10 % and the owner's 5 %.
    manager.SetCooldownReduction(5.0f);
    EXPECT_FLOAT_EQ(skill.GetCooldownTime(), 1700.0f);
    EXPECT_FLOAT_EQ(skill.GetCooldownCompletion(), 1.0f);  // no cooldown yet
    skill.StartCooldown();
    EXPECT_EQ(skill.GetCooldownRemaining(), 1700);
    skill.ReplaceCooldownTime(500.0f);
    EXPECT_EQ(skill.GetCooldownRemaining(), 1700);
    skill.ApplyDisruptionCooldownTime(5000.0f);  // the base takes no disruption
    EXPECT_EQ(skill.GetCooldownTotal(), 1700);

    Character& owner = *Singleton<ObjectManager>::Get().CreateObject<Character>();
    skill.Update(owner, 1000);
    EXPECT_EQ(skill.GetCooldownRemaining(), 700);
    EXPECT_NEAR(skill.GetCooldownCompletion(), 1.0f - 700.0f / 1700.0f, 1e-6);
    skill.Update(owner, 800);
    EXPECT_EQ(skill.GetCooldownRemaining(), -100);  // below 0 counts as not cooling down
    EXPECT_FALSE(skill.IsCoolingDown());
    skill.Update(owner, 50);
    EXPECT_EQ(skill.GetCooldownRemaining(), -100);

    // A longer one replaces a shorter one; 0.1 ms or less starts nothing.
    skill.ReplaceCooldownTime(2500.9f);
    EXPECT_EQ(skill.GetCooldownRemaining(), 2500);
    skill.EndCooldown();
    EXPECT_EQ(skill.GetCooldownRemaining(), 0);
    EXPECT_EQ(skill.GetCooldownTotal(), 2500);
    // A reduction past 100 % is not clamped: the time is negative and starts nothing.
    manager.SetCooldownReduction(150.0f);
    EXPECT_LT(skill.GetCooldownTime(), 0.0f);
    skill.StartCooldown();
    EXPECT_EQ(skill.GetCooldownRemaining(), 0);
    EXPECT_EQ(skill.GetCooldownTotal(), 2500);
    skill.ReplaceCooldownTime(1e12f);
    EXPECT_EQ(skill.GetCooldownRemaining(), INT32_MAX);
}

TEST_F(SkillCooldown, ManaCostIsReducedButNeverNegativeAndAnEqualAmountIsEnough) {
    Skill& skill = Make(kFireBolt);
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 0.0f);  // level 0 reads no modifier data
    skill.IncrementSkillLevel(3);
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 14.0f);
    manager.SetManaCostReduction(50.0f);
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 7.0f);
    manager.mana = 7.0f;
    EXPECT_TRUE(skill.SetAvailability(false, false));
    skill.SubtractManaCost();
    EXPECT_FLOAT_EQ(manager.mana, 0.0f);
    manager.SetManaCostReduction(150.0f);
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 0.0f);
}

using SkillAvailability = SkillFixture;

TEST_F(SkillAvailability, ReasonsComeInTheirFixedOrder) {
    Skill& skill = Make(kFireBolt);
    EXPECT_FALSE(skill.SetAvailability(false, false));
    EXPECT_EQ(skill.GetReason(), SkillReason::LevelZero);

    skill.IncrementSkillLevel(1);
    skill.StartCooldown();
    manager.mana = 1.0f;
    manager.right = Weapon_Type::Axe;
    EXPECT_FALSE(skill.SetAvailability(false, false));
    EXPECT_EQ(skill.GetReason(), SkillReason::NotEnoughMana);
    EXPECT_FALSE(skill.SetAvailability(true, false));
    EXPECT_EQ(skill.GetReason(), SkillReason::CoolingDown);
    EXPECT_FALSE(skill.SetAvailability(true, true));
    EXPECT_EQ(skill.GetReason(), SkillReason::NotQualifying);
    EXPECT_TRUE(skill.UseDefaultWhenUnavailable());
    manager.left = Weapon_Type::Bow;  // either hand qualifies
    EXPECT_TRUE(skill.SetAvailability(true, true));
    EXPECT_EQ(skill.GetReason(), SkillReason::Available);
    // The verdicts were stored even though they were ignored.
    EXPECT_TRUE(skill.IsNotEnoughMana());
    EXPECT_FALSE(skill.UseDefaultWhenUnavailable());

    // Dual wielding needs a melee weapon in each hand; no weapon list means any weapon.
    Skill& dual = Make(kElemental);
    dual.IncrementSkillLevel(1);
    manager.handState = 1;
    EXPECT_FALSE(dual.SetAvailability(false, false));
    EXPECT_EQ(dual.GetReason(), SkillReason::NotQualifying);
    EXPECT_TRUE(dual.AllowDualWieldWeapons());
    manager.handState = 2;
    EXPECT_TRUE(dual.SetAvailability(false, false));
}

TEST_F(SkillAvailability, OnlyTheControllingMachineTestsAndSendsEachChange) {
    Skill& skill = Make(kFireBolt);
    Character& owner = *Singleton<ObjectManager>::Get().CreateObject<Character>();
    skill.IncrementSkillLevel(1);
    manager.services.states.clear();
    skill.Update(owner, 16);
    skill.Update(owner, 16);
    ASSERT_EQ(manager.services.states.size(), 1u);
    EXPECT_TRUE(manager.services.states[0].second.enabled);

    manager.mana = 0.0f;
    skill.SetIgnoreMana(true);
    skill.Update(owner, 16);
    EXPECT_TRUE(skill.IsSkillEnabled());
    skill.SetIgnoreMana(false);
    skill.Update(owner, 16);
    EXPECT_FALSE(skill.IsSkillEnabled());
    EXPECT_EQ(manager.services.states.size(), 2u);

    manager.SetControlling(false);
    manager.mana = 100.0f;
    skill.Update(owner, 16);
    EXPECT_FALSE(skill.IsSkillEnabled());
    EXPECT_EQ(skill.GetReason(), SkillReason::NotEnoughMana);  // not tested again
}

TEST(SkillAttributeDraw, EachTotalTakesOneDrawOfTheRootGenerator) {
    auto nextSeedAfter = [](bool askSkill) {
        TestMachine tm;
        InitializeObjects();
        gGameEngine->GetRandomGen().Seed(1234);  // the root seeds itself from the clock
        auto& objects = Singleton<ObjectManager>::Get();
        auto* skill = objects.CreateObjectFromFile<Skill>(kFireBolt);
        skill->IncrementSkillLevel(2);
        float total = 0.0f;
        if (askSkill)
            total = skill->GetTotalSkillAttribute(SkillAttributeType::CooldownReduction);
        else
            gGameEngine->GetRandomSeed();
        const unsigned short next = gGameEngine->GetRandomSeed();
        ShutdownObjects();
        return std::make_pair(total, next);
    };
    const auto [total, afterSkill] = nextSeedAfter(true);
    const auto [unused, afterOneDraw] = nextSeedAfter(false);
    EXPECT_FLOAT_EQ(total, 20.0f);
    EXPECT_EQ(afterSkill, afterOneDraw);
}

using SkillCombat = SkillFixture;

TEST_F(SkillCombat, ParametersAreFilledInTheirFixedOrder) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(2);
    auto& objects = Singleton<ObjectManager>::Get();
    Character& attacker = *objects.CreateObject<Character>();
    RandomUniform random;
    random.Seed(77);
    ParametersCombat parameters(random);
    manager.calls.clear();
    skill.CollectCombatParameters(attacker, nullptr, ParametersCombatStyle::Projectile, true, 31,
                                  parameters, 0.0f);
    // The owner's modifiers come before the skill's damage, the item's damage after it.
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"modifiers empty", "item damage 31",
                                                       "offensive ability 0"}));
    EXPECT_EQ(parameters.attackerId, attacker.GetObjectId());
    EXPECT_EQ(parameters.combatStyle, ParametersCombatStyle::Projectile);
    EXPECT_FLOAT_EQ(parameters.offensiveAbility, 42.0f);
    EXPECT_FLOAT_EQ(parameters.manaCost, 12.0f);
    EXPECT_FALSE(parameters.accumulator.IsEmpty());

    manager.calls.clear();
    ParametersCombat melee(random);
    skill.CollectCombatParameters(attacker, &attacker, ParametersCombatStyle::Probability, false,
                                  31, melee, 0.0f);
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"modifiers empty", "offensive ability 0"}));
    EXPECT_FLOAT_EQ(melee.racialBonusDamage, 0.0f);
}

TEST_F(SkillCombat, ARacialBonusAgainstTheTargetsRaceIsCarried) {
    Skill& skill = Make(kElemental);
    skill.IncrementSkillLevel(2);
    auto& objects = Singleton<ObjectManager>::Get();
    Character& attacker = *objects.CreateObject<Character>();
    Character* beast = objects.CreateObjectFromFile<Character>("Records/Skills/GreaterImp.dbr");
    ASSERT_NE(beast, nullptr);
    RandomUniform random;
    ParametersCombat parameters(random);
    CombatManager::SetTraceEnabled(true);
    skill.CollectCombatParameters(attacker, beast, ParametersCombatStyle::Probability, false, 0,
                                  parameters, 0.0f);
    CombatManager::SetTraceEnabled(false);
    EXPECT_FLOAT_EQ(parameters.racialBonusDamage, 9.0f);
    EXPECT_EQ(tm.CountLog("Racial Bonus Damage Percent 25"), 1);
    EXPECT_EQ(tm.CountLog("Racial Bonus Damage Absolute 9"), 1);
    // The attacker's own racial bonus is asked for, its equipment included: nothing is worn.
    EXPECT_EQ(tm.CountLog("not available yet"), 0);

    ParametersCombat other(random);
    skill.CollectCombatParameters(attacker, &attacker, ParametersCombatStyle::Probability, false, 0,
                                  other, 0.0f);
    EXPECT_FLOAT_EQ(other.racialBonusDamage, 0.0f);
}

TEST_F(SkillCombat, TheAttackersOwnReductionsAndFumbleShapeTheParameters) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(2);
    auto& objects = Singleton<ObjectManager>::Get();
    auto absoluteDamage = [&](Character& attacker, ParametersCombat& parameters) {
        skill.CollectCombatParameters(attacker, nullptr, ParametersCombatStyle::Direct, false, 0,
                                      parameters, 0.0f);
        float total = 0.0f;
        for (const auto& payload : parameters.accumulator.GetDamagePayloads()) {
            float absolute = 0.0f, duration = 0.0f;
            payload->GetTotalDamage(absolute, duration);
            total += absolute;
        }
        return total;
    };
    RandomUniform random;
    ParametersCombat plain(random);
    const float full = absoluteDamage(*objects.CreateObject<Character>(), plain);
    ASSERT_GT(full, 0.0f);
    EXPECT_FLOAT_EQ(plain.fumbleChance, 0.0f);

    // Held effects of attacks the attacker took: half its damage gone, a fumble chance.
    Character& weakened = *objects.CreateObject<Character>();
    DurationDamageManager& held = weakened.GetCombatManager().GetDurationDamageMgr();
    held.AddFixedDamage(CombatAttributeType::TotalDamageReductionPercent, 50.0f, 10.0f);
    held.AddFixedDamage(CombatAttributeType::Fumble, 15.0f, 10.0f);
    held.EndAttack();
    ParametersCombat reduced(random);
    EXPECT_FLOAT_EQ(absoluteDamage(weakened, reduced), full * 0.5f);
    EXPECT_FLOAT_EQ(reduced.fumbleChance, 15.0f);
}

}  // namespace
}  // namespace GAME::test

namespace GAME::test {
namespace {

using SkillModifiers = SkillFixture;

TEST_F(SkillModifiers, AttachedModifiersAddTheirLevelsDataAndOthersAreSkipped) {
    Skill& skill = Make(kFireBolt);
    Skill& modifier = Make("Records/Skills/BoltModifier.dbr");
    Skill& notAModifier = Make(kElemental);
    notAModifier.IncrementSkillLevel(1);
    skill.AddModifier(notAModifier.GetObjectId());
    skill.AddModifier(modifier.GetObjectId());
    skill.IncrementSkillLevel(1);
    // A modifier without a level adds nothing.
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 10.0f);
    modifier.IncrementSkillLevel(2);
    EXPECT_FLOAT_EQ(skill.GetManaCost(), 16.0f);
    // (2 s + 0.5 s) less the skill's own 10 %.
    EXPECT_FLOAT_EQ(skill.GetCooldownTime(), 2250.0f);

    const ProjectileModifierStruct projectile = skill.MakeProjectileModifier();
    EXPECT_EQ(projectile.skillId, skill.GetObjectId());
    EXPECT_FLOAT_EQ(projectile.radius, 0.75f);
    EXPECT_FLOAT_EQ(projectile.piercing, 0.1f);
    EXPECT_EQ(projectile.fragmentRecord, "Records/Skills/Fragment.dbr");
    EXPECT_EQ(projectile.fragmentCountMin, 2u);

    std::string name;
    std::uint32_t level = 0;
    ASSERT_TRUE(skill.GetModifierInfo(1, name, level));
    EXPECT_EQ(name, "Records/Skills/BoltModifier.dbr");
    EXPECT_EQ(level, 2u);

    // The modifier's self-buff pack joins the skill's.
    manager.calls.clear();
    skill.ApplyBuffSelfEffects(*Singleton<ObjectManager>::Get().CreateObject<Character>(), true);
    EXPECT_EQ(manager.calls,
              (std::vector<std::string>{"fx Records/Skills/Fx/ModifierSelf.dbr", "unenchant"}));
}

TEST_F(SkillModifiers, AnAttacksDamageIncludesTheModifiersDamage) {
    Skill& skill = Make(kFireBolt);
    skill.IncrementSkillLevel(1);
    Character& attacker = *Singleton<ObjectManager>::Get().CreateObject<Character>();
    RandomUniform random;
    ParametersCombat alone(random);
    skill.CollectCombatParameters(attacker, nullptr, ParametersCombatStyle::Direct, false, 0, alone,
                                  0.0f);
    Skill& modifier = Make("Records/Skills/BoltModifier.dbr");
    modifier.IncrementSkillLevel(1);
    skill.AddModifier(modifier.GetObjectId());
    // A modifier adds its share only once it is enabled.
    ParametersCombat disabled(random);
    skill.CollectCombatParameters(attacker, nullptr, ParametersCombatStyle::Direct, false, 0,
                                  disabled, 0.0f);
    EXPECT_EQ(disabled.accumulator.GetDamagePayloads().size(),
              alone.accumulator.GetDamagePayloads().size());
    modifier.ReceiveStateUpdate(SkillState(1, true), true);
    ParametersCombat modified(random);
    skill.CollectCombatParameters(attacker, nullptr, ParametersCombatStyle::Direct, false, 0,
                                  modified, 0.0f);
    EXPECT_EQ(modified.accumulator.GetDamagePayloads().size(),
              alone.accumulator.GetDamagePayloads().size() + 1);
}

// A skill whose sources roll nothing keeps its own part of a total between the character's
// changes, and the manager's part while its stamp stays; the root's draw is still taken on
// every call.
TEST_F(SkillModifiers, KeptTotalsTakeTheirDrawAndFollowTheModifiersAndTheManager) {
    Character& owner = *Singleton<ObjectManager>::Get().CreateObject<Character>();
    manager.SetParent(&owner);
    RecordingSkillManager other;
    other.SetParent(&owner);
    other.SetCooldownReduction(1.0f);
    other.SetCooldownReduction(9.0f);  // its stamp now as the fixture's will be
    Skill& skill = Make(kElemental);
    skill.IncrementSkillLevel(1);
    Skill& haste = Make("Records/Skills/HasteModifier.dbr");
    RandomUniformLocked& root = gGameEngine->GetRandomGen();
    root.Seed(99);
    const struct {
        const char* step;
        std::function<void()> change;
        float total;
    } steps[] = {
        {"no source rolls", [] {}, 0.0f},
        {"asked again", [] {}, 0.0f},
        {"a modifier without a level joins", [&] { skill.AddModifier(haste.GetObjectId()); }, 0.0f},
        {"the modifier enabled", [&] { haste.ReceiveStateUpdate(SkillState(1, true), true); },
         5.0f},
        {"its next level", [&] { haste.ReceiveStateUpdate(SkillState(2, true), true); }, 7.0f},
        {"disabled", [&] { haste.ReceiveStateUpdate(SkillState(2, false), true); }, 0.0f},
        {"the manager's part", [&] { manager.SetCooldownReduction(3.0f); }, 3.0f},
        {"enabled again", [&] { haste.ReceiveStateUpdate(SkillState(2, true), true); }, 10.0f},
        {"the manager's part changed", [&] { manager.SetCooldownReduction(4.0f); }, 11.0f},
        {"another manager", [&] { skill.SetManager(&other); }, 16.0f},
    };
    for (const auto& step : steps) {
        step.change();
        for (int ask = 0; ask < 2; ++ask) {
            const std::uint32_t before = root.GetState();
            EXPECT_FLOAT_EQ(skill.GetTotalSkillAttribute(SkillAttributeType::CooldownReduction),
                            step.total)
                << step.step;
            EXPECT_EQ(root.GetState(), RandomUniform::NextState(before)) << step.step;
        }
    }
    skill.SetManager(&manager);
}

class SkillKeptAnswers : public SkillFixture {
protected:
    SkillKeptAnswers() {
        Singleton<RecordDatabase>::Get().AddRecordText(
            kPlainBolt, R"({"Class": "Skill", "skillMaxLevel": 4, "skillUltimateLevel": 6,
                "skillManaCost": [10, 12, 14, 16, 18, 20]})");
        owner = Singleton<ObjectManager>::Get().CreateObject<Character>();
        manager.SetParent(owner);
        gGameEngine->GetRandomGen().Seed(7);  // a state that moves: draws can be counted
    }

    // How many draws of the root's generator fn took.
    template <class Fn>
    static int DrawsDuring(Fn&& fn) {
        RandomUniformLocked& root = gGameEngine->GetRandomGen();
        const std::uint32_t before = root.GetState();
        fn();
        int draws = 0;
        for (std::uint32_t state = before; state != root.GetState() && draws < 8; ++draws)
            state = RandomUniform::NextState(state);
        return draws;
    }
    // The cost, and how many draws the call took.
    std::pair<float, int> CostAndDraws(const Skill& skill) {
        float cost = 0.0f;
        const int draws = DrawsDuring([&] { cost = skill.GetManaCost(); });
        return {cost, draws};
    }

    Character* owner = nullptr;
};

// Every input of the cost moves it on the next call, asked twice in a row, and each call draws
// exactly once, kept or not.
TEST_F(SkillKeptAnswers, TheManaCostFollowsEveryInputAndDrawsOncePerCall) {
    Skill& skill = Make(kPlainBolt);  // costs 10, 12, .. 20 at levels 1 to 6
    const struct {
        const char* step;
        std::function<void()> change;
        float cost;
    } steps[] = {
        {"level 1", [&] { skill.IncrementSkillLevel(1); }, 10.0f},
        {"augmented", [&] { skill.IncrementAugmentedSkillLevel(1); }, 12.0f},
        {"the owner's reduction", [&] { manager.SetManaCostReduction(50.0f); }, 6.0f},
        {"a level bought", [&] { skill.IncrementSkillLevel(2); }, 8.0f},
        {"another total asked between",
         [&] { skill.GetTotalSkillAttribute(SkillAttributeType::CooldownReduction); }, 8.0f},
        {"augmented past the ultimate level", [&] { skill.IncrementAugmentedSkillLevel(9); },
         10.0f},
        {"augments taken off", [&] { skill.DecrementAugmentedSkillLevel(10); }, 7.0f},
        {"more than all of it", [&] { manager.SetManaCostReduction(150.0f); }, 0.0f},
        {"none", [&] { manager.SetManaCostReduction(0.0f); }, 14.0f},
        {"no owner", [&] { manager.SetParent(nullptr); }, 14.0f},
        {"the owner back", [&] { manager.SetParent(owner); }, 14.0f},
    };
    for (const auto& step : steps) {
        step.change();
        for (int ask = 0; ask < 2; ++ask) {
            const auto [cost, draws] = CostAndDraws(skill);
            EXPECT_FLOAT_EQ(cost, step.cost) << step.step << " ask " << ask;
            EXPECT_EQ(draws, 1) << step.step << " ask " << ask;
        }
    }
    // The verdict reads the same cost: exactly enough mana is enough.
    manager.mana = 14.0f;
    EXPECT_TRUE(skill.SetAvailability(false, false));
    manager.mana = 13.9f;
    EXPECT_FALSE(skill.SetAvailability(false, false));
    EXPECT_EQ(skill.GetReason(), SkillReason::NotEnoughMana);
}

// A pooled attack drawn by a skill that shares its resources adds that skill's cost and draws
// for its total as well; without the parent it is back to its own part and one draw.
TEST_F(SkillKeptAnswers, APooledAttacksCostAddsItsSharingParentsWithTheParentsDraw) {
    Skill& parent = Make(kPlainBolt);
    parent.IncrementSkillLevel(2);
    auto& pooled = static_cast<Skill_WPAttack&>(Make(kPooled));
    pooled.ReceiveStateUpdate(SkillState(1, true), true);
    const struct {
        std::uint32_t parentId;
        float cost;
        int draws;
    } rows[] = {
        {0, 0.0f, 1},
        {parent.GetObjectId(), 12.0f, 2},
        {0, 0.0f, 1},
        {parent.GetObjectId(), 12.0f, 2},
    };
    for (const auto& row : rows) {
        pooled.SetParentSkillId(row.parentId);
        for (int ask = 0; ask < 2; ++ask) {
            const auto [cost, draws] = CostAndDraws(pooled);
            EXPECT_FLOAT_EQ(cost, row.cost) << row.parentId << " ask " << ask;
            EXPECT_EQ(draws, row.draws) << row.parentId << " ask " << ask;
        }
    }
}

// Bought levels are raised by augments up to the ultimate level, buffs take the active state's
// sub-level whatever they bought, and the plain attack animation is always at level 1.
TEST_F(SkillKeptAnswers, EachKindReadsItsLevelFromItsOwnSource) {
    Skill& bought = Make(kFireBolt);
    Skill& ward = Make(kWard);
    auto& animation = *Singleton<ObjectManager>::Get().CreateObject<Skill_PlayAttackAnimation>();
    const struct {
        const char* step;
        Skill* skill;
        std::function<void()> change;
        std::uint32_t level;
    } rows[] = {
        {"never bought", &bought, [] {}, 0},
        {"augments alone", &bought, [&] { bought.IncrementAugmentedSkillLevel(2); }, 0},
        {"bought", &bought, [&] { bought.IncrementSkillLevel(1); }, 3},
        {"capped", &bought, [&] { bought.IncrementAugmentedSkillLevel(UINT32_MAX); }, 6},
        {"a buff's bought level", &ward,
         [&] { ward.ReceiveStateUpdate(SkillState(3, true), true); }, 0},
        {"its sub-level", &ward,
         [&] { ward.ReceiveActiveUpdate(*owner, SkillActiveState(2, true, false), false); }, 2},
        {"a negative one", &ward,
         [&] { ward.ReceiveActiveUpdate(*owner, SkillActiveState(-4, true, false), false); }, 0},
        {"the animation", &animation, [] {}, 1},
    };
    for (const auto& row : rows) {
        row.change();
        EXPECT_EQ(row.skill->GetCurrentLevel(), row.level) << row.step;
    }
}

// A weapon attack reaches as its owner's weapon does at every update.
TEST_F(SkillKeptAnswers, AWeaponAttackFollowsTheReachOfTheOwnersWeapon) {
    AttackSkillManager reachManager;
    reachManager.SetParent(owner);
    auto* strike = MakeAttackSkill<Skill_AttackWeapon>(kStrike, reachManager);
    ASSERT_NE(strike, nullptr);
    const struct {
        bool ranged;
        Skill_RangeProfile reach;
        Skill_RangeProfile expected;
    } rows[] = {
        {true, Skill_RangeProfile::Long, Skill_RangeProfile::Long},
        {false, Skill_RangeProfile::Long, Skill_RangeProfile::Melee},
        {true, Skill_RangeProfile::Moderate, Skill_RangeProfile::Moderate},
        {false, Skill_RangeProfile::Maximum, Skill_RangeProfile::Melee},
    };
    for (const auto& row : rows) {
        reachManager.SetReach(row.ranged, row.reach);
        strike->Update(*owner, 16);
        EXPECT_EQ(strike->IsRangedWeapon(), row.ranged);
        EXPECT_EQ(strike->GetRangeProfile(), row.expected) << static_cast<int>(row.reach);
    }
    strike->SetManager(&manager);
}

// A weapon attack's update tests as the base does and a pooled attack's passes on mana and
// cooldown; the level and the controlling machine count for both, and each tested update draws
// once. A direct test gives the update's verdict.
TEST_F(SkillKeptAnswers, WeaponUpdatesTestAsTheBaseAndPooledAttacksSkipManaAndCooldown) {
    Singleton<RecordDatabase>::Get().AddRecordText(
        kCostlyPooled, R"({"Class": "Skill_WPAttack", "skillMaxLevel": 1, "skillManaCost": [10]})");
    Skill* strike = MakeAttackSkill<Skill_AttackWeapon>(kStrike, manager);  // costs 10
    Skill* pooled = MakeAttackSkill<Skill_WPAttack>(kCostlyPooled, manager);
    ASSERT_NE(strike, nullptr);
    ASSERT_NE(pooled, nullptr);
    using enum SkillReason;
    const struct {
        const char* step;
        std::function<void(Skill&)> change;
        SkillReason strike;
        SkillReason pooled;
        int draws;
    } rows[] = {
        {"ready", [](Skill&) {}, Available, Available, 1},
        {"short of mana", [&](Skill&) { manager.mana = 9.0f; }, NotEnoughMana, Available, 1},
        {"cooling down",
         [&](Skill& skill) {
             manager.mana = 10.0f;
             skill.ReplaceCooldownTime(1000.0f);
         },
         CoolingDown, Available, 1},
        {"level zero",
         [](Skill& skill) {
             skill.EndCooldown();
             skill.ReceiveStateUpdate(SkillState(0, true), true);
         },
         LevelZero, LevelZero, 1},
        {"bought again elsewhere",
         [&](Skill& skill) {
             manager.SetControlling(false);
             skill.ReceiveStateUpdate(SkillState(1, true), true);
             skill.ReplaceCooldownTime(1000.0f);
         },
         LevelZero, LevelZero, 0},
    };
    for (const auto& row : rows) {
        for (Skill* skill : {strike, pooled}) {
            const SkillReason expected = skill == strike ? row.strike : row.pooled;
            const std::string where =
                std::string(row.step) + (skill == strike ? " strike" : " pooled");
            row.change(*skill);
            const int before = skill->GetCooldownRemaining();
            const std::size_t sent = manager.services.states.size();
            const bool enabled = skill->GetSkillState().enabled;
            EXPECT_EQ(DrawsDuring([&] { skill->Update(*owner, 16); }), row.draws) << where;
            EXPECT_EQ(skill->GetCooldownRemaining(), before > 0 ? before - 16 : before) << where;
            EXPECT_EQ(skill->GetReason(), expected) << where;
            if (row.draws == 0)
                continue;  // the verdict is left as it was, and nothing is sent
            EXPECT_EQ(skill->GetSkillState().enabled, expected == Available) << where;
            EXPECT_EQ(manager.services.states.size(), sent + (enabled != (expected == Available)))
                << where;
            EXPECT_EQ(skill->SetAvailability(false, false), expected == Available) << where;
            EXPECT_EQ(skill->GetReason(), expected) << where;
        }
    }
    manager.SetControlling(true);
}

}  // namespace
}  // namespace GAME::test
