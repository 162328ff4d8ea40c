// Weapon and inherent attacks: the hand the animation names picks the weapon, the controlling
// machine decides the targets and the seed, and every machine applies the same damage.
#include <gtest/gtest.h>

#include <memory>

#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/weapon/Skill_AttackInherent.h"
#include "Game/skills/weapon/Skill_AttackWeapon.h"
#include "WeaponSkillTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kAttacker = 0x500;
constexpr std::uint32_t kFirstVictim = 0x501;
constexpr std::uint32_t kSecondVictim = 0x502;

// One machine with a running root, an attacker and two victims beside it.
struct Arena {
    explicit Arena(AttackSkillManager& manager) {
        ON_MACHINE(tm) {
            InitializeObjects();
            attacker = MakeFighter(kAttacker, 10.0f);
            MakeFighter(kFirstVictim, 11.0f);
            MakeFighter(kSecondVictim, 10.5f);
            manager.SetParent(attacker);
        }
    }
    ~Arena() {
        ON_MACHINE(tm) {
            ShutdownObjects();
        }
    }
    float Life(std::uint32_t id) {
        float life = 0.0f;
        ON_MACHINE(tm) {
            life = Find(id)->GetCurrentLife();
        }
        return life;
    }

    TestMachine tm;
    Character* attacker = nullptr;
};

class WeaponSkillAttack : public ::testing::Test {
protected:
    WeaponSkillAttack() : arena(manager) {
        ON_MACHINE(arena.tm) {
            strike = MakeAttackSkill<Skill_AttackWeapon>(kStrike, manager);
        }
        manager.rightWeapon = 7;
        manager.leftWeapon = 9;
    }
    void Hit(Skill_AttackWeapon& skill, const char* event, std::uint32_t target = kFirstVictim) {
        ON_MACHINE(arena.tm) {
            skill.ActivateNow(*arena.attacker, Name::Create(event), target,
                              Find(kFirstVictim)->GetPosition());
        }
    }

    AttackSkillManager manager;
    Arena arena;
    Skill_AttackWeapon* strike = nullptr;
};

TEST_F(WeaponSkillAttack, TheHandEventPicksTheWeaponInMeleeAndAtRange) {
    ASSERT_NE(strike, nullptr);
    Hit(*strike, "RightHandHit");
    Hit(*strike, "LeftHandHit");
    Hit(*strike, "Hit");
    ASSERT_EQ(manager.attack.results.size(), 3u);
    const std::uint32_t expected[] = {7, 9, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(manager.attack.results[i].weaponId, expected[i]) << i;
        EXPECT_TRUE(manager.attack.results[i].useWeapon);
    }

    // A ranged weapon launches from the hand that hits, facing as the attacker does.
    manager.SetReach(true, Skill_RangeProfile::Long);
    Hit(*strike, "LeftHandHit");
    EXPECT_EQ(manager.attack.results.size(), 3u);
    ASSERT_EQ(manager.attack.projectiles.size(), 1u);
    const SentProjectile& sent = manager.attack.projectiles[0];
    EXPECT_EQ(sent.weaponId, 9u);
    EXPECT_EQ(sent.origin.GetPosition(), arena.attacker->GetAttachedCoords("L Hand").GetPosition());
    EXPECT_EQ(sent.origin.GetRegionCoords().xAxis,
              arena.attacker->GetCoords().GetRegionCoords().xAxis);
}

TEST_F(WeaponSkillAttack, TheInherentAttackNeverUsesAWeaponAndSplitsItsDamage) {
    Skill_AttackInherent* claws = nullptr;
    ON_MACHINE(arena.tm) {
        claws = MakeAttackSkill<Skill_AttackInherent>(kClaws, manager);
    }
    ASSERT_NE(claws, nullptr);
    ON_MACHINE(arena.tm) {
        claws->ActivateNow(*arena.attacker, Name::Create("RightHandHit"), kFirstVictim,
                           Find(kFirstVictim)->GetPosition());
    }
    ASSERT_EQ(manager.attack.results.size(), 1u);
    const SentTargetResult sent = manager.attack.results[0];
    EXPECT_EQ(sent.weaponId, 0u);

    // Alone, the victim takes the full damage; with a second target each takes half, from the
    // same first draws of the seed.
    ON_MACHINE(arena.tm) {
        claws->TargetResult(*arena.attacker, {kFirstVictim}, sent.origin, sent.seed, 0, true);
    }
    const float whole = kFighterLife - arena.Life(kFirstVictim);
    ON_MACHINE(arena.tm) {
        test::SetLife(*Find(kFirstVictim), kFighterLife, kFighterLife);
        claws->TargetResult(*arena.attacker, {kFirstVictim, kSecondVictim}, sent.origin, sent.seed,
                            0, true);
    }
    EXPECT_GE(whole, 30.0f);
    EXPECT_NEAR(kFighterLife - arena.Life(kFirstVictim), whole / 2.0f, 0.01f);
    EXPECT_LT(arena.Life(kSecondVictim), kFighterLife);
}

