// The Aktaios skills on the deciding machine: the light falls on each marker within its reach,
// and a mirage's boss stays or takes one copy's place.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Engine/records/RecordDatabase.h"
#include "Engine/world/World.h"
#include "Game/characters/Character.h"
#include "Game/core/GameEngine.h"
#include "Game/skills/boss/Skill_Aktaios.h"
#include "Game/world/props/LightOfRaMarker.h"
#include "skills/SkillTestSupport.h"

namespace GAME::test {
namespace aktaios {

class ShotServices : public RecordingSkillServices {
public:
    void SendCreateProjectile(std::uint32_t, const WorldCoords& origin, std::uint32_t target,
                              const WorldVec3& aim, std::uint32_t, std::uint32_t flag) override {
        origins.push_back(origin);
        targets.push_back(target);
        aims.push_back(aim);
        flags.push_back(flag);
    }
    std::vector<WorldCoords> origins;
    std::vector<std::uint32_t> targets;
    std::vector<WorldVec3> aims;
    std::vector<std::uint32_t> flags;
};

class ShotManager : public RecordingSkillManager {
public:
    ShotManager() { ControlWith(shots); }
    ShotServices shots;
};

class AktaiosSkills : public ::testing::Test {
protected:
    AktaiosSkills() {
        EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            "Records/Aktaios/Light.dbr", R"({"Class": "Skill_AktaiosLightOfRa"})"));
        EXPECT_TRUE(Singleton<RecordDatabase>::Get().AddRecordText(
            "Records/Aktaios/Mirage.dbr", R"({"Class": "Skill_AktaiosMirage"})"));
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Temple", Vec3(0, 0, 0), Vec3(200, 50, 200)));
        boss = Objects().CreateObject<Character>();
        World::Get().AddEntity(boss, At(50, 50), true);
        boss->InitialUpdate();
        manager.SetParent(boss);
    }
    ~AktaiosSkills() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    template <class T>
    T* Make(const char* record) {
        auto* skill = Objects().CreateObjectFromFile<T>(record);
        EXPECT_NE(skill, nullptr);
        skill->SetManager(&manager);
        return skill;
    }

    TestMachine tm;
    ShotManager manager;
    Region* region = nullptr;
    Character* boss = nullptr;
};

TEST_F(AktaiosSkills, LightFallsOnEachMarkerWithinFortyAndNowhereElse) {
    auto* light = Make<Skill_AktaiosLightOfRa>("Records/Aktaios/Light.dbr");
    light->ActivateNow(*boss, Name(), 0, WorldVec3());
    EXPECT_TRUE(manager.shots.origins.empty()) << "no marker, no light";

    std::vector<WorldVec3> near;
    for (const auto& [x, z] : {std::pair{60.0f, 50.0f}, {50.0f, 85.0f}, {50.0f, 95.0f}}) {
        auto* marker = Objects().CreateObject<LightOfRaMarker>();
        EXPECT_FALSE(marker->IsVisible()) << "only the editor shows markers";
        World::Get().AddEntity(marker, At(x, z), false);
        if (z < 90.0f)
            near.push_back(marker->GetPosition());
    }
    Objects().CreateObject<Character>();
    light->ActivateNow(*boss, Name(), 0, WorldVec3());
    ASSERT_EQ(manager.shots.aims.size(), near.size());
    for (std::size_t i = 0; i < near.size(); ++i) {
        EXPECT_NE(std::find(near.begin(), near.end(), manager.shots.aims[i]), near.end());
        EXPECT_EQ(manager.shots.origins[i].GetPosition(), manager.shots.aims[i]);
        EXPECT_EQ(manager.shots.targets[i], 0u);
        EXPECT_EQ(manager.shots.flags[i], 0u) << "no launch sound";
    }
}

TEST_F(AktaiosSkills, AMirageStaysWithOnePlaceAndOtherwiseDrawsAmongThePlacesAndStaying) {
    auto* mirage = Make<Skill_AktaiosMirage>("Records/Aktaios/Mirage.dbr");
    EXPECT_FLOAT_EQ(mirage->GetExtentsMultiplier(), 2.0f);
    EXPECT_TRUE(mirage->SwapCasterWithPet());
    std::vector<WorldVec3> one{At(70, 50).GetPosition()};
    EXPECT_EQ(mirage->GetNewCasterCoords(*boss, one), boss->GetCoords());
    EXPECT_EQ(one.size(), 1u);

    gGameEngine->GetRandomGen().Seed(1234);
    // Over many draws every place and staying put come up; a place taken leaves the list.
    std::vector<int> seen(4, 0);
    for (int i = 0; i < 200; ++i) {
        std::vector<WorldVec3> places{At(60, 50).GetPosition(), At(40, 50).GetPosition(),
                                      At(50, 60).GetPosition()};
        const std::vector<WorldVec3> before = places;
        const WorldCoords chosen = mirage->GetNewCasterCoords(*boss, places);
        if (chosen == boss->GetCoords()) {
            EXPECT_EQ(places, before);
            ++seen[3];
            continue;
        }
        ASSERT_EQ(places.size(), 2u);
        const auto at = std::find_if(before.begin(), before.end(), [&](const WorldVec3& p) {
            return p.local.x == chosen.coords.origin.x && p.local.z == chosen.coords.origin.z;
        });
        ASSERT_NE(at, before.end());
        EXPECT_EQ(std::find(places.begin(), places.end(), *at), places.end());
        ++seen[static_cast<std::size_t>(at - before.begin())];
    }
    for (int count : seen)
        EXPECT_GT(count, 0);
}

}  // namespace aktaios
}  // namespace GAME::test
