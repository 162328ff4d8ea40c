// Rings of walls across a server and a client: the deciding machine plans the places, every
// machine raises the same walls, and they fall alike when their time is up, when the skill is
// used again or stopped. A client may let only its own walls fall.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Engine/Engine.h"
#include "Engine/media/MediaRecorder.h"
#include "Engine/net/NetworkConnectionManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/core/players/Team.h"
#include "Game/skills/manager/SkillCommands.h"
#include "Game/skills/manager/SkillManager.h"
#include "Game/skills/spawn/Skill_DefensiveWall.h"
#include "characters/MovementTestSupport.h"
#include "skills/WeaponSkillTestSupport.h"
#include "support/NetTestGame.h"

namespace GAME::test {
namespace walls_net {

constexpr std::uint32_t kMason = (1u << 28) | 0x100;  // the client's own character
constexpr std::uint32_t kWarden = 0x0F000200;         // decided on the server
constexpr int kFrameMs = 33;
constexpr std::uint32_t kRing = 0;  // skill references
constexpr std::uint32_t kGround = 1;
constexpr std::uint32_t kBroken = 2;

constexpr const char* kMasonRecord = R"({"Class": "Character", "characterLife": 500,
    "characterMana": 500,
    "skillName1": "Records/NetWall/Ring.dbr", "skillLevel1": 1,
    "skillName2": "Records/NetWall/Ground.dbr", "skillLevel2": 1,
    "skillName3": "Records/NetWall/Broken.dbr", "skillLevel3": 1})";
// Two rings, four walls each, for two seconds.
constexpr const char* kRingRecord = R"({"Class": "Skill_DefensiveWall", "skillMaxLevel": 1,
    "spawnObjects": ["Records/NetWall/Wall.dbr"], "spawnObjectsTimeToLive": [2],
    "spawnObjectsNumberOfRings": [2], "spawnObjectsSpacingAngle": 90,
    "spawnObjectsDistanceInnerCircle": 3, "spawnObjectsDistanceIncrement": 2,
    "skillManaCost": [10]})";
// One ring of three around the clicked point, standing until the next use.
constexpr const char* kGroundRecord = R"({"Class": "Skill_DefensiveGround", "skillMaxLevel": 1,
    "spawnObjects": ["Records/NetWall/Wall.dbr"], "spawnObjectsNumberOfRings": [1],
    "spawnObjectsSpacingAngle": 120, "spawnObjectsDistanceInnerCircle": 2,
    "skillDeactivatedSound": "Records/NetWall/Crumble.dbr"})";
// No spacing: no ring can be laid out.
constexpr const char* kBrokenRecord = R"({"Class": "Skill_DefensiveWall", "skillMaxLevel": 1,
    "spawnObjects": ["Records/NetWall/Wall.dbr"], "spawnObjectsNumberOfRings": [2]})";
constexpr const char* kWall = R"({"Class": "Monster", "characterLife": 100,
    "characterRunSpeed": 0, "controller": "Records/NetWall/WallAI.dbr"})";

struct WallView {
    std::uint32_t id = 0;
    bool alive = false;
    bool sameTeam = false;
    float x = 0.0f;
    float z = 0.0f;
    bool operator==(const WallView&) const = default;
};

