// Bounding volumes: who enters and leaves a sphere, and what the volume kinds do when the local
// player crosses their edge (music, light of day, a sound once, wind over the grass).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/environment/GrassWind.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/world/DayNightManager.h"
#include "Engine/world/World.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/quests/QuestEvents.h"
#include "Game/rules/death/DeathRemovals.h"
#include "Game/world/volumes/BoundingVolumeKinds.h"
#include "Game/world/volumes/BoundingVolumeMultiple.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

constexpr std::uint32_t kWanderer = PlayerId(0, 0x456);

// Every crossing reported on the machine, in order: +id entered, -id left.
class CrossingLog {
public:
    CrossingLog() {
        mEnter.SetOwner(this, &CrossingLog::OnEnter);
        mExit.SetOwner(this, &CrossingLog::OnExit);
    }
    std::vector<long long> crossings;

private:
    void OnEnter(const GameEvent_BoundingVolume& event) { crossings.push_back(event.entityId); }
    void OnExit(const GameEvent_BoundingVolume& event) {
        crossings.push_back(-static_cast<long long>(event.entityId));
    }
    GameEventListener<CrossingLog, GameEvent_BoundingVolume> mEnter{
        "GameEvent_EnterBoundingVolume"};
    GameEventListener<CrossingLog, GameEvent_BoundingVolume> mExit{"GameEvent_ExitBoundingVolume"};
};

class BoundingVolumes : public ::testing::Test {
protected:
    BoundingVolumes() {
        region = World::Get().AddRegion(std::make_unique<Region>("Glen"));
        player = MakePlayer(kWanderer, L"Wanderer", 4);
        gGameEngine->GetPlayerManagerClient()->SetMainPlayer(kWanderer);
        player->SetIsControllingCharacter(true);
        Put(player, Vec3(100.0f, 0.0f, 0.0f));
    }

    template <class T>
    T* Place(const char* record, const Vec3& at = Vec3()) {
        auto* object = Objects().CreateObjectFromFile<T>(record);
        if (object)
            World::Get().AddEntity(object, WorldCoords(region, Coords::FromOrigin(at)), false);
        return object;
    }
    Entity* Walker(const Vec3& at) {
        Entity* entity = Objects().CreateObject<Entity>();
        Put(entity, at);
        return entity;
    }
    void Put(Entity* entity, const Vec3& at) {
        World::Get().AddEntity(entity, WorldCoords(region, Coords::FromOrigin(at)), true);
    }
    static void Update(Entity* entity) { entity->UpdateSelf(100); }

    TestMachine machine;
    RunningGame game;
    Region* region = nullptr;
    Player* player = nullptr;
};

TEST_F(BoundingVolumes, ReportsOnlyWhatCrossedTheEdgeBetweenTwoUpdates) {
    CrossingLog log;
    Entity* resident = Walker(Vec3(1.0f, 0.0f, 0.0f));
    Entity* visitor = Walker(Vec3(30.0f, 0.0f, 0.0f));
    auto* volume = Place<BoundingVolume>("Records/Volumes/Plain.dbr");
    ASSERT_NE(volume, nullptr);
    volume->InitialUpdate();
    EXPECT_FALSE(volume->IsVisible());
    const std::uint32_t r = resident->GetObjectId(), v = visitor->GetObjectId();
    EXPECT_EQ(volume->GetEntitiesInVolume(), std::vector<std::uint32_t>{r});

    struct Step {
        Vec3 visitorAt;
        Vec3 residentAt;
        std::vector<long long> crossings;
    };
    const std::vector<Step> steps = {
        {Vec3(30, 0, 0), Vec3(1, 0, 0), {}},  // present at the start: no event
        {Vec3(2, 0, 0), Vec3(1, 0, 0), {v}},  // walks in
        {Vec3(2, 0, 1), Vec3(40, 0, 0), {-static_cast<long long>(r)}},
        {Vec3(50, 0, 0), Vec3(40, 0, 0), {-static_cast<long long>(v)}},
    };
    for (const Step& step : steps) {
        log.crossings.clear();
        Put(visitor, step.visitorAt);
        Put(resident, step.residentAt);
        Update(volume);
        EXPECT_EQ(log.crossings, step.crossings);
    }
    // In and out again between two updates: nothing.
    log.crossings.clear();
    Put(visitor, Vec3(0, 0, 0));
    Put(visitor, Vec3(60, 0, 0));
    Update(volume);
    EXPECT_TRUE(log.crossings.empty());
    EXPECT_TRUE(volume->GetEntitiesInVolume().empty());

    // Strictly inside: the sphere itself is outside.
    EXPECT_TRUE(volume->IsPointInsideVolume(WorldVec3(region, Vec3(4.99f, 0, 0))));
    EXPECT_FALSE(volume->IsPointInsideVolume(WorldVec3(region, Vec3(5.0f, 0, 0))));
    const WorldVec3 random = volume->GetRandomPointInsideVolume();
    for (float c : {random.local.x, random.local.y, random.local.z})
        EXPECT_LE(std::abs(c), 5.0f);
}

