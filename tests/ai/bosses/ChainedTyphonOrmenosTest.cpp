// The bound Typhon (its chains, portals and quest-driven states) and Ormenos (its sickle, kept
// across a save, and its attack that waits for a throw).
#include <gtest/gtest.h>

#include <memory>

#include "Engine/records/RecordDatabase.h"
#include "Engine/streams/BinaryStream.h"
#include "Engine/world/World.h"
#include "Game/ai/bosses/chainedtyphon/ControllerTyphonChained.h"
#include "Game/ai/bosses/ormenos/ControllerOrmenos.h"
#include "Game/characters/monster/Ormenos.h"
#include "Game/characters/monster/TyphonChained.h"
#include "Game/world/fixeditems/FixedItemTeleport.h"
#include "support/CharacterSetUp.h"
#include "support/TestMachine.h"

namespace GAME::test {
namespace chainedboss {

class ChainedAndOrmenos : public ::testing::Test {
protected:
    ChainedAndOrmenos() {
        RecordDatabase& records = Singleton<RecordDatabase>::Get();
        EXPECT_TRUE(
            records.AddRecordText("Records/Boss/Burst.dbr", R"({"Class": "EffectEntity"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Records/Boss/Chains.dbr",
            R"({"Class": "TyphonChains", "burstFX": "Records/Boss/Burst.dbr", "dissolveTime": 2.0})"));
        EXPECT_TRUE(
            records.AddRecordText("Records/Boss/PlainChains.dbr", R"({"Class": "TyphonChains"})"));
        EXPECT_TRUE(records.AddRecordText("Records/Boss/NotChains.dbr", R"({"Class": "Actor"})"));
        for (const char* chains : {"Chains", "PlainChains", "NotChains"})
            EXPECT_TRUE(records.AddRecordText(
                std::string("Records/Boss/Bound") + chains + ".dbr",
                std::string(R"({"Class": "TyphonChained", "controller": "Records/Boss/BoundAI.dbr",
                                "chains": "Records/Boss/)") +
                    chains + ".dbr\"}"));
        EXPECT_TRUE(records.AddRecordText("Records/Boss/BoundAI.dbr",
                                          R"({"Class": "ControllerTyphonChained"})"));
        EXPECT_TRUE(
            records.AddRecordText("Records/Boss/Blast.dbr", R"({"Class": "EffectEntity"})"));
        EXPECT_TRUE(records.AddRecordText(
            "Records/Boss/Ormenos.dbr",
            R"({"Class": "Ormenos", "controller": "Records/Boss/OrmenosAI.dbr",
                "sickleExplosion": "Records/Boss/Blast.dbr"})"));
        EXPECT_TRUE(records.AddRecordText("Records/Boss/OrmenosAI.dbr",
                                          R"({"Class": "ControllerOrmenos"})"));
        InitializeObjects();
        region = World::Get().AddRegion(
            std::make_unique<Region>("Pit", Vec3(0, 0, 0), Vec3(200, 50, 200)));
    }
    ~ChainedAndOrmenos() override { ShutdownObjects(); }

    static ObjectManager& Objects() { return Singleton<ObjectManager>::Get(); }
    WorldCoords At(float x, float z) const {
        return WorldCoords(region, Coords::FromOrigin(Vec3(x, 0, z)));
    }
    template <class T>
    T* Place(const std::string& record, float x, float z) {
        auto* thing = Objects().CreateObjectFromFile<T>(record);
        EXPECT_NE(thing, nullptr);
        World::Get().AddEntity(thing, At(x, z), true);
        SetLife(*thing, 100.0f, 100.0f);
        thing->InitialUpdate();
        return thing;
    }
    static std::size_t Count(const char* record) {
        std::size_t count = 0;
        for (std::uint32_t id : Objects().GetObjectIds())
            if (Object* object = Objects().GetObject(id); object->GetObjectName() == record)
                ++count;
        return count;
    }

