#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

using test::TestMachine;

TEST(ObjectManager, IdsAreFreshNonZeroAndSkipCallerGivenOnes) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    const std::uint32_t first = om.CreateObjectID();
    EXPECT_NE(first, 0u);
    Object* given = om.CreateObject("Actor", first + 1);
    ASSERT_NE(given, nullptr);
    EXPECT_EQ(given->GetObjectId(), first + 1);
    const std::uint32_t next = om.CreateObjectID();
    EXPECT_NE(next, first);
    EXPECT_NE(next, first + 1);
    // Destroyed ids are not handed out again.
    om.DestroyObject(given);
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(om.CreateObjectID(), first + 1);
}

TEST(ObjectManager, AnIdBandGoesOnWhereItStoppedAndLeavesTheIdsAtItsFloor) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    const std::uint32_t low = om.CreateObjectID();
    om.BeginIdBand(0x500);
    EXPECT_EQ(om.CreateObjectID(), 0x500u);
    EXPECT_EQ(om.CreateObjectID(), 0x501u);
    om.EndIdBand(0x600);
    EXPECT_EQ(om.CreateObjectID(), 0x600u);
    // Visited again, the band hands out none of its ids twice; the floor stays where it was.
    om.BeginIdBand(0x500);
    EXPECT_EQ(om.CreateObjectID(), 0x502u);
    om.EndIdBand(0x580);
    EXPECT_EQ(om.CreateObjectID(), 0x601u);
    EXPECT_LT(low, 0x500u);
}

TEST(ObjectManager, LocalIdsStayInTheirRangeAndLeaveTheBandWhereItWas) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    auto made = [&om] { return om.CreateObject("Actor")->GetObjectId(); };
    om.BeginIdBand(0x500);
    EXPECT_EQ(made(), 0x500u);
    om.BeginLocalIds(0x9000, 0x9003);
    EXPECT_EQ(made(), 0x9000u);
    // A caller-given id inside the range is skipped; one outside it moves the band on.
    ASSERT_NE(om.CreateObject("Actor", 0x9001), nullptr);
    ASSERT_NE(om.CreateObject("Actor", 0x520), nullptr);
    om.BeginLocalIds(0x7000, 0x8000);  // nested: the outer range holds
    EXPECT_EQ(made(), 0x9002u);
    om.EndLocalIds();
    // Full: no id rather than one outside the range.
    EXPECT_EQ(om.CreateObjectID(), 0u);
    om.EndLocalIds();
    EXPECT_EQ(made(), 0x521u);
    om.EndIdBand(0x600);
    EXPECT_EQ(made(), 0x600u);
    // Visited again, the range goes on where it stopped, wrapping past ids freed since.
    om.DestroyObject(om.GetObject(0x9000));
    om.BeginLocalIds(0x9000, 0x9003);
    EXPECT_EQ(made(), 0x9000u);
    om.EndLocalIds();
    EXPECT_EQ(made(), 0x601u);
}

TEST(ObjectManager, SkippingIdsNeverGoesBack) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    om.SkipIdsThrough(0x700);
    EXPECT_EQ(om.CreateObjectID(), 0x701u);
    om.SkipIdsThrough(0x10);  // already behind
    EXPECT_EQ(om.CreateObjectID(), 0x702u);
    om.SkipIdsThrough(UINT32_MAX);
    EXPECT_EQ(om.CreateObjectID(), 0u);
}

TEST(ObjectManager, TypedLookupChecksTheClass) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* actor = om.CreateObject("Actor");
    Object* light = om.CreateObject("Light");
    ASSERT_TRUE(actor && light);
    EXPECT_EQ(om.GetObject<Actor>(actor->GetObjectId()), actor);
    EXPECT_EQ(om.GetObject<Entity>(actor->GetObjectId()), actor);
    EXPECT_EQ(om.GetObject<Actor>(light->GetObjectId()), nullptr);
    EXPECT_EQ(om.GetObject<Light>(light->GetObjectId()), light);
    EXPECT_EQ(om.GetObject<Actor>(0), nullptr);
    EXPECT_EQ(om.GetObject(123456), nullptr);
}