TEST_F(BoundingVolumes, NestedVolumesAreMadeFromTheRadiiAndIndexedInsideOut) {
    struct Case {
        const char* record;
        std::vector<float> radii;  // after attaching
    };
    const Case cases[] = {
        {"Records/Volumes/MusicEvent.dbr", {5.0f, 20.0f}},  // 5, 0, 20
        {"Records/Volumes/BossLair.dbr", {4.0f, 9.0f, 14.0f}},
        // Negative radii are taken for the first, third and fourth volume only.
        {"Records/Volumes/NegativeRadii.dbr", {-4.0f, -2.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        auto* multiple = Objects().CreateObjectFromFile<BoundingVolumeMultiple>(c.record);
        ASSERT_NE(multiple, nullptr);
        Entity* anchor = Walker(Vec3(10.0f, 0.0f, 10.0f));
        multiple->AttachVolumes(anchor);
        std::vector<float> radii;
        for (const auto& nested : multiple->GetVolumes()) {
            radii.push_back(nested.radius);
            EXPECT_TRUE(nested.attached);
            const auto* volume = Objects().GetObject<BoundingVolume>(nested.volumeId);
            ASSERT_NE(volume, nullptr);
            EXPECT_EQ(volume->GetAttachParentId(), anchor->GetObjectId());
            EXPECT_TRUE(volume->IsInWorld());
        }
        EXPECT_EQ(radii, c.radii);
        const std::uint32_t inner = multiple->GetVolumes().front().volumeId;
        Objects().DestroyObject(multiple);
        EXPECT_EQ(Objects().GetObject(inner), nullptr);  // the nested volumes go with it
    }
}

TEST_F(BoundingVolumes, EventMusicPlaysOnceAndTheMidVolumeFadesTheMusic) {
    auto* music = Place<BoundingVolumeMusicEvent>("Records/Volumes/MusicEvent.dbr");
    ASSERT_NE(music, nullptr);
    music->InitialUpdate();
    Update(music);  // attaches its volumes to itself
    auto* inner = Objects().GetObject<BoundingVolume>(music->GetVolumes()[0].volumeId);
    auto* mid = Objects().GetObject<BoundingVolume>(music->GetVolumes()[1].volumeId);
    ASSERT_TRUE(inner && mid);
    inner->InitialUpdate();
    mid->InitialUpdate();
    Jukebox& jukebox = *gGameEngine->GetJukebox();
    auto step = [&](const Vec3& at) {
        Put(player, at);
        Update(inner);
        Update(mid);
    };
    step(Vec3(10, 0, 0));  // into the mid volume
    EXPECT_TRUE(jukebox.IsMusicFadedOut());
    EXPECT_EQ(jukebox.GetLastFadeMs(), 5000);
    step(Vec3(1, 0, 0));  // into the inner one
    step(Vec3(10, 0, 0));
    step(Vec3(1, 0, 0));  // and in again
    EXPECT_EQ(jukebox.GetEventMusicCount(), 1);
    EXPECT_EQ(jukebox.GetEventMusic(), "Music/Event.dbr");
    EXPECT_TRUE(music->IsDone());
}

TEST_F(BoundingVolumes, ABossVolumeFadesTheMusicAtItsOuterEdgeUntilTheBossDies) {
    auto* lair =
        Objects().CreateObjectFromFile<BoundingVolumeBossMonster>("Records/Volumes/BossLair.dbr");
    ASSERT_NE(lair, nullptr);
    Entity* boss = Walker(Vec3());
    lair->SetBossId(boss->GetObjectId());
    lair->AttachVolumes(boss);
    auto* outer = Objects().GetObject<BoundingVolume>(lair->GetVolumes()[2].volumeId);
    auto* mid = Objects().GetObject<BoundingVolume>(lair->GetVolumes()[1].volumeId);
    outer->InitialUpdate();
    mid->InitialUpdate();
    Jukebox& jukebox = *gGameEngine->GetJukebox();
    Put(player, Vec3(7, 0, 7));  // in the mid and the outer volume
    Update(outer);
    Update(mid);
    EXPECT_TRUE(jukebox.IsMusicFadedOut());
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::MusicFadeOut), 1u);

    GameEvent_CreatureStartDeath death;
    death.objectId = boss->GetObjectId();
    SendGameEvent(death, "CreatureStartDeath");
    EXPECT_TRUE(lair->IsDone());
    Put(player, Vec3(50, 0, 0));
    Update(outer);
    Put(player, Vec3(7, 0, 7));
    Update(outer);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::MusicFadeOut), 1u);
    Objects().DestroyObject(lair);
}

