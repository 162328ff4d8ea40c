#pragma once
// The objects of a manager by id: an open-addressed table (linear probing, at most 13/16 full)
// whose 16-byte slots hold the id, the class and the object side by side, so a typed lookup
// reads one slot (and the small list of classes) and never the object itself.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class ObjectTable {
public:
    struct Slot {
        std::uint32_t id = 0;  // 0: empty
        std::uint32_t classIndex = 0;
        std::unique_ptr<Object> object;
    };

    const RTTI_ClassInfo* ClassOf(const Slot& slot) const { return mClasses[slot.classIndex]; }

    const Slot* Find(std::uint32_t id) const {
        if (id == 0 || mCount == 0)
            return nullptr;
        for (std::size_t i = Home(id);; i = (i + 1) & mMask) {
            const Slot& slot = mSlots[i];
            if (slot.id == id)
                return &slot;
            if (slot.id == 0)
                return nullptr;
        }
    }
    bool Contains(std::uint32_t id) const { return Find(id) != nullptr; }
    std::size_t Size() const { return mCount; }

    // Files the object under its id (not 0); returns the object that held the id before.
    std::unique_ptr<Object> Put(std::uint32_t id, std::unique_ptr<Object> object);
    // Takes the object filed under the id out of the table (null when there is none).
    std::unique_ptr<Object> Take(std::uint32_t id);
    // Some object of the table, or null when it is empty.
    Object* Any() const;

private:
    std::size_t Home(std::uint32_t id) const {
        // Fibonacci hashing: consecutive ids spread over the table.
        return static_cast<std::size_t>((id * 0x9E3779B97F4A7C15ull) >> mShift);
    }
    void Rehash(std::size_t capacity);
    std::uint32_t ClassIndex(const RTTI_ClassInfo* classInfo);

    std::vector<Slot> mSlots;
    std::size_t mMask = 0;
    unsigned mShift = 64;
    std::size_t mCount = 0;
    std::vector<const RTTI_ClassInfo*> mClasses;  // the classes met so far, by index
};

}  // namespace GAME