// A kept lookup answers as a fresh one through every change around its id: another id filed, the
// object destroyed, another filed under the id (of the class or not), the table grown, the id asked
// for changed.
TEST(ObjectManager, AKeptLookupAnswersAsAFreshOne) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    constexpr std::uint32_t kId = 700;
    std::uint32_t asked = kId;
    const struct {
        const char* label;
        std::function<void()> change;
        bool actor;  // what is filed under the id asked for then
    } steps[] = {
        {"nothing filed yet", [] {}, false},
        {"made", [&] { om.CreateObject("Actor", kId); }, true},
        {"asked again", [] {}, true},
        {"another id made", [&] { om.CreateObject("Actor", kId + 1); }, true},
        {"the table grows around it",
         [&] {
             for (std::uint32_t i = 0; i < 300; ++i)
                 om.CreateObject("Actor", 2000 + i);
         },
         true},
        {"a light takes the id", [&] { om.CreateObject("Light", kId); }, false},
        {"an actor takes it back", [&] { om.CreateObject("Actor", kId); }, true},
        {"another id asked for", [&] { asked = 2005; }, true},
        {"the first id again", [&] { asked = kId; }, true},
        {"destroyed", [&] { om.DestroyObject(om.GetObject(kId)); }, false},
        {"made again", [&] { om.CreateObject("Entity", kId); }, false},
    };
    ObjectManager::Kept<Actor> kept;
    for (const auto& step : steps) {
        step.change();
        for (int ask = 0; ask < 2; ++ask) {
            Actor* answer = om.GetObject(asked, kept);
            EXPECT_EQ(answer, om.GetObject<Actor>(asked)) << step.label;
            EXPECT_EQ(answer != nullptr, step.actor) << step.label;
        }
    }
}

// Entries of a probe run move into the holes that others leave: each kept lookup still finds
// its own object, never a neighbour's.
TEST(ObjectManager, KeptLookupsFollowEntriesThatMove) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < 400; ++i)
        ids.push_back(om.CreateObject("Actor", 5000 + i * 7)->GetObjectId());
    std::vector<ObjectManager::Kept<Entity>> kept(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i)
        ASSERT_EQ(om.GetObject(ids[i], kept[i]), om.GetObject(ids[i])) << ids[i];
    for (std::size_t i = 0; i < ids.size(); i += 3)
        om.DestroyObject(om.GetObject(ids[i]));
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < ids.size(); ++i) {
            Entity* answer = om.GetObject(ids[i], kept[i]);
            EXPECT_EQ(answer, om.GetObject<Entity>(ids[i])) << ids[i];
            EXPECT_EQ(answer == nullptr, i % 3 == 0) << ids[i];
        }
}

TEST(ObjectManager, UnknownClassGivesNullSilently) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    EXPECT_EQ(om.CreateObject("NoSuchClass"), nullptr);
    EXPECT_EQ(om.CreateObject("actor"), nullptr);
    EXPECT_TRUE(tm.Log().empty());
    EXPECT_EQ(om.GetObjectCount(), 0u);
}

TEST(ObjectManager, CreationFromARecordNamesTheObjectAndChecksTheClass) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* object = om.CreateObjectFromFile("Records/Test/Values.dbr", 77);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetObjectId(), 77u);
    EXPECT_EQ(object->GetObjectName(), "Records/Test/Values.dbr");
    EXPECT_EQ(om.GetObjectByNameHash(object->GetObjectNameHash()), object);

    // A record that makes an object of the wrong class leaves nothing behind.
    const std::size_t before = om.GetObjectCount();
    EXPECT_EQ(om.CreateObjectFromFile<Actor>("Records/Test/AnEntity.dbr"), nullptr);
    EXPECT_EQ(om.GetObjectCount(), before);
    EXPECT_NE(om.CreateObjectFromFile<Entity>("Records/Test/Values.dbr"), nullptr);

    EXPECT_EQ(om.CreateObjectFromFile("Records/Test/UnknownClass.dbr"), nullptr);
    EXPECT_EQ(tm.CountLog("NoSuchClass"), 1);
    EXPECT_EQ(om.CreateObjectFromFile("Records/Test/NoClass.dbr"), nullptr);
    EXPECT_EQ(om.CreateObjectFromFile("Records/Test/Malformed.dbr"), nullptr);
}

TEST(ObjectManager, DestroyRemovesTheObjectAndIgnoresStrangers) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* object = om.CreateObject("Entity");
    const std::uint32_t id = object->GetObjectId();
    om.DestroyObjectEx(object, __FILE__, __LINE__);
    EXPECT_EQ(om.GetObject(id), nullptr);
    Entity stranger;
    om.DestroyObjectEx(&stranger, "here.cpp", 12);
    EXPECT_EQ(tm.CountLog("here.cpp:12"), 1);
}