TEST_F(BoundingVolumes, ABossBringsItsLairAndItsMusicAndTakesThemAway) {
    auto* boss = Place<Monster>("Records/Volumes/LairBoss.dbr", Vec3(20, 0, 20));
    ASSERT_NE(boss, nullptr);
    boss->InitialUpdate();
    auto* lair = Objects().GetObject<BoundingVolumeBossMonster>(boss->GetBossBoundingVolumeId());
    ASSERT_NE(lair, nullptr);
    EXPECT_EQ(lair->GetBossId(), boss->GetObjectId());
    EXPECT_EQ(lair->GetAttachParentId(), boss->GetObjectId());
    std::vector<std::uint32_t> nested;
    for (const auto& volume : lair->GetVolumes()) {
        const auto* entity = Objects().GetObject<BoundingVolume>(volume.volumeId);
        ASSERT_NE(entity, nullptr);
        EXPECT_EQ(entity->GetAttachParentId(), boss->GetObjectId());
        EXPECT_TRUE(entity->IsInWorld());
        nested.push_back(volume.volumeId);
    }
    EXPECT_EQ(nested.size(), 3u);

    Put(player, Vec3(25, 0, 20));  // within the music radius
    boss->UpdateSelf(100);
    EXPECT_EQ(player->GetBossMusic(), "Music/Boss.dbr");
    EXPECT_EQ(gGameEngine->GetJukebox()->GetTrackedBoss(), boss->GetObjectId());

    const std::uint32_t lairId = lair->GetObjectId();
    World::Get().RemoveEntity(boss);
    Objects().DestroyObject(boss);
    EXPECT_EQ(Objects().GetObject(lairId), nullptr);
    for (std::uint32_t id : nested)
        EXPECT_EQ(Objects().GetObject(id), nullptr);
}

TEST_F(BoundingVolumes, AOneShotSoundPlaysOnceAndLeavesAfterItsOwnUpdate) {
    auto* oneShot = Place<BoundingVolumeSoundFxOneShot>("Records/Volumes/OneShot.dbr");
    ASSERT_NE(oneShot, nullptr);
    oneShot->InitialUpdate();
    const std::uint32_t id = oneShot->GetObjectId();
    Walker(Vec3(1, 0, 0));
    Update(oneShot);  // not the local player: nothing plays
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::SoundPlay), 0u);
    Put(player, Vec3(2, 0, 0));
    Update(oneShot);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::SoundPlay), 1u);
    // Still whole after its own update; the frame's step takes it away.
    ASSERT_EQ(Objects().GetObject(id), oneShot);
    EXPECT_TRUE(oneShot->HasPlayed());
    Singleton<DeathRemovals>::Get().Flush();
    EXPECT_EQ(Objects().GetObject(id), nullptr);
}

