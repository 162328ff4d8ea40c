#include <gtest/gtest.h>

#include "CharacterTestSupport.h"
#include "Engine/media/sound/SoundPak.h"
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
    EXPECT_FALSE(small->fired);
    // Every type gets its entry, empty where the game-wide record names nothing.
    ASSERT_NE(hero->GetAbsorptionEffect(CombatAttributeType::PercentCurrentLife), nullptr);
    EXPECT_EQ(hero->GetAbsorptionEffect(CombatAttributeType::Physical), nullptr);
    for (std::size_t i = 0; i < Character::kEffectPackCount; ++i)
        EXPECT_EQ(hero->GetEffectPack(i).GetParent(), hero->GetObjectId()) << i;
}

TEST(CharacterSounds, SoundPacksAreOwnedAndDestroyedWithTheCharacter) {
    TestMachine tm;
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Character* hero = MakeCharacter("Records/Characters/Hero.dbr");
    Character* brute = MakeCharacter("Records/Characters/Brute.dbr");
    ASSERT_NE(hero, nullptr);
    SoundPak* attack = hero->GetSoundPak(Character::AttackSound);
    ASSERT_NE(attack, nullptr);
    EXPECT_EQ(brute->GetSoundPak(Character::AttackSound), nullptr);
    EXPECT_EQ(hero->GetSoundPak(Character::FootGrass), nullptr);
    const std::uint32_t soundId = attack->GetObjectId();
    objects.DestroyObjectEx(hero, "CharacterEffectsTest", __LINE__);
    EXPECT_EQ(objects.GetObject(soundId), nullptr);
    EXPECT_NE(objects.GetObject(brute->GetObjectId()), nullptr);
    // A character destroyed with everything else leaves nothing behind either.
    MakeCharacter("Records/Characters/Hero.dbr");
    objects.DestroyAll();
    EXPECT_EQ(objects.GetObjectCount(), 0u);
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
