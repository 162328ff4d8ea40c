// Areas of interest, apparatus, spawn and hall-of-fame markers, and the local player's boss
// music: small placed classes and what they hand to the map, the characters and the jukebox.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/media/sound/AmbianceManager.h"
#include "Engine/media/sound/Jukebox.h"
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Game/core/GameEngine.h"
#include "Game/world/markers/AreaOfInterest.h"
#include "Game/world/markers/LevelMarkers.h"
#include "Game/world/props/Apparatus.h"
#include "players/PlayersTestSupport.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

class PlacedMarkers : public ::testing::Test {
protected:
    PlacedMarkers() { region = World::Get().AddRegion(std::make_unique<Region>("Hollow")); }

    template <class T>
    T* Place(const char* record, const Vec3& at) {
        auto* object = Objects().CreateObjectFromFile<T>(record);
        if (object)
            World::Get().AddEntity(object, WorldCoords(region, Coords::FromOrigin(at)), true);
        return object;
    }

    TestMachine machine;
    RunningGame game;
    Region* region = nullptr;
};

TEST_F(PlacedMarkers, AnAreaOfInterestAddsItsLabelledEntryToTheDetailMap) {
    LocalizationManager::Instance().SetText("SimpleStringFormat", L"%s");
    LocalizationManager::Instance().SetText("tagAreaOldMill", L"The Old Mill");
    struct Case {
        const char* record;
        float radius;
        std::wstring label;
    };
    const Case cases[] = {
        {"Records/Volumes/Area.dbr", 12.0f, L"The Old Mill"},
        // No tag: still on the map, with what the empty tag localizes to.
        {"Records/Volumes/AreaNoTag.dbr", 1.0f, LocalizationManager::Instance().GetText("")},
    };
    for (const Case& c : cases) {
        auto* area = Place<AreaOfInterest>(c.record, Vec3(3.0f, 0.0f, 4.0f));
        ASSERT_NE(area, nullptr);
        area->InitialUpdate();
        EXPECT_FALSE(area->IsVisible());
        EXPECT_FLOAT_EQ(area->GetRadius(), c.radius);
        std::vector<MinimapGameNugget> map;
        area->AppendDetailMapData(map);
        ASSERT_EQ(map.size(), 1u);
        EXPECT_EQ(map[0].kind, 6);
        EXPECT_EQ(map[0].label, c.label);
        EXPECT_EQ(map[0].position, WorldVec3(region, Vec3(3.0f, 0.0f, 4.0f)));
    }
}

TEST_F(PlacedMarkers, AnApparatusPausesWithinItsRangeAndRefusesABackwardsOne) {
    auto* bench = Objects().CreateObjectFromFile<Apparatus>("Records/Volumes/Bench.dbr");
    ASSERT_NE(bench, nullptr);
    EXPECT_EQ(bench->GetPauseTimeMin(), 1500);
    EXPECT_EQ(bench->GetPauseTimeMax(), 2000);
    int least = 1 << 30, most = 0;
    for (int i = 0; i < 400; ++i) {
        const int pause = bench->GetPauseTime();
        least = std::min(least, pause);
        most = std::max(most, pause);
    }
    EXPECT_GE(least, 1500);
    EXPECT_LE(most, 2000);
    EXPECT_LT(least, 1600);
    EXPECT_GT(most, 1900);

    auto* backwards =
        Objects().CreateObjectFromFile<Apparatus>("Records/Volumes/BackwardsBench.dbr");
    ASSERT_NE(backwards, nullptr);
    EXPECT_EQ(machine.CountLog("Records/Volumes/BackwardsBench.dbr"), 1);
    EXPECT_EQ(backwards->GetPauseTime(), 0);
}

TEST_F(PlacedMarkers, MarkersAreInvisibleOutsideTheEditorAndNeverCollide) {
    Entity* walker = Objects().CreateObject<Entity>();
    for (bool editor : {false, true}) {
        gEngine->SetEditor(editor);
        std::vector<Actor*> markers = {Objects().CreateObject<PlayerSpawnPoint>(),
                                       Objects().CreateObject<HallOfFameCamera>(),
                                       Objects().CreateObject<HallOfFameStand>()};
        for (Actor* marker : markers) {
            marker->InitialUpdate();
            EXPECT_EQ(marker->IsVisible(), editor);
            EXPECT_FALSE(marker->CanCollide(*walker));
        }
        EXPECT_FALSE(markers[0]->ShouldServerSpawn());
        EXPECT_TRUE(markers[1]->ShouldServerSpawn());
        EXPECT_TRUE(markers[2]->ShouldServerSpawn());
    }
    gEngine->SetEditor(false);
}

TEST_F(PlacedMarkers, TheLocalPlayersBossMusicPlaysInsideABossMusicZoneOnly) {
    Region* lair = World::Get().AddRegion(std::make_unique<Region>("Lair"));
    lair->SetBossMusicZone(true);
    Player* player = MakePlayer(PlayerId(0, 0x77), L"Hunter", 5);
    Jukebox& jukebox = Singleton<Jukebox>::Get();
    AmbianceManager& ambiance = Singleton<AmbianceManager>::Get();
    struct Frame {
        Region* at;
        const char* registered;  // by a boss near the player this frame
        std::string boss;        // what the jukebox plays after
    };
    const Frame frames[] = {
        {region, "Drums", ""},       // no zone: nothing starts
        {lair, "", ""},              // a zone and no boss near
        {lair, "Drums", "Drums"},    // starts at once
        {lair, "Drums", "Drums"},    // and plays on
        {region, "Drums", "Drums"},  // out of the zone with the boss near: plays on
        {region, "", ""},            // out and no boss: it leaves
    };
    for (const Frame& frame : frames) {
        ambiance.SetTargetPosition(WorldVec3(frame.at, Vec3()));
        if (*frame.registered)
            player->RegisterMonsterMusic(0x99, frame.registered);
        player->BossMusicStateUpdate();
        EXPECT_EQ(jukebox.GetBossMusic(), frame.boss);
    }
    EXPECT_EQ(jukebox.GetBossMusicCount(), 1);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::MusicAbsoluteFade), 1u);
    EXPECT_EQ(MediaRecorder::Get().Count(MediaCall::BossMusicLeave), 1u);
    EXPECT_EQ(jukebox.GetTrackedBoss(), 0x99u);
    EXPECT_EQ(jukebox.GetTrackedPlayer(), player->GetObjectId());
}

TEST(ForcedUpdates, TheEngineKeepsEachAskerOnceInIdOrder) {
    TestMachine machine;
    for (std::uint32_t id : {7u, 3u, 7u, 0u, 5u})
        gEngine->RegisterForForcedUpdates(id);
    EXPECT_EQ(gEngine->GetForcedUpdates(), (std::vector<std::uint32_t>{3, 5, 7}));
    gEngine->UnregisterForForcedUpdates(5);
    gEngine->UnregisterForForcedUpdates(9);
    EXPECT_EQ(gEngine->GetForcedUpdates(), (std::vector<std::uint32_t>{3, 7}));
}

}  // namespace
}  // namespace GAME::test