class WallsOverNetwork : public ::testing::Test {
protected:
    WallsOverNetwork() : game(1, copy.Root()) {
        for (TestMachine* tm : game.Machines()) {
            MachineScope scope(tm->machine());
            auto& records = Singleton<RecordDatabase>::Get();
            for (auto [name, text] :
                 {std::pair{"Records/NetWall/Mason.dbr", kMasonRecord},
                  std::pair{"Records/NetWall/Ring.dbr", kRingRecord},
                  std::pair{"Records/NetWall/Ground.dbr", kGroundRecord},
                  std::pair{"Records/NetWall/Broken.dbr", kBrokenRecord},
                  std::pair{"Records/NetWall/Wall.dbr", kWall},
                  std::pair{"Records/NetWall/WallAI.dbr", R"({"Class": "ControllerMonster"})"},
                  std::pair{"Records/NetWall/Crumble.dbr", R"({"Class": "SoundPak"})"}})
                EXPECT_TRUE(records.AddRecordText(name, text)) << name;
            InitializeObjects();
            // The meadow's ground and paths give the walls their places.
            EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
            game.TakeRole(*tm);
            for (auto [id, x] : {std::pair{kMason, 14.0f}, std::pair{kWarden, 17.0f}})
                Place(id, x);
        }
        ON_MACHINE(game.Client(0)) {
            Find(kMason)->GetSkillManager().SetAsControllingManager();
        }
        ON_MACHINE(game.Server()) {
            Find(kWarden)->GetSkillManager().SetAsControllingManager();
        }
        Frames(1);
    }
    ~WallsOverNetwork() override { game.OnEach(ShutdownObjects); }
    static void Place(std::uint32_t id, float x) {
        auto* c = Singleton<ObjectManager>::Get().CreateObjectFromFile<Character>(
            "Records/NetWall/Mason.dbr", id);
        ASSERT_NE(c, nullptr);
        c->InitialUpdate();
        c->GetSkillManager().LoadSkills("Records/NetWall/Mason.dbr", 3);
        c->SetTeam(TeamManager::DefaultPlayerTeam());
        Region* meadow = World::Get().GetRegion("Meadow");
        ASSERT_NE(meadow, nullptr);
        WorldVec3 at(meadow, Vec3(x, 5, 20));
        at.PutOnFloor();
        World::Get().AddEntity(c, WorldCoords(meadow, Coords::FromOrigin(at.local)), true);
    }
    static Skill_DefensiveWall* Skill(std::uint32_t owner, std::uint32_t reference) {
        return Singleton<ObjectManager>::Get().GetObject<Skill_DefensiveWall>(
            Find(owner)->GetSkillManager().GetSkillIdFromReference(reference));
    }
    void Frames(int count) {
        game.RunFrames(count, kFrameMs, [](TestMachine&, int) {
            for (std::uint32_t owner : {kMason, kWarden}) {
                for (std::uint32_t reference : {kRing, kGround})
                    for (std::uint32_t wall : Skill(owner, reference)->GetWalls())
                        if (Character* c = Find(wall)) {
                            if (!c->HasDoneInitialUpdate())
                                c->InitialUpdate();
                            c->UpdateSelf(kFrameMs);
                        }
                Find(owner)->GetSkillManager().Update(kFrameMs);
            }
        });
    }
    // Used by its deciding machine at the point dx metres along x from the owner; the point.
    Vec3 Raise(std::uint32_t owner, std::uint32_t reference, float dx = 0.0f) {
        TestMachine& decider = owner == kMason ? game.Client(0) : game.Server();
        Vec3 clicked;
        ON_MACHINE(decider) {
            WorldVec3 at = Find(owner)->GetPosition();
            at.Translate(Vec3(dx, 0, 0));
            clicked = at.local;
            Skill(owner, reference)->ActivateNow(*Find(owner), Name(), 0, at);
        }
        game.Pump();
        return clicked;
    }
    // The walls of one skill as each machine sees them.
    std::vector<std::vector<WallView>> Views(std::uint32_t owner,
                                             const std::vector<std::uint32_t>& ids) {
        return game.OnEach([&] {
            std::vector<WallView> views;
            for (std::uint32_t id : ids) {
                const Character* wall = Find(id);
                if (!wall) {
                    views.push_back({id});
                    continue;
                }
                const Vec3& at = wall->GetCoords().GetRegionCoords().origin;
                views.push_back(
                    {id, wall->IsAlive(),
                     wall->GetTeam().GetTeamMajor() == Find(owner)->GetTeam().GetTeamMajor(), at.x,
                     at.z});
            }
            return views;
        });
    }
    std::vector<std::uint32_t> WallsOn(TestMachine& tm, std::uint32_t owner,
                                       std::uint32_t reference) {
        std::vector<std::uint32_t> walls;
        ON_MACHINE(tm) {
            walls = Skill(owner, reference)->GetWalls();
        }
        return walls;
    }

    SampleWorldCopy copy;
    NetTestGame game;
};

TEST_F(WallsOverNetwork, TwoRingsStandAlikeEverywhereStaggeredAndFallWhenTheirTimeIsUp) {
    Raise(kMason, kRing);
    const std::vector<std::uint32_t> walls = WallsOn(game.Server(), kMason, kRing);
    ASSERT_EQ(walls.size(), 8u);
    EXPECT_EQ(WallsOn(game.Client(0), kMason, kRing), walls);
    const auto views = Views(kMason, walls);
    EXPECT_EQ(views[1], views[0]);
    // Four on the inner circle at 0, 90, 180, 270 degrees, four on the outer turned by 45.
    Vec3 centre;
    ON_MACHINE(game.Server()) {
        centre = Find(kMason)->GetCoords().GetRegionCoords().origin;
    }
    for (std::size_t i = 0; i < walls.size(); ++i) {
        const WallView& wall = views[0][i];
        EXPECT_TRUE(wall.alive && wall.sameTeam) << i;
        const float dx = wall.x - centre.x, dz = wall.z - centre.z;
        EXPECT_NEAR(std::hypot(dx, dz), i < 4 ? 3.0f : 5.0f, 0.01f) << i;
        const float degrees = std::atan2(dz, dx) * 180.0f / 3.14159265f;
        const float step = std::fmod(degrees + 360.0f + (i < 4 ? 0.0f : 45.0f), 90.0f);
        EXPECT_TRUE(step < 0.1f || step > 89.9f) << i << ": " << degrees;
    }
    for (float mana : game.OnEach([] { return Find(kMason)->GetPlayStats().GetManaUsed(); }))
        EXPECT_FLOAT_EQ(mana, 10.0f);

    // Two seconds: the client sends the release and every wall falls everywhere.
    Frames(58);
    EXPECT_EQ(WallsOn(game.Server(), kMason, kRing).size(), 8u);
    Frames(5);
    for (TestMachine* tm : game.Machines())
        EXPECT_TRUE(WallsOn(*tm, kMason, kRing).empty());
    for (std::uint32_t id : walls)
        for (bool alive : game.OnEach([id] { return Find(id) && Find(id)->IsAlive(); }))
            EXPECT_FALSE(alive) << std::hex << id;
}