TEST_F(BoundingVolumes, LerpDaylightFollowsTheLocalPlayerOutToTheEndHour) {
    DayNightManager& dayNight = Singleton<DayNightManager>::Get();
    dayNight.Enable(true);
    auto* lerp = Place<BoundingVolumeLerpDaylight>("Records/Volumes/LerpDaylight.dbr");
    ASSERT_NE(lerp, nullptr);
    lerp->InitialUpdate();
    // The walk starts over from 0 at activation; the start hour follows the farthest distance.
    struct Step {
        float x;
        bool active;
        float startTime;
    };
    const Step steps[] = {
        {4.0f, true, 12.0f},  // 6 + 12 x 4/8
        {2.0f, true, 12.0f},  // nearer again: the farthest distance holds
        {6.0f, true, 15.0f},
        {9.0f, false, 15.0f},  // past the radius to the end hour: the cycle is handed back
    };
    for (const Step& step : steps) {
        Put(player, Vec3(step.x, 0.0f, 0.0f));
        Update(lerp);
        EXPECT_EQ(lerp->IsActive(), step.active) << step.x;
        EXPECT_FLOAT_EQ(dayNight.GetStartTime(), step.startTime) << step.x;
        EXPECT_EQ(gEngine->IsRegisteredForForcedUpdates(lerp->GetObjectId()), step.active);
        EXPECT_EQ(dayNight.IsEnabled(), !step.active);
    }
}

TEST_F(BoundingVolumes, PlaylistsChangeForTheLocalPlayerAlone) {
    auto* playlist = Place<BoundingVolumeChangePlaylist>("Records/Volumes/ChangePlaylist.dbr");
    ASSERT_NE(playlist, nullptr);
    playlist->InitialUpdate();
    Jukebox& jukebox = *gGameEngine->GetJukebox();
    Walker(Vec3(1, 0, 0));
    Update(playlist);
    EXPECT_EQ(jukebox.GetMusicPlaylist(), "");
    Put(player, Vec3(1, 0, 1));
    Update(playlist);
    EXPECT_EQ(jukebox.GetMusicPlaylist(), "Music/Cave");
    EXPECT_EQ(jukebox.GetAmbientPlaylist(), "Ambience/Cave");
    EXPECT_FALSE(jukebox.IsAmbientLoadedNow());
}

TEST_F(BoundingVolumes, AWindVolumeBlowsEachUpdateAndSendsOnlyItsExits) {
    CrossingLog log;
    auto* wind = Place<BoundingVolumeWind>("Records/Volumes/Wind.dbr", Vec3(3, 0, 3));
    ASSERT_NE(wind, nullptr);
    wind->InitialUpdate();
    Entity* walker = Walker(Vec3(3, 0, 4));
    Update(wind);
    const GrassWind* blown = GrassWindField::Get().Find(wind->GetObjectId());
    ASSERT_NE(blown, nullptr);
    EXPECT_FLOAT_EQ(blown->strength, 5.0f);
    EXPECT_FLOAT_EQ(blown->radius, 6.0f);
    EXPECT_EQ(blown->position, WorldVec3(region, Vec3(3, 0, 3)));
    Put(walker, Vec3(40, 0, 0));
    wind->SetWindOn(false);
    wind->SetWindDirection(Vec2(0.0f, 2.0f));
    Update(wind);
    EXPECT_EQ(log.crossings,
              std::vector<long long>{-static_cast<long long>(walker->GetObjectId())});
    EXPECT_FLOAT_EQ(GrassWindField::Get().Find(wind->GetObjectId())->strength, 5.0f);  // still
    const std::uint32_t id = wind->GetObjectId();
    World::Get().RemoveEntity(wind);
    Objects().DestroyObject(wind);
    EXPECT_EQ(GrassWindField::Get().Find(id), nullptr);
}

}  // namespace
}  // namespace GAME::test