// The decision is taken once, on the first machine; both apply it.
TEST(WeaponSkillTwoMachines, AWeaponAttackTakesTheSameLifeOnBothMachines) {
    AttackSkillManager deciding;
    AttackSkillManager receiving;
    receiving.SetControlling(false);
    Arena first(deciding);
    Arena second(receiving);
    Skill_AttackWeapon* skills[2] = {};
    ON_MACHINE(first.tm) {
        skills[0] = MakeAttackSkill<Skill_AttackWeapon>(kStrike, deciding);
        skills[0]->ActivateNow(*first.attacker, Name::Create("Hit"), kFirstVictim,
                               Find(kFirstVictim)->GetPosition());
    }
    ON_MACHINE(second.tm) {
        skills[1] = MakeAttackSkill<Skill_AttackWeapon>(kStrike, receiving);
        skills[1]->ActivateNow(*second.attacker, Name::Create("Hit"), kFirstVictim,
                               Find(kFirstVictim)->GetPosition());
    }
    ASSERT_EQ(deciding.attack.results.size(), 1u);
    EXPECT_TRUE(receiving.attack.results.empty());
    const SentTargetResult sent = deciding.attack.results[0];

    Arena* arenas[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        ON_MACHINE(arenas[i]->tm) {
            skills[i]->TargetResult(*arenas[i]->attacker, sent.targets, sent.origin, sent.seed,
                                    sent.weaponId, sent.useWeapon);
        }
    }
    EXPECT_LT(first.Life(kFirstVictim), kFighterLife - 19.0f);
    EXPECT_EQ(first.Life(kFirstVictim), second.Life(kFirstVictim));
    EXPECT_EQ(first.Life(kSecondVictim), kFighterLife);
    EXPECT_EQ(second.Life(kSecondVictim), kFighterLife);
}

// Through the character's own manager on the controlling machine: every hit strikes, only the
// first hit of a use pays, and a charge cancelled through the manager pays once.
TEST(WeaponSkillThroughTheManager, EveryHitStrikesAndOnlyTheFirstHitOfAUsePays) {
    TestMachine tm;
    InitializeObjects();
    Character* duelist = MakeFighter(kAttacker, 10.0f, "Records/Skills/Weapon/Duelist.dbr");
    Character* victim = MakeFighter(kFirstVictim, 11.0f);
    ASSERT_NE(duelist, nullptr);
    SkillManager& skills = duelist->GetSkillManager();
    skills.LoadSkills("Records/Skills/Weapon/Duelist.dbr", 1);
    skills.SetAsControllingManager();
    const std::uint32_t id = skills.FindSkillId(kStrike);
    auto* strike = Singleton<ObjectManager>::Get().GetObject<Skill_AttackWeapon>(id);
    ASSERT_NE(strike, nullptr);
    strike->ReceiveStateUpdate(SkillState(1, true), true);
    const std::uint32_t reference = skills.GetSkillReferenceNumber(id);
    // The mana paid so far (the character drains it over the next frames).
    auto paid = [&] { return duelist->GetPlayStats().GetManaUsed(); };
    auto hit = [&] {
        skills.HandleSkillAnimationCallback(Name::Create("Hit"), reference, kFirstVictim,
                                            victim->GetPosition());
    };

    hit();
    const float afterFirst = victim->GetCurrentLife();
    EXPECT_LT(afterFirst, kFighterLife);
    EXPECT_FLOAT_EQ(paid(), 10.0f);
    EXPECT_EQ(strike->GetCooldownRemaining(), 2000);
    hit();
    EXPECT_LT(victim->GetCurrentLife(), afterFirst);
    EXPECT_FLOAT_EQ(paid(), 10.0f);

    strike->EndCooldown();
    ASSERT_TRUE(skills.SkillWarmUp(reference, false));
    skills.SkillWarmUp(reference, true);
    skills.CancelSkillAction(reference);
    skills.CancelSkillAction(reference);
    EXPECT_FLOAT_EQ(paid(), 20.0f);
    EXPECT_EQ(strike->GetCooldownRemaining(), 2000);
    ShutdownObjects();
}

}  // namespace
}  // namespace GAME::test
