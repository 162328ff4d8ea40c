#include <gtest/gtest.h>

#include "Game/rules/CostInfo.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

std::vector<std::string> Lines(const TestMachine& tm) {
    std::vector<std::string> lines;
    for (const LogLine& line : tm.Log()) {
        EXPECT_EQ(line.level, 0);
        lines.push_back(line.text);
    }
    return lines;
}

TEST(CostInfoDump, ClearedRecordsDumpTheirHeaderOnly) {
    TestMachine tm;
    CostInfo_CharacterAttributes().Dump();
    CostInfo_SkillAttributes().Dump();
    CostInfo_DefenseAttributes().Dump();
    CostInfo_DamageAttributes().Dump();
    CostInfo_RetaliationAttributes().Dump();
    CostInfo_AugmentAttributes().Dump();
    CostInfo_ShieldAttributes().Dump();
    EXPECT_EQ(Lines(tm),
              (std::vector<std::string>{"Character Cost Attributes", "Skill Cost Attributes",
                                        "Defense Cost Attributes", "Damage Cost Attributes",
                                        "Retaliation Cost Attributes", "Augments Cost Attributes",
                                        "Shield Cost Attributes"}));
}

TEST(CostInfoDump, DamageAndRetaliationLinesAreExact) {
    TestMachine tm;
    CostInfo_DamageAttributes damage;
    damage.avgPierceRatio = 30.0f;
    damage.avgBonus = 7.5f;
    damage.modDur = 12.25f;
    damage.count = 3;
    damage.Dump();
    CostInfo_RetaliationAttributes retaliation;
    retaliation.avgBase = 99.0f;  // not part of the retaliation dump
    retaliation.avgOverTime = 1.5f;
    retaliation.mod = 4.0f;
    retaliation.count = 2;
    static_cast<const CostInfo_DamageAttributes&>(retaliation).Dump();
    EXPECT_EQ(Lines(tm), (std::vector<std::string>{
                             "Damage Cost Attributes",
                             "   avgBase (0.000000)  avgPierceRatio (30.000000)",
                             "   avgBonus        = 7.500000",
                             "   modDur          = 12.250000",
                             "   count           = 3",
                             "Retaliation Cost Attributes",
                             "   avgOverTime     = 1.500000",
                             "   mod             = 4.000000",
                             "   count           = 2",
                         }));
    EXPECT_EQ(retaliation.GetCount(), 2);
}

TEST(CostInfoDump, CharacterPairsShowWhenValueOrCountIsSet) {
    TestMachine tm;
    CostInfo_CharacterAttributes character;
    character.primaryAtt = 12.0f;
    character.primaryAttCount = 1;
    character.bonusMod = 0.0f;
    character.bonusModCount = 2;  // two contributions that cancel
    character.otherSpeedMod = 5.0f;
    character.Dump();
    EXPECT_EQ(Lines(tm), (std::vector<std::string>{
                             "Character Cost Attributes",
                             "   primaryAtt     (12.000000)   primaryAttCount       (1)",
                             "   bonusMod       (0.000000)   bonusModCount         (2)",
                             "   otherSpeedMod  (5.000000)   otherSpeedModCount    (0)",
                         }));
    EXPECT_EQ(character.GetTotalCount(), 3);
    character.Clear();
    EXPECT_EQ(character.GetTotalCount(), 0);
    EXPECT_FLOAT_EQ(character.primaryAtt, 0.0f);
}

TEST(CostInfoDump, SkillDefenseAugmentAndShieldLinesAreExact) {
    TestMachine tm;
    CostInfo_SkillAttributes skill;
    skill.bonus = 2.0f;
    skill.bonusCount = 1;
    skill.Dump();
    CostInfo_DefenseAttributes defense;
    defense.armor = 40.0f;
    defense.modDuration = 0.5f;
    defense.count = 2;
    defense.Dump();
    CostInfo_AugmentAttributes augment;
    augment.augmentLevel = 3;
    augment.Dump();
    CostInfo_ShieldAttributes shield;
    shield.blockChance = 25.0f;
    shield.blockRecoveryTime = 0.75f;
    shield.Dump();
    EXPECT_EQ(Lines(tm), (std::vector<std::string>{
                             "Skill Cost Attributes",
                             "   bonus       = 2.000000",
                             "   bonusCount  = 1",
                             "Defense Cost Attributes",
                             "   armor           = 40.000000",
                             "   modDuration     = 0.500000",
                             "   count           = 2",
                             "Augments Cost Attributes",
                             "   augmentLevel    = 3",
                             "Shield Cost Attributes",
                             "   blockChance         = 25.000000",
                             "   blockRecoveryTime   = 0.750000",
                         }));
    EXPECT_EQ(skill.GetCount(), 1);
    EXPECT_EQ(defense.GetCount(), 2);
    EXPECT_EQ(augment.GetCount(), 0);
}

}  // namespace
}  // namespace GAME::test
