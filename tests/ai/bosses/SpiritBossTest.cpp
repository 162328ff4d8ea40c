// Spirits seek the statues nearest to them, claim one each, walk there and bring it to life with
// their fifth special attack; the statue's risen flag survives its saved state.
#include <gtest/gtest.h>

#include "Engine/streams/BinaryStream.h"
#include "Game/ai/bosses/spirit/ControllerSpirit.h"
#include "Game/ai/bosses/spirit/ControllerSpiritHost.h"
#include "Game/ai/bosses/spirit/SpiritHost.h"
#include "ai/monster/states/MonsterCombatTestSupport.h"

namespace GAME::test {
namespace {

constexpr const char* kSpiritRecord = "Records/Test/Spirit.dbr";
constexpr const char* kStatueRecord = "Records/Test/Statue.dbr";

class SpiritBossTest : public MonsterCombatTest {
protected:
    void SetUp() override {
        MonsterCombatTest::SetUp();
        Record("Records/Test/Quicken.dbr", R"({"Class": "Skill_AttackSpell", "skillMaxLevel": 1,
            "distanceProfile": "Short", "skillManaCost": [0]})");
        Record("Records/Test/SpiritBrain.dbr", R"({"Class": "ControllerSpirit"})");
        Record("Records/Test/StatueBrain.dbr", R"({"Class": "ControllerSpiritHost",
            "spiritThatCanAnimateMe": "Records/Test/Spirit.dbr"})");
        Record(kSpiritRecord,
               R"({"Class": "Monster", "characterLife": 50, "characterSpellCastSpeed": 1.0,
            "characterRunSpeed": 100, "controller": "Records/Test/SpiritBrain.dbr",
            "skillName1": "Records/Test/Quicken.dbr", "skillLevel1": 1,
            "specialAttack5SkillName": "Records/Test/Quicken.dbr",
            "unarmedRespawnAnim": "Creatures/Anims/Human_Rise.anm",
            "unarmedSpellAttackAnim": "Creatures/Anims/Human_Invoke.anm",
            "unarmedRunAnim": "Creatures/Anims/Human_Run.anm",
            "unarmedWalkAnim": "Creatures/Anims/Human_Walk.anm",
            "unarmedDieAnim1": "Creatures/Anims/Human_Die.anm"})");
        Record(kStatueRecord, R"({"Class": "SpiritHost", "characterLife": 80,
            "controller": "Records/Test/StatueBrain.dbr",
            "unarmedSpecialAnim1": "Creatures/Anims/Human_Idle.anm",
            "unarmedSpecialAnimRef1": "StatueSit",
            "unarmedSpecialAnim2": "Creatures/Anims/Human_Rise.anm",
            "unarmedSpecialAnimRef2": "StatueRise"})");
    }
    Monster* Spawn(const char* record, float x, float z) {
        auto* monster = Singleton<ObjectManager>::Get().CreateObjectFromFile<Monster>(record);
        EXPECT_NE(monster, nullptr);
        World::Get().AddEntity(monster, WorldCoords(meadow, Coords::FromOrigin(At(x, z).local)),
                               true);
        monster->InitialUpdate();
        monster->ResetMovementManager();
        characters.push_back(monster);
        return monster;
    }
    template <class T>
    static T* BrainOf(const Monster* monster) {
        return Singleton<ObjectManager>::Get().GetObject<T>(monster->GetControllerId());
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
};

