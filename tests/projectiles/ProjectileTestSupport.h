#pragma once
// A machine on the sample data with a flat grass field (a water pool at x 40..50, a step up to
// 1.2 at z 60..70 and a 3.0 drop at z 80..100), a skill that notes what its projectiles report,
// characters to aim at, and frames that run the engine's frame and every projectile's update.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/world/GroundMesh.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"
#include "Game/skills/Skill.h"
#include "Game/world/projectiles/ProjectileBase.h"
#include "support/TestMachine.h"

namespace GAME::test {

// Keeps every report its projectiles make: which ids, in which order, whether friends.
class TargetNotes : public Skill {
    RTTI_DECLARE(TargetNotes)
public:
    struct Report {
        std::vector<std::uint32_t> ids;
        bool friends = false;
    };
    void TargetInformation(const ProjectileInfo&, const WorldCoords&,
                           std::vector<std::uint32_t>& targets) override {
        reports.push_back({targets, false});
    }
    void TargetFriendInformation(const ProjectileInfo&, const WorldCoords&,
                                 std::vector<std::uint32_t>& targets) override {
        reports.push_back({targets, true});
    }
    // Every id reported (foes), in order, without the empty reports.
    std::vector<std::uint32_t> Hits() const {
        std::vector<std::uint32_t> all;
        for (const Report& report : reports)
            if (!report.friends)
                all.insert(all.end(), report.ids.begin(), report.ids.end());
        return all;
    }
    std::vector<Report> reports;
};

class ProjectileScene : public ::testing::Test {
protected:
    ProjectileScene() : tm(TestMachine::SampleDataDir()) {
        InitializeObjects();
        auto ground = std::make_unique<GroundMesh>();
        Quad(*ground, 0, 40, 0, 60, 0.0f, PhysicsSurface::Grass);
        Quad(*ground, 40, 50, 0, 60, 0.0f, PhysicsSurface::Water);
        Quad(*ground, 50, 100, 0, 60, 0.0f, PhysicsSurface::Grass);
        Quad(*ground, 0, 100, 60, 70, 1.2f, PhysicsSurface::Stone);
        Quad(*ground, 0, 100, 70, 80, 0.0f, PhysicsSurface::Grass);
        Quad(*ground, 0, 100, 80, 100, -3.0f, PhysicsSurface::Grass);
        ground->Finish();
        auto region = std::make_unique<Region>("Range", Vec3(0, 0, 0), Vec3(100, 20, 100));
        region->SetGround(std::move(ground));
        field = World::Get().AddRegion(std::move(region));
        skill = Objects().CreateObject<TargetNotes>();
        caster = Place(1, 5, Heroes());
    }
    ~ProjectileScene() override { ShutdownObjects(); }

    static void Quad(GroundMesh& ground, float x0, float x1, float z0, float z1, float y,
                     PhysicsSurface surface) {
        ground.AddTriangle(Vec3(x0, y, z0), Vec3(x0, y, z1), Vec3(x1, y, z1), surface);
        ground.AddTriangle(Vec3(x0, y, z0), Vec3(x1, y, z1), Vec3(x1, y, z0), surface);
    }
    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    static Team Heroes() { return TeamManager::BuildTeam(Team::Human, 5); }
    static Team Beasts() { return TeamManager::DefaultMonsterTeam(); }

    WorldCoords At(float x, float y, float z) const {
        return WorldCoords(field, Coords::FromOrigin(Vec3(x, y, z)));
    }
    Character* Place(float x, float z, const Team& team, float radius = 1.0f) {
        auto* character = Objects().CreateObject<Character>();
        character->InitialUpdate();
        character->SetTeam(team);
        character->SetBoundingRadius(radius);
        World::Get().AddEntity(character, At(x, 0, z), true);
        return character;
    }
    void AddRecord(const std::string& name, const std::string& json) {
        ASSERT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(name, json)) << name;
    }

    // The launch a skill makes: facing +x from (x, y, z), at a point (or a character).
    ProjectileInfo Info(float x, float y, float z, const WorldVec3& target,
                        std::uint32_t targetId = 0) const {
        ProjectileInfo info;
        info.skillId = skill->GetObjectId();
        info.casterId = caster->GetObjectId();
        info.start =
            WorldCoords(field, Coords::FromDirection(Vec3(x, y, z), Vec3(1, 0, 0), Vec3(0, 1, 0)));
        info.targetId = targetId;
        info.targetPosition = target;
        info.team = caster->GetTeam();
        return info;
    }
    template <class T = ProjectileBase>
    T* Launch(const std::string& record, const ProjectileInfo& info, std::uint32_t seed,
              std::vector<ProjectileModifierStruct> modifiers = {}) {
        auto* projectile = Objects().CreateObjectFromFile<T>(record);
        EXPECT_NE(projectile, nullptr) << record;
        if (!projectile)
            return nullptr;
        projectile->LoadInfo(info, seed);
        if (modifiers.empty())
            modifiers.push_back(Own());
        for (const auto& modifier : modifiers)
            projectile->AddProjectileModifier(modifier);
        projectile->ProjectileGo();
        return projectile;
    }
    ProjectileModifierStruct Own(float radius = 0.0f) const {
        ProjectileModifierStruct modifier;
        modifier.skillId = skill->GetObjectId();
        modifier.radius = radius;
        return modifier;
    }

    // The engine's frame (game time, physics), then each projectile standing in the world.
    void Frame(int ms) {
        gEngine->AdvanceFrame(static_cast<std::uint32_t>(ms));
        std::vector<Entity*> entities;
        World::Get().GetEntitiesInSphere(entities, field, Sphere{Vec3(50, 0, 50), 1000.0f});
        std::vector<std::uint32_t> ids;
        for (Entity* entity : entities)
            if (entity->IsA<ProjectileBase>())
                ids.push_back(entity->GetObjectId());
        std::sort(ids.begin(), ids.end());
        for (std::uint32_t id : ids)
            if (auto* projectile = Objects().GetObject<ProjectileBase>(id))
                projectile->UpdateSelf(static_cast<int>(gEngine->GetFrameStep()));
    }
    void Frames(int count, int ms = 50) {
        for (int i = 0; i < count; ++i)
            Frame(ms);
    }
    bool Alive(std::uint32_t id) { return Objects().GetObject(id) != nullptr; }
    // Those standing in the world, of one skill (0: any).
    std::size_t CountProjectiles(std::uint32_t skillId = 0) {
        std::vector<Entity*> entities;
        World::Get().GetEntitiesInSphere(entities, field, Sphere{Vec3(50, 0, 50), 1000.0f});
        return static_cast<std::size_t>(
            std::count_if(entities.begin(), entities.end(), [&](Entity* e) {
                return e->IsA<ProjectileBase>() &&
                       (skillId == 0 ||
                        static_cast<ProjectileBase*>(e)->GetInfo().skillId == skillId);
            }));
    }

    TestMachine tm;
    Region* field = nullptr;
    TargetNotes* skill = nullptr;
    Character* caster = nullptr;
};

}  // namespace GAME::test
