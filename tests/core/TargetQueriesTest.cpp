// The root's target queries on the sample level: each shape's answer equals a brute-force walk
// over every entity in placement order, with the valid-target rules applied by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "Engine/object/ObjectManager.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/ObjectLookup.h"
#include "Game/core/players/Team.h"
#include "Game/core/queries/EntityFilters.h"
#include "Game/items/Item.h"
#include "Game/world/fixeditems/FixedItem.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace {

namespace fs = std::filesystem;

// The sample data in a private folder: the level's navigation cache is written beside it.
class SampleCopy {
public:
    SampleCopy() : root(fs::temp_directory_path() / ("targets_" + std::to_string(::getpid()))) {
        fs::remove_all(root);
        fs::copy(TestMachine::SampleDataDir(), root, fs::copy_options::recursive);
        fs::remove(root / "Levels/Sample/Sample.navcache");
    }
    ~SampleCopy() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root;
};

struct Shape {
    enum Kind { Sphere, Cone, Ray } kind;
    Vec3 at;         // centre, apex or origin (Cave space)
    Vec3 direction;  // cone axis or ray direction
    float size;      // radius, or cone and ray length
    float angle;     // cone half-angle in degrees
};

class TargetQueries : public ::testing::Test {
protected:
    TargetQueries() : machine(data.root.string()) {
        InitializeObjects();
        EXPECT_TRUE(World::Get().LoadLevel("Levels/Sample/Sample.level"));
        cave = World::Get().GetRegion("Cave");
        for (std::uint32_t id : World::Get().GetPlacedEntityIds())
            walkOrder.push_back(Singleton<ObjectManager>::Get().GetObject<Entity>(id));
        for (Entity* entity : walkOrder)
            if (!entity->HasDoneInitialUpdate())
                entity->InitialUpdate();
        // Players among the monsters, and the cases no query may report.
        for (float x : {14.0f, 21.0f, 25.0f})
            Place(x, 18.0f, Party());
        Place(22, 20, Monsters())->SetLifeState(Character_LifeState::Dead);
        Place(16, 16, Monsters())->SetVisibility(false);
        Place(20, 14, Monsters(), false);
    }
    ~TargetQueries() override { ShutdownObjects(); }

    static Team Party() { return TeamManager::BuildTeam(Team::Human, 5); }
    static Team Monsters() { return TeamManager::DefaultMonsterTeam(); }
    Character* Place(float x, float z, const Team& team, bool initialise = true) {
        auto* character = Singleton<ObjectManager>::Get().CreateObject<Character>();
        if (initialise)
            character->InitialUpdate();
        character->SetTeam(team);
        World::Get().AddEntity(character, WorldCoords(cave, Coords::FromOrigin(Vec3(x, 0, z))),
                               true);
        walkOrder.push_back(character);
        return character;
    }

    // Whether the entity's bounding sphere touches the shape, worked out on its own terms.
    static bool Touches(const Shape& shape, const Vec3& centre, float r, double& rayEntry) {
        const double dx = centre.x - shape.at.x, dy = centre.y - shape.at.y,
                     dz = centre.z - shape.at.z;
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (shape.kind == Shape::Sphere)
            return distance <= shape.size + r;
        const Vec3 u = shape.direction.Unit();
        const double along = dx * u.x + dy * u.y + dz * u.z;
        if (shape.kind == Shape::Cone) {
            if (distance <= r)
                return true;
            const double off = std::acos(std::clamp(along / distance, -1.0, 1.0));
            const double widen = std::asin(std::min(1.0, r / distance));
            return distance <= shape.size + r && off <= shape.angle * M_PI / 180.0 + widen;
        }
        // The ray: where it first enters the sphere.
        const double c = distance * distance - double(r) * r;
        const double disc = along * along - c;
        if (disc < 0)
            return false;
        rayEntry = std::max(0.0, along - std::sqrt(disc));
        return (c <= 0 || along >= 0) && rayEntry <= shape.size;
    }

