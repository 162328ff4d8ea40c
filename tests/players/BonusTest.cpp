#include <gtest/gtest.h>

#include "Engine/object/ObjectManager.h"
#include "Game/core/players/Bonus.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(BonusTest, LoadsEveryKeyAndKeepsIds) {
    TestMachine tm;
    Bonus bonus;
    bonus.id = 7;
    bonus.sourceId = 9;
    bonus.Load(Singleton<ObjectManager>::Get().GetLoadTable("Records/Players/Potion.dbr"));
    EXPECT_FLOAT_EQ(bonus.lifePoints, 150.0f);
    EXPECT_FLOAT_EQ(bonus.lifePercent, 0.25f);
    EXPECT_FLOAT_EQ(bonus.manaPoints, 20.5f);
    EXPECT_FLOAT_EQ(bonus.manaPercent, 0.1f);
    EXPECT_EQ(bonus.gold, 40u);
    EXPECT_EQ(bonus.skillPoints, 1u);
    EXPECT_EQ(bonus.attributePoints, 2u);
    EXPECT_EQ(bonus.experience, 300u);
    EXPECT_EQ(bonus.effectName, "Records/Effects/Heal.dbr");
    EXPECT_EQ(bonus.id, 7u);
    EXPECT_EQ(bonus.sourceId, 9u);
}

TEST(BonusTest, RecordWithoutKeysLoadsZeroBonus) {
    TestMachine tm;
    Bonus bonus;
    bonus.gold = 5;
    bonus.effectName = "x";
    bonus.Load(Singleton<ObjectManager>::Get().GetLoadTable("Records/Players/Empty.dbr"));
    EXPECT_EQ(bonus.gold, 0u);
    EXPECT_TRUE(bonus.effectName.empty());
    EXPECT_EQ(bonus.GetTotalValue(1000.0f, 1000.0f), 0.0f);
}

TEST(BonusTest, CopyValuesKeepsTheEffectName) {
    Bonus source;
    source.id = 1;
    source.gold = 12;
    source.experience = 99;
    source.sourceId = 3;
    source.effectName = "Records/Effects/Source.dbr";
    Bonus target;
    target.effectName = "Records/Effects/Kept.dbr";
    target.CopyValues(source);
    EXPECT_EQ(target.effectName, "Records/Effects/Kept.dbr");
    EXPECT_EQ(target.id, 1u);
    EXPECT_EQ(target.gold, 12u);
    EXPECT_EQ(target.experience, 99u);
    EXPECT_EQ(target.sourceId, 3u);

    Bonus copy(source);
    EXPECT_EQ(copy.effectName, "Records/Effects/Source.dbr");
}

TEST(BonusTest, TotalValueWeighsLifeAndManaByTheCharacter) {
    Bonus bonus;
    bonus.lifePoints = 10.0f;
    bonus.lifePercent = 0.5f;
    EXPECT_FLOAT_EQ(bonus.GetTotalValue(200.0f, 50.0f), 110.0f);
    bonus.manaPercent = 0.2f;
    bonus.gold = 4000000000u;  // unsigned, not wrapped to a negative
    EXPECT_FLOAT_EQ(bonus.GetTotalValue(200.0f, 50.0f), 110.0f + 10.0f + 4.0e9f);
}

}  // namespace
}  // namespace GAME