TEST(ObjectManager, AttachedChildrenFollowAndOutliveTheirParent) {
    TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    auto* parent = static_cast<Entity*>(om.CreateObject("Actor"));
    auto* child = static_cast<Entity*>(om.CreateObject("Entity"));
    Region region("r", Vec3(100, 0, 0));
    Coords at;
    at.origin = Vec3(1, 2, 3);
    parent->SetCoords(WorldCoords(&region, at));
    Coords offset;
    offset.origin = Vec3(0, 0, 1);
    parent->Attach(child, offset, "hand");
    EXPECT_EQ(child->GetAttachParentId(), parent->GetObjectId());
    EXPECT_EQ(child->GetAttachPoint(), Name::Create("hand"));
    EXPECT_EQ(child->GetCoords().GetPosition().GetWorldPosition(), Vec3(101, 2, 4));
    om.DestroyObject(parent);
    EXPECT_FALSE(child->IsAttached());
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// When the ids run out, the record is not blamed for naming an unregistered class.
TEST(ObjectManager, ExhaustedIdsAreReportedAsSuchWhenMakingFromARecord) {
    test::TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    ASSERT_NE(om.CreateObject("Entity", 0xFFFFFFFFu), nullptr);
    EXPECT_EQ(om.CreateObjectID(), 0u);
    EXPECT_EQ(om.CreateObjectFromFile("Records/Test/Values.dbr"), nullptr);
    EXPECT_EQ(tm.CountLog("ObjectID could not be created"), 1);
    EXPECT_EQ(tm.CountLog("not registered"), 0);
    EXPECT_EQ(tm.CountLog("could be made"), 1);
    EXPECT_EQ(om.GetObjectCount(), 1u);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// Records whether the manager's lock was free while the object was destroyed.
class LockProbe : public Entity {
public:
    static const RTTI_ClassInfo& Info() {
        static RTTI_ClassInfo info("LockProbe", &Entity::classInfo,
                                   [] { return static_cast<void*>(new LockProbe()); });
        return info;
    }
    const RTTI_ClassInfo& GetClassInfo() const override { return Info(); }
    ~LockProbe() override {
        CriticalSection& section = Singleton<ObjectManager>::Get().GetCriticalSection();
        std::thread([&] {
            if (section.TryEnter()) {
                lockWasFree = true;
                section.Exit();
            }
        }).join();
    }
    static inline bool lockWasFree = false;
};

// An object displaced by a caller-given id is destroyed outside the manager's lock, so its
// destructor may wait for other threads that look objects up.
TEST(ObjectManager, AnObjectDisplacedByItsIdIsDestroyedOutsideTheLock) {
    test::TestMachine tm;
    LockProbe::Info();
    auto& om = Singleton<ObjectManager>::Get();
    ASSERT_NE(om.CreateObject("LockProbe", 500), nullptr);
    LockProbe::lockWasFree = false;
    Object* replacement = om.CreateObject("Entity", 500);
    ASSERT_NE(replacement, nullptr);
    EXPECT_TRUE(LockProbe::lockWasFree);
    EXPECT_EQ(om.GetObject(500), replacement);
    EXPECT_EQ(om.GetObjectCount(), 1u);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// Destroying twice (a stale pointer) is reported without touching the freed object.
TEST(ObjectManager, ASecondDestroyIsReportedWithoutTouchingTheObject) {
    test::TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* object = om.CreateObject("Actor");
    ASSERT_NE(object, nullptr);
    om.DestroyObjectEx(object, "first.cpp", 1);
    om.DestroyObjectEx(object, "second.cpp", 2);
    EXPECT_EQ(tm.CountLog("second.cpp:2"), 1);
    EXPECT_EQ(om.GetObjectCount(), 0u);
}

// An object whose id was changed after creation is still found and destroyed.
TEST(ObjectManager, DestroyFindsAnObjectWhoseIdChanged) {
    test::TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* object = om.CreateObject("Actor", 40);
    ASSERT_NE(object, nullptr);
    object->SetObjectId(41);
    om.DestroyObjectEx(object, __FILE__, __LINE__);
    EXPECT_EQ(om.GetObjectCount(), 0u);
    EXPECT_EQ(om.GetObject(40), nullptr);
    EXPECT_TRUE(tm.Log().empty());
}

}  // namespace
}  // namespace GAME
