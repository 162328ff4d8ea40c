#include <gtest/gtest.h>

#include "CharacterTestSupport.h"
#include "Game/core/GameEngine.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class CharacterEffects : public ::testing::Test {
protected:
    void SetUp() override { InitializeObjects(); }
    void TearDown() override { ShutdownObjects(); }
    TestMachine tm;
};

TEST_F(CharacterEffects, SizeDependentFieldsAreReadAtThePathingSize) {
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");    // no "pathingSize"
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");  // "Large"
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(brute, nullptr);
    const CharacterDamageFx* small = hero->GetAbsorptionEffect(CombatAttributeType::Fire);
    const CharacterDamageFx* large = brute->GetAbsorptionEffect(CombatAttributeType::Fire);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(small->effect, "Records/Fx/AbsFireSmall.dbr");
    EXPECT_EQ(large->effect, "Records/Fx/AbsFireLarge.dbr");
    EXPECT_FALSE(small->armed);
    // Every type gets its entry, empty where the game-wide record names nothing.
    ASSERT_NE(hero->GetAbsorptionEffect(CombatAttributeType::PercentCurrentLife), nullptr);
    EXPECT_EQ(hero->GetAbsorptionEffect(CombatAttributeType::Physical), nullptr);
    for (std::size_t i = 0; i < Character::kEffectPackCount; ++i)
        EXPECT_EQ(hero->GetEffectPack(i).GetParent(), hero->GetObjectId()) << i;
}

TEST(CharacterEffectsWithoutRoot, PacksStillBelongToTheirCharacter) {
    TestMachine tm;
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->GetAbsorptionEffect(CombatAttributeType::Fire), nullptr);
    EXPECT_EQ(hero->GetEffectPack(Character::kEffectPackCount - 1).GetParent(),
              hero->GetObjectId());
}

}  // namespace
}  // namespace GAME::test
