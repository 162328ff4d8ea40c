#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/object/ObjectTable.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

std::unique_ptr<Object> Make(std::uint32_t id) {
    auto object = std::make_unique<Actor>();
    object->SetObjectId(id);
    return object;
}

// Random inserts and removals, checked against an ordered map after every step: ids chosen from
// a narrow range (so probe runs collide, wrap the table's end and are cut by removals) and far
// apart (caller-given ids near the top of the range).
TEST(ObjectTable, LookupsAgreeWithAMapThroughInsertsRemovalsAndGrowth) {
    test::TestMachine tm;
    ObjectTable table;
    std::map<std::uint32_t, Object*> expected;
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int step = 0; step < 20000; ++step) {
        std::uint32_t id = 1 + next() % 700;
        if (step % 97 == 0)
            id = 0xFFFFFFFFu - next() % 3;
        if (next() % 3 == 0) {
            std::unique_ptr<Object> taken = table.Take(id);
            auto it = expected.find(id);
            ASSERT_EQ(taken.get(), it == expected.end() ? nullptr : it->second) << "step " << step;
            if (it != expected.end())
                expected.erase(it);
        } else {
            std::unique_ptr<Object> object = Make(id);
            Object* raw = object.get();
            std::unique_ptr<Object> displaced = table.Put(id, std::move(object));
            auto it = expected.find(id);
            ASSERT_EQ(displaced.get(), it == expected.end() ? nullptr : it->second);
            expected[id] = raw;
        }
        ASSERT_EQ(table.Size(), expected.size());
        if (step % 500 == 0)
            for (std::uint32_t probe = 1; probe <= 700; ++probe) {
                const ObjectTable::Slot* slot = table.Find(probe);
                auto it = expected.find(probe);
                ASSERT_EQ(slot ? slot->object.get() : nullptr,
                          it == expected.end() ? nullptr : it->second)
                    << "id " << probe << " at step " << step;
                // The readers' lookup: the home slot at once, else the probe run.
                Object* found = nullptr;
                const RTTI_ClassInfo* classInfo = nullptr;
                ASSERT_EQ(table.Lookup(probe, found, classInfo), it != expected.end());
                // The same with a place, which must name the slot it was found in.
                ObjectTable::Place place;
                Object* placed = nullptr;
                ASSERT_EQ(table.Lookup(probe, placed, classInfo, place), it != expected.end());
                EXPECT_EQ(table.StillAt(probe, place), it != expected.end());
                if (it != expected.end()) {
                    EXPECT_EQ(found, it->second);
                    EXPECT_EQ(placed, it->second);
                    EXPECT_EQ(place.object, it->second);
                    EXPECT_EQ(classInfo, &Actor::classInfo);
                }
            }
    }
    for (const auto& [id, object] : expected) {
        const ObjectTable::Slot* slot = table.Find(id);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->object.get(), object);
        EXPECT_EQ(table.ClassOf(*slot), &Actor::classInfo);
    }
    EXPECT_EQ(table.Find(0), nullptr);
    Object* found = nullptr;
    const RTTI_ClassInfo* classInfo = nullptr;
    EXPECT_FALSE(table.Lookup(0, found, classInfo));
}

TEST(ObjectTable, AnEmptyTableFindsNothingAndHasNoObject) {
    test::TestMachine tm;
    ObjectTable table;
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(table.Take(1), nullptr);
    EXPECT_EQ(table.Any(), nullptr);
    table.Put(9, Make(9));
    EXPECT_NE(table.Any(), nullptr);
    EXPECT_NE(table.Take(9), nullptr);
    EXPECT_EQ(table.Any(), nullptr);
    EXPECT_EQ(table.Size(), 0u);
}

// Ids made together are looked up together: a block of four consecutive ids fills one 64-byte
// line, also in tables whose slot arrays are large enough to come from mmap (16 bytes off a line
// unless aligned). A block whose line another block took first may straddle two.
TEST(ObjectTable, ConsecutiveIdsShareACacheLine) {
    test::TestMachine tm;
    struct Case {
        std::uint32_t first;
        std::uint32_t count;
    };
    for (const Case c : {Case{1, 8}, Case{1, 1000}, Case{1, 20000}, Case{0xFFFF0000u, 3000}}) {
        ObjectTable table;
        for (std::uint32_t id = c.first; id - c.first < c.count; ++id)
            table.Put(id, Make(id));
        auto line = [&table](std::uint32_t id) {
            return reinterpret_cast<std::uintptr_t>(table.Find(id)) / 64;
        };
        std::size_t blocks = 0, shared = 0;
        for (std::uint32_t id = (c.first + 3) & ~3u; id + 3 - c.first < c.count; id += 4) {
            ++blocks;
            if (line(id) == line(id + 1) && line(id) == line(id + 2) && line(id) == line(id + 3))
                ++shared;
        }
        ASSERT_GT(blocks, 0u);
        EXPECT_GE(shared * 10, blocks * 9) << c.count << " ids from " << c.first;
    }
}

// The inline lookup reads the home slot straight from its line: it must be where the writer files
// an id that nothing displaced, or every lookup still answers, but only after the probe run.
TEST(ObjectTable, MostIdsAreFiledInTheSlotALookupReadsFirst) {
    test::TestMachine tm;
    struct Case {
        std::uint32_t first;
        std::uint32_t count;
        std::uint32_t step;
    };
    for (const Case c : {Case{1, 1, 1}, Case{1, 1000, 1}, Case{1, 20000, 1}, Case{7, 5000, 3},
                         Case{0xFFFF0000u, 3000, 1}}) {
        ObjectTable table;
        EXPECT_EQ(table.HomeSlotOf(c.first), nullptr);
        std::size_t home = 0;
        for (std::uint32_t k = 0; k < c.count; ++k)
            table.Put(c.first + k * c.step, Make(c.first + k * c.step));
        for (std::uint32_t k = 0; k < c.count; ++k) {
            const std::uint32_t id = c.first + k * c.step;
            ASSERT_NE(table.HomeSlotOf(id), nullptr);
            if (table.Find(id) == table.HomeSlotOf(id))
                ++home;
        }
        EXPECT_GE(home * 10, std::size_t{c.count} * 9) << c.count << " ids from " << c.first;
    }
}

// The class record filed beside the object answers the typed lookup: a replacement under the
// same id brings its own class.
TEST(ObjectManager, TypedLookupsUseTheClassOfTheObjectNowFiledUnderTheId) {
    test::TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    ASSERT_NE(om.CreateObject("Actor", 40), nullptr);
    EXPECT_NE(om.GetObject<Actor>(40), nullptr);
    EXPECT_NE(om.GetObject<Entity>(40), nullptr);
    Object* entity = om.CreateObject("Entity", 40);
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(om.GetObject<Actor>(40), nullptr);
    EXPECT_EQ(om.GetObject<Entity>(40), entity);
    om.DestroyObject(entity);
    EXPECT_EQ(om.GetObject<Entity>(40), nullptr);
    EXPECT_EQ(om.GetObject<Entity>(0), nullptr);
}

}  // namespace
}  // namespace GAME
