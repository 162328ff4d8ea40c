#pragma once
// The objects of a manager by id: an open-addressed table (linear probing, at most half full)
// whose 16-byte slots hold the id, the class and the object side by side, so a typed lookup
// reads one slot (and the small list of classes) and never the object itself. Ids go in blocks
// of four to one 64-byte line: what is made together (a monster, its controller, its skills)
// gets consecutive ids, and a crowd's frame looks them up together.
//
// One writer at a time (the manager's lock) changes the table; Lookup may run on any thread at
// any time without a lock. Each change happens while a version count is odd, and a lookup that
// saw the count change (or odd) looks again. Slot arrays and class lists outgrown by the table
// are kept until the table goes, so a lookup never reads freed memory; they add up to less than
// the live ones.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class ObjectTable {
public:
    // Owns its object; readable while another thread replaces it.
    class OwnedObject {
    public:
        OwnedObject() = default;
        ~OwnedObject() { std::unique_ptr<Object>(Release()).reset(); }
        OwnedObject(const OwnedObject&) = delete;
        OwnedObject& operator=(const OwnedObject&) = delete;

        Object* get() const { return mObject.load(std::memory_order_relaxed); }
        // Takes ownership of `object`; hands back what it held.
        std::unique_ptr<Object> Exchange(std::unique_ptr<Object> object) {
            return std::unique_ptr<Object>(
                mObject.exchange(object.release(), std::memory_order_relaxed));
        }
        Object* Release() { return mObject.exchange(nullptr, std::memory_order_relaxed); }

    private:
        std::atomic<Object*> mObject{nullptr};
    };

    struct Slot {
        std::atomic<std::uint32_t> id{0};  // 0: empty
        std::atomic<std::uint32_t> classIndex{0};
        OwnedObject object;
    };
    static constexpr std::size_t kSlotsPerLine = 4;

    ObjectTable() = default;
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    const RTTI_ClassInfo* ClassOf(const Slot& slot) const {
        return mClasses->items[slot.classIndex.load(std::memory_order_relaxed)].load(
            std::memory_order_relaxed);
    }

    // For the writer (or when no other thread uses the table).
    const Slot* Find(std::uint32_t id) const {
        if (id == 0 || mCount == 0)
            return nullptr;
        const std::size_t at = mStorage->IndexOf(id);
        return at > mStorage->mask ? nullptr : &mStorage->At(at);
    }
    bool Contains(std::uint32_t id) const { return Find(id) != nullptr; }
    std::size_t Size() const { return mCount; }

    // From any thread, while the writer may be changing the table: the object filed under the
    // id and its class at one moment; false (both left untouched) when there is none.
    [[gnu::always_inline]] bool Lookup(std::uint32_t id, Object*& object,
                                       const RTTI_ClassInfo*& classInfo) const;

    // The slot a lookup of the id reads first (null while the table has no slots): most ids
    // are filed there.
    const Slot* HomeSlotOf(std::uint32_t id) const {
        const Storage* storage = mView.load(std::memory_order_acquire);
        return storage ? &storage->HomeSlot(id) : nullptr;
    }

    // Counts the changes (twice each: odd while one is under way). While it reads the same, every
    // lookup answers as it did when it last read so.
    std::uint64_t Version() const { return mVersion.load(std::memory_order_acquire); }

    // Where a lookup found its object. A caller that asks for the same id over and over keeps
    // it: while the table has not changed since, or the slot there still holds the id with the
    // same object and class, that is what a lookup would answer, read with no search.
    struct Place {
        const void* storage = nullptr;  // the slot array the index is in; null: nowhere
        std::size_t index = 0;
        Object* object = nullptr;
        std::uint32_t classIndex = 0;
        std::uint32_t id = 0;       // what was looked up: a caller may ask for another id
        std::uint64_t version = 0;  // an even Version() at which the slot held the object
    };
    // Lookup that also says where it found the object (nowhere when it found none).
    bool Lookup(std::uint32_t id, Object*& object, const RTTI_ClassInfo*& classInfo,
                Place& place) const;
    // Whether the id still holds the place's object and class; when it does, the place is
    // brought up to the current version.
    [[gnu::always_inline]] bool StillAt(std::uint32_t id, Place& place) const;

    // Files the object under its id (not 0); returns the object that held the id before.
    std::unique_ptr<Object> Put(std::uint32_t id, std::unique_ptr<Object> object);
    // Takes the object filed under the id out of the table (null when there is none).
    std::unique_ptr<Object> Take(std::uint32_t id);
    // Some object of the table, or null when it is empty.
    Object* Any() const;

