#include <gtest/gtest.h>

#include "Game/rules/damage/DamageAttributeKinds.h"
#include "Game/rules/damage/DamageAttributePhysical.h"
#include "Game/rules/damage/DamageAttributeStore.h"
#include "rules/damage/DamageAttributeTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

using TextLines = std::vector<std::string>;

struct TextLists {
    DamageTextList list1, list2, list3;
    TextLines One() const { return Narrow(list1); }
    TextLines Two() const { return Narrow(list2); }
    TextLines Three() const { return Narrow(list3); }
};

class DamageAttributeText : public ::testing::Test {
protected:
    void SetUp() override { SetCombatTexts(); }

    // The attribute's lines, whether or not its record grants anything.
    template <class A, class Make>
    TextLists Lines_(const std::string& json, Make make) {
        A attribute;
        attribute.LoadFromTable(CombatRecord(json));
        TextLists lists;
        make(attribute, lists);
        return lists;
    }

    template <class A>
    TextLists Text(const std::string& json, unsigned int level = 1) {
        return Lines_<A>(json, [&](const A& a, TextLists& l) {
            a.CreateText(l.list1, l.list2, l.list3, level);
        });
    }

    template <class A>
    TextLists NextText(const std::string& json, unsigned int level, unsigned int next) {
        return Lines_<A>(json, [&](const A& a, TextLists& l) {
            a.CreateNextText(l.list1, l.list2, l.list3, level, next);
        });
    }

    TestMachine tm;
};

TEST_F(DamageAttributeText, OverTimeShowsTheWholeDamageAndItsDuration) {
    EXPECT_EQ(Text<DamageAttributeDur_Poison>(
                  R"({"offensiveSlowPoisonMin":10,"offensiveSlowPoisonMax":20,
                      "offensiveSlowPoisonDurationMin":3,"offensiveSlowPoisonDurationMax":3})")
                  .Two(),
              TextLines{"[30.00-60.00]DamageDurationPoison(3.0s)"});
    EXPECT_EQ(Text<DamageAttributeDur_RunSpeed>(
                  R"({"offensiveSlowRunSpeedMin":10,"offensiveSlowRunSpeedMax":20,
                      "offensiveSlowRunSpeedDurationMin":3,"offensiveSlowRunSpeedDurationMax":3})")
                  .Three(),
              TextLines{"[10.00-20.00]DamageDurationRunSpeed(fixed 3.0s)"});
    EXPECT_EQ(Text<DamageAttributeDur_Cold>(
                  R"({"offensiveSlowColdMin":4,"offensiveSlowColdDurationMin":1})")
                  .Two(),
              TextLines{"[4.00]DamageDurationCold/s"});
    EXPECT_EQ(Text<DamageAttributeDur_Bleeding>(
                  R"({"offensiveSlowBleedingMin":4,"offensiveSlowBleedingDurationMin":2,
                      "offensiveSlowBleedingDurationMax":4})")
                  .Two(),
              TextLines{"[8.00-16.00]DamageDurationBleeding(2.0-4.0s)"});
    // Durations of 0 show nothing.
    EXPECT_TRUE(Text<DamageAttributeDur_Life>(
                    R"({"offensiveSlowLifeMin":4,"offensiveSlowLifeDurationMin":[0,0]})")
                    .Two()
                    .empty());
}

