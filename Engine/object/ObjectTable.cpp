#include "Engine/object/ObjectTable.h"

#include <bit>
#include <utility>

namespace GAME {

std::unique_ptr<Object> ObjectTable::Put(std::uint32_t id, std::unique_ptr<Object> object) {
    if (16 * (mCount + 1) > 13 * mSlots.size())
        Rehash(mSlots.empty() ? 64 : 2 * mSlots.size());
    const std::uint32_t classIndex = ClassIndex(&object->GetClassInfo());
    for (std::size_t i = Home(id);; i = (i + 1) & mMask) {
        Slot& slot = mSlots[i];
        if (slot.id == id) {
            slot.classIndex = classIndex;
            return std::exchange(slot.object, std::move(object));
        }
        if (slot.id == 0) {
            slot = Slot{id, classIndex, std::move(object)};
            ++mCount;
            return nullptr;
        }
    }
}

std::unique_ptr<Object> ObjectTable::Take(std::uint32_t id) {
    const Slot* found = Find(id);
    if (!found)
        return nullptr;
    std::size_t hole = static_cast<std::size_t>(found - mSlots.data());
    std::unique_ptr<Object> taken = std::move(mSlots[hole].object);
    // Backward shift: later members of the probe run move into the hole when their home slot
    // does not lie between the hole and them, so no search ever stops early at a gap.
    for (std::size_t next = (hole + 1) & mMask; mSlots[next].id != 0; next = (next + 1) & mMask) {
        const std::size_t home = Home(mSlots[next].id);
        const bool stays =
            hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (stays)
            continue;
        mSlots[hole] = std::move(mSlots[next]);
        hole = next;
    }
    mSlots[hole] = Slot{};
    --mCount;
    return taken;
}

Object* ObjectTable::Any() const {
    for (const Slot& slot : mSlots)
        if (slot.id != 0)
            return slot.object.get();
    return nullptr;
}

std::uint32_t ObjectTable::ClassIndex(const RTTI_ClassInfo* classInfo) {
    for (std::size_t i = 0; i < mClasses.size(); ++i)
        if (mClasses[i] == classInfo)
            return static_cast<std::uint32_t>(i);
    mClasses.push_back(classInfo);
    return static_cast<std::uint32_t>(mClasses.size() - 1);
}

void ObjectTable::Rehash(std::size_t capacity) {
    std::vector<Slot> old = std::exchange(mSlots, std::vector<Slot>(capacity));
    mMask = capacity - 1;
    mShift = 64 - static_cast<unsigned>(std::countr_zero(capacity));
    for (Slot& slot : old) {
        if (slot.id == 0)
            continue;
        std::size_t i = Home(slot.id);
        while (mSlots[i].id != 0)
            i = (i + 1) & mMask;
        mSlots[i] = std::move(slot);
    }
}

}  // namespace GAME