private:
    struct alignas(64) SlotLine {
        Slot slot[kSlotsPerLine];
    };
    static_assert(sizeof(SlotLine) == 64, "a block of ids fills one cache line");
    struct Storage {
        explicit Storage(std::size_t capacity);
        // Fibonacci hashing spreads consecutive blocks over the table; an id's place in its
        // block is its place in the line.
        std::size_t HomeLine(std::uint32_t id) const {
            const std::uint64_t block = id / kSlotsPerLine;
            return static_cast<std::size_t>((block * 0x9E3779B97F4A7C15ull) >> lineShift);
        }
        std::size_t Home(std::uint32_t id) const {
            return HomeLine(id) * kSlotsPerLine + id % kSlotsPerLine;
        }
        // The home slot straight from its line, without an index to split again.
        const Slot& HomeSlot(std::uint32_t id) const {
            return lines[HomeLine(id)].slot[id % kSlotsPerLine];
        }
        Slot& At(std::size_t i) const { return lines[i / kSlotsPerLine].slot[i % kSlotsPerLine]; }
        // Where the id is filed (the writer's view); past the mask when it is not.
        std::size_t IndexOf(std::uint32_t id) const;
        std::size_t mask;
        unsigned lineShift;
        std::unique_ptr<SlotLine[]> lines;
    };
    struct ClassList {
        explicit ClassList(std::size_t capacity);
        std::size_t capacity;
        std::unique_ptr<std::atomic<const RTTI_ClassInfo*>[]> items;
    };

    // Most ids sit in their home slot of a table nobody changes: one slot read, no probe loop.
    // Tells `hit` (storage, object, class, class index, version) only when that read stands.
    template <class Hit>
    [[gnu::always_inline]] bool ReadHome(std::uint32_t id, Hit&& hit) const;
    // Lookup past the home slot, or while the table changes.
    bool LookupProbing(std::uint32_t id, Object*& object, const RTTI_ClassInfo*& classInfo) const;
    // Finds id's slot under one unchanged version and tells `hit` of it; true when `hit` says
    // the slot holds an object of a known class and the version held throughout.
    template <class Hit>
    bool ProbeStable(std::uint32_t id, Hit&& hit) const;
    // Brackets a change: odd while it lasts.
    void BeginChange();
    void EndChange();
    void Rehash(std::size_t capacity);
    std::uint32_t ClassIndex(const RTTI_ClassInfo* classInfo);

    // 64 bits: a kept version never comes round again.
    std::atomic<std::uint64_t> mVersion{0};
    std::atomic<const Storage*> mView{nullptr};  // what lookups read: the current storage
    std::size_t mCount = 0;
    std::unique_ptr<ClassList> mClasses = std::make_unique<ClassList>(64);
    std::atomic<const ClassList*> mClassView{mClasses.get()};
    std::size_t mClassCount = 0;
    std::vector<std::unique_ptr<Storage>> mRetiredStorage;
    std::vector<std::unique_ptr<ClassList>> mRetiredClasses;
    std::unique_ptr<Storage> mStorage;  // last: its objects go first
};

[[gnu::always_inline]] inline bool ObjectTable::Lookup(std::uint32_t id, Object*& object,
                                                       const RTTI_ClassInfo*& classInfo) const {
    if (ReadHome(id, [&](const Storage&, Object* found, const RTTI_ClassInfo* foundClass,
                         std::uint32_t, std::uint64_t) {
            object = found;
            classInfo = foundClass;
        }))
        return true;
    return LookupProbing(id, object, classInfo);
}

template <class Hit>
[[gnu::always_inline]] inline bool ObjectTable::ReadHome(std::uint32_t id, Hit&& hit) const {
    const std::uint64_t before = mVersion.load(std::memory_order_acquire);
    const Storage* storage = mView.load(std::memory_order_acquire);
    if (id == 0 || (before & 1u) != 0 || !storage)
        return false;
    const Slot& slot = storage->HomeSlot(id);
    if (slot.id.load(std::memory_order_relaxed) != id)
        return false;
    Object* found = slot.object.get();
    const ClassList* classes = mClassView.load(std::memory_order_acquire);
    const std::uint32_t index = slot.classIndex.load(std::memory_order_relaxed);
    const RTTI_ClassInfo* foundClass =
        index < classes->capacity ? classes->items[index].load(std::memory_order_relaxed) : nullptr;
    std::atomic_thread_fence(std::memory_order_acquire);
    if (mVersion.load(std::memory_order_relaxed) != before || !found || !foundClass)
        return false;
    hit(*storage, found, foundClass, index, before);
    return true;
}

[[gnu::always_inline]] inline bool ObjectTable::StillAt(std::uint32_t id, Place& place) const {
    // Slot arrays live as long as the table, so a kept one is never freed memory; the index is
    // checked against it all the same. The storage tells this table's places from another's.
    const std::uint64_t before = mVersion.load(std::memory_order_acquire);
    const Storage* storage = mView.load(std::memory_order_acquire);
    if (place.storage != storage || storage == nullptr)
        return false;
    if (place.version == before && place.id == id)
        return true;
    if ((before & 1u) != 0 || place.index > storage->mask)
        return false;
    const Slot& slot = storage->At(place.index);
    const bool same = slot.id.load(std::memory_order_relaxed) == id && id != 0 &&
                      slot.object.get() == place.object &&
                      slot.classIndex.load(std::memory_order_relaxed) == place.classIndex;
    std::atomic_thread_fence(std::memory_order_acquire);
    if (!same || mVersion.load(std::memory_order_relaxed) != before)
        return false;
    place.version = before;
    return true;
}

}  // namespace GAME