    TestMachine tm;
    Region* region = nullptr;
};

TEST_F(ChainedAndOrmenos, ChainsBreakWithBurstsOnlyWhenTheyAreChainsThatNameABurst) {
    struct Case {
        const char* record;
        bool chains;
        std::size_t bursts;
    };
    for (const Case& c : {Case{"Records/Boss/BoundChains.dbr", true, 3},
                          Case{"Records/Boss/BoundPlainChains.dbr", true, 0},
                          Case{"Records/Boss/BoundNotChains.dbr", false, 0}}) {
        SCOPED_TRACE(c.record);
        const std::size_t before = Count("Records/Boss/Burst.dbr");
        auto* bound = Place<TyphonChained>(c.record, 50, 50);
        ASSERT_EQ(bound->GetChains() != nullptr, c.chains);
        EXPECT_EQ(bound->AreChainsAttached(), c.chains);
        EXPECT_EQ(Count("Records/Boss/NotChains.dbr"), 0u) << "a record of another kind is dropped";
        bound->AnimationCallback(0, Name::Create("BreakTheChains"));
        EXPECT_EQ(Count("Records/Boss/Burst.dbr") - before, c.bursts);
    }
}

TEST_F(ChainedAndOrmenos, OpeningThePortalUnlocksTeleportsWithinForty) {
    auto* bound = Place<TyphonChained>("Records/Boss/BoundChains.dbr", 50, 50);
    auto* near = Objects().CreateObject<FixedItemTeleport>();
    auto* far = Objects().CreateObject<FixedItemTeleport>();
    World::Get().AddEntity(near, At(80, 50), true);
    World::Get().AddEntity(far, At(95, 50), true);
    near->SetLock(true);
    far->SetLock(true);
    bound->AnimationCallback(0, Name::Create("OpenPortal"));
    EXPECT_FALSE(near->IsLocked());
    EXPECT_TRUE(far->IsLocked());
}

TEST_F(ChainedAndOrmenos, TheBoundTyphonFollowsOnlyTheQuestCommandsOfItsState) {
    auto* bound = Place<TyphonChained>("Records/Boss/BoundChains.dbr", 50, 50);
    auto* controller = Objects().GetObject<ControllerTyphonChained>(bound->GetControllerId());
    ASSERT_NE(controller, nullptr);
    controller->InitialUpdate();
    EXPECT_STREQ(controller->GetExecutingStateName(), "Chained");
    EXPECT_TRUE(bound->IsInvincible());
    const WorldVec3 portal = At(60, 50).GetPosition();
    controller->QuestCommandWalk(0, portal, false);
    EXPECT_STREQ(controller->GetExecutingStateName(), "Chained") << "not yet free to walk";
    controller->QuestCommandPlayAnimation(AnimationSet_Type::Chat, false, false);
    EXPECT_STREQ(controller->GetExecutingStateName(), "BreakingTheChains");
    controller->HandleEvent(Name::Create("End"));
    EXPECT_STREQ(controller->GetExecutingStateName(), "WaitToWalk");
    controller->QuestCommandPlayAnimation(AnimationSet_Type::Chat, false, false);
    EXPECT_STREQ(controller->GetExecutingStateName(), "WaitToWalk");
    controller->QuestCommandWalk(0, portal, false);
    EXPECT_STREQ(controller->GetExecutingStateName(), "WalkToPortal");
    EXPECT_EQ(controller->GetCurrentPointOfInterest(), portal);
}

TEST_F(ChainedAndOrmenos, ALostSickleStaysLostAcrossASaveWithoutASecondBlast) {
    auto* ormenos = Place<Ormenos>("Records/Boss/Ormenos.dbr", 50, 50);
    auto* controller = Objects().GetObject<ControllerOrmenos>(ormenos->GetControllerId());
    ASSERT_NE(controller, nullptr);
    controller->InitialUpdate();
    EXPECT_FALSE(ormenos->IsSickleGone());
    // Nothing in either hand: the flag is still set and the boss idles.
    ormenos->UnequipAndExplodeSickle(true);
    EXPECT_TRUE(ormenos->IsSickleGone());
    EXPECT_EQ(Count("Records/Boss/Blast.dbr"), 1u);
    EXPECT_STREQ(controller->GetExecutingStateName(), "Idle");

    BinaryWriter writer;
    ormenos->SaveState(writer);
    auto* restored = Place<Ormenos>("Records/Boss/Ormenos.dbr", 60, 50);
    BinaryReader reader(writer.GetBuffer());
    restored->RestoreState(reader);
    EXPECT_TRUE(restored->IsSickleGone());
    EXPECT_EQ(Count("Records/Boss/Blast.dbr"), 1u);

    // A state cut before the word keeps the sickle.
    auto* cut = Place<Ormenos>("Records/Boss/Ormenos.dbr", 70, 50);
    std::vector<std::uint8_t> bytes = writer.GetBuffer();
    bytes.resize(bytes.size() - 4);
    BinaryReader shortReader(std::move(bytes));
    cut->RestoreState(shortReader);
    EXPECT_FALSE(cut->IsSickleGone());
}

}  // namespace chainedboss
}  // namespace GAME::test
