#include <gtest/gtest.h>

#include "Engine/media/physics/CollisionData.h"
#include "Engine/media/sound/SoundPak.h"
#include "characters/CharacterTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class CharacterSoundsTest : public ::testing::Test {
protected:
    TestMachine tm;
    Region region{"Hall", Vec3(), Vec3(50, 10, 50)};
    Character* sounder = MakeCharacter("Records/Characters/Sounder.dbr");

    std::size_t Plays(Character::SoundSlot slot) const {
        SoundPak* pak = sounder->GetSoundPak(slot);
        return pak ? pak->GetPlayCount() : 0;
    }
};

TEST_F(CharacterSoundsTest, LowHealthWarningSoundsOnceUntilLifeClimbsBackToTheResetLevel) {
    ASSERT_NE(sounder, nullptr);
    // Trigger 25 and reset 50 of 200 life: the warning at 50 and below, ready again at 100.
    struct Step {
        float life;
        std::size_t plays;
        bool latched;
    };
    const Step steps[] = {{60, 0, false}, {50, 1, true},   {40, 1, true},
                          {99, 1, true},  {100, 1, false}, {50, 2, true}};
    for (const Step& step : steps) {
        sounder->PlayLowHealthSoundIfNeeded(step.life);
        EXPECT_EQ(Plays(Character::LowHealthSound), step.plays) << step.life;
        EXPECT_EQ(sounder->IsLowHealthLatched(), step.latched) << step.life;
    }
    // With both levels 0 (the hero's record) the warning waits for life 0.
    Character* hero = MakeCharacter(kHeroRecord);
    hero->PlayLowHealthSoundIfNeeded(0.5f);
    EXPECT_FALSE(hero->IsLowHealthLatched());
    hero->PlayLowHealthSoundIfNeeded(0.0f);
    EXPECT_TRUE(hero->IsLowHealthLatched());
}

TEST_F(CharacterSoundsTest, BodyFallOnWaterSplashesOnlyWithAMeshElsewhereItFalls) {
    ASSERT_NE(sounder, nullptr);
    SoundPak* fall = sounder->GetAnimationSounds().GetSound(Name::Create("bodyFallSound"));
    ASSERT_NE(fall, nullptr);
    CollisionData water;
    water.contact = true;
    water.surface = PhysicsSurface::Water;
    sounder->CollisionCallback(water);  // no mesh: silence, and no fall instead
    EXPECT_EQ(Plays(Character::SplashSound), 0u);
    EXPECT_EQ(fall->GetPlayCount(), 0u);
    sounder->SetMesh("Meshes/Sounder.msh");
    sounder->CollisionCallback(water);
    EXPECT_EQ(Plays(Character::SplashSound), 1u);
    sounder->PlayBodyFallSound(PhysicsSurface::Stone);
    ASSERT_EQ(fall->GetPlayCount(), 1u);
    EXPECT_TRUE(fall->GetLastPlayed().attenuated);
    CollisionData nearMiss;
    nearMiss.surface = PhysicsSurface::Stone;
    sounder->CollisionCallback(nearMiss);
    EXPECT_EQ(fall->GetPlayCount(), 1u);
}

TEST_F(CharacterSoundsTest, OwnSoundsPlayOnceWhereTheCharacterStands) {
    ASSERT_NE(sounder, nullptr);
    sounder->SetCoords(WorldCoords(&region, Coords::FromOrigin(Vec3(3, 0, 4))));
    sounder->PlayLootSound();
    sounder->PlayAttackSound();  // the record names no attack sound
    ASSERT_EQ(Plays(Character::LootSound), 1u);
    EXPECT_EQ(sounder->GetSoundPak(Character::LootSound)->GetLastPlayed().where.local,
              Vec3(3, 0, 4));
    sounder->PlayLoopingRunningSound();
    sounder->PlayLoopingRunningSound();
    EXPECT_EQ(Plays(Character::LoopingRunning), 1u);
}

TEST_F(CharacterSoundsTest, NetSoundsOutsideTheListAreLoggedAndNothingPlays) {
    ASSERT_NE(sounder, nullptr);
    SoundPak* loot = sounder->GetSoundPak(Character::LootSound);
    sounder->PlayNetSound(nullptr);
    sounder->PlayNetSound(loot);  // never registered
    EXPECT_EQ(tm.CountLog("attempted to play an invalid Net Sound."), 1);
    sounder->OnPlayNetSound(static_cast<unsigned>(sounder->GetNetSoundCount()));
    EXPECT_EQ(tm.CountLog("received config cmd to play an invalid Net Sound."), 1);
    EXPECT_EQ(loot->GetPlayCount(), 0u);
}

}  // namespace
}  // namespace GAME::test
