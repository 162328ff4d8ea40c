// A skill record's profile: loaded once into the root's cache, read by level with its defaults.
#include <gtest/gtest.h>

#include <thread>

#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Game/core/GameEngine.h"
#include "Game/items/ItemClassification.h"
#include "Game/rules/SkillAttribute.h"
#include "Game/skills/profile/SkillProfile.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class SkillProfileTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }

    static LoadTable Record(const std::string& name) {
        auto& objects = Singleton<ObjectManager>::Get();
        objects.LoadTableFile(name);
        return objects.GetLoadTable(name);
    }
    const SkillProfile& Load(const std::string& name) {
        return *gGameEngine->LoadSkillResource(Name::Create(name), Record(name));
    }

    TestMachine tm;
};

TEST_F(SkillProfileTest, ReadsLevelsQualifiersAndNamesOfTheRecord) {
    const SkillProfile& p = Load("Records/Skills/FireBolt.dbr");
    EXPECT_EQ(p.GetDisplayNameTag(), "tagFireBolt");
    EXPECT_EQ(p.GetBaseDescriptionTag(), "tagFireBoltDescription");
    EXPECT_EQ(p.GetMaxLevel(), 4u);
    EXPECT_EQ(p.GetUltimateLevel(), 6u);
    // Tier 2 is the second entry of the game-wide tier list.
    EXPECT_EQ(p.GetMasteryLevelRequirement(), 1u);
    // Weapons in the fixed order Sword, Axe, Bow, Spear, Mace, Staff, ..., not the record's.
    EXPECT_EQ(p.GetQualifyingWeapons(),
              (std::vector<Weapon_Type>{Weapon_Type::Sword, Weapon_Type::Bow, Weapon_Type::Staff}));
    EXPECT_EQ(p.GetQualifyingDamageTags(),
              (std::vector<std::string>{"tagQualifyingDamagePhysical", "tagQualifyingDamageFire"}));
    EXPECT_TRUE(p.IsQualifyingDamage(CombatAttributeType::Fire));
    EXPECT_FALSE(p.IsQualifyingDamage(CombatAttributeType::Cold));
    EXPECT_EQ(p.GetSpecialAnimationName(), Name::Create("BoltCast"));
    EXPECT_EQ(p.GetCharBuffFxType(), CharacterBuff::Fire);
    EXPECT_EQ(p.GetNumberOfProjectiles(), 1u);
    EXPECT_EQ(p.GetNumberOfSpawnObjects(), 3u);
    EXPECT_FALSE(p.IncludeRacialDamage());
    EXPECT_EQ(p.GetActorScaleTime(), 1);  // 0.0015 s truncates to 1 ms
}

TEST_F(SkillProfileTest, PerLevelListsGiveFirstLastAndDefault) {
    const SkillProfile& p = Load("Records/Skills/FireBolt.dbr");
    EXPECT_EQ(p.GetChanceWeight(0), 0u);
    EXPECT_EQ(p.GetChanceWeight(1), 3u);
    EXPECT_EQ(p.GetChanceWeight(3), 7u);
    EXPECT_EQ(p.GetChanceWeight(9), 7u);
    EXPECT_EQ(p.GetProjectileName(0), "");
    EXPECT_EQ(p.GetProjectileName(1), "Records/Skills/BoltSmall.dbr");
    EXPECT_EQ(p.GetProjectileName(5), "Records/Skills/BoltLarge.dbr");
    EXPECT_EQ(p.GetProjectileHitTimeToLive(2), 2000);
    EXPECT_EQ(p.GetProjectileMissTimeToLive(2), 0);
    EXPECT_EQ(p.GetSpawnObjectTimeToLive(4), 10000);
    EXPECT_FLOAT_EQ(p.GetSpellAuraDuration(0), 1.0f);
    EXPECT_FLOAT_EQ(p.GetSpellAuraDuration(3), 6.0f);
    EXPECT_FLOAT_EQ(p.GetRagDollAmplification(1), 1.25f);
    EXPECT_FLOAT_EQ(p.GetSkillEnhancement(2), 2.0f);
    EXPECT_FLOAT_EQ(p.GetContagionRadius(1), 3.5f);
    EXPECT_FLOAT_EQ(p.GetContagionRadius(0), 2.0f);
    // Absent contagion fields.
    EXPECT_EQ(p.GetContagionInterval(3), 1000);
    EXPECT_EQ(p.GetContagionLimit(3), 1);
    EXPECT_EQ(p.GetContagionMaxSpread(3), 1);

    // One modifier block per level up to the ultimate level, read at its own index.
    ASSERT_EQ(p.GetModifierLevelCount(), 6u);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(1).manaCost, 10.0f);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(6).manaCost, 20.0f);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(60).manaCost, 20.0f);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(0).manaCost, 0.0f);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(2).cooldownTime, 1.5f);
    // Past the listed values a block repeats the last of them.
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(5).cooldownTime, 1.0f);
    EXPECT_FLOAT_EQ(p.GetSkillModifierData(5).activeDuration, 0.0f);
    EXPECT_EQ(p.GetSkillModifierData(3).targetNumber, 2u);
    const auto& fragments = p.GetSkillProjectileModifierData(2);
    EXPECT_EQ(fragments.fragmentsName, "Records/Skills/Fragment.dbr");
    EXPECT_EQ(fragments.fragmentsLaunchNumberMin, 3u);
    EXPECT_EQ(fragments.fragmentsLaunchNumberMax, 5u);
    EXPECT_EQ(p.GetSkillProjectileModifierData(0).fragmentsName, "");
}