TEST_F(DamageAttributeText, ChancePrefixFormatsAndTheListOfEachFamily) {
    EXPECT_EQ(Text<DamageAttributeAbs_Fire>(
                  R"({"offensiveFireChance":25,"offensiveFireMin":5,"offensiveFireMax":5})")
                  .Three(),
              TextLines{"(25%)[5.00]DamageFire"});
    EXPECT_TRUE(
        Text<DamageAttributeAbs_Fire>(R"({"offensiveFireChance":25,"offensiveFireMin":[0,3]})")
            .Three()
            .empty());
    EXPECT_EQ(
        Text<DamageAttributeAbsBase_Life>(R"({"offensiveBaseLifeMin":3,"offensiveBaseLifeMax":6})")
            .One(),
        TextLines{"[3.00-6.00]tagDamageBaseVitality"});
    EXPECT_EQ(Text<DamageAttributeAbs_Convert>(R"({"offensiveConvertMin":2})").Three(),
              TextLines{"{2.00}DamageConvert"});
    EXPECT_EQ(
        Text<DamageAttributeReflex_Freeze>(R"({"offensiveFreezeMin":1,"offensiveFreezeMax":2})")
            .Three(),
        TextLines{"<1.00-2.00>DamageFreeze"});
    const TextLists taunt = Text<DamageAttributeAbs_Taunt>(R"({"offensiveTauntMin":50})");
    EXPECT_TRUE(taunt.list1.empty() && taunt.list2.empty() && taunt.list3.empty());

    LocalizationManager::Instance().SetText("DamageModifierCold", L"+%.0f%% cold");
    EXPECT_EQ(Text<DamageAttributeAbsMod_Cold>(R"({"offensiveColdModifier":30})").Two(),
              TextLines{"+30% cold"});
    LocalizationManager::Instance().SetText("DamageDurationModifierRunSpeed", L"+%.0f%% slow");
    EXPECT_EQ(
        Text<DamageAttributeDurMod_RunSpeed>(
            R"({"offensiveSlowRunSpeedModifier":10,"offensiveSlowRunSpeedDurationModifier":40})")
            .Three(),
        TextLines{"+10% slow(+40% time)"});
    EXPECT_EQ(Text<DamageAttributeDurMod_Fire>(R"({"offensiveSlowFireDurationModifier":40})").Two(),
              TextLines{"DamageDurationModifierFire(+40% time)"});
}

TEST_F(DamageAttributeText, NextLevelLineOnlyWhenSomethingChanges) {
    const std::string same = R"({"offensiveFireMin":[5,5],"offensiveFireChance":[10,10]})";
    EXPECT_TRUE(NextText<DamageAttributeAbs_Fire>(same, 1, 2).Three().empty());
    const std::string chance = R"({"offensiveFireMin":[5,5],"offensiveFireChance":[10,20]})";
    EXPECT_EQ(NextText<DamageAttributeAbs_Fire>(chance, 1, 2).Three(),
              TextLines{"(20%)[5.00]DamageFire"});
    // The next level's numbers are written even when they are 0.
    const std::string drop = R"({"offensiveColdModifier":[10,0]})";
    EXPECT_EQ(NextText<DamageAttributeAbsMod_Cold>(drop, 1, 2).Two(),
              TextLines{"DamageModifierCold"});
}

TEST_F(DamageAttributeText, ManaBurnAddsItsRatioToTheSameLine) {
    EXPECT_EQ(Text<DamageAttributeAbs_ManaBurn>(
                  R"({"offensiveManaBurnDrainMin":20,"offensiveManaBurnDrainMax":30,
                      "offensiveManaBurnDamageRatio":50})")
                  .Three(),
              TextLines{"[20.00-30.00]DamageManaDrain(ratio 50)"});
}

TEST_F(DamageAttributeText, PhysicalLinesAndPierceRatio) {
    EXPECT_EQ(
        Text<DamageAttribute_BasePhysical>(
            R"({"offensivePhysicalMin":10,"offensivePhysicalMax":5,"offensivePierceRatioMin":20})")
            .One(),
        (TextLines{"[10.00]DamageBasePhysical", "pierce 20"}));
    EXPECT_TRUE(
        Text<DamageAttribute_BasePhysical>(R"({"offensivePierceRatioMin":30})").One().empty());
    EXPECT_EQ(Text<DamageAttribute_Physical>(
                  R"({"offensivePhysicalMin":[10],"offensivePhysicalMax":[15.7],
                      "offensivePhysicalChance":[40],"offensivePierceRatio":[25]})")
                  .Two(),
              (TextLines{"(40%)[10.00-15.00]DamageBasePhysical", "pierce 25"}));
    const std::string pierceOnly =
        R"({"offensivePhysicalMin":[10,10],"offensivePierceRatio":[25,35]})";
    EXPECT_TRUE(NextText<DamageAttribute_Physical>(pierceOnly, 1, 2).Two().empty());
    const std::string grows = R"({"offensivePhysicalMin":[10,12],"offensivePierceRatio":[25,35]})";
    EXPECT_EQ(NextText<DamageAttribute_Physical>(grows, 1, 2).Two(),
              (TextLines{"[12.00]DamageBasePhysical", "pierce 35"}));
}

}  // namespace
}  // namespace GAME::test
