#include "Engine/object/ObjectTable.h"

#include <bit>
#include <thread>
#include <utility>

namespace GAME {

ObjectTable::Storage::Storage(std::size_t capacity)
    : mask(capacity - 1),
      lineShift(64 - static_cast<unsigned>(std::countr_zero(capacity / kSlotsPerLine))),
      lines(std::make_unique<SlotLine[]>(capacity / kSlotsPerLine)) {}

std::size_t ObjectTable::Storage::IndexOf(std::uint32_t id) const {
    for (std::size_t i = Home(id);; i = (i + 1) & mask) {
        const std::uint32_t held = At(i).id.load(std::memory_order_relaxed);
        if (held == id)
            return i;
        if (held == 0)
            return mask + 1;
    }
}

ObjectTable::ClassList::ClassList(std::size_t capacity)
    : capacity(capacity), items(std::make_unique<std::atomic<const RTTI_ClassInfo*>[]>(capacity)) {}

template <class Hit>
bool ObjectTable::ProbeStable(std::uint32_t id, Hit&& hit) const {
    if (id == 0)
        return false;
    for (;;) {
        const std::uint64_t before = mVersion.load(std::memory_order_acquire);
        if (before & 1u) {
            std::this_thread::yield();  // a change is under way; it never waits on a lookup
            continue;
        }
        bool held = false;
        if (const Storage* storage = mView.load(std::memory_order_acquire)) {
            // Bounded: a table changed under the lookup may hold any ids at all.
            std::size_t i = storage->Home(id);
            for (std::size_t probes = 0; probes <= storage->mask; ++probes) {
                const Slot& slot = storage->At(i);
                const std::uint32_t slotId = slot.id.load(std::memory_order_relaxed);
                if (slotId == id) {
                    const std::uint32_t index = slot.classIndex.load(std::memory_order_relaxed);
                    const ClassList* classes = mClassView.load(std::memory_order_acquire);
                    const RTTI_ClassInfo* foundClass =
                        index < classes->capacity
                            ? classes->items[index].load(std::memory_order_relaxed)
                            : nullptr;
                    held = hit(*storage, i, slot, index, foundClass, before);
                    break;
                }
                if (slotId == 0)
                    break;
                i = (i + 1) & storage->mask;
            }
        }
        std::atomic_thread_fence(std::memory_order_acquire);
        if (mVersion.load(std::memory_order_relaxed) != before)
            continue;
        return held;
    }
}

bool ObjectTable::LookupProbing(std::uint32_t id, Object*& object,
                                const RTTI_ClassInfo*& classInfo) const {
    // Lookup with a place, less the place: a crowd's frame sends tens of thousands this way.
    Object* found = nullptr;
    const RTTI_ClassInfo* foundClass = nullptr;
    const bool held = ProbeStable(id, [&](const Storage&, std::size_t, const Slot& slot,
                                          std::uint32_t, const RTTI_ClassInfo* cls, std::uint64_t) {
        found = slot.object.get();
        foundClass = cls;
        return found && foundClass;
    });
    if (!held)
        return false;
    object = found;
    classInfo = foundClass;
    return true;
}

bool ObjectTable::Lookup(std::uint32_t id, Object*& object, const RTTI_ClassInfo*& classInfo,
                         Place& place) const {
    // The home slot first, as the plain Lookup does: kept answers are refilled this way whenever
    // a caller asks for another id.
    if (ReadHome(id, [&](const Storage& storage, Object* home, const RTTI_ClassInfo* homeClass,
                         std::uint32_t index, std::uint64_t before) {
            object = home;
            classInfo = homeClass;
            place = Place{&storage, storage.Home(id), home, index, id, before};
        }))
        return true;
    place = Place();
    Place found;
    const RTTI_ClassInfo* foundClass = nullptr;
    const bool held =
        ProbeStable(id, [&](const Storage& storage, std::size_t i, const Slot& slot,
                            std::uint32_t index, const RTTI_ClassInfo* cls, std::uint64_t before) {
            found = {&storage, i, slot.object.get(), index, id, before};
            foundClass = cls;
            return found.object && foundClass;
        });
    if (!held)
        return false;
    object = found.object;
    classInfo = foundClass;
    place = found;
    return true;
}

void ObjectTable::BeginChange() {
    mVersion.store(mVersion.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
}

void ObjectTable::EndChange() {
    mVersion.store(mVersion.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

std::unique_ptr<Object> ObjectTable::Put(std::uint32_t id, std::unique_ptr<Object> object) {
    const std::size_t capacity = mStorage ? mStorage->mask + 1 : 0;
    // At most half full: a fuller table sends a growing share of lookups down the probe loop,
    // and a crowd's lookups cost more the larger it is.
    if (2 * (mCount + 1) > capacity)
        Rehash(capacity == 0 ? 64 : 2 * capacity);
    const std::uint32_t classIndex = ClassIndex(&object->GetClassInfo());
    Storage& storage = *mStorage;
    for (std::size_t i = storage.Home(id);; i = (i + 1) & storage.mask) {
        Slot& slot = storage.At(i);
        const std::uint32_t held = slot.id.load(std::memory_order_relaxed);
        if (held == id || held == 0) {
            BeginChange();
            slot.classIndex.store(classIndex, std::memory_order_relaxed);
            std::unique_ptr<Object> displaced = slot.object.Exchange(std::move(object));
            slot.id.store(id, std::memory_order_relaxed);
            EndChange();
            if (held == 0)
                ++mCount;
            return displaced;
        }
    }
}

std::unique_ptr<Object> ObjectTable::Take(std::uint32_t id) {
    if (id == 0 || mCount == 0)
        return nullptr;
    Storage& storage = *mStorage;
    std::size_t hole = storage.IndexOf(id);
    if (hole > storage.mask)
        return nullptr;
    auto move = [](Slot& to, Slot& from) {
        to.id.store(from.id.load(std::memory_order_relaxed), std::memory_order_relaxed);
        to.classIndex.store(from.classIndex.load(std::memory_order_relaxed),
                            std::memory_order_relaxed);
        to.object.Exchange(std::unique_ptr<Object>(from.object.Release())).reset();
    };
    BeginChange();
    std::unique_ptr<Object> taken(storage.At(hole).object.Release());
    // Backward shift: later members of the probe run move into the hole when their home slot
    // does not lie between the hole and them, so no search ever stops early at a gap.
    for (std::size_t next = (hole + 1) & storage.mask;
         storage.At(next).id.load(std::memory_order_relaxed) != 0;
         next = (next + 1) & storage.mask) {
        const std::size_t home = storage.Home(storage.At(next).id.load(std::memory_order_relaxed));
        const bool stays =
            hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (stays)
            continue;
        move(storage.At(hole), storage.At(next));
        hole = next;
    }
    storage.At(hole).id.store(0, std::memory_order_relaxed);
    storage.At(hole).classIndex.store(0, std::memory_order_relaxed);
    EndChange();
    --mCount;
    return taken;
}

Object* ObjectTable::Any() const {
    if (!mStorage)
        return nullptr;
    for (std::size_t i = 0; i <= mStorage->mask; ++i)
        if (mStorage->At(i).id.load(std::memory_order_relaxed) != 0)
            return mStorage->At(i).object.get();
    return nullptr;
}

std::uint32_t ObjectTable::ClassIndex(const RTTI_ClassInfo* classInfo) {
    for (std::size_t i = 0; i < mClassCount; ++i)
        if (mClasses->items[i].load(std::memory_order_relaxed) == classInfo)
            return static_cast<std::uint32_t>(i);
    if (mClassCount == mClasses->capacity) {
        // Entries only ever get added: a lookup reading the old list still finds its class.
        auto grown = std::make_unique<ClassList>(2 * mClasses->capacity);
        for (std::size_t i = 0; i < mClassCount; ++i)
            grown->items[i].store(mClasses->items[i].load(std::memory_order_relaxed),
                                  std::memory_order_relaxed);
        mClassView.store(grown.get(), std::memory_order_release);
        mRetiredClasses.push_back(std::exchange(mClasses, std::move(grown)));
    }
    mClasses->items[mClassCount].store(classInfo, std::memory_order_release);
    return static_cast<std::uint32_t>(mClassCount++);
}

void ObjectTable::Rehash(std::size_t capacity) {
    auto grown = std::make_unique<Storage>(capacity);
    if (mStorage) {
        for (std::size_t i = 0; i <= mStorage->mask; ++i) {
            Slot& slot = mStorage->At(i);
            const std::uint32_t id = slot.id.load(std::memory_order_relaxed);
            if (id == 0)
                continue;
            std::size_t at = grown->Home(id);
            while (grown->At(at).id.load(std::memory_order_relaxed) != 0)
                at = (at + 1) & grown->mask;
            Slot& to = grown->At(at);
            to.id.store(id, std::memory_order_relaxed);
            to.classIndex.store(slot.classIndex.load(std::memory_order_relaxed),
                                std::memory_order_relaxed);
            // Lookups may still read the old slot: it lends them the object until the switch
            // below, where it lets go of it (nothing between can fail).
            to.object.Exchange(std::unique_ptr<Object>(slot.object.get())).release();
        }
    }
    BeginChange();
    if (mStorage) {
        // Ownership moved to the new slots; the old ones only lend their pointers now.
        for (std::size_t i = 0; i <= mStorage->mask; ++i)
            mStorage->At(i).object.Release();
        mRetiredStorage.push_back(std::move(mStorage));
    }
    mStorage = std::move(grown);
    mView.store(mStorage.get(), std::memory_order_release);
    EndChange();
}

}  // namespace GAME