TEST_F(SpiritBossTest, EachSpiritClaimsTheNearestFreeStatueAndBringsItToLife) {
    Monster* near = Spawn(kStatueRecord, 20, 20);
    Monster* far = Spawn(kStatueRecord, 28, 20);
    Frames(2);
    // Sitting: nobody's foe, no anger, no damage.
    for (const Monster* statue : {near, far}) {
        EXPECT_EQ(statue->GetTeam(), TeamManager::InvisibleTeam());
        EXPECT_TRUE(statue->IsInvincible());
        EXPECT_FALSE(statue->CausesAnger());
        EXPECT_EQ(Executing(BrainOf<ControllerMonster>(statue)), "Startup");
    }
    Monster* first = Spawn(kSpiritRecord, 14, 20);
    Monster* second = Spawn(kSpiritRecord, 15, 20);
    Frame();
    // The first spirit took the nearer statue; the second, finding it claimed, the other.
    EXPECT_EQ(BrainOf<ControllerSpirit>(first)->GetAnimateTarget(), near->GetObjectId());
    EXPECT_EQ(BrainOf<ControllerSpirit>(second)->GetAnimateTarget(), far->GetObjectId());
    EXPECT_FALSE(BrainOf<ControllerSpiritHost>(near)->CanBeAnimated());
    EXPECT_EQ(first->GetTeam(), TeamManager::InvisibleTeam());

    Frames(400);
    for (const Monster* statue : {near, far}) {
        auto* host = BrainOf<ControllerSpiritHost>(statue);
        EXPECT_TRUE(host->IsAnimated());
        EXPECT_TRUE(static_cast<const SpiritHost*>(statue)->IsAnimated());
        EXPECT_EQ(statue->GetTeam(), TeamManager::DefaultMonsterTeam());
        EXPECT_FALSE(statue->IsInvincible());
        EXPECT_TRUE(statue->CausesAnger());
    }
    // Each spirit died into its statue.
    EXPECT_FALSE(first->IsAlive());
    EXPECT_FALSE(second->IsAlive());
}

TEST_F(SpiritBossTest, AStatueIsFreeAgainWhenItsClaimantDies) {
    Monster* statue = Spawn(kStatueRecord, 20, 20);
    Monster* spirit = Spawn(kSpiritRecord, 12, 20);
    Frame();
    auto* host = BrainOf<ControllerSpiritHost>(statue);
    ASSERT_EQ(host->GetAnimator(), spirit->GetObjectId());
    EXPECT_FALSE(host->CanBeAnimated());
    BrainOf<ControllerSpirit>(spirit)->KillMe();
    EXPECT_TRUE(host->CanBeAnimated());
    host->SetAnimatedFlag(true);
    EXPECT_FALSE(host->CanBeAnimated());
}

TEST_F(SpiritBossTest, OnlyASpiritsBlowWakesAStatue) {
    DefineBrute();
    Monster* statue = Spawn(kStatueRecord, 20, 20);
    Monster* other = Spawn(kBrute, 22, 20);
    Frame();
    auto* host = BrainOf<ControllerSpiritHost>(statue);
    host->UnderAttack(other->GetObjectId());
    EXPECT_EQ(tm.CountLog("ControllerSpiritHostStateStartup - failed to animate"), 1);
    EXPECT_EQ(Executing(host), "Startup");
    EXPECT_FALSE(host->IsAnimated());
    // The spawning skill's burst wakes it whatever hit it.
    host->Animate();
    EXPECT_EQ(Executing(host), "Animate");
}

TEST_F(SpiritBossTest, ARisenStatueStaysRisenAcrossItsSavedState) {
    Monster* statue = Spawn(kStatueRecord, 20, 20);
    Frame();
    BrainOf<ControllerSpiritHost>(statue)->Animate();
    Frames(60);
    ASSERT_TRUE(static_cast<SpiritHost*>(statue)->IsAnimated());
    BinaryWriter writer;
    statue->SaveState(writer);
    // The flag is the last word, after the monster's own state.
    const std::vector<std::uint8_t>& bytes = writer.GetBuffer();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 4, bytes.end()),
              (std::vector<std::uint8_t>{1, 0, 0, 0}));

    auto* loaded = Singleton<ObjectManager>::Get().CreateObjectFromFile<SpiritHost>(kStatueRecord);
    BinaryReader reader(bytes);
    loaded->RestoreState(reader);
    World::Get().AddEntity(loaded, WorldCoords(meadow, Coords::FromOrigin(At(26, 20).local)), true);
    loaded->InitialUpdate();
    characters.push_back(loaded);
    Frame();
    auto* host = BrainOf<ControllerSpiritHost>(loaded);
    EXPECT_TRUE(host->IsAnimated());
    EXPECT_EQ(Executing(host), "Idle");
    EXPECT_EQ(loaded->GetTeam(), TeamManager::DefaultMonsterTeam());

    // A state cut before the flag keeps the statue sitting, and says so.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 4);
    auto* sitting = Singleton<ObjectManager>::Get().CreateObjectFromFile<SpiritHost>(kStatueRecord);
    BinaryReader cutReader(cut);
    sitting->RestoreState(cutReader);
    EXPECT_FALSE(sitting->IsAnimated());
    EXPECT_EQ(tm.CountLog("ends before its animated flag"), 1);
}

}  // namespace
}  // namespace GAME::test
