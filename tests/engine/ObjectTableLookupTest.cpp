// Lookups without a lock: another thread keeps finding the objects that stay, with their class,
// while the writer files, replaces and removes others and the table grows under it.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "Engine/object/EngineClasses.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/object/ObjectTable.h"
#include "support/TestMachine.h"

namespace GAME {
namespace {

template <class T>
std::unique_ptr<Object> Make(std::uint32_t id) {
    auto object = std::make_unique<T>();
    object->SetObjectId(id);
    return object;
}

// One table's life: it grows from empty to 8,192 slots while read.
void ReadWhileWriting() {
    ObjectTable table;
    // Ids 1..64 stay (Actors); the writer churns ids from 1000 on, as Entities, then Actors.
    std::vector<Object*> stable;
    for (std::uint32_t id = 1; id <= 64; ++id) {
        auto object = Make<Actor>(id);
        stable.push_back(object.get());
        table.Put(id, std::move(object));
    }
    std::atomic<bool> done{false};
    std::atomic<long> wrong{0};
    std::atomic<long> lookups{0};
    std::thread reader([&] {
        while (!done.load()) {
            for (std::uint32_t id = 1; id <= 64; ++id) {
                Object* object = nullptr;
                const RTTI_ClassInfo* classInfo = nullptr;
                if (!table.Lookup(id, object, classInfo) || object != stable[id - 1] ||
                    classInfo != &Actor::classInfo)
                    wrong.fetch_add(1);
            }
            // A churned id is either absent or filed with one of the classes the writer uses
            // (its object may be gone by now: never touched here).
            Object* object = nullptr;
            const RTTI_ClassInfo* classInfo = nullptr;
            if (table.Lookup(1000 + static_cast<std::uint32_t>(lookups.load() % 5000), object,
                             classInfo) &&
                (!object || (classInfo != &Actor::classInfo && classInfo != &Entity::classInfo)))
                wrong.fetch_add(1);
            lookups.fetch_add(1);
        }
    });
    // The writes start once the reader reads: a fast build could finish them before it began.
    while (lookups.load() == 0)
        std::this_thread::yield();
    for (int round = 0; round < 3; ++round) {
        for (std::uint32_t id = 1000; id < 6000; ++id)
            table.Put(id, round == 1 ? Make<Actor>(id) : Make<Entity>(id)).reset();
        for (std::uint32_t id = 1000; id < 6000; id += 2)
            table.Take(id).reset();
    }
    done.store(true);
    reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_GT(lookups.load(), 0);
    for (std::uint32_t id = 1; id <= 64; ++id) {
        Object* object = nullptr;
        const RTTI_ClassInfo* classInfo = nullptr;
        ASSERT_TRUE(table.Lookup(id, object, classInfo));
        EXPECT_EQ(object, stable[id - 1]);
    }
    Object* object = nullptr;
    const RTTI_ClassInfo* classInfo = nullptr;
    EXPECT_FALSE(table.Lookup(1000, object, classInfo));
    EXPECT_EQ(object, nullptr);
    EXPECT_TRUE(table.Lookup(1001, object, classInfo));
    EXPECT_EQ(classInfo, &Entity::classInfo);
}

TEST(ObjectTableLookup, ReadersSeeStableObjectsThroughWritesAndGrowth) {
    test::TestMachine tm;
    for (int table = 0; table < 8; ++table)
        ReadWhileWriting();
}

// Random ids cluster into long probe runs; removals shift members of those runs back (id, class
// and object each move) while another thread keeps finding the stable objects with their class.
TEST(ObjectTableLookup, StableObjectsStayFoundWhileRemovalsShiftCollidingRuns) {
    test::TestMachine tm;
    ObjectTable table;
    std::uint32_t state = 99;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 4) | 1u;  // never 0
    };
    std::vector<std::pair<std::uint32_t, Object*>> stable;
    for (int n = 0; n < 300; ++n) {
        const std::uint32_t id = next();
        if (table.Contains(id))
            continue;
        auto object = n % 2 ? Make<Actor>(id) : Make<Entity>(id);
        stable.emplace_back(id, object.get());
        table.Put(id, std::move(object));
    }
    std::vector<std::uint32_t> churn;
    while (churn.size() < 700)
        if (const std::uint32_t id = next(); !table.Contains(id))
            churn.push_back(id);
    std::atomic<bool> done{false};
    std::atomic<long> wrong{0}, rounds{0};
    std::thread reader([&] {
        while (!done.load()) {
            for (const auto& [id, expected] : stable) {
                Object* object = nullptr;
                const RTTI_ClassInfo* classInfo = nullptr;
                if (!table.Lookup(id, object, classInfo) || object != expected ||
                    classInfo != &expected->GetClassInfo())
                    wrong.fetch_add(1);
            }
            rounds.fetch_add(1);
        }
    });
    while (rounds.load() == 0)
        std::this_thread::yield();
    for (int round = 0; round < 20; ++round) {
        for (std::uint32_t id : churn)
            table.Put(id, Make<Entity>(id)).reset();
        for (std::size_t i = round % 2; i < churn.size(); i += 2)
            table.Take(churn[i]).reset();
        for (std::uint32_t id : churn)
            table.Take(id).reset();
    }
    done.store(true);
    reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(table.Size(), stable.size());
    for (const auto& [id, expected] : stable) {
        const ObjectTable::Slot* slot = table.Find(id);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->object.get(), expected);
        EXPECT_EQ(table.ClassOf(*slot), &expected->GetClassInfo());
    }
}

// The manager's lookups go through the same path: a destroyed object is no longer found from
// another thread, and one created there is.
TEST(ObjectTableLookup, ManagerLookupsFromAnotherThreadFollowCreationAndDestruction) {
    test::TestMachine tm;
    auto& om = Singleton<ObjectManager>::Get();
    Object* actor = om.CreateObject("Actor");
    ASSERT_NE(actor, nullptr);
    const std::uint32_t id = actor->GetObjectId();
    bool seen = false;
    std::thread([&] { seen = om.GetObject<Actor>(id) == actor; }).join();
    EXPECT_TRUE(seen);
    om.DestroyObject(actor);
    std::thread([&] { seen = om.GetObject(id) != nullptr; }).join();
    EXPECT_FALSE(seen);
}

}  // namespace
}  // namespace GAME
