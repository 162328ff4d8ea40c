#include <gtest/gtest.h>

#include <vector>

#include "Engine/object/EngineClasses.h"
#include "Engine/object/RTTI.h"

namespace GAME {
namespace {

int gMade = 0;
void* MakeMarker() {
    ++gMade;
    static int marker;
    return &marker;
}

TEST(RTTI, RunTimeRecordsAttachInOrderAndDetachOnDestruction) {
    RTTI_ClassInfo root("Root", nullptr, nullptr);
    RTTI_ClassInfo a("A", &root, MakeMarker);
    RTTI_ClassInfo b("B", &root, MakeMarker);
    {
        RTTI_ClassInfo c("C", &root, MakeMarker);
        ASSERT_EQ(root.GetNumChildren(), 3);
        EXPECT_EQ(root.GetChild(2), &c);
    }
    ASSERT_EQ(root.GetNumChildren(), 2);
    EXPECT_EQ(root.GetChild(0), &a);
    EXPECT_EQ(root.GetChild(1), &b);
}

TEST(RTTI, IsAFollowsAncestryOnly) {
    RTTI_ClassInfo root("Root", nullptr, nullptr);
    RTTI_ClassInfo mid("Mid", &root, nullptr);
    RTTI_ClassInfo leaf("Leaf", &mid, nullptr);
    RTTI_ClassInfo sibling("Sibling", &root, nullptr);
    EXPECT_TRUE(leaf.IsA(leaf));
    EXPECT_TRUE(leaf.IsA(mid));
    EXPECT_TRUE(leaf.IsA(root));
    EXPECT_FALSE(mid.IsA(leaf));
    EXPECT_FALSE(leaf.IsA(sibling));
    EXPECT_FALSE(leaf.IsAncestor(leaf));
    EXPECT_TRUE(leaf.IsAncestor(root));
}

TEST(RTTI, RecordsWithTheSameNameAreTheSameClass) {
    RTTI_ClassInfo root("Root", nullptr, nullptr);
    RTTI_ClassInfo leaf("Leaf", &root, nullptr);
    RTTI_ClassInfo otherRoot("Root", nullptr, nullptr);
    RTTI_ClassInfo otherLeaf("Leaf", nullptr, nullptr);
    EXPECT_TRUE(otherRoot.IsSameClass(root));
    EXPECT_TRUE(leaf.IsAncestor(otherRoot));
    EXPECT_TRUE(leaf.IsA(otherRoot));
    EXPECT_TRUE(otherLeaf.IsA(leaf));
}

TEST(RTTI, CreateByNameSearchesTheSubtreeCaseSensitively) {
    gMade = 0;
    RTTI_ClassInfo root("Root", nullptr, nullptr);
    RTTI_ClassInfo mid("Mid", &root, nullptr);
    RTTI_ClassInfo leaf("Leaf", &mid, MakeMarker);
    RTTI_ClassInfo other("Other", &root, MakeMarker);
    EXPECT_NE(root.CreateByName("Leaf"), nullptr);
    EXPECT_EQ(gMade, 1);
    EXPECT_EQ(root.CreateByName("leaf"), nullptr);
    EXPECT_EQ(root.CreateByName("GAME::Leaf"), nullptr);
    EXPECT_EQ(root.CreateByName("Nothing"), nullptr);
    // Started at a leaf, only the leaf's own name is found.
    EXPECT_EQ(leaf.CreateByName("Other"), nullptr);
    EXPECT_NE(leaf.CreateByName("Leaf"), nullptr);
    EXPECT_EQ(gMade, 2);
}

TEST(RTTI, RemoveChildOfAnAbsentRecordChangesNothing) {
    RTTI_ClassInfo root("Root", nullptr, nullptr);
    RTTI_ClassInfo a("A", &root, nullptr);
    RTTI_ClassInfo b("B", &root, nullptr);
    RTTI_ClassInfo stranger("Stranger", nullptr, nullptr);
    root.RemoveChild(&stranger);
    ASSERT_EQ(root.GetNumChildren(), 2);
    root.RemoveChild(&b);
    ASSERT_EQ(root.GetNumChildren(), 1);
    EXPECT_EQ(root.GetChild(0), &a);
    root.AddChild(&b);  // keeps the tree consistent for b's destructor
}

TEST(RTTI, EngineRecordsFormOneTreeUnderObject) {
    EXPECT_TRUE(Actor::classInfo.IsA(Entity::classInfo));
    EXPECT_TRUE(Actor::classInfo.IsA(Object::classInfo));
    EXPECT_TRUE(ChaosBeam::classInfo.IsA(Entity::classInfo));
    EXPECT_FALSE(Entity::classInfo.IsA(Actor::classInfo));
    EXPECT_FALSE(Actor::classInfo.IsA(ChaosBeam::classInfo));
    // A record made at run time under a registered class's name is that class, either way round.
    RTTI_ClassInfo namedEntity("Entity", nullptr, nullptr);
    RTTI_ClassInfo namedTile("Tile", nullptr, nullptr);
    RTTI_ClassInfo scout("Scout", &namedEntity, nullptr);
    EXPECT_TRUE(Actor::classInfo.IsA(namedEntity));
    EXPECT_FALSE(Actor::classInfo.IsA(namedTile));
    EXPECT_TRUE(scout.IsA(Entity::classInfo));
    EXPECT_FALSE(scout.IsA(Actor::classInfo));
    EXPECT_EQ(Object::classInfo.FindByName("Tile"), &Tile::classInfo);
    for (const char* name :
         {"Object", "Entity", "Actor", "Light", "LineEffect", "ChaosBeam", "Tile"}) {
        void* made = Object::classInfo.CreateByName(name);
        ASSERT_NE(made, nullptr) << name;
        auto* object = static_cast<Object*>(made);
        EXPECT_STREQ(object->GetClassInfo().GetClassName(), name);
        delete object;
    }
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// Records queued after the tree was first used still take their declared place among their
// siblings ("Monster" is declared before "Npc" under Character).
TEST(RTTI, RecordsQueuedAfterTheFirstBuildTakeTheirDeclaredPlace) {
    static RTTI_ClassInfo parent("LateParent", nullptr, nullptr);
    static RTTI_ClassInfo npc(RTTI_ClassInfo::StaticTag{}, "Npc", &parent, nullptr);
    static RTTI_ClassInfo monster(RTTI_ClassInfo::StaticTag{}, "Monster", &parent, nullptr);
    RTTI_ClassInfo::QueueRegistration(npc);
    RTTI_ClassInfo::AttachQueued();
    ASSERT_EQ(parent.GetNumChildren(), 1);
    RTTI_ClassInfo::QueueRegistration(monster);
    ASSERT_EQ(Object::classInfo.GetNumChildren() > 0, true);  // rebuilds on use
    ASSERT_EQ(parent.GetNumChildren(), 2);
    EXPECT_EQ(parent.GetChild(0), &monster);
    EXPECT_EQ(parent.GetChild(1), &npc);
    EXPECT_TRUE(Object::classInfo.FindByName("Npc") != &npc);
}

}  // namespace
}  // namespace GAME

namespace GAME {
namespace {

// What IsA must answer between records of distinct names: `other` is the record or one of its
// ancestors, by address.
bool Descends(const RTTI_ClassInfo& record, const RTTI_ClassInfo& other) {
    for (const RTTI_ClassInfo* p = &record; p; p = p->GetParent())
        if (p == &other)
            return true;
    return false;
}

void Collect(const RTTI_ClassInfo& record, std::vector<const RTTI_ClassInfo*>& out) {
    out.push_back(&record);
    for (int i = 0; i < record.GetNumChildren(); ++i)
        Collect(*record.GetChild(i), out);
}

void ExpectAncestry(const std::vector<const RTTI_ClassInfo*>& records) {
    for (const RTTI_ClassInfo* a : records)
        for (const RTTI_ClassInfo* b : records)
            ASSERT_EQ(a->IsA(*b), Descends(*a, *b))
                << a->GetClassName() << " / " << b->GetClassName();
}

// Records queued after the others were numbered (a library loaded later) and a registered
// record under a run-time one answer as their ancestry says, asked in every pairing with the
// early ones and the engine's own.
TEST(RTTI, NumberedAnswersFollowAncestryAsRecordsJoin) {
    using Tag = RTTI_ClassInfo::StaticTag;
    static RTTI_ClassInfo top(Tag{}, "SpanTop", nullptr, nullptr);
    static RTTI_ClassInfo left(Tag{}, "SpanLeft", &top, nullptr);
    static RTTI_ClassInfo leftLeaf(Tag{}, "SpanLeftLeaf", &left, nullptr);
    static RTTI_ClassInfo right(Tag{}, "SpanRight", &top, nullptr);
    static RTTI_ClassInfo lateMid(Tag{}, "SpanLateMid", &left, nullptr);
    static RTTI_ClassInfo underLate(Tag{}, "SpanUnderLate", &lateMid, nullptr);
    static RTTI_ClassInfo lateLeaf(Tag{}, "SpanLateLeaf", &right, nullptr);
    static RTTI_ClassInfo lateRoot(Tag{}, "SpanLateRoot", nullptr, nullptr);
    static RTTI_ClassInfo runTime("SpanRunTime", &right, nullptr);
    static RTTI_ClassInfo underRunTime(Tag{}, "SpanUnderRunTime", &runTime, nullptr);
    struct Stage {
        std::vector<RTTI_ClassInfo*> queued;
    };
    const Stage stages[] = {
        {{&top, &left, &leftLeaf, &right}},
        // A child of a numbered record, its own child, a new leaf and a new tree.
        {{&lateMid, &underLate, &lateLeaf, &lateRoot}},
        {{&underRunTime}},
    };
    std::vector<const RTTI_ClassInfo*> asked = {&Object::classInfo, &Entity::classInfo,
                                                &Actor::classInfo, &runTime};
    for (const Stage& stage : stages) {
        for (RTTI_ClassInfo* record : stage.queued) {
            RTTI_ClassInfo::QueueRegistration(*record);
            asked.push_back(record);
        }
        ExpectAncestry(asked);
        // Asked again, after the first question numbered the newcomers.
        ExpectAncestry(asked);
    }
}

TEST(RTTI, EveryRegisteredPairAnswersAsItsAncestry) {
    std::vector<const RTTI_ClassInfo*> records;
    Collect(Object::classInfo, records);
    ASSERT_GT(records.size(), 100u);
    ExpectAncestry(records);
}

}  // namespace
}  // namespace GAME
