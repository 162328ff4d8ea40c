// Potions used are counted by the class of the one-shot item, health and mana apart.
#include <gtest/gtest.h>

#include "Engine/object/Object.h"
#include "Engine/object/RTTI.h"
#include "Game/characters/stats/PlayStats.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

// A stand-in item of a given class record; the records below form their own small tree.
class OneShotItem : public Object {
public:
    explicit OneShotItem(const RTTI_ClassInfo& info) : mInfo(info) {}
    const RTTI_ClassInfo& GetClassInfo() const override { return mInfo; }

private:
    const RTTI_ClassInfo& mInfo;
};

TEST(PlayStatsPotions, HealthAndManaPotionsCountApartAndOtherItemsNot) {
    TestMachine tm;
    RTTI_ClassInfo oneShot("OneShot", nullptr, nullptr);
    RTTI_ClassInfo potion("OneShot_Potion", &oneShot, nullptr);
    RTTI_ClassInfo health("OneShot_PotionHealth", &potion, nullptr);
    RTTI_ClassInfo mana("OneShot_PotionMana", &potion, nullptr);
    RTTI_ClassInfo gold("OneShot_Gold", &oneShot, nullptr);
    // A kind derived from a health potion still counts as one.
    RTTI_ClassInfo greater("GreaterHealthPotion", &health, nullptr);

    PlayStats stats;
    const OneShotItem healthPotion(health), manaPotion(mana), goldPile(gold), plainPotion(potion),
        greaterPotion(greater);
    stats.IncrementPotion(&healthPotion);
    stats.IncrementPotion(&greaterPotion);
    stats.IncrementPotion(&manaPotion);
    stats.IncrementPotion(&goldPile);
    stats.IncrementPotion(&plainPotion);
    stats.IncrementPotion(nullptr);

    float value = 0.0f;
    ASSERT_TRUE(stats.GetDesignerVariable("healthPotionsUsed", value));
    EXPECT_FLOAT_EQ(value, 2.0f);
    ASSERT_TRUE(stats.GetDesignerVariable("manaPotionsUsed", value));
    EXPECT_FLOAT_EQ(value, 1.0f);
}

}  // namespace
}  // namespace GAME::test