TEST_F(SkillProfileTest, OddDefaultsAndTheRaisedUltimateLevel) {
    const SkillProfile& p = Load("Records/Skills/Elemental.dbr");
    EXPECT_EQ(p.GetUltimateLevel(), 4u);
    EXPECT_EQ(p.GetModifierLevelCount(), 4u);
    EXPECT_TRUE(p.GetQualifyingDualWeapons());
    EXPECT_EQ(p.GetNumberOfProjectiles(), 3u);
    EXPECT_EQ(p.GetActorScaleTime(), 2000);
    EXPECT_EQ(p.GetQualifyingDamageTags(),
              std::vector<std::string>{"tagQualifyingDamageElemental"});
    for (auto type :
         {CombatAttributeType::Fire, CombatAttributeType::Cold, CombatAttributeType::Lightning})
        EXPECT_TRUE(p.IsQualifyingDamage(type));
    EXPECT_FALSE(p.IsQualifyingDamage(CombatAttributeType::Physical));
    EXPECT_EQ(p.GetContagionInterval(0), 1000);
    EXPECT_EQ(p.GetContagionInterval(1), 250);
    EXPECT_EQ(p.GetContagionInterval(7), 500);
    EXPECT_EQ(p.GetContagionLimit(2), 4);
    EXPECT_EQ(p.GetContagionMaxSpread(2), 3);

    // No damage qualifier at all: every kind qualifies.
    const SkillProfile* never = gGameEngine->GetNullSkillResource();
    EXPECT_TRUE(never->IsQualifyingDamage(CombatAttributeType::Poison));
    EXPECT_EQ(never->GetDisplayNameTag(), "Invalid Skill Profile");
    EXPECT_EQ(never->GetMaxLevel(), 0u);
}

TEST_F(SkillProfileTest, AnAbsurdLevelIsCappedAndNamed) {
    const SkillProfile& p = Load("Records/Skills/Huge.dbr");
    EXPECT_EQ(p.GetMaxLevel(), 1000u);
    EXPECT_EQ(p.GetModifierLevelCount(), 1000u);
    EXPECT_EQ(tm.CountLog("Records/Skills/Huge.dbr field skillMaxLevel"), 1);
    // Times past the integer range are held at its ends, never wrapped.
    EXPECT_EQ(p.GetSpawnObjectTimeToLive(1), INT32_MAX);
    EXPECT_EQ(p.GetSpawnObjectTimeToLive(2), INT32_MIN);
}

TEST_F(SkillProfileTest, OneProfilePerNameLoadedOnceEvenFromAnotherThread) {
    const Name name = Name::Create("Records/Skills/FireBolt.dbr");
    const SkillProfile* fromLoader = nullptr;
    Machine& machine = tm.machine();
    std::thread loader([&] {
        MachineScope scope(machine);
        fromLoader = gGameEngine->LoadSkillResource(name, Record(name.str()));
    });
    loader.join();
    // A later load under the same name returns the cached profile without reading its table.
    const SkillProfile* again =
        gGameEngine->LoadSkillResource(name, Record("Records/Skills/Elemental.dbr"));
    EXPECT_EQ(again, fromLoader);
    EXPECT_EQ(again->GetUltimateLevel(), 6u);
    EXPECT_EQ(gGameEngine->GetSkillResource(name), fromLoader);
}