TEST_F(WallsOverNetwork, GroundWallsStandUntilTheNextUseWhichLetsTheOldOnesFallFirst) {
    const Vec3 first = Raise(kWarden, kGround, 3.0f);
    const std::vector<std::uint32_t> old = WallsOn(game.Server(), kWarden, kGround);
    ASSERT_EQ(old.size(), 3u);
    // Around the clicked point, not the caster.
    const auto views = Views(kWarden, old);
    EXPECT_EQ(views[1], views[0]);
    for (const WallView& wall : views[1])
        EXPECT_NEAR(std::hypot(wall.x - first.x, wall.z - first.z), 2.0f, 0.01f);
    Frames(120);  // no lifetime
    EXPECT_EQ(WallsOn(game.Client(0), kWarden, kGround), old);

    std::vector<std::uint64_t> soundsBefore =
        game.OnEach([] { return MediaRecorder::Get().Count(MediaCall::SoundPlay); });
    Raise(kWarden, kGround, -4.0f);
    const std::vector<std::uint64_t> soundsAfter =
        game.OnEach([] { return MediaRecorder::Get().Count(MediaCall::SoundPlay); });
    // One crumble for the old ring on each machine.
    for (std::size_t m = 0; m < soundsAfter.size(); ++m)
        EXPECT_EQ(soundsAfter[m] - soundsBefore[m], 1u) << m;
    Frames(2);
    const std::vector<std::uint32_t> fresh = WallsOn(game.Server(), kWarden, kGround);
    ASSERT_EQ(fresh.size(), 3u);
    EXPECT_EQ(WallsOn(game.Client(0), kWarden, kGround), fresh);
    for (std::uint32_t id : old)
        for (bool alive : game.OnEach([id] { return Find(id) && Find(id)->IsAlive(); }))
            EXPECT_FALSE(alive) << std::hex << id;

    // Stopping the skill lets the walls fall on every machine.
    for (TestMachine* tm : game.Machines())
        ON_MACHINE(*tm) {
            Skill(kWarden, kGround)->StopSkill(*Find(kWarden));
        }
    Frames(2);
    for (std::uint32_t id : fresh)
        for (bool alive : game.OnEach([id] { return Find(id) && Find(id)->IsAlive(); }))
            EXPECT_FALSE(alive) << std::hex << id;
}

TEST_F(WallsOverNetwork, ARecordWithoutSpacingRaisesNothing) {
    Raise(kMason, kBroken);
    for (TestMachine* tm : game.Machines())
        EXPECT_TRUE(WallsOn(*tm, kMason, kBroken).empty());
    ON_MACHINE(game.Server()) {
        EXPECT_EQ(Skill(kMason, kBroken)->GetClientSpawnLimit(), 0u);
    }
}

TEST_F(WallsOverNetwork, AClientLetsOnlyItsOwnWallsFall) {
    Raise(kWarden, kGround, 3.0f);
    Frames(1);
    Raise(kMason, kGround, 6.0f);
    const auto release = [&](std::uint32_t owner) {
        std::unique_ptr<SpawnObjectConfigCmd> command;
        ON_MACHINE(game.Client(0)) {
            command = std::make_unique<SpawnObjectConfigCmd>(
                owner, kGround, Find(owner)->GetCoords(), 0, std::vector<WorldCoords>{},
                std::vector<std::uint32_t>{}, 0);
        }
        game.SendFromClient(*command, 0, 0);
    };
    // The server's character is not the client's: its walls stand.
    release(kWarden);
    EXPECT_EQ(game.Server().CountLog("refused"), 1);
    EXPECT_EQ(WallsOn(game.Server(), kWarden, kGround).size(), 3u);
    release(kMason);
    EXPECT_TRUE(WallsOn(game.Server(), kMason, kGround).empty());
}

}  // namespace walls_net
}  // namespace GAME::test
