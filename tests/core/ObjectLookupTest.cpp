#include <gtest/gtest.h>

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "Game/core/ObjectLookup.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

class ObjectLookupTest : public ::testing::Test {
protected:
    TestMachine tm;
    ObjectManager& om = Singleton<ObjectManager>::Get();
};

TEST_F(ObjectLookupTest, CreationByNameWithAGivenIdTakesNoFreshOne) {
    const std::uint32_t before = om.CreateObjectID();
    Object* object = om.CreateObject("SoundPak", 5000);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetObjectId(), 5000u);
    EXPECT_EQ(om.GetObject<SoundPak>(5000), object);
    EXPECT_EQ(om.GetObject<Entity>(5000), nullptr);
    // Fresh ids continue past the given one, and nothing was taken in between.
    EXPECT_EQ(om.CreateObjectID(), 5001u);
    EXPECT_LT(before, 5000u);
}

TEST_F(ObjectLookupTest, UnknownClassNameGivesNullSilently) {
    EXPECT_EQ(om.CreateObject("NoSuchClassAnywhere"), nullptr);
    EXPECT_EQ(om.CreateObject("NoSuchClassAnywhere", 77), nullptr);
    EXPECT_TRUE(tm.Log().empty());
    EXPECT_EQ(om.GetObject(77), nullptr);
}

TEST_F(ObjectLookupTest, RecordOfTheWrongClassLeavesNothingBehind) {
    const std::size_t count = om.GetObjectCount();
    EXPECT_EQ(om.CreateObjectFromFile<SoundPak>("Records/Test/AnEntity.dbr"), nullptr);
    EXPECT_EQ(om.GetObjectCount(), count);
    EXPECT_EQ(tm.CountLog("does not own"), 0);  // destroyed by the manager that made it
    // A base class of the record's class is not enough either.
    EXPECT_EQ(om.CreateObjectFromFile<Actor>("Records/Test/AnEntity.dbr"), nullptr);
    EXPECT_EQ(om.GetObjectCount(), count);
    Entity* entity = om.CreateObjectFromFile<Entity>("Records/Test/AnEntity.dbr");
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(om.GetObjectCount(), count + 1);
}

TEST_F(ObjectLookupTest, LoadSoundPakMakesAPackFromItsRecord) {
    SoundPak* pak = LoadSoundPak("Records/Test/Sound/Pak.dbr");
    ASSERT_NE(pak, nullptr);
    EXPECT_EQ(pak->GetObjectName(), "Records/Test/Sound/Pak.dbr");
    EXPECT_NE(pak->GetObjectId(), 0u);
    EXPECT_EQ(om.GetObject<SoundPak>(pak->GetObjectId()), pak);
    EXPECT_EQ(LoadSoundPak(nullptr), nullptr);
    EXPECT_EQ(LoadSoundPak("Records/Test/AnEntity.dbr"), nullptr);
}

TEST_F(ObjectLookupTest, SoundPakFromRecordField) {
    const LoadTable owner = om.GetLoadTable("Records/Test/Sound/Owner.dbr");
    ASSERT_TRUE(owner.IsValid());
    const std::size_t count = om.GetObjectCount();
    EXPECT_EQ(GetSoundPakFromRecord(owner, "noSuchKey"), nullptr);
    EXPECT_EQ(GetSoundPakFromRecord(owner, "emptySound"), nullptr);
    EXPECT_EQ(GetSoundPakFromRecord(owner, nullptr), nullptr);
    EXPECT_EQ(GetSoundPakFromRecord(owner, "wrongSound"), nullptr);
    EXPECT_EQ(GetSoundPakFromRecord(owner, "missingSound"), nullptr);
    EXPECT_EQ(om.GetObjectCount(), count);  // none of those made anything
    SoundPak* pak = GetSoundPakFromRecord(owner, "hitSound");
    ASSERT_NE(pak, nullptr);
    EXPECT_EQ(om.GetObjectCount(), count + 1);
}

TEST_F(ObjectLookupTest, SoundPakRecordsWhatItIsAsked) {
    SoundPak* pak = LoadSoundPak("Records/Test/Sound/Pak.dbr");
    ASSERT_NE(pak, nullptr);
    Region region("R");
    EXPECT_FALSE(pak->IsPlaying());
    pak->Play(WorldVec3(&region, Vec3(1, 2, 3)));
    EXPECT_FALSE(pak->IsPlaying());  // a one-shot is over at once
    pak->Play(WorldVec3(&region, Vec3(4, 5, 6)), true);
    pak->Track(99);
    EXPECT_TRUE(pak->IsPlaying());
    pak->FadeLastPlayedSound(0.5f);
    EXPECT_FALSE(pak->IsPlaying());
    ASSERT_EQ(pak->GetPlayCount(), 2u);
    EXPECT_EQ(pak->GetLastPlayed().where, WorldVec3(&region, Vec3(4, 5, 6)));
    EXPECT_TRUE(pak->GetLastPlayed().looping);
    EXPECT_EQ(pak->GetTrackedObject(), 99u);
    EXPECT_EQ(pak->GetLastFadeTime(), 0.5f);
}

TEST_F(ObjectLookupTest, FindObjectOfClassAcceptsTheClassAndItsAncestorsOnly) {
    Object* actor = om.CreateObject("Actor", 6000);
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(FindObjectOfClass(6000, "Actor"), actor);
    EXPECT_EQ(FindObjectOfClass(6000, "Entity"), actor);
    EXPECT_EQ(FindObjectOfClass(6000, "Object"), actor);
    // A sibling, a class below it, an unknown name or none, a missing object, id 0: nothing.
    EXPECT_EQ(FindObjectOfClass(6000, "Light"), nullptr);
    EXPECT_EQ(FindObjectOfClass(6000, "Player"), nullptr);
    EXPECT_EQ(FindObjectOfClass(6000, "NoSuchClassAnywhere"), nullptr);
    EXPECT_EQ(FindObjectOfClass(6000, nullptr), nullptr);
    EXPECT_EQ(FindObjectOfClass(6001, "Actor"), nullptr);
    EXPECT_EQ(FindObjectOfClass(0, "Object"), nullptr);
}

}  // namespace
}  // namespace GAME