    std::vector<std::uint32_t> Walk(const Shape& shape, const Team& team, bool friends,
                                    std::uint32_t exclude) const {
        std::vector<std::pair<double, std::uint32_t>> hits;
        for (Entity* entity : walkOrder) {
            auto* c = dynamic_cast<Character*>(entity);
            if (!c || c->GetRegion() != cave || !c->HasDoneInitialUpdate() || !c->IsAlive() ||
                !c->IsVisible() || c->GetObjectId() == exclude)
                continue;
            if (friends ? !team.IsFriend(c->GetTeam()) : !team.IsFoe(c->GetTeam()))
                continue;
            double entry = 0;
            if (Touches(shape, c->GetCoords().coords.origin, c->GetBoundingRadius(), entry))
                hits.emplace_back(shape.kind == Shape::Ray ? entry : 0.0, c->GetObjectId());
        }
        std::stable_sort(hits.begin(), hits.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::uint32_t> ids;
        for (const auto& hit : hits)
            ids.push_back(hit.second);
        return ids;
    }

    std::vector<std::uint32_t> Query(const Shape& shape, const Team& team, bool friends,
                                     std::uint32_t exclude) {
        std::vector<std::uint32_t> out;
        switch (shape.kind) {
            case Shape::Sphere:
                gGameEngine->GetTargetsInRadius(team, WorldVec3(cave, shape.at), shape.size, out,
                                                exclude, friends);
                break;
            case Shape::Cone:
                gGameEngine->GetTargetsInCone(team, WorldVec3(cave, shape.at), shape.direction,
                                              shape.angle, shape.size, out, exclude, friends);
                break;
            case Shape::Ray:
                gGameEngine->GetTargetsAlongRay(team,
                                                WorldRay{cave, shape.at, shape.direction.Unit()},
                                                shape.size, out, exclude, friends);
                break;
        }
        return out;
    }

    SampleCopy data;
    TestMachine machine;
    Region* cave = nullptr;
    std::vector<Entity*> walkOrder;
};

TEST_F(TargetQueries, EveryShapeAnswersAsABruteForceWalkInTheWorldsOrder) {
    const Shape shapes[] = {
        {Shape::Sphere, {20, 0, 18}, {}, 6.5f, 0},
        {Shape::Sphere, {16, 0, 16}, {}, 30.0f, 0},
        {Shape::Sphere, {2, 0, 2}, {}, 1.0f, 0},
        {Shape::Cone, {10, 0, 10}, {1, 0, 1}, 18.0f, 20},
        {Shape::Cone, {30, 0, 30}, {-1, 0, -0.5f}, 25.0f, 40},
        {Shape::Ray, {4, 0, 18}, {1, 0, 0.05f}, 30.0f, 0},
        {Shape::Ray, {26, 0, 30}, {-0.3f, 0, -1}, 28.0f, 0},
    };
    int nonEmpty = 0;
    for (const Shape& shape : shapes)
        for (bool friends : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "shape " << (&shape - shapes) << " friends " << friends);
            const auto expected = Walk(shape, Party(), friends, 0);
            EXPECT_EQ(Query(shape, Party(), friends, 0), expected);
            nonEmpty += expected.size() > 1;
            if (!expected.empty()) {
                // The excluded one is never reported; the rest keeps its order.
                const auto without = Walk(shape, Party(), friends, expected.front());
                EXPECT_EQ(Query(shape, Party(), friends, expected.front()), without);
            }
        }
    EXPECT_GE(nonEmpty, 5);  // the shapes do meet several characters
}

TEST_F(TargetQueries, QueriesAppendAndAllTargetsListFriendsBeforeFoes) {
    const Shape wide{Shape::Sphere, {16, 0, 16}, {}, 30.0f, 0};
    std::vector<std::uint32_t> out{7};
    gGameEngine->GetAllTargetsInRadius(Party(), WorldVec3(cave, wide.at), wide.size, out, 0);
    std::vector<std::uint32_t> expected{7};
    for (bool friends : {true, false})
        for (std::uint32_t id : Walk(wide, Party(), friends, 0))
            expected.push_back(id);
    EXPECT_EQ(out, expected);
    EXPECT_GE(expected.size(), 8u);
}

TEST_F(TargetQueries, PickObjectDrawsOnceAmongTheCandidatesLeft) {
    RandomUniformLocked& random = gGameEngine->GetRandomGen();
    random.Seed(77);
    EXPECT_EQ(gGameEngine->PickObject({4, 5}, {5, 4}), 0u);
    EXPECT_EQ(gGameEngine->PickObject({}, {}), 0u);
    // One candidate left still costs a draw; an empty choice costs none.
    EXPECT_EQ(gGameEngine->PickObject({4, 5, 6}, {4, 6}), 5u);
    RandomUniform same;
    same.Seed(77);
    same.IGenerate(0, 0);
    const std::uint32_t rest[] = {1, 2, 3};
    EXPECT_EQ(gGameEngine->PickObject({1, 9, 2, 3}, {9}), rest[same.IGenerate(0, 2)]);
}

TEST_F(TargetQueries, EntityFiltersFollowTheClassAndTheEntitysOwnAnswer) {
    auto* character = dynamic_cast<Character*>(walkOrder.back());
    Entity* scenery = nullptr;
    Entity* chest = nullptr;
    for (Entity* entity : walkOrder)
        if (dynamic_cast<FixedItem*>(entity))
            chest = entity;
        else if (!dynamic_cast<Character*>(entity) && !dynamic_cast<Item*>(entity))
            scenery = entity;
    ASSERT_NE(scenery, nullptr);
    ASSERT_NE(chest, nullptr);
    EXPECT_FALSE(FilterGetAllPlayers()(character));
    EXPECT_TRUE(FilterGetSpawnObjects()(character));
    EXPECT_TRUE(FilterGetSpawnObjects()(chest));  // placed, usable objects go to joining clients
    EXPECT_FALSE(FilterGetSpawnObjects()(scenery));
    EXPECT_FALSE(FilterGetPlayerSpawnPoint()(scenery));
    EXPECT_FALSE(FilterGetAllTrafficNodes()(nullptr));
    EXPECT_TRUE(FilterCharacterAction()(nullptr));
}

}  // namespace
}  // namespace GAME::test
