#include <gtest/gtest.h>

#include "Engine/media/MediaRecorder.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/Machine.h"
#include "Game/characters/anim/AnimationSound.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr const char* kAnimSoundPak = "Records/Test/Sound/Pak.dbr";

struct AnimationSoundFixture : ::testing::Test {
    TestMachine tm;
    Actor* owner = Singleton<ObjectManager>::Get().CreateObject<Actor>();
};

TEST_F(AnimationSoundFixture, AddSoundKeepsOnlyPlayableEntries) {
    AnimationSound sounds;
    sounds.AddSound(Name::Create("hit"), kAnimSoundPak, 50.0f);
    sounds.AddSound(Name::Create("hit"), "Records/Test/Sound/DoorVox.dbr", 80.0f);  // kept: first
    sounds.AddSound(Name::Create("empty"), "", 100.0f);
    sounds.AddSound(Name::Create("never"), kAnimSoundPak, 0.0f);
    sounds.AddSound(Name::Create("entity"), "Records/Test/AnEntity.dbr", 100.0f);
    sounds.AddSound(Name::Create("missing"), "Records/Test/Sound/NoSuchPak.dbr", 100.0f);
    EXPECT_EQ(sounds.GetCount(), 1u);
    EXPECT_FLOAT_EQ(sounds.GetChance(Name::Create("hit")), 50.0f);
    // The record that makes no sound pack left nothing behind.
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObjectCount(), 2u);
}

TEST_F(AnimationSoundFixture, ChanceDecidesEveryPlayOfTheSeededGenerator) {
    struct Case {
        float chance;
        int expectedPlays;  // of 200 draws
    };
    // The roll starts at 0.1: a smaller chance never plays, 100 always does.
    for (const Case c : {Case{100.0f, 200}, Case{0.05f, 0}}) {
        AnimationSound sounds;
        sounds.AddSound(Name::Create("swing"), kAnimSoundPak, c.chance);
        crt_srand(7);
        int plays = 0;
        for (int i = 0; i < 200; ++i)
            plays += sounds.Play(*owner, Name::Create("swing"), nullptr) ? 1 : 0;
        EXPECT_EQ(plays, c.expectedPlays) << c.chance;
        EXPECT_EQ(sounds.GetSound(Name::Create("swing"))->GetPlayCount(),
                  static_cast<std::size_t>(c.expectedPlays));
    }
}

TEST_F(AnimationSoundFixture, PlaysAttenuatedOneShotsWhereAsked) {
    Region region("Hall", Vec3(), Vec3(50, 10, 50));
    owner->SetCoords(WorldCoords(&region, Coords::FromOrigin(Vec3(1, 0, 2))));
    AnimationSound sounds;
    sounds.AddSound(Name::Create("step"), kAnimSoundPak, 100.0f);
    EXPECT_FALSE(sounds.Play(*owner, Name::Create("unknown"), nullptr));
    const SoundPak& step = *sounds.GetSound(Name::Create("step"));
    const WorldVec3 elsewhere(&region, Vec3(5, 0, 6));
    for (const auto& [where, expected] :
         {std::pair{static_cast<const WorldVec3*>(nullptr), Vec3(1, 0, 2)},
          std::pair{&elsewhere, Vec3(5, 0, 6)}}) {
        ASSERT_TRUE(sounds.Play(*owner, Name::Create("step"), where));
        EXPECT_EQ(step.GetLastPlayed().where.local, expected);
        EXPECT_FALSE(step.GetLastPlayed().looping);
        EXPECT_TRUE(step.GetLastPlayed().attenuated);
    }
    EXPECT_EQ(step.GetPlayCount(), 2u);
    const MediaRecord* last = MediaRecorder::Get().Last(MediaCall::SoundPlay);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Text(), kAnimSoundPak);
    EXPECT_FLOAT_EQ(last->values[0], 5.0f);
}

TEST_F(AnimationSoundFixture, PreloadsAndDestroysItsPacks) {
    std::uint32_t soundId = 0;
    {
        AnimationSound sounds;
        sounds.AddSound(Name::Create("step"), kAnimSoundPak, 100.0f);
        sounds.PreLoad();
        SoundPak* pak = sounds.GetSound(Name::Create("step"));
        ASSERT_NE(pak, nullptr);
        EXPECT_EQ(pak->GetPreloadCount(), 1);
        soundId = pak->GetObjectId();
    }
    EXPECT_EQ(Singleton<ObjectManager>::Get().GetObject(soundId), nullptr);
}

}  // namespace
}  // namespace GAME::test