TEST_F(SkillProfileTest, CopiesKeepEveryValueAndTheStores) {
    const SkillProfile& p = Load("Records/Skills/FireBolt.dbr");
    SkillProfile copy;
    copy = p;
    EXPECT_EQ(copy.GetProjectileName(2), "Records/Skills/BoltLarge.dbr");
    EXPECT_FLOAT_EQ(copy.GetSkillModifierData(4).manaCost, 16.0f);
    SkillAttributeAccumulator fromCopy, fromOriginal;
    copy.GetSkillAttributes(fromCopy, 2);
    p.GetSkillAttributes(fromOriginal, 2);
    EXPECT_FLOAT_EQ(fromCopy.GetValue(SkillAttributeType::CooldownReduction), 20.0f);
    EXPECT_FLOAT_EQ(fromOriginal.GetValue(SkillAttributeType::CooldownReduction), 20.0f);
}

class SkillProfileTextTest : public SkillProfileTest {
protected:
    void SetUp() override {
        SkillProfileTest::SetUp();
        auto& texts = LocalizationManager::Instance();
        texts.SetText("SkillCostFormat", L"%.0f %s");
        texts.SetText("SkillDistanceFormat", L"%.1f m %s");
        texts.SetText("TargetNumber", L"%d targets");
        texts.SetText("ProjectileFragmentsLaunchNumberMinMax", L"%d-%d fragments");
        texts.SetText("ProjectileFragmentsLaunchNumber", L"%d fragments");
        texts.SetText("ManaCost", L"Mana");
        texts.SetText("ExplosionRadius", L"Blast");
    }
    static std::vector<std::wstring> Texts(const std::vector<GameTextLine>& lines) {
        std::vector<std::wstring> out;
        for (const auto& line : lines)
            out.push_back(line.text);
        return out;
    }
};

TEST_F(SkillProfileTextTest, ModifierLinesInOrderAndUnderTheirConditions) {
    const SkillProfile& p = Load("Records/Skills/FireBolt.dbr");
    std::vector<GameTextLine> lines;
    p.GetSkillModifierData(3).CreateText(GameTextClass_SkillStatsCurrent, lines);
    EXPECT_EQ(Texts(lines), (std::vector<std::wstring>{L"14 Mana", L"2 targets", L"1.0 m Blast"}));
    EXPECT_EQ(lines[0].textClass, GameTextClass_SkillStatsCurrent);

    // Level 2 after level 1: the mana cost changed; the target number and radius did not.
    lines.clear();
    p.GetSkillModifierData(2).CreateNextText(p.GetSkillModifierData(1), lines);
    EXPECT_EQ(Texts(lines), std::vector<std::wstring>{L"12 Mana"});
    EXPECT_EQ(lines[0].textClass, GameTextClass_SkillStatsNext);

    // A lower explosion radius still shows (any difference), a cheaper cost too.
    lines.clear();
    SkillProfile_Modifiers cheaper = p.GetSkillModifierData(3);
    cheaper.manaCost = 4.0f;
    cheaper.explosionRadius = 0.25f;
    cheaper.targetNumber = 1;
    cheaper.CreateNextText(p.GetSkillModifierData(3), lines);
    EXPECT_EQ(Texts(lines), (std::vector<std::wstring>{L"4 Mana", L"1 targets", L"0.2 m Blast"}));

    lines.clear();
    p.GetSkillProjectileModifierData(1).CreateText(GameTextClass_SkillStatsCurrent, lines);
    p.GetSkillProjectileModifierData(2).CreateText(GameTextClass_SkillStatsCurrent, lines);
    // Level 3 repeats the last listed values: nothing changed.
    p.GetSkillProjectileModifierData(3).CreateNextText(p.GetSkillProjectileModifierData(2), lines);
    EXPECT_EQ(Texts(lines), (std::vector<std::wstring>{L"2 fragments", L"3-5 fragments"}));
}

TEST_F(SkillProfileTextTest, AdditionSumsNumbersAndKeepsTheFragmentsName) {
    const SkillProfile& p = Load("Records/Skills/FireBolt.dbr");
    SkillProfile_Modifiers sum;
    sum.Add(p.GetSkillModifierData(1));
    sum.Add(p.GetSkillModifierData(3));
    EXPECT_FLOAT_EQ(sum.manaCost, 24.0f);
    EXPECT_FLOAT_EQ(sum.cooldownTime, 3.0f);
    EXPECT_EQ(sum.targetNumber, 3u);
    SkillProfile_ProjectileModifiers projectile;
    projectile.fragmentsName = "mine";
    projectile.Add(p.GetSkillProjectileModifierData(2));
    EXPECT_EQ(projectile.fragmentsName, "mine");
    EXPECT_EQ(projectile.fragmentsLaunchNumberMax, 5u);
}

}  // namespace
}  // namespace GAME
