// The Bandari jumps to its next teleport point at each quarter of its life it loses, once per
// landing, waking the warriors of that point; a warrior marches or stands by what is ahead of it.
#include <gtest/gtest.h>

#include <string>

#include "Engine/world/InstanceGroupManager.h"
#include "Engine/world/UniqueIdMap.h"
#include "Game/ai/bosses/bandari/BandariTeleportPoint.h"
#include "Game/ai/bosses/bandari/ControllerBandari.h"
#include "Game/ai/bosses/bandari/ControllerTerracotta.h"
#include "ai/monster/states/MonsterCombatTestSupport.h"
#include "support/CharacterSetUp.h"

namespace GAME::test {
namespace {

constexpr const char* kBandariRecord = "Records/Test/Bandari.dbr";
constexpr const char* kWarriorRecord = "Records/Test/Warrior.dbr";
constexpr int kPointCount = 3;

UniqueId Uid(int n) {
    UniqueId id;
    char text[33];
    std::snprintf(text, sizeof text, "b0a0000000000000000000000000%04x", n);
    EXPECT_TRUE(id.FromString(text));
    return id;
}

class BandariBossTest : public MonsterCombatTest {
protected:
    void SetUp() override {
        MonsterCombatTest::SetUp();
        Record("Records/Test/Blink.dbr", R"({"Class": "Skill_AttackSpellTeleportSelf",
            "skillMaxLevel": 1, "skillManaCost": [0]})");
        Record("Records/Test/BandariBrain.dbr", R"({"Class": "ControllerBandari"})");
        Record(kBandariRecord,
               R"({"Class": "Monster", "characterLife": 100, "characterSpellCastSpeed": 1.0,
            "controller": "Records/Test/BandariBrain.dbr",
            "skillName1": "Records/Test/Blink.dbr", "skillLevel1": 1,
            "specialAttack5SkillName": "Records/Test/Blink.dbr",
            "unarmedSpellAttackAnim": "Creatures/Anims/Human_Invoke.anm"})");
        Record("Records/Test/Point.dbr", R"({"Class": "BandariTeleportPoint"})");
    }
    // An entity of the record placed under the unique id n (its controller attaches then).
    template <class T>
    T* Place(const char* record, int n, float x, float z) {
        auto* entity = Singleton<ObjectManager>::Get().CreateObjectFromFile<T>(record);
        entity->SetUniqueId(Uid(n));
        UniqueIdMap::Get().Add(Uid(n), entity->GetObjectId());
        World::Get().AddEntity(entity, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        entity->InitialUpdate();
        if constexpr (std::is_base_of_v<Character, T>)
            characters.push_back(entity);
        return entity;
    }
    void DefineWarrior(float marchRange) {
        Record("Records/Test/WarriorBrain.dbr",
               R"({"Class": "ControllerTerracotta", "MarchRange": )" + std::to_string(marchRange) +
                   "}");
        Record(kWarriorRecord,
               R"({"Class": "Monster", "characterLife": 100, "characterSpellCastSpeed": 1.0,
            "controller": "Records/Test/WarriorBrain.dbr",
            "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
            "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm"})");
    }
    // The lair: the boss (id 1), its points (ids 10..) in one group, and under each point's own
    // group the warrior (ids 20..) it wakes.
    void BuildLair(int points) {
        InstanceGroupManager& groups = *InstanceGroupManager::Get();
        InstanceGroup* lair = groups.AddGroup("Lair", "Bandari");
        lair->AddMember(Uid(1));
        InstanceGroup* all = groups.AddGroup("Points", "Bandari Teleport Points", lair);
        for (int k = 0; k < points; ++k) {
            all->AddMember(Uid(10 + k));
            InstanceGroup* own =
                groups.AddGroup("Point" + std::to_string(k), "Bandari Teleport Points", all);
            own->AddMember(Uid(10 + k));
            groups.AddGroup("Warriors" + std::to_string(k), "Terracotta Warriors", own)
                ->AddMember(Uid(20 + k));
            Place<BandariTeleportPoint>("Records/Test/Point.dbr", 10 + k, 10.0f + 8.0f * k, 40);
            warriors[k] = Place<Monster>(kWarriorRecord, 20 + k, 10.0f + 8.0f * k, 44);
        }
    }
    static ControllerBandari* BandariBrain(const Monster* boss) {
        return Singleton<ObjectManager>::Get().GetObject<ControllerBandari>(
            boss->GetControllerId());
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    Monster* warriors[kPointCount] = {};
};

TEST_F(BandariBossTest, JumpsOncePerLandingAndWakesEachPointsWarriors) {
    DefineWarrior(0.0f);
    BuildLair(kPointCount);
    Monster* boss = Place<Monster>(kBandariRecord, 1, 20, 20);
    ControllerBandari* brain = BandariBrain(boss);
    ASSERT_EQ(brain->GetTeleportPoints().size(), 3u);
    Frames(2);
    EXPECT_EQ(brain->GetNextTeleport(), 0);

    // Above 3/4 of its life it stays; below, it jumps once, and once more per landing even
    // though its life is past every threshold.
    SetLife(*boss, 80.0f, 100.0f);
    Frames(2);
    EXPECT_EQ(brain->GetNextTeleport(), 0);
    SetLife(*boss, 10.0f, 100.0f);
    Frame();
    EXPECT_EQ(brain->GetNextTeleport(), 1);
    EXPECT_FALSE(brain->IsArmed());
    EXPECT_EQ(Executing(brain), "UseSkillOnPoint");
    EXPECT_EQ(Executing(Brain(warriors[0])), "AttackMarch");
    EXPECT_EQ(Executing(Brain(warriors[1])), "Startup");
    Frames(3);
    EXPECT_EQ(brain->GetNextTeleport(), 1);  // still in the air

    Frames(120);
    EXPECT_EQ(brain->GetNextTeleport(), 3);
    EXPECT_EQ(Executing(Brain(warriors[2])), "AttackMarch");
    // It stands at the last point, which is now its home.
    EXPECT_LT(boss->GetPosition().DistanceTo(At(26, 40)), 0.5f);
    EXPECT_LT(boss->GetSpawnPoint().GetPosition().DistanceTo(At(26, 40)), 0.5f);
}

TEST_F(BandariBossTest, WithoutPointsItNeverJumps) {
    Monster* boss = Place<Monster>(kBandariRecord, 1, 20, 20);
    ControllerBandari* brain = BandariBrain(boss);
    EXPECT_TRUE(brain->GetTeleportPoints().empty());
    SetLife(*boss, 5.0f, 100.0f);
    Frames(30);
    EXPECT_EQ(brain->GetNextTeleport(), 0);
    EXPECT_FALSE(brain->TeleportToNextPoint());
    EXPECT_LT(boss->GetPosition().DistanceTo(At(20, 20)), 0.5f);
}

// A warrior faces +z. Its most hated enemy stands `ahead` metres in front (negative: behind).
// A warrior sent back ("Return") takes that enemy on at once ("Pursue").
struct WarriorCase {
    float marchRange;
    float ahead;
    const char* expected;
};

TEST_F(BandariBossTest, AWarriorMarchesOrFallsBackByWhatIsAheadOfIt) {
    const WarriorCase cases[] = {
        {0.0f, -3.0f, "Pursue"},       // behind counts as 0: below the attack range
        {0.0f, 1.5f, "Pursue"},        // within the attack range
        {0.0f, 6.0f, "Startup"},       // no march range: it waits
        {4.0f, -3.0f, "AttackMarch"},  // behind, but within the march range
        {4.0f, 3.0f, "AttackMarch"},  {4.0f, 6.0f, "Startup"},
    };
    int n = 100;
    for (const WarriorCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.marchRange) + " " + std::to_string(c.ahead));
        DefineWarrior(c.marchRange);
        Monster* warrior = Place<Monster>(kWarriorRecord, n++, 10, 20);
        Character* hero = SpawnHero(10, 20 + c.ahead);
        auto* brain = Singleton<ObjectManager>::Get().GetObject<ControllerTerracotta>(
            warrior->GetControllerId());
        ASSERT_NE(brain, nullptr);
        EXPECT_FLOAT_EQ(brain->GetForwardDistance(hero->GetObjectId()),
                        c.ahead > 0.0f ? c.ahead : 0.0f);
        Frame();
        brain->SetMostHatedEnemy(hero->GetObjectId());
        brain->GetExecutingState()->OnUpdate(0);
        EXPECT_EQ(Executing(brain), c.expected);
        // Out of the way of the next case.
        World::Get().RemoveEntity(hero);
        World::Get().RemoveEntity(warrior);
        characters.clear();
    }
}

}  // namespace
}  // namespace GAME::test
