#include <vector>

#include "EffectsTestSupport.h"
#include "Engine/media/EditorFilter.h"
#include "Engine/media/sound/SoundManager.h"
#include "Engine/media/sound/SoundPak.h"
#include "Engine/sys/RandomUniform.h"
#include "Game/core/GameEngine.h"
#include "Game/world/sounds/SoundObject.h"

namespace GAME::test {
namespace {

class SoundObjects : public EffectsTest {
protected:
    SoundObjects() { SoundManager::Get().SetEarsPosition(WorldVec3(region, Vec3(0, 0, 0))); }

    SoundObject* Place(const char* record) {
        SoundObject* sound = Make<SoundObject>(record);
        World::Get().AddEntity(sound, At(3, 0, 4), false);
        sound->InitialUpdate();
        return sound;
    }
    // Game times at which the pack played, over `ms` of 100 ms frames.
    std::vector<std::uint64_t> PlayTimes(SoundObject* sound, SoundPak* pack, int ms) {
        std::vector<std::uint64_t> times;
        std::uint64_t seen = pack->GetPlayCount();
        for (int t = 0; t < ms; t += 100) {
            Frame(100, {sound->GetObjectId()});
            if (pack->GetPlayCount() != seen)
                times.push_back(gEngine->GetGameTime());
            seen = pack->GetPlayCount();
        }
        return times;
    }
};

TEST_F(SoundObjects, RandomPeriodsComeFromTheRootsGeneratorWithinTheirRange) {
    InitializeObjects();
    gGameEngine->GetRandomGen().Seed(4242);
    RandomUniform mirror;
    mirror.Seed(4242);
    SoundObject* birds = Place("Records/Sounds/Objects/Birds.dbr");
    SoundPak* call = birds->GetPeriodic().GetSound();
    ASSERT_NE(call, nullptr);

    const std::vector<std::uint64_t> times = PlayTimes(birds, call, 30000);
    ASSERT_GE(times.size(), 5u);
    std::uint64_t expected = 0;
    for (std::uint64_t played : times) {
        const int period = mirror.IGenerate(2000, 5000);
        EXPECT_GE(period, 2000);
        EXPECT_LE(period, 5000);
        // Played on the first 100 ms frame that takes the countdown below 1.
        expected += static_cast<std::uint64_t>((period + 99) / 100 * 100);
        EXPECT_EQ(played, expected);
    }
    ShutdownObjects();
}

TEST_F(SoundObjects, WithoutTheRootRandomPeriodsTakeTheirMinimumAndSayItOnce) {
    SoundObject* birds = Place("Records/Sounds/Objects/Birds.dbr");
    EXPECT_EQ(birds->GetPeriodic().GetCountdown(), 2000);
    const std::vector<std::uint64_t> times =
        PlayTimes(birds, birds->GetPeriodic().GetSound(), 6000);
    EXPECT_EQ(times, (std::vector<std::uint64_t>{2000, 4000, 6000}));
    EXPECT_EQ(tm.CountLog("no game root"), 1);
}

TEST_F(SoundObjects, APeriodStillPlayingIsSkippedAndTheAmbientWaitsForTheFirstUpdate) {
    // Every 1000 ms a call of 1500 ms: the call due at 2000 ms is still sounding.
    SoundObject* bell = Make<SoundObject>("Records/Sounds/Objects/Bell.dbr");
    SoundPak* wind = bell->GetAmbient().GetSound();
    EXPECT_FALSE(bell->GetAmbient().IsStarted());
    World::Get().AddEntity(bell, At(3, 0, 4), false);
    bell->InitialUpdate();
    EXPECT_FALSE(bell->IsVisible());
    EXPECT_TRUE(bell->GetAmbient().IsStarted());
    EXPECT_FALSE(bell->GetAmbient().IsLooping());
    EXPECT_TRUE(wind->GetPlayCount() == 0);

    const std::vector<std::uint64_t> times = PlayTimes(bell, bell->GetPeriodic().GetSound(), 5000);
    EXPECT_EQ(times, (std::vector<std::uint64_t>{1000, 3000, 5000}));
    EXPECT_FALSE(wind->GetPlayCount() == 0);
    EXPECT_FLOAT_EQ(wind->GetLastPlayed().where.local.x, 3.0f);

    // A one-shot ambient heard from beyond eight falloffs fades out.
    wind->SetInfiniteLoop(true);
    wind->Play(WorldVec3(region, Vec3(3, 0, 4)));
    SoundManager::Get().SetEarsPosition(WorldVec3(region, Vec3(3, 0, 4 + 161)));
    Frame(100, {bell->GetObjectId()});
    EXPECT_FLOAT_EQ(wind->GetLastFadeTime(), 500.0f);
}

TEST_F(SoundObjects, StartOnLoadLoopsAtOnceUnlessTheListenerIsNowhere) {
    SoundObject* waterfall = Make<SoundObject>("Records/Sounds/Objects/Waterfall.dbr");
    SoundPak* roar = waterfall->GetAmbient().GetSound();
    ASSERT_EQ(roar->GetPlayCount(), 1u);
    EXPECT_TRUE(roar->GetLastPlayed().looping);
    EXPECT_EQ(roar->GetFalloffCheckCount(), 1);

    SoundManager::Get().SetEarsPosition(WorldVec3());
    SoundObject* quiet = Make<SoundObject>("Records/Sounds/Objects/Waterfall.dbr");
    EXPECT_TRUE(quiet->GetAmbient().GetSound()->GetPlayCount() == 0);
}

TEST_F(SoundObjects, InTheEditorNothingPlaysAndTheObjectIsListed) {
    gEngine->SetEditor(true);
    SoundObject* bell = Place("Records/Sounds/Objects/Bell.dbr");
    const std::uint32_t id = bell->GetObjectId();
    EXPECT_TRUE(bell->IsVisible());
    EXPECT_EQ(EditorFilter::Get().GetCategory(id), 2);
    Frames(30, 100, {id});
    EXPECT_TRUE(bell->GetAmbient().GetSound()->GetPlayCount() == 0);
    EXPECT_TRUE(bell->GetPeriodic().GetSound()->GetPlayCount() == 0);
    Objects().DestroyObject(bell);
    EXPECT_EQ(EditorFilter::Get().GetCategory(id), -1);
}

}  // namespace
}  // namespace GAME::test
