// What a skill keeps between frames: the mana cost (with the root's draw still taken on every
// call), where its level comes from, the profile's weapon rules and the owner weapon's reach.
#include <functional>

#include "Engine/sys/RandomUniform.h"
#include "Game/characters/Character.h"
#include "Game/skills/buffs/SkillBuff.h"
#include "Game/skills/pool/Skill_WPAttack.h"
#include "Game/skills/utility/Skill_Utility.h"
#include "Game/skills/weapon/Skill_AttackWeapon.h"
#include "WeaponSkillTestSupport.h"

namespace GAME::test {
namespace {

constexpr const char* kElemental = "Records/Skills/Elemental.dbr";
constexpr const char* kWard = "Records/Skills/Ward.dbr";
constexpr const char* kPooled = "Records/Skills/Default/DefaultWPBasicAttack.dbr";

class SkillKeptAnswers : public SkillFixture {
protected:
    SkillKeptAnswers() {
        owner = Singleton<ObjectManager>::Get().CreateObject<Character>();
        manager.parent = owner;
    }

    // The cost, and how many draws of the root's generator the call took.
    std::pair<float, int> CostAndDraws(const Skill& skill) {
        RandomUniformLocked& root = gGameEngine->GetRandomGen();
        const std::uint32_t before = root.GetState();
        const float cost = skill.GetManaCost();
        int draws = 0;
        for (std::uint32_t state = before; state != root.GetState() && draws < 8; ++draws)
            state = RandomUniform::NextState(state);
        return {cost, draws};
    }

    Character* owner = nullptr;
};

// Every input of the cost moves it on the next call, asked twice in a row, and each call draws
// exactly once, kept or not.
TEST_F(SkillKeptAnswers, TheManaCostFollowsEveryInputAndDrawsOncePerCall) {
    Skill& skill = Make(kFireBolt);  // costs 10, 12, .. 20 at levels 1 to 6
    gGameEngine->GetRandomGen().Seed(7);
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
        {"no owner", [&] { manager.parent = nullptr; }, 14.0f},
        {"the owner back", [&] { manager.parent = owner; }, 14.0f},
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
    Skill& parent = Make(kFireBolt);
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

// The dual-wield rule comes from the profile and needs a level; the weapon list from the
// profile too, either hand qualifying.
TEST_F(SkillKeptAnswers, TheProfilesWeaponRulesDecideQualificationAndDualWielding) {
    Skill& dual = Make(kElemental);
    Skill& bolt = Make(kFireBolt);
    EXPECT_FALSE(dual.AllowDualWieldWeapons());  // no level yet
    dual.IncrementSkillLevel(1);
    bolt.IncrementSkillLevel(1);
    const struct {
        int hands;
        Weapon_Type right;
        Weapon_Type left;
        bool dualQualifies;
        bool boltQualifies;
    } rows[] = {
        {2, Weapon_Type::Axe, Weapon_Type::Axe, true, false},
        {1, Weapon_Type::Sword, Weapon_Type::None, false, true},
        {0, Weapon_Type::None, Weapon_Type::Bow, false, true},
        {2, Weapon_Type::Staff, Weapon_Type::Axe, true, true},
    };
    for (const auto& row : rows) {
        manager.handState = row.hands;
        manager.right = row.right;
        manager.left = row.left;
        EXPECT_EQ(dual.IsQualifyingWeapons(), row.dualQualifies) << row.hands;
        EXPECT_EQ(bolt.IsQualifyingWeapons(), row.boltQualifies) << row.hands;
        EXPECT_TRUE(dual.AllowDualWieldWeapons());
        EXPECT_FALSE(bolt.AllowDualWieldWeapons());
    }
}

// A weapon attack reaches as its owner's weapon does at every update.
TEST_F(SkillKeptAnswers, AWeaponAttackFollowsTheReachOfTheOwnersWeapon) {
    struct ReachManager : AttackSkillManager {
        Skill_RangeProfile GetWeaponRangeProfile() override { return reach; }
        Skill_RangeProfile reach = Skill_RangeProfile::Long;
    } reachManager;
    reachManager.parent = owner;
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
        reachManager.ranged = row.ranged;
        reachManager.reach = row.reach;
        strike->Update(*owner, 16);
        EXPECT_EQ(strike->IsRangedWeapon(), row.ranged);
        EXPECT_EQ(strike->GetRangeProfile(), row.expected) << static_cast<int>(row.reach);
    }
    strike->SetManager(&manager);
}

}  // namespace
}  // namespace GAME::test
